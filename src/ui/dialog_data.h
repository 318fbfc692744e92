// Reading numbers from dialog fields the way the pages do, and the messages of a refused field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// "%u" on the first 63 characters: leading blanks skipped, an optional sign, then decimal
// digits up to the first other character; a minus wraps the value modulo 2^32. Nothing when
// no digit follows.
std::optional<unsigned> ReadUnsigned(std::string_view text);

inline constexpr const char* kNotAPositiveInteger = "Please enter a positive integer.";

// "Please enter an integer between %1 and %2." filled in.
std::string RangeMessage(int low, int high);

// A field the page refuses: the message to show and the control that gets the focus back.
struct FieldError {
    int controlId = 0;
    std::string message;
    // The range message carries the exclamation icon; the others none.
    bool exclamation = false;

    bool operator==(const FieldError&) const = default;
};

// Reads a number field into value, or says why it is refused (the value is then untouched).
std::optional<FieldError> ReadNumberField(int controlId, std::string_view text, unsigned& value);

// As ReadNumberField, and the number must also lie in low..high.
std::optional<FieldError> ReadRangedField(int controlId, std::string_view text, unsigned low,
                                          unsigned high, unsigned& value);
