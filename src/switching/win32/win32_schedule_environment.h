// The clock, the screen saver and the pause marker on Windows.
#pragma once

#include "switching/switching_loop.h"

class Win32ScheduleEnvironment final : public ScheduleEnvironment {
public:
    std::uint32_t TickCount() override;
    LocalTime LocalNow() override;
    bool IsScreenSaverRunning() override;
    bool IsPauseRequested() override;
};
