// Colour reduction, gray levels and the blend over a colour.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "imagelib/alpha_merge.h"
#include "imagelib/color_reduction.h"
#include "imagelib/pixel_convert.h"
#include "tests/unit/imagelib_test_images.h"

namespace {

using pixelops::ReduceColors;

// An image with exactly n distinct colours, each repeated.
PixelImage ImageWithColors(int n) {
    std::vector<Bgr> colors;
    for (int i = 0; i < 2 * n; ++i) {
        const int k = i % n;
        colors.push_back({static_cast<std::uint8_t>(k * 37), static_cast<std::uint8_t>(k),
                          static_cast<std::uint8_t>(255 - k)});
    }
    return ColorImage(static_cast<std::uint32_t>(2 * n), 1, colors);
}

TEST(ReduceColors, ImagesWithoutMoreColoursThanTheLimitStayExact) {
    for (const int n : {1, 2, 5, 247, 248}) {
        const PixelImage image = ImageWithColors(n);
        const PixelImage out = ReduceColors(image, 248);
        EXPECT_EQ(out.Format(), PixelFormat::Indexed8);
        EXPECT_EQ(out.Palette().size(), static_cast<std::size_t>(n));
        EXPECT_EQ(Colors(out), Colors(image)) << n << " colours";
    }
    const PixelImage gray = GrayImage(4, 1, {0, 9, 9, 255});
    EXPECT_EQ(Colors(ReduceColors(gray, 248)), Colors(gray));
}

TEST(ReduceColors, ManyColoursGiveAtMostTheLimitAndStayClose) {
    // Every red and green level, with blue following both: 65536 colours.
    std::vector<Bgr> colors;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            colors.push_back({static_cast<std::uint8_t>((x + y) / 2), static_cast<std::uint8_t>(y),
                              static_cast<std::uint8_t>(x)});
        }
    }
    const PixelImage image = ColorImage(256, 256, colors);
    for (const int limit : {249, 248, 16}) {
        const PixelImage out = ReduceColors(image, limit);
        ASSERT_EQ(out.Format(), PixelFormat::Indexed8);
        EXPECT_LE(out.Palette().size(), static_cast<std::size_t>(limit));
        EXPECT_GE(out.Palette().size(), static_cast<std::size_t>(limit) * 3 / 4);
        double error = 0;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            const Bgr a = colors[i];
            const Bgr b = out.ColorAt(static_cast<std::uint32_t>(i % 256),
                                      static_cast<std::uint32_t>(i / 256));
            error += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        }
        // Mean error per channel: a palette of k colours over this plane spaces them about
        // 256 / sqrt(k) apart.
        EXPECT_LT(error / (3.0 * colors.size()), limit > 100 ? 6.0 : 20.0) << limit;
    }
}

TEST(ReduceColors, SmallAndLargeImagesOfTheSameColoursReduceAlike) {
    // Small images sort their pixels, large ones count them in a table: a small image and the
    // same one with every pixel repeated 4 x 4 times get the same palette and indexes.
    const PixelImage small = PatternImage(64, 64);
    PixelImage large = *PixelImage::Create(256, 256, PixelFormat::Bgr24);
    for (std::uint32_t y = 0; y < 256; ++y) {
        for (std::uint32_t x = 0; x < 256; ++x) {
            std::copy_n(small.Row(y / 4) + 3 * (x / 4), 3, large.Row(y) + 3 * x);
        }
    }
    const PixelImage a = ReduceColors(small, 50);
    const PixelImage b = ReduceColors(large, 50);
    EXPECT_EQ(a.Palette(), b.Palette());
    for (std::uint32_t y = 0; y < 256; ++y) {
        for (std::uint32_t x = 0; x < 256; ++x) {
            ASSERT_EQ(b.Row(y)[x], a.Row(y / 4)[x / 4]) << x << "," << y;
        }
    }
}

