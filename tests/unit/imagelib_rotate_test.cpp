// Quarter-turn rotation: orientation of each turn and the angles that count as quarter turns.
#include "imagelib/rotate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/unit/imagelib_test_images.h"

namespace {

using pixelops::QuarterTurns;
using pixelops::RotateQuarterTurns;

TEST(QuarterTurns, WholeQuarterTurnsCountClockwiseAndOtherAnglesAreNone) {
    const struct {
        double degrees;
        std::optional<int> turns;
    } cases[] = {
        {0, 0},
        {90, 1},
        {-90, 3},
        {180, 2},
        {-180, 2},
        {270, 3},
        {360, 0},
        {450, 1},
        {-450, 3},
        {45, std::nullopt},
        {90.5, std::nullopt},
        {-0.001, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
        {1e300, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuarterTurns(c.degrees), c.turns) << c.degrees;
    }
}

TEST(RotateQuarterTurns, EachTurnPutsThePixelsWhereTheyBelong) {
    // 1 2 3
    // 4 5 6
    const PixelImage image = GrayImage(3, 2, {1, 2, 3, 4, 5, 6});
    const struct {
        int turns;
        std::uint32_t width, height;
        std::vector<std::uint8_t> pixels;
    } cases[] = {
        {1, 2, 3, {4, 1, 5, 2, 6, 3}},  // clockwise: the left column becomes the top row
        {3, 2, 3, {3, 6, 2, 5, 1, 4}},  // counterclockwise
        {2, 3, 2, {6, 5, 4, 3, 2, 1}},
        {0, 3, 2, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& c : cases) {
        const PixelImage out = RotateQuarterTurns(image, c.turns);
        EXPECT_EQ(out.Width(), c.width) << c.turns;
        EXPECT_EQ(out.Height(), c.height) << c.turns;
        EXPECT_EQ(Bytes(out), c.pixels) << c.turns;
    }
}

TEST(RotateQuarterTurns, LargeColourImagesTurnExactlyAcrossTiles) {
    const PixelImage image = PatternImage(130, 70);
    const PixelImage cw = RotateQuarterTurns(image, 1);
    const PixelImage ccw = RotateQuarterTurns(image, 3);
    const PixelImage half = RotateQuarterTurns(image, 2);
    ASSERT_EQ(cw.Width(), 70u);
    ASSERT_EQ(cw.Height(), 130u);
    for (std::uint32_t y = 0; y < 70; ++y) {
        for (std::uint32_t x = 0; x < 130; ++x) {
            const Bgr c = image.ColorAt(x, y);
            ASSERT_EQ(cw.ColorAt(69 - y, x), c);
            ASSERT_EQ(ccw.ColorAt(y, 129 - x), c);
            ASSERT_EQ(half.ColorAt(129 - x, 69 - y), c);
        }
    }
    EXPECT_EQ(Bytes(RotateQuarterTurns(cw, 3)), Bytes(image));
}

}  // namespace
