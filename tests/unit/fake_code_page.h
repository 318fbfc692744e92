// Latin-1 as the ANSI code page of the list tests: Windows-1252 on every letter they use.
#pragma once

#include "base/utf8.h"
#include "list/code_page.h"

class Latin1CodePage final : public AnsiCodePage {
public:
    std::string ToUtf8(std::string_view ansi) const override {
        std::string out;
        for (char byte : ansi) {
            utf8::Append(out, static_cast<unsigned char>(byte));
        }
        return out;
    }
    std::optional<std::string> FromUtf8(std::string_view text) const override {
        std::string out;
        for (size_t i = 0; i < text.size();) {
            const char32_t c = utf8::Decode(text, i);
            if (c > 0xFF) {
                return std::nullopt;
            }
            out += static_cast<char>(c);
        }
        return out;
    }
};

// A code page that writes every character it lacks as "?" without saying so, as a conversion
// with a default character does: only ASCII reads back as it was.
class QuestionMarkCodePage final : public AnsiCodePage {
public:
    std::string ToUtf8(std::string_view ansi) const override { return std::string(ansi); }
    std::optional<std::string> FromUtf8(std::string_view text) const override {
        std::string out;
        for (size_t i = 0; i < text.size();) {
            const char32_t c = utf8::Decode(text, i);
            out += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return out;
    }
};
