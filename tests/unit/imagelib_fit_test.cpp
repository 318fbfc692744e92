// Fits that cover a screen: where the crop window goes, the colour of a picture's edges, and the
// blurred frame around a fitted picture.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "imagelib/attention.h"
#include "imagelib/frame.h"
#include "tests/unit/imagelib_test_images.h"

namespace {

constexpr Bgr kGray{128, 128, 128};

// A flat gray picture, or a smooth sky from blue at the top to pale at the bottom, with a
// detailed object (a black and white checkerboard of 16-pixel squares, 96 pixels across)
// centred at the point, when there is one.
PixelImage Picture(std::uint32_t width, std::uint32_t height,
                   std::optional<std::pair<std::uint32_t, std::uint32_t>> object, bool sky) {
    std::vector<Bgr> colors;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            Bgr c = sky ? Bgr{255, static_cast<std::uint8_t>(100 + 100 * y / height),
                              static_cast<std::uint8_t>(40 + 150 * y / height)}
                        : kGray;
            if (object && x + 48 >= object->first && x < object->first + 48 &&
                y + 48 >= object->second && y < object->second + 48) {
                const bool white =
                    ((x + 48 - object->first) / 16 + (y + 48 - object->second) / 16) % 2;
                c = white ? Bgr{255, 255, 255} : Bgr{0, 0, 0};
            }
            colors.push_back(c);
        }
    }
    return ColorImage(width, height, colors);
}

TEST(AttentionTest, TheCropWindowKeepsWhatMattersAndCutsAFlatPictureEvenly) {
    using Point = std::pair<std::uint32_t, std::uint32_t>;
    const struct {
        const char* what;
        ImageSize picture;
        std::optional<Point> object;
        bool sky;
        ImageSize target;
        // The window a flat picture gets; for an object, only its size.
        pixelops::Area window;
    } cases[] = {
        {"object at the left third",
         {1200, 400},
         Point{200, 200},
         false,
         {1024, 768},
         {0, 0, 533, 400}},
        {"object at the right third",
         {1200, 400},
         Point{1000, 200},
         false,
         {1024, 768},
         {0, 0, 533, 400}},
        {"object near the top", {400, 1200}, Point{200, 150}, false, {1024, 768}, {0, 0, 400, 300}},
        {"object near the bottom",
         {400, 1200},
         Point{200, 1050},
         false,
         {1024, 768},
         {0, 0, 400, 300}},
        {"object at the left, portrait monitor",
         {1200, 800},
         Point{150, 400},
         false,
         {1080, 1920},
         {0, 0, 450, 800}},
        {"flat, cut across", {1200, 400}, std::nullopt, false, {1024, 768}, {333, 0, 533, 400}},
        {"flat, cut downwards", {400, 1200}, std::nullopt, false, {1024, 768}, {0, 450, 400, 300}},
        {"sky, cut across", {1200, 400}, std::nullopt, true, {1024, 768}, {333, 0, 533, 400}},
        {"the target's shape", {800, 600}, Point{100, 100}, false, {1024, 768}, {0, 0, 800, 600}},
        {"small picture", {40, 10}, std::nullopt, false, {100, 100}, {15, 0, 10, 10}},
    };
    for (const auto& c : cases) {
        const pixelops::Area window = pixelops::InterestWindow(
            Picture(c.picture.width, c.picture.height, c.object, c.sky), c.target);
        EXPECT_EQ(window.width, c.window.width) << c.what;
        EXPECT_EQ(window.height, c.window.height) << c.what;
        if (!c.object) {
            EXPECT_EQ(window, c.window) << c.what;
            continue;
        }
        EXPECT_GE(c.object->first, window.x + 24) << c.what;
        EXPECT_LE(c.object->first + 24, window.x + window.width) << c.what;
        EXPECT_GE(c.object->second, window.y + 24) << c.what;
        EXPECT_LE(c.object->second + 24, window.y + window.height) << c.what;
    }
}

