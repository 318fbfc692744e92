// The application's own message numbers, all in the WM_APP range and listed here so that none
// is used twice.
#pragma once

#include <windows.h>

#include "desktop/tray_icon.h"

// WM_APP + 1: the tray icon's callback, to the main window.
static_assert(kTrayCallbackMessage == WM_APP + 1);

// To the thumbnail pane: its worker has a result to take.
inline constexpr UINT kThumbnailReadyMessage = WM_APP + 2;
