// One image made of pieces of others: a canvas of one colour, and areas copied into it.
#pragma once

#include <cstdint>
#include <optional>

#include "imagelib/pixel_image.h"

namespace pixelops {

// A rectangle of an image's pixels.
struct Area {
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const Area&) const = default;
};

// The pixels of the area, which lies inside the image, in the image's form.
PixelImage Crop(const PixelImage& image, Area area);

// A 24-bit image of that size in one colour; empty when the size is not allowed.
std::optional<PixelImage> FilledImage(std::uint32_t width, std::uint32_t height, Bgr color);

// Copies a width x height area into the 24-bit target with its top-left corner at (targetX,
// targetY). The area's pixel (x, y) comes from the source's pixel ((sourceX + x) mod the
// source's width, (sourceY + y) mod its height), so a source smaller than the area repeats.
// False, with nothing copied, when the area does not lie inside the target.
bool CopyArea(const PixelImage& source, std::int64_t sourceX, std::int64_t sourceY,
              std::int64_t width, std::int64_t height, PixelImage& target, std::int64_t targetX,
              std::int64_t targetY);

}  // namespace pixelops
