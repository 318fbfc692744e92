// A photograph-like test image made from smooth gradients, a few hard edges and fine noise,
// so that resampling, colour reduction and compression meet realistic pixel statistics.
#pragma once

#include <cstdint>

#include "imagelib/pixel_image.h"

inline PixelImage SyntheticPhoto(std::uint32_t width, std::uint32_t height) {
    PixelImage image = *PixelImage::Create(width, height, PixelFormat::Bgr24);
    std::uint32_t noise = 12345;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = image.Row(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>(noise >> 28) - 8;
            const bool stripe = ((x / 97) + (y / 131)) % 5 == 0;
            const int sky = static_cast<int>(255 * y / height);
            const int r = (stripe ? 240 : 60 + sky / 2) + grain;
            const int g = static_cast<int>(90 + 100 * x / width) + grain;
            const int b = 255 - sky + grain;
            const auto clamp = [](int v) {
                return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
            };
            row[3 * x] = clamp(b);
            row[3 * x + 1] = clamp(g);
            row[3 * x + 2] = clamp(r);
        }
    }
    return image;
}
