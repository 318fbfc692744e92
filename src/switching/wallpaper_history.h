// The wallpapers shown last, newest last, and which of them is on the desktop: "Previous
// wallpaper" steps back through them and the next switch walks forward again before the
// sequence goes on. Kept as a text file, one entry per line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "list/file_system.h"
#include "render/show_picture.h"
#include "switching/schedule.h"

struct HistoryEntry {
    std::string path;
    int page = 0;
    int rotation = 0;
    // When it was shown, local time.
    LocalTime time;
    // With a picture per monitor, the pictures of the other monitors, left to right; empty when
    // the picture above covered every monitor.
    std::vector<ShowPicture> otherMonitors = {};

    bool operator==(const HistoryEntry&) const = default;
};

inline constexpr std::size_t kHistoryLimit = 100;

class WallpaperHistory {
public:
    // A wallpaper was shown: it becomes the newest entry and the current one; the oldest goes
    // beyond the limit.
    void Record(HistoryEntry entry);
    // The entry at that place is on the desktop again.
    void SetCurrent(int index);

    // Oldest first.
    const std::vector<HistoryEntry>& Entries() const { return entries; }
    // The place of the entry on the desktop; -1 when the history is empty.
    int Current() const { return current; }
    bool HasEarlier() const { return current > 0; }
    bool HasLater() const { return current + 1 < static_cast<int>(entries.size()); }

    // One line per entry: time, page, rotation and path separated by tabs, then page, rotation
    // and path of each other monitor's picture; the current entry's line starts with "*".
    std::string ToText() const;
    // Reads what ToText wrote; lines that make no sense are left out, and only the newest
    // entries within the limit are kept. Without a marked line the newest is current.
    static WallpaperHistory FromText(std::string_view text);

private:
    std::vector<HistoryEntry> entries;
    int current = -1;
};

// The history in the file; a missing or unreadable file is an empty history.
WallpaperHistory LoadHistory(FileSystem& fileSystem, const std::string& path);
