// The notification-area icon on Windows: adding and deleting it, and its popup menu.
#pragma once

#include <windows.h>

// Adds (NIM_ADD) or deletes (NIM_DELETE) the icon; returns what the shell returns.
BOOL TrayIconNotify(HWND window, DWORD operation, UINT iconId, HICON icon, const char* tip);

// Shows the icon's popup menu at the cursor with "Display Velumar" as its default item; the
// chosen command reaches the window as WM_COMMAND. Returns when the menu has closed.
void ShowTrayMenu(HINSTANCE instance, HWND window);
