// An opacity mask: one byte per pixel, rows from the top, no padding; 255 keeps the image
// pixel, 0 shows the background colour.
#pragma once

#include <cstdint>
#include <vector>

struct OpacityMask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    std::uint8_t At(int x, int y) const {
        return bytes[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};
