// Conversions between UTF-16 and the system's ANSI code page.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// Empty when some character has no equivalent in the ANSI code page: a path with a
// replacement character in it names another file or none.
inline std::string WideToAnsi(const wchar_t* text) {
    const bool utf8 = GetACP() == CP_UTF8;
    // For UTF-8 the API refuses both the flag and the used-default report.
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int size =
        WideCharToMultiByte(CP_ACP, flags, text, -1, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault) {
        return {};
    }
    std::string result(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, text, -1, result.data(), size, nullptr,
                            usedDefaultOut) != size ||
        usedDefault) {
        return {};
    }
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

// The UTF-16 form of an ANSI text, at its full length.
inline std::wstring AnsiToWide(std::string_view text) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            length);
    }
    return wide;
}
