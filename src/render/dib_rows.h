// Reads the rows of a packed bitmap handed out by the image library, after checking that the
// header's claims fit in the array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "imagelib/image_library.h"

struct DibRows {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    // The first stored row, the bottom one; also where the pixel bits start.
    const std::uint8_t* bottomRow = nullptr;
    std::size_t stride = 0;

    // Row r counted from the top; the bitmap stores its rows bottom-up.
    const std::uint8_t* TopDownRow(int r) const {
        return bottomRow + static_cast<std::size_t>(height - 1 - r) * stride;
    }
};

// The rows of a bottom-up packed bitmap, or nothing when its header is not one or claims more
// bytes than the array holds.
std::optional<DibRows> ReadDibRows(const ByteArray& dib);
