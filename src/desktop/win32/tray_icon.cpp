// The notification-area icon on Windows: adding and deleting it, and its popup menu.
#include "desktop/win32/tray_icon.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "base/win32/wide_text.h"
#include "desktop/tray_icon.h"

BOOL TrayIconNotify(HWND window, DWORD operation, UINT iconId, HICON icon, const char* tip) {
    NOTIFYICONDATAW data{};
    // The layout with the balloon fields and without the GUID, at its size on this build.
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = window;
    data.uID = iconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon;
    if (tip != nullptr) {
        // Cut between characters to the room before the tip's terminating NUL.
        constexpr size_t kRoom = sizeof(data.szTip) / sizeof(data.szTip[0]) - 1;
        const std::wstring text = Widen(CutTipText(tip, kRoom));
        std::copy_n(text.data(), std::min(text.size(), kRoom), data.szTip);
    }
    return Shell_NotifyIconW(operation, &data);
}

void ShowTrayMenu(HINSTANCE instance, int menuId, UINT defaultCommand,
                  const std::function<void(HMENU popup)>& prepare, WORD notification, HWND window) {
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
    if (menu == nullptr) {
        return;
    }
    HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
        SetMenuDefaultItem(popup, defaultCommand, FALSE);
        if (prepare) {
            prepare(popup);
        }
        POINT cursor{};
        GetCursorPos(&cursor);
        // The menu closes when the user clicks elsewhere only if its owner is in front.
        SetForegroundWindow(window);
        const UINT chosen =
            static_cast<UINT>(TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                             cursor.x, cursor.y, 0, window, nullptr));
        PostMessageW(window, WM_NULL, 0, 0);
        if (chosen != 0) {
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(chosen, notification), 0);
        }
    }
    DestroyMenu(menu);
}
