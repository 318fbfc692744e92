// Reading numbers from dialog fields the way the pages do, and the messages of a refused field.
#include "ui/dialog_data.h"

#include <cstdint>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

std::optional<unsigned> ReadUnsigned(std::string_view text) {
    text = text.substr(0, 63);
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9') {
        return std::nullopt;
    }
    // Arithmetic modulo 2^32, as an unsigned conversion of any length does.
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    return negative ? 0u - value : value;
}

std::string RangeMessage(int low, int high) {
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

std::optional<FieldError> ReadNumberField(int controlId, std::string_view text, unsigned& value) {
    std::optional<unsigned> read = ReadUnsigned(text);
    if (!read) {
        return FieldError{controlId, kNotAPositiveInteger, false};
    }
    value = *read;
    return std::nullopt;
}

std::optional<FieldError> ReadRangedField(int controlId, std::string_view text, unsigned low,
                                          unsigned high, unsigned& value) {
    unsigned read = 0;
    if (std::optional<FieldError> error = ReadNumberField(controlId, text, read)) {
        return error;
    }
    if (read < low || read > high) {
        return FieldError{controlId, RangeMessage(static_cast<int>(low), static_cast<int>(high)),
                          true};
    }
    value = read;
    return std::nullopt;
}
