// Resizing: fitted sizes, each reduction method on images whose answer is known, enlarging.
#include "imagelib/resize.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "imagelib/cancellation.h"
#include "imagelib/row_bands.h"
#include "tests/unit/imagelib_test_images.h"

namespace {

using pixelops::FitInside;
using pixelops::Resize;

std::vector<std::uint8_t> ResizedGray(const PixelImage& image, ImageSize size,
                                      ResizeMethod method) {
    const std::optional<PixelImage> out = Resize(image, size, method);
    EXPECT_TRUE(out);
    if (!out) {
        return {};
    }
    EXPECT_EQ(out->Format(), PixelFormat::Gray8);
    EXPECT_EQ(ImageSize(out->Width(), out->Height()), size);
    return Bytes(*out);
}

TEST(FitInside, OneSideEqualsTheBoxAndTheOtherIsRoundedToNearest) {
    const struct {
        ImageSize image, box, expected;
    } cases[] = {
        {{6000, 4000}, {1920, 1080}, {1620, 1080}},
        {{4000, 6000}, {1920, 1080}, {720, 1080}},
        {{1920, 1080}, {1920, 1080}, {1920, 1080}},
        {{800, 600}, {1024, 768}, {1024, 768}},  // enlarges too
        {{60, 40}, {100, 100}, {100, 67}},       // 66.7
        {{3, 1}, {5, 5}, {5, 2}},                // 1.67
        {{4, 3}, {2, 2}, {2, 2}},                // 1.5 rounds up
        {{3, 2}, {2, 2}, {2, 1}},                // 1.33
        {{1000, 1}, {100, 100}, {100, 1}},       // 0.1 is raised to 1
        {{1, 1000}, {50, 50}, {1, 50}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitInside(c.image, c.box), c.expected)
            << c.image.width << "x" << c.image.height << " in " << c.box.width << "x"
            << c.box.height;
    }
}

TEST(Resize, EliminatePixelsKeepsThePixelUnderEachTargetCentre) {
    const PixelImage row = GrayImage(6, 1, {10, 20, 30, 40, 50, 60});
    EXPECT_EQ(ResizedGray(row, {2, 1}, ResizeMethod::EliminatePixels),
              (std::vector<std::uint8_t>{20, 50}));
    EXPECT_EQ(ResizedGray(row, {3, 1}, ResizeMethod::EliminatePixels),
              (std::vector<std::uint8_t>{20, 40, 60}));
    const PixelImage column = GrayImage(1, 4, {1, 2, 3, 4});
    EXPECT_EQ(ResizedGray(column, {1, 2}, ResizeMethod::EliminatePixels),
              (std::vector<std::uint8_t>{2, 4}));
}

TEST(Resize, FavorMethodsKeepTheDarkestOrLightestCoveredPixel) {
    // 3 -> 2: the middle pixel lies under both target pixels.
    const PixelImage row = GrayImage(3, 1, {100, 0, 200});
    EXPECT_EQ(ResizedGray(row, {2, 1}, ResizeMethod::FavorBlack),
              (std::vector<std::uint8_t>{0, 0}));
    EXPECT_EQ(ResizedGray(row, {2, 1}, ResizeMethod::FavorWhite),
              (std::vector<std::uint8_t>{100, 200}));
    // 4x4 -> 2x2: each target pixel covers one 2x2 block.
    const PixelImage square = GrayImage(4, 4,
                                        {9, 8, 50, 51,  //
                                         7, 90, 52, 5,  //
                                         0, 1, 200, 3,  //
                                         2, 3, 4, 255});
    EXPECT_EQ(ResizedGray(square, {2, 2}, ResizeMethod::FavorBlack),
              (std::vector<std::uint8_t>{7, 5, 0, 3}));
    EXPECT_EQ(ResizedGray(square, {2, 2}, ResizeMethod::FavorWhite),
              (std::vector<std::uint8_t>{90, 52, 3, 255}));
}

TEST(Resize, FavorMethodsKeepWholePixelsChosenByBrightness) {
    const Bgr blue{255, 0, 0};      // dark, though its blue channel is high
    const Bgr gray{60, 60, 60};     //
    const Bgr yellow{0, 255, 255};  // light, though its blue channel is 0
    const Bgr lightGray{200, 200, 200};
    const PixelImage image = ColorImage(2, 2, {blue, gray, yellow, lightGray});
    const std::optional<PixelImage> black =
        Resize(ColorImage(2, 1, {gray, blue}), {1, 1}, ResizeMethod::FavorBlack);
    ASSERT_TRUE(black);
    EXPECT_EQ(black->ColorAt(0, 0), blue);
    const std::optional<PixelImage> white =
        Resize(ColorImage(1, 2, {lightGray, yellow}), {1, 1}, ResizeMethod::FavorWhite);
    ASSERT_TRUE(white);
    EXPECT_EQ(white->ColorAt(0, 0), yellow);
    const std::optional<PixelImage> both = Resize(image, {1, 1}, ResizeMethod::FavorBlack);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->ColorAt(0, 0), blue);
}

