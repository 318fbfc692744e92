// The notification-area icon on Windows: adding and deleting it, and its popup menu.
#pragma once

#include <windows.h>

#include <functional>

// Adds (NIM_ADD) or deletes (NIM_DELETE) the icon; returns what the shell returns.
BOOL TrayIconNotify(HWND window, DWORD operation, UINT iconId, HICON icon, const char* tip);

// Shows the first popup of a menu resource at the cursor with one command as its default item,
// after prepare has checked and greyed its items; the chosen command reaches the window as
// WM_COMMAND with the notification code given. Returns when the menu has closed.
void ShowTrayMenu(HINSTANCE instance, int menuId, UINT defaultCommand,
                  const std::function<void(HMENU popup)>& prepare, WORD notification, HWND window);
