// The DPI a window or monitor is shown at, and system sizes at a DPI. Each asks Windows 10's
// per-monitor functions where they exist and falls back to the system DPI (Windows 7 and 8.0).
#pragma once

#include <windows.h>

#include "base/win32/unique_resource.h"

// Sent to each child after its top-level window handled WM_DPICHANGED (Windows 10 1703 and later;
// not declared for the Windows version the program is built for).
inline constexpr UINT kDpiChangedAfterParent = 0x02E3;

// The system DPI: the one every monitor has where Windows knows no other.
int SystemDpi();
// The window's DPI.
int WindowDpi(HWND window);
// The monitor's effective DPI.
int MonitorDpi(HMONITOR monitor);
// A GetSystemMetrics size at the DPI.
int SystemMetricForDpi(int index, int dpi);

struct IconTraits {
    using Type = HICON;
    static Type Empty() { return nullptr; }
    static bool IsOwned(Type icon) { return icon != nullptr; }
    static void Release(Type icon) { DestroyIcon(icon); }
};

using UniqueIcon = UniqueResource<IconTraits>;

// An icon resource at the size of two metrics (SM_CXICON and SM_CYICON, or the small ones) at the
// DPI: the resource's image of that size, or the nearest one scaled.
UniqueIcon LoadIconForDpi(HINSTANCE instance, int iconId, int widthMetric, int heightMetric,
                          int dpi);
