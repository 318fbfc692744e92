// The clock, the screen saver, the pause marker, the foreground window and the power source on
// Windows.
#pragma once

#include "switching/switching_loop.h"

class Win32ScheduleEnvironment final : public ScheduleEnvironment {
public:
    std::uint32_t TickCount() override;
    LocalTime LocalNow() override;
    bool IsScreenSaverRunning() override;
    bool IsPauseRequested() override;
    bool IsForegroundFullscreen() override;
    bool IsOnBattery() override;
};
