// Allocation, copying and pixel reading of PixelImage.
#include "imagelib/pixel_image.h"

#include <cstring>

PixelImage::PixelImage(std::uint32_t width, std::uint32_t height, PixelFormat format)
    : width(width), height(height), format(format) {
    // Left uninitialised: every operation writes all of its result.
    pixels.reset(new std::uint8_t[SizeBytes()]);
}

std::optional<PixelImage> PixelImage::Create(std::uint32_t width, std::uint32_t height,
                                             PixelFormat format) {
    if (!IsAllowedSize(width, height)) {
        return std::nullopt;
    }
    return PixelImage(width, height, format);
}

PixelImage PixelImage::Clone() const {
    PixelImage copy(width, height, format);
    std::memcpy(copy.Data(), Data(), SizeBytes());
    copy.palette = palette;
    return copy;
}

Bgr PixelImage::ColorAt(std::uint32_t x, std::uint32_t y) const {
    const std::uint8_t* p = Row(y) + std::size_t{x} * BytesPerPixel(format);
    switch (format) {
        case PixelFormat::Gray8:
            return {p[0], p[0], p[0]};
        case PixelFormat::Indexed8:
            return p[0] < palette.size() ? palette[p[0]] : Bgr{};
        case PixelFormat::Bgr24:
            break;
    }
    return {p[0], p[1], p[2]};
}
