// One row of the wallpaper list: a file or folder with its rotation and page selection.
#pragma once

#include <cstdint>
#include <string>

struct WallpaperEntry {
    // Row number; set before a sort and in items of the switching sequence.
    int32_t index = 0;
    // Rotation code: the position in the rotation combo box (0 none, 1 counterclockwise,
    // 2 clockwise, 3 half turn). Values read from a list file above 3 are kept as read.
    int32_t rotation = 0;
    // Page-selection text as the user typed it.
    std::string pages;
    // Full path of a file or folder; "." marks the placeholder row of a drop.
    std::string path;

    bool operator==(const WallpaperEntry&) const = default;
};

// The placeholder path, never counted for uniqueness.
inline constexpr const char* kPlaceholderPath = ".";
