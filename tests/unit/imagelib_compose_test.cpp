// Composing an image from pieces: areas copied into a one-colour canvas, the source repeating
// where the area goes past it, palette and gray sources turned into colour.
#include "imagelib/compose.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "tests/unit/imagelib_test_images.h"

namespace {

TEST(ComposeTest, CopiesTheAreaRepeatingTheSourceAndRefusesAreasOutsideTheCanvas) {
    PixelImage gray = GrayImage(3, 2, {10, 20, 30, 40, 50, 60});
    PixelImage indexed = *PixelImage::Create(3, 2, PixelFormat::Indexed8);
    const std::uint8_t indexes[] = {0, 1, 2, 2, 1, 0};
    std::copy(std::begin(indexes), std::end(indexes), indexed.Data());
    indexed.SetPalette({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    const Bgr fill{200, 100, 0};
    const struct {
        const char* what;
        const PixelImage& source;
        int sourceX, sourceY, width, height, targetX, targetY;
        bool copied;
    } cases[] = {
        {"inside the source", gray, 1, 0, 2, 2, 0, 0, true},
        {"wider and taller than the source, from an offset", gray, 2, 1, 7, 3, 2, 1, true},
        {"palette colours", indexed, 0, 0, 5, 2, 5, 2, true},
        {"to the canvas's last column and row", gray, 0, 0, 3, 2, 7, 2, true},
        {"one column past the canvas", gray, 0, 0, 4, 2, 7, 2, false},
        {"one row past the canvas", gray, 0, 0, 3, 3, 7, 2, false},
        {"left of the canvas", gray, 0, 0, 3, 2, -1, 0, false},
    };
    for (const auto& c : cases) {
        PixelImage canvas = *pixelops::FilledImage(10, 4, fill);
        EXPECT_EQ(pixelops::CopyArea(c.source, c.sourceX, c.sourceY, c.width, c.height, canvas,
                                     c.targetX, c.targetY),
                  c.copied)
            << c.what;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 10; ++x) {
                const int ax = x - c.targetX;
                const int ay = y - c.targetY;
                const bool inside = c.copied && ax >= 0 && ay >= 0 && ax < c.width && ay < c.height;
                const Bgr expected =
                    inside ? c.source.ColorAt((c.sourceX + ax) % 3, (c.sourceY + ay) % 2) : fill;
                EXPECT_EQ(canvas.ColorAt(x, y), expected) << c.what << " at " << x << "," << y;
            }
        }
    }
}

}  // namespace
