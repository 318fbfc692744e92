// Where a picture's interest lies, and the colour of its edges, both measured on a small copy:
// the window a crop that covers a screen keeps, and the colour bars and masks fade into.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/compose.h"
#include "imagelib/pixel_image.h"

namespace pixelops {

// The long side of the copy interest and edge colour are measured on.
inline constexpr std::uint32_t kSmallCopySide = 256;

// A 24-bit copy of the image whose longer side is at most longSide pixels, each the average of
// the pixels it covers; a smaller image is copied at its size.
PixelImage SmallCopy(const PixelImage& image, std::uint32_t longSide);

// How much each pixel of the image draws the eye, row by row: edge strength, and saturated
// colours and skin tones where there is detail, weighted as attention crops weigh them.
std::vector<float> InterestMap(const PixelImage& image);

// The largest area of the target's aspect ratio inside the image, placed along the axis the
// image overflows where the most interest is, with a mild pull towards the middle so that a
// flat picture is cut evenly on both sides. The whole image when it already has that shape.
Area InterestWindow(const PixelImage& image, ImageSize target);

// The average colour of the outermost rows and columns of the image's small copy.
Bgr EdgeColor(const PixelImage& image);

}  // namespace pixelops
