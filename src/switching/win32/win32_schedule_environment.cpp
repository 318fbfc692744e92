// The clock, the screen saver, the pause marker, the foreground window and the power source on
// Windows.
#include "switching/win32/win32_schedule_environment.h"

#include <windows.h>

#include <ctime>
#include <iterator>

#include "app/win32/instance_region.h"

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

bool Win32ScheduleEnvironment::IsForegroundFullscreen() {
    HWND front = GetForegroundWindow();
    // The desktop and the shell's own window cover the screen whenever nothing else is active.
    if (front == nullptr || front == GetDesktopWindow() || front == GetShellWindow() ||
        !IsWindowVisible(front) || IsIconic(front)) {
        return false;
    }
    wchar_t className[16] = {};
    GetClassNameW(front, className, static_cast<int>(std::size(className)));
    if (lstrcmpW(className, L"WorkerW") == 0 || lstrcmpW(className, L"Progman") == 0) {
        return false;
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    RECT window{};
    if (!GetWindowRect(front, &window) ||
        !GetMonitorInfoW(MonitorFromWindow(front, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return false;
    }
    const RECT& screen = monitor.rcMonitor;
    return window.left <= screen.left && window.top <= screen.top && window.right >= screen.right &&
           window.bottom >= screen.bottom;
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
