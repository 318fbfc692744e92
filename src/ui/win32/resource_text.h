// Texts from the program's string table.
#pragma once

#include <windows.h>

#include <string>

#include "base/win32/wide_text.h"

inline std::string LoadResourceText(HINSTANCE instance, UINT id) {
    wchar_t buffer[512];
    int length = LoadStringW(instance, id, buffer, static_cast<int>(std::size(buffer)));
    return Narrow(std::wstring_view(buffer, static_cast<size_t>(length > 0 ? length : 0)));
}