TEST(Resize, AverageColorsWeighsEachPixelByTheAreaItCovers) {
    EXPECT_EQ(ResizedGray(GrayImage(4, 1, {0, 255, 100, 100}), {2, 1}, ResizeMethod::AverageColors),
              (std::vector<std::uint8_t>{128, 100}));  // 127.5 rounds up
    // 3 -> 2: (0 + 90/2) / 1.5 and (90/2 + 180) / 1.5.
    EXPECT_EQ(ResizedGray(GrayImage(3, 1, {0, 90, 180}), {2, 1}, ResizeMethod::AverageColors),
              (std::vector<std::uint8_t>{30, 150}));
    EXPECT_EQ(ResizedGray(GrayImage(2, 2, {0, 255, 255, 0}), {1, 1}, ResizeMethod::AverageColors),
              (std::vector<std::uint8_t>{128}));
    const std::optional<PixelImage> color = Resize(ColorImage(2, 1, {{10, 100, 200}, {30, 50, 0}}),
                                                   {1, 1}, ResizeMethod::AverageColors);
    ASSERT_TRUE(color);
    EXPECT_EQ(color->ColorAt(0, 0), (Bgr{20, 75, 100}));
}

TEST(Resize, EnlargingInterpolatesBetweenNeighbours) {
    for (const ResizeMethod method : {ResizeMethod::EliminatePixels, ResizeMethod::FavorBlack,
                                      ResizeMethod::FavorWhite, ResizeMethod::AverageColors}) {
        EXPECT_EQ(ResizedGray(GrayImage(2, 1, {0, 100}), {4, 1}, method),
                  (std::vector<std::uint8_t>{0, 25, 75, 100}))
            << static_cast<int>(method);
    }
}

TEST(Resize, OneAxisShrinksByTheMethodWhileTheOtherGrows) {
    // 6x1 -> 2x3: columns by the centre pixel, rows repeated by interpolation.
    EXPECT_EQ(ResizedGray(GrayImage(6, 1, {10, 20, 30, 40, 50, 60}), {2, 3},
                          ResizeMethod::EliminatePixels),
              (std::vector<std::uint8_t>{20, 50, 20, 50, 20, 50}));
    EXPECT_EQ(ResizedGray(GrayImage(2, 1, {10, 30}), {1, 3}, ResizeMethod::AverageColors),
              (std::vector<std::uint8_t>{20, 20, 20}));
}

TEST(Resize, AUniformImageStaysUniformAtEverySizeAndMethod) {
    const ImageSize sizes[] = {{3, 2}, {1, 1}, {7, 5}, {20, 3}, {2, 19}, {31, 23}};
    for (const ResizeMethod method : {ResizeMethod::EliminatePixels, ResizeMethod::FavorBlack,
                                      ResizeMethod::FavorWhite, ResizeMethod::AverageColors}) {
        for (const ImageSize size : sizes) {
            const std::optional<PixelImage> out =
                Resize(ColorImage(7, 5, std::vector<Bgr>(35, Bgr{77, 140, 201})), size, method);
            ASSERT_TRUE(out);
            EXPECT_EQ(Colors(*out), std::vector<Bgr>(size.width * size.height, Bgr{77, 140, 201}))
                << static_cast<int>(method) << " " << size.width << "x" << size.height;
        }
    }
}

