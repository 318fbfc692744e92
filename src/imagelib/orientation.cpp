// Turning stored pixels upright: mirrors in place, quarter turns through the tiled rotation.
#include "imagelib/orientation.h"

#include <algorithm>
#include <utility>

#include "imagelib/rotate.h"

namespace pixelops {

namespace {

// Reverses the pixels of each row in place.
template <int C>
void MirrorLeftRight(PixelImage& image) {
    for (std::uint32_t y = 0; y < image.Height(); ++y) {
        std::uint8_t* left = image.Row(y);
        std::uint8_t* right = left + (std::size_t{image.Width()} - 1) * C;
        for (; left < right; left += C, right -= C) {
            for (int c = 0; c < C; ++c) {
                std::swap(left[c], right[c]);
            }
        }
    }
}

void MirrorTopBottom(PixelImage& image) {
    const std::size_t rowBytes = image.RowBytes();
    for (std::uint32_t top = 0, bottom = image.Height() - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(image.Row(top), image.Row(top) + rowBytes, image.Row(bottom));
    }
}

void MirrorLeftRight(PixelImage& image) {
    if (image.Format() == PixelFormat::Bgr24) {
        MirrorLeftRight<3>(image);
    } else {
        MirrorLeftRight<1>(image);
    }
}

}  // namespace

bool SwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

ImageSize UprightSize(ImageSize stored, int orientation) {
    return SwapsSides(orientation) ? ImageSize{stored.height, stored.width} : stored;
}

PixelImage Orient(PixelImage image, int orientation) {
    switch (orientation) {
        case 2:
            MirrorLeftRight(image);
            return image;
        case 3:
            // A half turn is both mirrors, each a linear pass in place.
            MirrorLeftRight(image);
            MirrorTopBottom(image);
            return image;
        case 4:
            MirrorTopBottom(image);
            return image;
        case 5:
            // Transposed: mirrored left-right, then turned anticlockwise.
            MirrorLeftRight(image);
            return RotateQuarterTurns(image, 3);
        case 6:
            return RotateQuarterTurns(image, 1);
        case 7:
            MirrorLeftRight(image);
            return RotateQuarterTurns(image, 1);
        case 8:
            return RotateQuarterTurns(image, 3);
        default:
            return image;
    }
}

}  // namespace pixelops
