// The wallpapers shown last and its file.
#include "switching/wallpaper_history.h"

#include <charconv>
#include <cstdio>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "base/text_lines.h"

namespace {

// A whole field as a number within the limits, or nothing.
std::optional<int> ReadNumber(std::string_view field, int low, int high) {
    int value = 0;
    const char* end = field.data() + field.size();
    auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.empty() || error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// "YYYY-MM-DD HH:MM".
std::optional<LocalTime> ReadTime(std::string_view field) {
    if (field.size() != 16 || field[4] != '-' || field[7] != '-' || field[10] != ' ' ||
        field[13] != ':') {
        return std::nullopt;
    }
    std::optional<int> year = ReadNumber(field.substr(0, 4), 0, 9999);
    std::optional<int> month = ReadNumber(field.substr(5, 2), 1, 12);
    std::optional<int> day = ReadNumber(field.substr(8, 2), 1, 31);
    std::optional<int> hour = ReadNumber(field.substr(11, 2), 0, 23);
    std::optional<int> minute = ReadNumber(field.substr(14, 2), 0, 59);
    if (!year || !month || !day || !hour || !minute) {
        return std::nullopt;
    }
    return LocalTime{*year, *month, *day, *hour, *minute};
}

// Cuts the text up to the first tab off the line; nothing when there is no tab.
std::optional<std::string_view> TakeField(std::string_view& line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view field = line.substr(0, tab);
    line.remove_prefix(tab + 1);
    return field;
}

// After the time, page, rotation and path of each picture, the first monitor's first.
std::optional<HistoryEntry> ReadEntry(std::string_view line) {
    std::optional<std::string_view> time = TakeField(line);
    std::optional<LocalTime> when = time ? ReadTime(*time) : std::nullopt;
    if (!when || line.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<std::string_view> fields;
    while (std::optional<std::string_view> field = TakeField(line)) {
        fields.push_back(*field);
    }
    fields.push_back(line);
    if (fields.size() % 3 != 0) {
        return std::nullopt;
    }
    std::vector<ShowPicture> pictures;
    for (std::size_t i = 0; i < fields.size(); i += 3) {
        std::optional<int> page = ReadNumber(fields[i], 0, 1 << 30);
        std::optional<int> rotation = ReadNumber(fields[i + 1], 0, 1 << 30);
        if (!page || !rotation || fields[i + 2].empty()) {
            return std::nullopt;
        }
        pictures.push_back({std::string(fields[i + 2]), *rotation, *page});
    }
    ShowPicture& first = pictures.front();
    return HistoryEntry{std::move(first.path), first.page, first.rotation, *when,
                        std::vector<ShowPicture>(std::make_move_iterator(pictures.begin() + 1),
                                                 std::make_move_iterator(pictures.end()))};
}

}  // namespace

void WallpaperHistory::Record(HistoryEntry entry) {
    entries.push_back(std::move(entry));
    if (entries.size() > kHistoryLimit) {
        entries.erase(entries.begin(), entries.end() - kHistoryLimit);
    }
    current = static_cast<int>(entries.size()) - 1;
}

void WallpaperHistory::SetCurrent(int index) {
    if (index >= 0 && index < static_cast<int>(entries.size())) {
        current = index;
    }
}

std::string WallpaperHistory::ToText() const {
    std::string text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const HistoryEntry& entry = entries[i];
        char fields[64];
        std::snprintf(fields, sizeof(fields), "%s%04d-%02d-%02d %02d:%02d\t%d\t%d\t",
                      static_cast<int>(i) == current ? "*" : "", entry.time.year, entry.time.month,
                      entry.time.day, entry.time.hour, entry.time.minute, entry.page,
                      entry.rotation);
        text += fields;
        text += entry.path;
        for (const ShowPicture& other : entry.otherMonitors) {
            std::snprintf(fields, sizeof(fields), "\t%d\t%d\t", other.page, other.rotation);
            text += fields;
            text += other.path;
        }
        text += "\r\n";
    }
    return text;
}

WallpaperHistory WallpaperHistory::FromText(std::string_view text) {
    WallpaperHistory history;
    // The place of the marked entry counted from the newest, as older ones may yet be dropped.
    std::optional<std::size_t> markedFromEnd;
    while (!text.empty()) {
        std::string_view line = TakeLine(text);
        const bool marked = !line.empty() && line.front() == '*';
        if (marked) {
            line.remove_prefix(1);
        }
        if (std::optional<HistoryEntry> entry = ReadEntry(line)) {
            history.Record(std::move(*entry));
            if (marked) {
                markedFromEnd = 0;
            } else if (markedFromEnd) {
                ++*markedFromEnd;
            }
        }
    }
    if (markedFromEnd && *markedFromEnd < history.entries.size()) {
        history.current = static_cast<int>(history.entries.size() - 1 - *markedFromEnd);
    }
    return history;
}

WallpaperHistory LoadHistory(FileSystem& fileSystem, const std::string& path) {
    if (path.empty()) {
        return {};
    }
    std::optional<std::string> text = fileSystem.ReadFile(path);
    return text ? WallpaperHistory::FromText(*text) : WallpaperHistory{};
}
