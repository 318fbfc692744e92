// The clock, the screen saver and the pause marker on Windows.
#include "switching/win32/win32_schedule_environment.h"

#include <windows.h>

#include <ctime>

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
    return SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
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
