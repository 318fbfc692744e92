// The application's own message numbers, all in the WM_APP range and listed here so that none
// is used twice.
#pragma once

#include <windows.h>

#include "desktop/tray_icon.h"

// WM_APP + 1: the tray icon's callback, to the main window (lParam: the mouse message).
inline constexpr UINT kMsgTrayCallback = kTrayCallbackMessage;
static_assert(kTrayCallbackMessage == WM_APP + 1);

// To the thumbnail pane: its worker has a result to take.
inline constexpr UINT kThumbnailReadyMessage = WM_APP + 2;

// To the main window: a show of the render worker ended (wParam the ticket, lParam its
// ShowResult).
inline constexpr UINT kMsgWallpaperShown = WM_APP + 3;

// To the main window: picture shapes asked for were read and wait to be taken.
inline constexpr UINT kMsgShapesRead = WM_APP + 4;

// To the main window: the lock-screen worker set the lock screen, or failed to.
inline constexpr UINT kMsgLockScreenSet = WM_APP + 5;

// The notification code of a WM_COMMAND that came from a global key or from the tray menu
// (menus send 0 and accelerators 1): a command about the picture on the desktop then means the
// one under the mouse pointer.
inline constexpr WORD kCommandFromKey = 2;
inline constexpr WORD kCommandFromTray = 3;
