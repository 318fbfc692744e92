// Texts from the program's string table.
#pragma once

#include <windows.h>

#include <string>

inline std::string LoadResourceText(HINSTANCE instance, UINT id) {
    char buffer[512];
    int length = LoadStringA(instance, id, buffer, sizeof(buffer));
    return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}
