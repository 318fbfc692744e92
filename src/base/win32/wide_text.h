// The conversions at the Windows edge: inside, text is UTF-8; the wide API takes UTF-16.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The UTF-16 form of a UTF-8 text. Invalid bytes become U+FFFD, so a damaged name never
// silently names another existing file.
inline std::wstring Widen(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            length);
    }
    return wide;
}

// The UTF-8 form of a UTF-16 text.
inline std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                            size, nullptr, nullptr);
    }
    return utf8;
}

// The UTF-8 form of a zero-terminated UTF-16 text (a buffer the API filled).
inline std::string Narrow(const wchar_t* wide) {
    return wide ? Narrow(std::wstring_view(wide)) : std::string();
}
