// Small images for the image library's tests, built from listed pixel values.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/pixel_image.h"

inline PixelImage GrayImage(std::uint32_t width, std::uint32_t height,
                            const std::vector<std::uint8_t>& values) {
    PixelImage image = *PixelImage::Create(width, height, PixelFormat::Gray8);
    for (std::size_t i = 0; i < values.size() && i < image.SizeBytes(); ++i) {
        image.Data()[i] = values[i];
    }
    return image;
}

inline PixelImage ColorImage(std::uint32_t width, std::uint32_t height,
                             const std::vector<Bgr>& colors) {
    PixelImage image = *PixelImage::Create(width, height, PixelFormat::Bgr24);
    for (std::size_t i = 0; i < colors.size() && i < std::size_t{width} * height; ++i) {
        image.Data()[3 * i] = colors[i].b;
        image.Data()[3 * i + 1] = colors[i].g;
        image.Data()[3 * i + 2] = colors[i].r;
    }
    return image;
}

// A colour image where every pixel has a colour of its own position.
inline PixelImage PatternImage(std::uint32_t width, std::uint32_t height) {
    std::vector<Bgr> colors;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            colors.push_back({static_cast<std::uint8_t>(x * 7 + y),
                              static_cast<std::uint8_t>(y * 3), static_cast<std::uint8_t>(x ^ y)});
        }
    }
    return ColorImage(width, height, colors);
}

inline std::vector<std::uint8_t> Bytes(const PixelImage& image) {
    return {image.Data(), image.Data() + image.SizeBytes()};
}

inline std::vector<Bgr> Colors(const PixelImage& image) {
    std::vector<Bgr> colors;
    for (std::uint32_t y = 0; y < image.Height(); ++y) {
        for (std::uint32_t x = 0; x < image.Width(); ++x) {
            colors.push_back(image.ColorAt(x, y));
        }
    }
    return colors;
}
