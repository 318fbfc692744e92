// The rules of the small dialogs: the time-of-day entry, the once-per-run welcome and the rows
// of the hidden pictures.
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

HiddenPictureRow HiddenPictureRowOf(std::string_view path, int page) {
    const size_t slash = path.find_last_of("\\/");
    HiddenPictureRow row;
    if (slash == std::string_view::npos) {
        row.name = path;
    } else {
        row.name = path.substr(slash + 1);
        // A file at a drive's root is in "C:\", with its backslash: "C:" alone names the drive's
        // current folder.
        const bool root = slash == 0 || path[slash - 1] == ':';
        row.folder = path.substr(0, root ? slash + 1 : slash);
    }
    if (page != 0) {
        row.name += " (page " + std::to_string(page) + ")";
    }
    return row;
}
