// Fuzzes the page-list, duration and time-of-day parsers and the time table built from them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "switching/schedule.h"
#include "switching/switching_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (ParsePageList(text).empty()) {
        __builtin_trap();
    }
    Duration d = ParseDuration(text);
    if (d.valid && (d.seconds < 0 || d.seconds > 59 || d.minutes > 59 || d.hours > 23)) {
        __builtin_trap();
    }
    TimeOfDay t = ParseTimeOfDay(text);
    if (t.valid && (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59)) {
        __builtin_trap();
    }
    std::vector<std::string> times;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('%', start);
        times.emplace_back(
            text.substr(start, end == std::string_view::npos ? text.npos : end - start));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    AppSettings settings;
    settings.switchMode = size % 3;
    settings.switchPeriod = std::string(text);
    SwitchSchedule schedule;
    schedule.BuildTimeTable(times);
    schedule.ArmInterval(settings, static_cast<std::uint32_t>(size * 7919u));
    for (int minute = 0; minute < 24 * 60; minute += 37) {
        LocalTime now;
        now.year = 2026;
        now.month = 12;
        now.day = 8 + minute / 720;
        now.hour = minute / 60;
        now.minute = minute % 60;
        schedule.IsSwitchDue(settings.switchMode, static_cast<std::uint32_t>(minute) * 60000u, now);
    }
    return 0;
}
