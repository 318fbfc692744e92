// Velumar's plain message boxes: the program's name as caption, one OK button.
#pragma once

#include <windows.h>

#include <string>

inline constexpr const char* kMessageBoxCaption = "Velumar";

inline void ShowMessageBox(HWND owner, const std::string& text, UINT icon = 0) {
    MessageBoxA(owner, text.c_str(), kMessageBoxCaption, MB_OK | icon);
}
