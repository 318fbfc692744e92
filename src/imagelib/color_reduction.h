// Colour reduction to a palette image.
#pragma once

#include "imagelib/pixel_image.h"

namespace pixelops {

// The image as Indexed8 with at most maxColors (1 to 256) palette entries. An image with no
// more colours than that keeps them exactly; otherwise median cut chooses the palette and every
// pixel takes the nearest palette colour.
PixelImage ReduceColors(const PixelImage& image, int maxColors);

}  // namespace pixelops
