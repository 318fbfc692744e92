// The notification-area icon on Windows: adding and deleting it, and its popup menu.
#include "desktop/win32/tray_icon.h"

#include <shellapi.h>

#include <cstring>

#include "desktop/tray_icon.h"

BOOL TrayIconNotify(HWND window, DWORD operation, UINT iconId, HICON icon, const char* tip) {
    NOTIFYICONDATAA data{};
    // The layout with the balloon fields and without the GUID, at its size on this build.
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = window;
    data.uID = iconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon;
    if (tip != nullptr) {
        strncpy(data.szTip, tip, sizeof(data.szTip) - 1);
    }
    return Shell_NotifyIconA(operation, &data);
}

void ShowTrayMenu(HINSTANCE instance, int menuId, UINT defaultCommand, UINT checkedCommand,
                  HWND window) {
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(menuId));
    if (menu == nullptr) {
        return;
    }
    HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
        SetMenuDefaultItem(popup, defaultCommand, FALSE);
        if (checkedCommand != 0) {
            CheckMenuItem(popup, checkedCommand, MF_BYCOMMAND | MF_CHECKED);
        }
        POINT cursor{};
        GetCursorPos(&cursor);
        // The menu closes when the user clicks elsewhere only if its owner is in front.
        SetForegroundWindow(window);
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window,
                       nullptr);
        PostMessageA(window, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}
