// Start/Stop and the one-second tick: when switching runs, when a switch is due, and the
// Stop button's animation.
#pragma once

#include <cstdint>
#include <vector>

#include "app/app_settings.h"
#include "switching/random_source.h"
#include "switching/schedule.h"
#include "switching/switching_sequence.h"

// The region another program holds to hold back timed switches; Velumar only reads it.
inline constexpr const char* kPauseMarkerName = "7E20B514-4C1D-11d2-8F3A-0040C7A1B2C3";
inline constexpr unsigned kPauseMarkerSize = 276;
inline constexpr std::uint32_t kPauseMarkerValue = 41147;

// What the schedule reads from the system.
class ScheduleEnvironment {
public:
    // Milliseconds since the system started, wrapping at 32 bits.
    virtual std::uint32_t TickCount() = 0;
    virtual LocalTime LocalNow() = 0;
    virtual bool IsScreenSaverRunning() = 0;
    // Whether another program holds the pause marker.
    virtual bool IsPauseRequested() = 0;

protected:
    ScheduleEnvironment() = default;
    ~ScheduleEnvironment() = default;
};

// What the schedule asks of the main window.
class SwitchingWindow {
public:
    virtual std::vector<WallpaperEntry> BuildSwitchingSequence() = 0;
    virtual void SetStartStopText(const std::string& text) = 0;
    virtual void UpdateControls() = 0;
    // The desktop icon caption colours, when the option applies.
    virtual void RefreshIconTextColors() = 0;
    // The tick's list tail: the list's changed flag and the deferred selection refresh.
    virtual void FinishTick() = 0;

protected:
    SwitchingWindow() = default;
    ~SwitchingWindow() = default;
};

class SwitchController {
public:
    SwitchController(AppSettings& settings, RandomSource& random, ScheduleEnvironment& environment,
                     SwitchHost& host, SwitchingWindow& window)
        : settings(settings),
          random(random),
          environment(environment),
          host(host),
          window(window) {}

    // The Start/Stop button.
    void StartStop();
    // One tick of timer 2001, after the welcome step.
    void OnTick();
    // "Switch wallpaper now".
    void SwitchNow();
    // Restarts the interval count; every switch ends with it.
    void ArmInterval() { schedule.ArmInterval(settings, environment.TickCount()); }
    // Forgets the sequence (switching stops, the window ends).
    void ClearSequence() { sequence.clear(); }

    bool switchingActive = false;
    int stopPhase = 0;
    std::vector<WallpaperEntry> sequence;
    SwitchSchedule schedule;

private:
    SwitchState State() { return {sequence, settings, random, host}; }

    AppSettings& settings;
    RandomSource& random;
    ScheduleEnvironment& environment;
    SwitchHost& host;
    SwitchingWindow& window;
};
