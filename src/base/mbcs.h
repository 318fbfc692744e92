// Byte-string searches that respect double-byte characters of an ANSI code page. Text inside
// the program is UTF-8, whose continuation bytes are never ASCII: it needs no lead bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mbcs {

// Tells whether a byte starts a two-byte character in the code page in use.
using LeadBytePredicate = bool (*)(unsigned char);

// For UTF-8 and single-byte code pages: no byte is a lead byte.
inline bool NoLeadBytes(unsigned char) {
    return false;
}

// Position of the last character c (an ASCII character) in text, skipping the trail bytes of
// two-byte characters, or npos.
inline size_t FindLast(std::string_view text, char c, LeadBytePredicate isLeadByte) {
    size_t found = std::string_view::npos;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c) {
            found = i;
        } else if (isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
        }
    }
    return found;
}

// Whether the last character of text is c, with the same rule.
inline bool EndsWith(std::string_view text, char c, LeadBytePredicate isLeadByte) {
    return !text.empty() && FindLast(text, c, isLeadByte) == text.size() - 1;
}

// Lower-cases the ASCII letters of text, leaving two-byte characters as they are.
inline std::string AsciiLower(std::string_view text, LeadBytePredicate isLeadByte) {
    std::string lower(text);
    for (size_t i = 0; i < lower.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(lower[i]);
        if (c >= 'A' && c <= 'Z') {
            lower[i] = static_cast<char>(c - 'A' + 'a');
        } else if (isLeadByte(c)) {
            ++i;
        }
    }
    return lower;
}

}  // namespace mbcs
