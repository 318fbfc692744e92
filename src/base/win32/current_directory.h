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

// Puts the current directory back as it was when the scope began: the common dialogs move it,
// and a folder held current cannot be removed (a USB stick ejected) while Velumar runs.
class CurrentDirectoryScope {
public:
    CurrentDirectoryScope() : folder(CurrentDirectory()) {}
    ~CurrentDirectoryScope() {
        if (!folder.empty()) {
            SetCurrentDirectoryA(folder.c_str());
        }
    }
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::string folder;
};
