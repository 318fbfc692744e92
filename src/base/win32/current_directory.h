// The process's current directory, which the file dialogs and the list commands move.
#pragma once

#include <windows.h>

#include <string>

// The current directory, or empty when it cannot be read.
inline std::string CurrentDirectory() {
    DWORD length = GetCurrentDirectoryA(0, nullptr);
    std::string folder(length, '\0');
    length = GetCurrentDirectoryA(length, folder.data());
    folder.resize(length < folder.size() ? length : 0);
    return folder;
}
