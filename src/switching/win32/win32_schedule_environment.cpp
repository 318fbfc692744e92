// The clock, the screen saver, the pause marker, the foreground window and the power source on
// Windows.
#include "switching/win32/win32_schedule_environment.h"

#include <windows.h>
#include <dwmapi.h>
#include <shellapi.h>

#include <ctime>
#include <iterator>

#include "app/win32/instance_region.h"
#include "switching/fullscreen_rule.h"

std::uint32_t Win32ScheduleEnvironment::TickCount() {
    return GetTickCount();
}

LocalTime Win32ScheduleEnvironment::LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_s(&local, &now) != 0) {
        return {};
    }
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

bool Win32ScheduleEnvironment::IsScreenSaverRunning() {
    BOOL running = FALSE;
    return SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
}

bool Win32ScheduleEnvironment::IsPauseRequested() {
    InstanceRegion marker;
    // Only opened: a check that created the marker would hold it for a moment itself.
    if (!marker.OpenExisting(kPauseMarkerSize, kPauseMarkerName)) {
        return false;
    }
    unsigned char bytes[4] = {};
    size_t copied = 0;
    if (!marker.Read(0, sizeof(bytes), bytes, &copied) || copied != sizeof(bytes)) {
        return false;
    }
    std::uint32_t value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                          (static_cast<std::uint32_t>(bytes[3]) << 24);
    return value == kPauseMarkerValue;
}

namespace {

bool IsShellWindow(HWND window) {
    // The desktop and the shell's own windows cover the screen whenever nothing else is active.
    if (window == GetDesktopWindow() || window == GetShellWindow()) {
        return true;
    }
    wchar_t className[16] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    return lstrcmpW(className, L"WorkerW") == 0 || lstrcmpW(className, L"Progman") == 0;
}

ScreenRect ToScreenRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

ForegroundWindowFacts ForegroundFacts() {
    ForegroundWindowFacts facts;
    HWND front = GetForegroundWindow();
    facts.exists = front != nullptr;
    if (!facts.exists) {
        return facts;
    }
    facts.visible = IsWindowVisible(front) != FALSE;
    facts.minimised = IsIconic(front) != FALSE;
    facts.shellOrDesktop = IsShellWindow(front);
    const LONG_PTR style = GetWindowLongPtrW(front, GWL_STYLE);
    facts.hasCaption = (style & WS_CAPTION) == WS_CAPTION;
    facts.hasSizingBorder = (style & WS_THICKFRAME) != 0;
    // Windows 7 knows no cloaking and says so with a failure; so does a system without the
    // compositor, whose frame bounds are then the window's rectangle.
    DWORD cloaked = 0;
    facts.cloaked =
        SUCCEEDED(DwmGetWindowAttribute(front, DWMWA_CLOAKED, &cloaked, sizeof(cloaked))) &&
        cloaked != 0;
    RECT window{};
    if (FAILED(
            DwmGetWindowAttribute(front, DWMWA_EXTENDED_FRAME_BOUNDS, &window, sizeof(window))) &&
        !GetWindowRect(front, &window)) {
        facts.exists = false;
        return facts;
    }
    facts.window = ToScreenRect(window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(front, MONITOR_DEFAULTTONEAREST), &monitor)) {
        facts.exists = false;
        return facts;
    }
    facts.monitor = ToScreenRect(monitor.rcMonitor);
    return facts;
}

std::optional<int> ShellState() {
    QUERY_USER_NOTIFICATION_STATE state{};
    if (FAILED(SHQueryUserNotificationState(&state))) {
        return std::nullopt;
    }
    return static_cast<int>(state);
}

}  // namespace

bool Win32ScheduleEnvironment::IsForegroundFullscreen() {
    return IsFullscreen(ShellState(), ForegroundFacts());
}

bool Win32ScheduleEnvironment::IsOnBattery() {
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status)) {
        return false;
    }
    // ACLineStatus 0 is battery power; the byte after BatteryLifePercent (SystemStatusFlag in
    // newer headers) is 1 while the battery saver is on.
    return status.ACLineStatus == 0 || (status.Reserved1 & 1) != 0;
}
