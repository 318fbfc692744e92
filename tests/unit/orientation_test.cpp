// Turning stored pixels upright by each recorded orientation, then by the entry's own rotation.
#include "imagelib/orientation.h"

#include <gtest/gtest.h>

#include <map>

#include "imagelib/rotate.h"
#include "tests/unit/imagelib_test_images.h"

namespace {

using pixelops::Orient;
using pixelops::RotateQuarterTurns;
using pixelops::UprightSize;

TEST(Orient, EachOrientationThenEachEntryRotationStandsThePictureUpright) {
    // Stored:
    // 1 2 3
    // 4 5 6
    const std::vector<std::uint8_t> stored = {1, 2, 3, 4, 5, 6};
    struct Upright {
        ImageSize size;
        std::vector<std::uint8_t> pixels;
        // The orientation the result equals after 0 to 3 clockwise quarter turns more.
        int turned[4];
    };
    const std::map<int, Upright> cases = {
        {1, {{3, 2}, {1, 2, 3, 4, 5, 6}, {1, 6, 3, 8}}},
        {2, {{3, 2}, {3, 2, 1, 6, 5, 4}, {2, 7, 4, 5}}},  // mirrored left-right
        {3, {{3, 2}, {6, 5, 4, 3, 2, 1}, {3, 8, 1, 6}}},  // half turn
        {4, {{3, 2}, {4, 5, 6, 1, 2, 3}, {4, 5, 2, 7}}},  // mirrored top-bottom
        {5, {{2, 3}, {1, 4, 2, 5, 3, 6}, {5, 2, 7, 4}}},  // transposed
        {6, {{2, 3}, {4, 1, 5, 2, 6, 3}, {6, 3, 8, 1}}},  // a quarter clockwise
        {7, {{2, 3}, {6, 3, 5, 2, 4, 1}, {7, 4, 5, 2}}},  // across the other diagonal
        {8, {{2, 3}, {3, 6, 2, 5, 1, 4}, {8, 1, 6, 3}}},  // a quarter anticlockwise
    };
    const auto colorOf = [](std::uint8_t v) {
        return Bgr{v, static_cast<std::uint8_t>(v * 2), static_cast<std::uint8_t>(v * 3)};
    };
    const std::vector<Bgr> palette = {{},         colorOf(1), colorOf(2), colorOf(3),
                                      colorOf(4), colorOf(5), colorOf(6)};
    for (PixelFormat format : {PixelFormat::Gray8, PixelFormat::Indexed8, PixelFormat::Bgr24}) {
        const auto make = [&](ImageSize size, const std::vector<std::uint8_t>& values) {
            if (format != PixelFormat::Bgr24) {
                PixelImage image = GrayImage(size.width, size.height, values);
                if (format == PixelFormat::Indexed8) {
                    PixelImage indexed = *PixelImage::Create(size.width, size.height, format);
                    std::copy(image.Data(), image.Data() + image.SizeBytes(), indexed.Data());
                    indexed.SetPalette(palette);
                    return indexed;
                }
                return image;
            }
            std::vector<Bgr> colors;
            for (std::uint8_t v : values) {
                colors.push_back(colorOf(v));
            }
            return ColorImage(size.width, size.height, colors);
        };
        for (const auto& [orientation, upright] : cases) {
            EXPECT_EQ(UprightSize({3, 2}, orientation), upright.size) << orientation;
            const PixelImage oriented = Orient(make({3, 2}, stored), orientation);
            for (int turns = 0; turns < 4; ++turns) {
                const PixelImage out = RotateQuarterTurns(oriented, turns);
                const Upright& expected = cases.at(upright.turned[turns]);
                const auto what = ::testing::Message()
                                  << "format " << static_cast<int>(format) << ", orientation "
                                  << orientation << ", turns " << turns;
                EXPECT_EQ(out.Format(), format) << what;
                EXPECT_EQ(out.Palette(),
                          format == PixelFormat::Indexed8 ? palette : std::vector<Bgr>{})
                    << what;
                EXPECT_EQ(Colors(out), Colors(make(expected.size, expected.pixels))) << what;
                EXPECT_EQ(ImageSize(out.Width(), out.Height()), expected.size) << what;
            }
        }
    }
    EXPECT_EQ(UprightSize({3, 2}, 0), (ImageSize{3, 2})) << "values outside 1 to 8 are 1";
    EXPECT_EQ(Bytes(Orient(GrayImage(3, 2, stored), 9)), stored);
}

}  // namespace
