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
