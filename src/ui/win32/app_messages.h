// The application's own window messages, in one place so no two share a number.
#pragma once

#include <windows.h>

#include "desktop/tray_icon.h"

// The notification-area icon's callback (lParam: the mouse message).
inline constexpr UINT kMsgTrayCallback = kTrayCallbackMessage;
// A show of the render worker ended: wParam the ticket, lParam nonzero when it was shown.
inline constexpr UINT kMsgWallpaperShown = WM_APP + 2;
