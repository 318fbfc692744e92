// When the wallpaper changes by itself: the time parsers, the interval and the table of times
// of day.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_settings.h"

// Takes the field after the last ":" off the text (the whole text when there is none) and
// reads it as atoi does, saturating instead of overflowing.
int TakeLastField(std::string& text);

struct Duration {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    bool valid = false;
};
// Hours, minutes and seconds read from the right: "5:00" is five minutes.
Duration ParseDuration(std::string_view text);

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    bool valid = false;
};
TimeOfDay ParseTimeOfDay(std::string_view text);

// The local date and time of day, as the clock gives them.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;

    bool operator==(const LocalTime&) const = default;
};

struct TimeTableEntry {
    int hour = 0;
    int minute = 0;
    bool fired = false;
};

// The schedule's state between ticks.
class SwitchSchedule {
public:
    // Restarts the interval count (only in mode 1).
    void ArmInterval(const AppSettings& settings, std::uint32_t now);
    // One entry per time of day, none fired.
    void BuildTimeTable(const std::vector<std::string>& switchTimes);
    // Whether a switch is due now; a time of day that is due is marked fired.
    bool IsSwitchDue(int switchMode, std::uint32_t now, const LocalTime& local);

    std::uint32_t intervalStart = 0;
    std::uint32_t intervalLength = 0;
    std::vector<TimeTableEntry> timeTable;

private:
    // The date of the last time-of-day test; a new date clears the fired flags.
    long lastDate = -1;
};

// The Start/Stop button's text while switching runs: "&Stop" (S its mnemonic) with 0 to 3 dots on
// each side.
std::string StopButtonText(int stopPhase);
