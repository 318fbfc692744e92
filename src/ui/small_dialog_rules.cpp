// The rules of the small dialogs: the time-of-day entry and the once-per-run welcome.
#include "ui/small_dialog_rules.h"

#include <cstdio>

#include "switching/schedule.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

TimeEntry CheckTimeOfDay(const std::string& typed) {
    size_t first = 0;
    size_t last = typed.size();
    while (first < last && IsSpace(typed[first])) {
        ++first;
    }
    while (last > first && IsSpace(typed[last - 1])) {
        --last;
    }
    if (first == last) {
        return {TimeEntry::Outcome::Cancel, {}};
    }
    TimeOfDay t = ParseTimeOfDay(std::string_view(typed).substr(first, last - first));
    if (!t.valid) {
        return {TimeEntry::Outcome::Refuse, typed.substr(first, last - first)};
    }
    char formatted[8];
    std::snprintf(formatted, sizeof(formatted), "%02d:%02d", t.hour, t.minute);
    return {TimeEntry::Outcome::Accept, formatted};
}
