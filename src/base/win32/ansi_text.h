// The system's ANSI code page: its lead bytes and its lower-casing.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/mbcs.h"

inline bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

// Lower-cases through Unicode, so letters beyond ASCII and two-byte characters fold as the
// code page defines them.
inline std::string AnsiLower(std::string_view text, mbcs::LeadBytePredicate) {
    std::string lower(text);
    if (!lower.empty()) {
        CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    }
    return lower;
}

// A text the system gave as UTF-16, in the ANSI code page paths use here.
inline std::string WideToAnsi(std::wstring_view text) {
    if (text.empty()) {
        return std::string();
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), converted.data(),
                            length, nullptr, nullptr);
    }
    return converted;
}
