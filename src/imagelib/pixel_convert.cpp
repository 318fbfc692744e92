// Conversions between the pixel forms.
#include "imagelib/pixel_convert.h"

#include <array>

namespace pixelops {

std::array<Bgr, 256> ByteColors(const PixelImage& image) {
    std::array<Bgr, 256> colors{};
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        if (image.Format() == PixelFormat::Gray8) {
            colors[i] = {v, v, v};
        } else if (static_cast<std::size_t>(i) < image.Palette().size()) {
            colors[i] = image.Palette()[i];
        }
    }
    return colors;
}

PixelImage ToBgr24(const PixelImage& image) {
    if (image.Format() == PixelFormat::Bgr24) {
        return image.Clone();
    }
    PixelImage out = *PixelImage::Create(image.Width(), image.Height(), PixelFormat::Bgr24);
    const std::array<Bgr, 256> colors = ByteColors(image);
    const std::size_t count = std::size_t{image.Width()} * image.Height();
    const std::uint8_t* src = image.Data();
    std::uint8_t* dst = out.Data();
    for (std::size_t i = 0; i < count; ++i, dst += 3) {
        const Bgr c = colors[src[i]];
        dst[0] = c.b;
        dst[1] = c.g;
        dst[2] = c.r;
    }
    return out;
}

PixelImage ToGray8(const PixelImage& image) {
    if (image.Format() == PixelFormat::Gray8) {
        return image.Clone();
    }
    PixelImage out = *PixelImage::Create(image.Width(), image.Height(), PixelFormat::Gray8);
    const std::size_t count = std::size_t{image.Width()} * image.Height();
    const std::uint8_t* src = image.Data();
    std::uint8_t* dst = out.Data();
    if (image.Format() == PixelFormat::Indexed8) {
        std::array<std::uint8_t, 256> levels{};
        const std::array<Bgr, 256> colors = ByteColors(image);
        for (int i = 0; i < 256; ++i) {
            levels[i] = GrayLevel(colors[i]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            dst[i] = levels[src[i]];
        }
        return out;
    }
    for (std::size_t i = 0; i < count; ++i, src += 3) {
        dst[i] = GrayLevel({src[0], src[1], src[2]});
    }
    return out;
}

}  // namespace pixelops
