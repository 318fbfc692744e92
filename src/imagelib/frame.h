// Pictures placed on a screen-sized image: centred on a colour, or framed by a blurred copy of
// themselves instead of bars.
#pragma once

#include <cstdint>
#include <optional>

#include "imagelib/pixel_image.h"

namespace pixelops {

// Blurs a 24-bit image in place: three box blurs of that radius across and then down, which
// come close to a Gaussian; the edges repeat the outermost pixels.
void BoxBlur(PixelImage& image, std::uint32_t radius);

// The target-sized 24-bit image with the picture centred on it (its left and top edges at half
// the difference of the sizes, rounded towards zero) and the rest the colour; a picture larger
// than the target is cut to it. Empty when the size is not allowed.
std::optional<PixelImage> CentreOnColor(const PixelImage& picture, ImageSize target, Bgr color);

// The target-sized 24-bit image with the fitted picture centred on it as CentreOnColor places
// it, and the rest filled with the picture scaled to cover the target, blurred by a radius of
// a twentieth of the target's width and darkened by a quarter. The blur runs on a copy an
// eighth of the target's size, scaled up afterwards. Empty when the size is not allowed.
std::optional<PixelImage> BlurredFrame(const PixelImage& fitted, ImageSize target);

}  // namespace pixelops