TEST(AttentionTest, TheEdgeColourIsTheAverageOfTheOutermostRowsAndColumns) {
    const Bgr red{0, 0, 255};
    const Bgr orange{0, 128, 255};
    const Bgr green{0, 160, 0};
    const struct {
        const char* what;
        std::uint32_t width, height;
        // The colour of a pixel from its place.
        Bgr (*colorAt)(std::uint32_t x, std::uint32_t y, std::uint32_t w, std::uint32_t h);
        Bgr expected;
    } cases[] = {
        {"a red picture", 50, 30,
         [](auto, auto, auto, auto) {
             return Bgr{0, 0, 255};
         },
         red},
        {"a red border around blue", 64, 48,
         [](auto x, auto y, auto w, auto h) {
             return x == 0 || y == 0 || x == w - 1 || y == h - 1 ? Bgr{0, 0, 255} : Bgr{255, 0, 0};
         },
         red},
        {"orange above blue: half and half", 64, 48,
         [](auto, auto y, auto, auto h) {
             return y < h / 2 ? Bgr{0, 128, 255} : Bgr{255, 0, 0};
         },
         Bgr{128, 64, 128}},
        {"a large picture with a green frame, measured on the small copy", 1000, 500,
         [](auto x, auto y, auto w, auto h) {
             return x < 10 || y < 10 || x >= w - 10 || y >= h - 10 ? Bgr{0, 160, 0}
                                                                   : Bgr{255, 255, 255};
         },
         green},
        {"one pixel", 1, 1,
         [](auto, auto, auto, auto) {
             return Bgr{0, 128, 255};
         },
         orange},
    };
    for (const auto& c : cases) {
        std::vector<Bgr> colors;
        for (std::uint32_t y = 0; y < c.height; ++y) {
            for (std::uint32_t x = 0; x < c.width; ++x) {
                colors.push_back(c.colorAt(x, y, c.width, c.height));
            }
        }
        EXPECT_EQ(pixelops::EdgeColor(ColorImage(c.width, c.height, colors)), c.expected) << c.what;
    }
}

TEST(FrameTest, TheBarsTakeTheDarkenedColoursOfThePictureAndItsOwnPixelsStay) {
    // A red picture with a white stripe down its middle, fitted to a wide target.
    std::vector<Bgr> colors;
    for (std::uint32_t y = 0; y < 400; ++y) {
        for (std::uint32_t x = 0; x < 300; ++x) {
            colors.push_back(x >= 140 && x < 160 ? Bgr{255, 255, 255} : Bgr{0, 0, 255});
        }
    }
    const PixelImage fitted = ColorImage(300, 400, colors);
    const std::optional<PixelImage> framed = pixelops::BlurredFrame(fitted, {1024, 400});
    ASSERT_TRUE(framed);
    ASSERT_EQ(framed->Width(), 1024u);
    ASSERT_EQ(framed->Height(), 400u);
    for (std::uint32_t y = 0; y < 400; ++y) {
        ASSERT_EQ(std::memcmp(framed->Row(y) + 362 * 3, fitted.Row(y), fitted.RowBytes()), 0)
            << "row " << y;
    }
    // Far out in the bars: red darkened by a quarter, the stripe blurred away.
    for (const std::uint32_t x : {0u, 100u, 361u, 662u, 1023u}) {
        const Bgr bar = framed->ColorAt(x, 200);
        EXPECT_NEAR(bar.r, 191, 12) << x;
        EXPECT_LT(bar.g, 40) << x;
        EXPECT_LT(bar.b, 40) << x;
    }

    const std::optional<PixelImage> placed =
        pixelops::CentreOnColor(fitted, {301, 398}, Bgr{0, 255, 0});
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->ColorAt(0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(placed->ColorAt(300, 200), (Bgr{0, 255, 0}));
    EXPECT_EQ(placed->ColorAt(150, 0), (Bgr{255, 255, 255}));
}

}  // namespace
