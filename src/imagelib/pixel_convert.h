// Conversions between the pixel forms: expansion to 24-bit colour and reduction to gray levels.
#pragma once

#include "imagelib/pixel_image.h"

namespace pixelops {

// The same pixels as 24-bit colour.
PixelImage ToBgr24(const PixelImage& image);

// The gray level of every pixel, as a Gray8 image.
PixelImage ToGray8(const PixelImage& image);

}  // namespace pixelops
