// Blending an image over a solid colour through an opacity mask.
#pragma once

#include <cstdint>

#include "imagelib/pixel_image.h"

namespace pixelops {

// Blends every pixel over the colour by its mask byte (one per pixel, rows from the top):
// out = (pixel * a + color * (255 - a) + 127) / 255, so 255 keeps the pixel exactly and 0 gives
// exactly the colour. The image is Bgr24, or Gray8 when the colour is a gray.
void MergeOverColor(PixelImage& image, const std::uint8_t* mask, Bgr color);

}  // namespace pixelops