TEST(ReduceColors, PaletteColoursAreTheMeanOfTheirPixelsRoundedToNearest) {
    // Two colours for three: the black pixels keep theirs, the others share their mean.
    const struct {
        PixelImage image;
        std::vector<Bgr> palette;
    } cases[] = {
        {GrayImage(6, 1, {0, 0, 0, 100, 101, 101}), {{0, 0, 0}, {101, 101, 101}}},  // 100.67
        {GrayImage(6, 1, {0, 0, 0, 100, 100, 101}), {{0, 0, 0}, {100, 100, 100}}},  // 100.33
        // One histogram cell of three colours: 100.67, 50.33 and 201.
        {ColorImage(4, 1, {{0, 0, 0}, {100, 50, 200}, {101, 51, 202}, {101, 50, 201}}),
         {{0, 0, 0}, {101, 50, 201}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReduceColors(c.image, 2).Palette(), c.palette);
    }
}

TEST(ReduceColors, AllGrayLevelsUseTheWholePaletteWithinOneLevel) {
    std::vector<std::uint8_t> levels(256 * 4);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        levels[i] = static_cast<std::uint8_t>(i % 256);
    }
    const PixelImage image = GrayImage(256, 4, levels);
    const PixelImage out = ReduceColors(image, 248);
    EXPECT_EQ(out.Palette().size(), 248u);
    for (std::uint32_t x = 0; x < 256; ++x) {
        EXPECT_LE(std::abs(out.ColorAt(x, 0).g - static_cast<int>(x)), 1) << x;
    }
}

TEST(GrayScale, PixelValuesBecomeTheirGrayLevel) {
    const struct {
        Bgr color;
        std::uint8_t level;
    } cases[] = {
        {{0, 0, 0}, 0},     {{255, 255, 255}, 255}, {{77, 77, 77}, 77}, {{0, 0, 255}, 76},  // red
        {{0, 255, 0}, 150}, {{255, 0, 0}, 29},
    };
    for (const auto& c : cases) {
        const PixelImage gray = pixelops::ToGray8(ColorImage(1, 1, {c.color}));
        EXPECT_EQ(gray.Format(), PixelFormat::Gray8);
        EXPECT_EQ(gray.Data()[0], c.level);
    }
    PixelImage indexed = *PixelImage::Create(2, 1, PixelFormat::Indexed8);
    indexed.SetPalette({{0, 255, 0}, {10, 10, 10}});
    indexed.Data()[0] = 1;
    indexed.Data()[1] = 0;
    EXPECT_EQ(Bytes(pixelops::ToGray8(indexed)), (std::vector<std::uint8_t>{10, 150}));
}

TEST(MergeOverColor, FullMaskKeepsThePixelEmptyMaskGivesTheColourAndBetweenBlends) {
    const Bgr background{0, 128, 255};
    std::vector<Bgr> colors;
    for (int v = 0; v < 256; ++v) {
        colors.push_back({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(255 - v),
                          static_cast<std::uint8_t>(v / 2)});
    }
    for (const std::uint8_t alpha : {std::uint8_t{0}, std::uint8_t{255}}) {
        PixelImage image = ColorImage(256, 1, colors);
        const std::vector<std::uint8_t> mask(256, alpha);
        pixelops::MergeOverColor(image, mask.data(), background);
        EXPECT_EQ(Colors(image), alpha == 255 ? colors : std::vector<Bgr>(256, background));
    }
    // (pixel * a + color * (255 - a) + 127) / 255, per channel.
    PixelImage image = ColorImage(4, 1, {{200, 0, 255}, {200, 0, 255}, {0, 0, 0}, {10, 20, 30}});
    const std::uint8_t mask[] = {128, 1, 254, 100};
    pixelops::MergeOverColor(image, mask, {0, 255, 100});
    EXPECT_EQ(Colors(image),
              (std::vector<Bgr>{{100, 127, 178}, {1, 254, 101}, {0, 1, 0}, {4, 163, 73}}));
}

TEST(MergeOverColor, GrayImagesOverAGrayStayGray) {
    PixelImage image = GrayImage(3, 1, {0, 100, 255});
    const std::uint8_t mask[] = {0, 128, 255};
    pixelops::MergeOverColor(image, mask, {50, 50, 50});
    EXPECT_EQ(image.Format(), PixelFormat::Gray8);
    EXPECT_EQ(Bytes(image), (std::vector<std::uint8_t>{50, 75, 255}));
}

}  // namespace
