// DPIs of windows and monitors, and system sizes at a DPI.
#include "base/win32/dpi.h"

#include "base/win32/deferred_import.h"

namespace {

constexpr int kMdtEffectiveDpi = 0;

}  // namespace

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return 96;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
    if (auto* forWindow =
            DeferredImport<UINT WINAPI(HWND)>("user32.dll", "GetDpiForWindow", false)) {
        if (const UINT dpi = forWindow(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    return SystemDpi();
}

int MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitorFunction = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);
    if (auto* forMonitor =
            DeferredImport<GetDpiForMonitorFunction>("shcore.dll", "GetDpiForMonitor");
        forMonitor != nullptr && monitor != nullptr) {
        UINT x = 0;
        UINT y = 0;
        if (SUCCEEDED(forMonitor(monitor, kMdtEffectiveDpi, &x, &y)) && x != 0) {
            return static_cast<int>(x);
        }
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
    if (auto* forDpi =
            DeferredImport<int WINAPI(int, UINT)>("user32.dll", "GetSystemMetricsForDpi", false)) {
        return forDpi(index, static_cast<UINT>(dpi));
    }
    // Before Windows 10 every window has the system DPI, which GetSystemMetrics is for.
    return GetSystemMetrics(index);
}

UniqueIcon LoadIconForDpi(HINSTANCE instance, int iconId, int widthMetric, int heightMetric,
                          int dpi) {
    return UniqueIcon(static_cast<HICON>(LoadImageW(
        instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, SystemMetricForDpi(widthMetric, dpi),
        SystemMetricForDpi(heightMetric, dpi), LR_DEFAULTCOLOR)));
}
