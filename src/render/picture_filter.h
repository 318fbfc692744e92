// Which pictures the switching sequence leaves out: those too small for the monitor they are
// rendered for, and those not of the shape asked for.
#pragma once

#include <cstdint>

#include "render/screen_size.h"

struct PictureFilter {
    // A picture whose width and height are both below this percentage of the target's is too
    // small; 0 is off.
    int minSizePercent = 0;
    // 0 any shape, 1 landscape only, 2 portrait only; a square picture is both.
    int shape = 0;
    bool Off() const { return minSizePercent <= 0 && shape == 0; }
    bool operator==(const PictureFilter&) const = default;
};

// Whether a picture of that size as it is shown (turned upright as its file records, then by
// its entry's rotation) is left out for a target of that size.
bool FilteredOut(const PictureFilter& filter, std::uint32_t width, std::uint32_t height,
                 ScreenSize target);