TEST(Resize, ChoosingMethodsKeepPaletteImagesIndexedAndAveragingExpandsThem) {
    PixelImage indexed = *PixelImage::Create(4, 2, PixelFormat::Indexed8);
    indexed.SetPalette({{0, 0, 0}, {0, 0, 255}});
    for (std::size_t i = 0; i < indexed.SizeBytes(); ++i) {
        indexed.Data()[i] = static_cast<std::uint8_t>(i % 2);
    }
    const std::optional<PixelImage> chosen = Resize(indexed, {2, 1}, ResizeMethod::FavorWhite);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->Format(), PixelFormat::Indexed8);
    EXPECT_EQ(Colors(*chosen), std::vector<Bgr>(2, Bgr{0, 0, 255}));
    const std::optional<PixelImage> averaged = Resize(indexed, {2, 1}, ResizeMethod::AverageColors);
    ASSERT_TRUE(averaged);
    EXPECT_EQ(averaged->Format(), PixelFormat::Bgr24);
    EXPECT_EQ(Colors(*averaged), std::vector<Bgr>(2, Bgr{0, 0, 128}));
}

TEST(Resize, LargeImagesSplitAcrossThreadsStillGiveEveryRow) {
    // Large enough for the row bands of several threads.
    const std::uint32_t w = 2400;
    const std::uint32_t h = 2000;
    PixelImage image = *PixelImage::Create(w, h, PixelFormat::Gray8);
    for (std::uint32_t y = 0; y < h; ++y) {
        for (std::uint32_t x = 0; x < w; ++x) {
            image.Row(y)[x] = static_cast<std::uint8_t>((x * 5 + y * 3) % 256);
        }
    }
    const std::optional<PixelImage> darkest =
        Resize(image, {w / 2, h / 2}, ResizeMethod::FavorBlack);
    const std::optional<PixelImage> averaged =
        Resize(image, {w / 2, h / 2}, ResizeMethod::AverageColors);
    ASSERT_TRUE(darkest && averaged);
    for (std::uint32_t y = 0; y < h / 2; ++y) {
        for (std::uint32_t x = 0; x < w / 2; ++x) {
            const std::uint8_t* top = image.Row(2 * y) + 2 * x;
            const std::uint8_t* bottom = image.Row(2 * y + 1) + 2 * x;
            const int sum = top[0] + top[1] + bottom[0] + bottom[1];
            ASSERT_EQ(darkest->Row(y)[x], std::min({top[0], top[1], bottom[0], bottom[1]}))
                << x << "," << y;
            ASSERT_EQ(averaged->Row(y)[x], (sum + 2) / 4) << x << "," << y;
        }
    }
}

TEST(Resize, SizesBeyondThePixelLimitOrZeroAreRefused) {
    const PixelImage image = GrayImage(2, 2, {1, 2, 3, 4});
    EXPECT_FALSE(Resize(image, {100000, 100000}, ResizeMethod::AverageColors));
    EXPECT_FALSE(Resize(image, {1u << 29, 1}, ResizeMethod::EliminatePixels));
    EXPECT_FALSE(Resize(image, {0, 5}, ResizeMethod::EliminatePixels));
}

TEST(RowBandsTest, AReductionStopsBetweenBandsOnceItsRenderIsNoLongerWanted) {
    // The check turns true after the first piece of rows: the rest is never worked, on this
    // thread or the band threads, and the operation ends with Cancelled.
    std::atomic<std::uint32_t> rowsWorked{0};
    std::atomic<int> asked{0};
    const pixelops::CancelCheck check = [&] { return asked++ > 0; };
    const pixelops::CancelScope scope(&check);
    constexpr std::uint32_t kRows = 4000;
    EXPECT_THROW(pixelops::ForRowBands(
                     kRows, std::uint64_t{kRows} * 6000,
                     [&](std::uint32_t begin, std::uint32_t end) { rowsWorked += end - begin; }),
                 pixelops::Cancelled);
    EXPECT_LT(rowsWorked.load(), kRows / 4);
    // Without a check every row is worked.
    const pixelops::CancelScope none(nullptr);
    rowsWorked = 0;
    pixelops::ForRowBands(
        kRows, std::uint64_t{kRows} * 6000,
        [&](std::uint32_t begin, std::uint32_t end) { rowsWorked += end - begin; });
    EXPECT_EQ(rowsWorked.load(), kRows);
}

}  // namespace
