// Conversions between the pixel forms: expansion to 24-bit colour and reduction to gray levels.
#pragma once

#include <array>

#include "imagelib/pixel_image.h"

namespace pixelops {

// The same pixels as 24-bit colour.
PixelImage ToBgr24(const PixelImage& image);

// The colour of every possible byte of a one-byte-per-pixel image (gray or palette).
std::array<Bgr, 256> ByteColors(const PixelImage& image);

// The gray level of every pixel, as a Gray8 image.
PixelImage ToGray8(const PixelImage& image);

}  // namespace pixelops
