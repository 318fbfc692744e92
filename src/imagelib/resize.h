// Resizing with the four reduction methods; enlarging interpolates linearly.
#pragma once

#include <cstdint>
#include <optional>

#include "imagelib/pixel_image.h"

enum class ResizeMethod {
    EliminatePixels = 0,  // one source pixel, the one at the centre, per target pixel
    FavorBlack = 1,       // the darkest of the source pixels a target pixel covers
    FavorWhite = 2,       // the lightest of them
    AverageColors = 3,    // their average, each weighted by the area it covers
};

namespace pixelops {

// The largest size of the image's aspect ratio that fits inside the box: one side equals the
// box, the other is rounded to the nearest pixel and at least 1. Both sizes must be nonzero.
ImageSize FitInside(ImageSize image, ImageSize box);

// The image at exactly that size. Along an axis that shrinks, the method chooses or averages the
// covered pixels; along an axis that grows, pixels are interpolated linearly. The choosing
// methods keep an Indexed8 image indexed while no axis grows; otherwise the result is Gray8 for
// gray images and Bgr24 for the others. Empty when the size is zero or beyond the pixel limit.
std::optional<PixelImage> Resize(const PixelImage& image, ImageSize size, ResizeMethod method);

}  // namespace pixelops
