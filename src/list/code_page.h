// The system's ANSI code page, in which list files without a byte-order mark are written.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class AnsiCodePage {
public:
    // The UTF-8 form of text in the code page.
    virtual std::string ToUtf8(std::string_view ansi) const = 0;
    // The code page's form of UTF-8 text, or nothing when some character has no exact
    // equivalent there (no best-fit look-alikes, no default character).
    virtual std::optional<std::string> FromUtf8(std::string_view utf8) const = 0;

protected:
    AnsiCodePage() = default;
    ~AnsiCodePage() = default;
};
