// Turning stored pixels upright by a recorded orientation (the EXIF values 1 to 8).
#pragma once

#include "imagelib/pixel_image.h"

// 1 as stored; 2 mirrored left-right; 3 turned half round; 4 mirrored top-bottom; 5 mirrored
// across the main diagonal (transposed); 6 turned a quarter clockwise; 7 mirrored across the
// other diagonal; 8 turned a quarter anticlockwise. Values outside 1 to 8 count as 1.
namespace pixelops {

// Whether the upright picture has the stored picture's sides swapped (5 to 8).
bool SwapsSides(int orientation);

// The size of the upright picture.
ImageSize UprightSize(ImageSize stored, int orientation);

// The stored image turned upright; the image itself for 1. Palette and format are kept.
PixelImage Orient(PixelImage image, int orientation);

}  // namespace pixelops
