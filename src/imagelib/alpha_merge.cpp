// The blend of an image over a colour, in integer arithmetic.
#include "imagelib/alpha_merge.h"

namespace pixelops {

namespace {

// x / 255 for every x up to 65535, without a division.
inline std::uint32_t Divide255(std::uint32_t x) {
    return (x * 32897u) >> 23;
}

inline std::uint8_t Blend(std::uint32_t pixel, std::uint32_t color, std::uint32_t alpha) {
    return static_cast<std::uint8_t>(Divide255(pixel * alpha + color * (255 - alpha) + 127));
}

}  // namespace

void MergeOverColor(PixelImage& image, const std::uint8_t* mask, Bgr color) {
    const std::size_t count = std::size_t{image.Width()} * image.Height();
    std::uint8_t* p = image.Data();
    if (image.Format() == PixelFormat::Gray8) {
        for (std::size_t i = 0; i < count; ++i) {
            p[i] = Blend(p[i], color.g, mask[i]);
        }
        return;
    }
    for (std::size_t i = 0; i < count; ++i, p += 3) {
        const std::uint32_t a = mask[i];
        p[0] = Blend(p[0], color.b, a);
        p[1] = Blend(p[1], color.g, a);
        p[2] = Blend(p[2], color.r, a);
    }
}

}  // namespace pixelops
