// The process's current directory, which the file dialogs and the list commands move.
#pragma once

#include <windows.h>

#include <string>

#include "base/win32/wide_text.h"

// The current directory in UTF-8, or empty when it cannot be read.
inline std::string CurrentDirectory() {
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(length, L'\0');
    length = GetCurrentDirectoryW(length, folder.data());
    folder.resize(length < folder.size() ? length : 0);
    return Narrow(folder);
}

// Puts the current directory back as it was when the scope began: the common dialogs move it,
// and a folder held current cannot be removed (a USB stick ejected) while Velumar runs.
class CurrentDirectoryScope {
public:
    CurrentDirectoryScope() : folder(CurrentDirectory()) {}
    ~CurrentDirectoryScope() {
        if (!folder.empty()) {
            SetCurrentDirectoryW(Widen(folder).c_str());
        }
    }
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

private:
    std::string folder;
};
