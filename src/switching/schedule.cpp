// When the wallpaper changes by itself.
#include "switching/schedule.h"

#include <algorithm>
#include <climits>

namespace {

// atoi: leading blanks, an optional sign, then digits; the value saturates at the int range.
int ReadInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool Before(int hourA, int minuteA, int hourB, int minuteB) {
    return hourA != hourB ? hourA < hourB : minuteA < minuteB;
}

}  // namespace

int TakeLastField(std::string& text) {
    size_t colon = text.rfind(':');
    std::string field;
    if (colon == std::string::npos) {
        field = std::move(text);
        text.clear();
    } else {
        field = text.substr(colon + 1);
        text.erase(colon);
    }
    return ReadInteger(field);
}

Duration ParseDuration(std::string_view text) {
    std::string rest(text);
    Duration d;
    d.seconds = TakeLastField(rest);
    d.minutes = TakeLastField(rest);
    d.hours = TakeLastField(rest);
    d.valid = d.seconds >= 0 && d.seconds <= 59 && d.minutes >= 0 && d.minutes <= 59 &&
              d.hours >= 0 && d.hours <= 23;
    return d;
}

TimeOfDay ParseTimeOfDay(std::string_view text) {
    std::string rest(text);
    TimeOfDay t;
    t.minute = TakeLastField(rest);
    t.hour = TakeLastField(rest);
    t.valid = t.minute >= 0 && t.minute <= 59 && t.hour >= 0 && t.hour <= 23;
    return t;
}

void SwitchSchedule::ArmInterval(const AppSettings& settings, std::uint32_t now) {
    if (settings.switchMode != 1) {
        return;
    }
    intervalStart = now;
    Duration d = ParseDuration(settings.switchPeriod);
    // In 64 bits, so large fields cannot overflow; the tick counter holds 32 bits.
    long long ms = ((static_cast<long long>(d.hours) * 60 + d.minutes) * 60 + d.seconds) * 1000;
    intervalLength = static_cast<std::uint32_t>(std::clamp<long long>(ms, 0, UINT32_MAX));
}

void SwitchSchedule::BuildTimeTable(const std::vector<std::string>& switchTimes) {
    timeTable.clear();
    // Only valid times, in the order of the day: a stored list out of order or with a time
    // such as 99:99 would otherwise make every tick look due. Duplicates stay.
    for (const std::string& item : switchTimes) {
        TimeOfDay t = ParseTimeOfDay(item);
        if (t.valid) {
            timeTable.push_back({t.hour, t.minute, false});
        }
    }
    std::stable_sort(timeTable.begin(), timeTable.end(), [](const auto& a, const auto& b) {
        return a.hour * 60 + a.minute < b.hour * 60 + b.minute;
    });
    lastDate = -1;
}

bool SwitchSchedule::IsSwitchDue(int switchMode, std::uint32_t now, const LocalTime& local) {
    if (switchMode == 1) {
        // Unsigned subtraction absorbs the tick counter's wrap-around.
        return static_cast<std::uint32_t>(now - intervalStart) > intervalLength;
    }
    if (switchMode != 2 || timeTable.empty()) {
        return false;
    }
    // A new day re-arms every time, also when the first time is 00:00.
    long date = (static_cast<long>(local.year) * 100 + local.month) * 100 + local.day;
    if (lastDate != -1 && date != lastDate) {
        for (TimeTableEntry& entry : timeTable) {
            entry.fired = false;
        }
    }
    lastDate = date;
    const int h = local.hour;
    const int m = local.minute;
    if (Before(h, m, timeTable.front().hour, timeTable.front().minute)) {
        for (TimeTableEntry& entry : timeTable) {
            entry.fired = false;
        }
    }
    for (size_t i = 0; i + 1 < timeTable.size(); ++i) {
        TimeTableEntry& at = timeTable[i];
        const TimeTableEntry& next = timeTable[i + 1];
        if (!Before(h, m, at.hour, at.minute) && Before(h, m, next.hour, next.minute)) {
            if (at.fired) {
                return false;
            }
            at.fired = true;
            return true;
        }
    }
    TimeTableEntry& last = timeTable.back();
    if (!Before(h, m, last.hour, last.minute) && !last.fired) {
        last.fired = true;
        return true;
    }
    return false;
}

std::string StopButtonText(int stopPhase) {
    int dots = ((stopPhase % 4) + 4) % 4;
    std::string side(static_cast<size_t>(dots), '.');
    return side + "&Stop" + side;
}
