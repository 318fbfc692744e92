// Rotation by quarter turns: exact and lossless.
#pragma once

#include <optional>

#include "imagelib/pixel_image.h"

namespace pixelops {

// The number of clockwise quarter turns (0 to 3) an angle in degrees makes, or empty when the
// angle is not a whole number of quarter turns. Positive angles turn clockwise.
std::optional<int> QuarterTurns(double degrees);

// The image turned clockwise by that many quarter turns (0 to 3).
PixelImage RotateQuarterTurns(const PixelImage& image, int quarterTurns);

}  // namespace pixelops
