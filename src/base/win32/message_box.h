// Velumar's plain message boxes: the program's name as caption, one OK button.
#pragma once

#include <windows.h>

#include <string>

#include "base/win32/wide_text.h"

inline constexpr const char* kMessageBoxCaption = "Velumar";

// A message box with the program's caption and any buttons and icon; returns the button.
inline int AskMessageBox(HWND owner, const std::string& text, UINT type) {
    return MessageBoxW(owner, Widen(text).c_str(), Widen(kMessageBoxCaption).c_str(), type);
}

inline void ShowMessageBox(HWND owner, const std::string& text, UINT icon = 0) {
    AskMessageBox(owner, text, MB_OK | icon);
}
