// Edge masks, mask files and the mask stage of a render, against a recording image library.
#include "render/masking.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "imagelib/dib.h"
#include "tests/unit/recording_image_library.h"

namespace {

RenderSettings EdgeSettings(int left, int top, int right, int bottom) {
    RenderSettings s;
    s.maskMode = 0;
    s.maskLeft = left;
    s.maskTop = top;
    s.maskRight = right;
    s.maskBottom = bottom;
    return s;
}

TEST(MaskingTest, RoundedSqrtIsTheNearestInteger) {
    const int cases[][2] = {{0, 0},  {1, 1},  {2, 1},       {3, 2},        {6, 2},  {7, 3},
                            {12, 3}, {13, 4}, {65025, 255}, {130050, 361}, {99, 10}};
    for (const auto& c : cases) {
        EXPECT_EQ(RoundedSqrt(c[0]), c[1]) << c[0];
    }
}

TEST(MaskingTest, EdgeMaskBandsFollowTheTables) {
    std::optional<OpacityMask> left = BuildEdgeMask(EdgeSettings(10, 0, 0, 0), 100, 50);
    ASSERT_TRUE(left);
    for (int y : {0, 25, 49}) {
        for (auto [x, value] : {std::pair{0, 0}, {1, 26}, {5, 128}, {9, 230}, {10, 255}}) {
            EXPECT_EQ(left->At(x, y), value) << x << "," << y;
        }
    }
    std::optional<OpacityMask> right = BuildEdgeMask(EdgeSettings(0, 0, 10, 0), 100, 50);
    ASSERT_TRUE(right);
    for (auto [x, value] : {std::pair{90, 255}, {91, 230}, {95, 128}, {99, 26}}) {
        EXPECT_EQ(right->At(x, 7), value) << x;
    }
    std::optional<OpacityMask> corner = BuildEdgeMask(EdgeSettings(10, 10, 0, 0), 100, 100);
    ASSERT_TRUE(corner);
    const int points[][3] = {{0, 0, 0}, {5, 5, 75}, {9, 9, 220}, {7, 3, 61}, {10, 0, 0}};
    for (const auto& p : points) {
        EXPECT_EQ(corner->At(p[0], p[1]), p[2]) << p[0] << "," << p[1];
    }
    // Overlapping bands: the top formula wins up to row 98, row 99 is the bottom's.
    std::optional<OpacityMask> overlap = BuildEdgeMask(EdgeSettings(0, 99, 0, 99), 100, 100);
    ASSERT_TRUE(overlap);
    EXPECT_EQ(overlap->At(50, 0), 0);
    EXPECT_EQ(overlap->At(50, 98), 255 - (99 - 98) * 255 / 99);
    EXPECT_EQ(overlap->At(50, 99), 3);
}

TEST(MaskingTest, NoEdgeMaskWhenOffAllZeroOrTiled) {
    EXPECT_FALSE(BuildEdgeMask(EdgeSettings(0, 0, 0, 0), 100, 50));
    RenderSettings fileMode = EdgeSettings(10, 0, 0, 0);
    fileMode.maskMode = 1;
    EXPECT_FALSE(BuildEdgeMask(fileMode, 100, 50));
    RenderSettings tiled = EdgeSettings(10, 0, 0, 0);
    tiled.tileWallpaper = true;
    EXPECT_FALSE(BuildEdgeMask(tiled, 100, 50));
    EXPECT_FALSE(BuildEdgeMask(EdgeSettings(10, 0, 0, 0), 0, 50));
}

TEST(MaskingTest, CutMaskWindowCentresThePictureAndKeepsOutsidePixelsOpaque) {
    OpacityMask desktop{1024, 768, {}};
    desktop.bytes.resize(1024 * 768);
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            desktop.bytes[static_cast<size_t>(y * 1024 + x)] = static_cast<std::uint8_t>(x ^ y);
        }
    }
    OpacityMask window = CutMaskWindow(desktop, 800, 600);
    EXPECT_EQ(window.width, 800);
    EXPECT_EQ(window.At(0, 0), desktop.At(112, 84));
    EXPECT_EQ(window.At(799, 599), desktop.At(911, 683));

    OpacityMask small{4, 2, {10, 11, 12, 13, 20, 21, 22, 23}};
    OpacityMask wide = CutMaskWindow(small, 7, 4);  // x0 = -1, y0 = -1
    const std::vector<std::uint8_t> expected = {255, 255, 255, 255, 255, 255, 255,  //
                                                255, 10,  11,  12,  13,  255, 255,  //
                                                255, 20,  21,  22,  23,  255, 255,  //
                                                255, 255, 255, 255, 255, 255, 255};
    EXPECT_EQ(wide.bytes, expected);
}

TEST(MaskingTest, DesktopEdgeMaskIsRebuiltForANewSizeAndDropped) {
    DesktopEdgeMask cache;
    RenderSettings settings = EdgeSettings(10, 0, 0, 0);
    cache.Ensure(settings, 200, 100);
    ASSERT_NE(cache.For(200, 100), nullptr);
    EXPECT_EQ(cache.For(300, 100), nullptr);
    cache.Ensure(settings, 300, 100);
    ASSERT_NE(cache.For(300, 100), nullptr);
    EXPECT_EQ(cache.For(300, 100)->At(3, 0), 255 - (30 - 3) * 255 / 30);
    cache.Drop();
    EXPECT_EQ(cache.For(300, 100), nullptr);
    settings.maskImageOutline = true;
    cache.Ensure(settings, 300, 100);
    EXPECT_EQ(cache.For(300, 100), nullptr);
}

// An 8-bit gray DIB, bottom-up, whose top-down row r, column x holds r * 16 + x.
ByteArray GrayDib(int width, int height) {
    const size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
    ByteArray bytes(dib::kInfoHeaderBytes + 256 * 4 + stride * static_cast<size_t>(height));
    dib::BitmapInfoHeader header;
    header.width = width;
    header.height = height;
    header.bitCount = 8;
    dib::WriteInfoHeader(header, bytes.data());
    for (int r = 0; r < height; ++r) {
        std::uint8_t* row = bytes.data() + dib::kInfoHeaderBytes + 1024 +
                            static_cast<size_t>(height - 1 - r) * stride;
        for (int x = 0; x < width; ++x) {
            row[x] = static_cast<std::uint8_t>(r * 16 + x);
        }
    }
    return bytes;
}

TEST(MaskingTest, FileMaskIsScaledToTheDesktopAndCutUnderTheImage) {
    RecordingImageLibrary library;
    library.loadWidth = 5;
    library.loadHeight = 5;
    library.dib = GrayDib(16, 8);
    RenderSettings settings;
    settings.maskMode = 1;
    settings.maskFile = "C:\\mask.png";
    std::optional<OpacityMask> mask = LoadMaskFile(library, settings.maskFile, 16, 8);
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->At(3, 0), 3);
    EXPECT_EQ(mask->At(15, 7), 7 * 16 + 15);
    EXPECT_EQ(library.calls, (std::vector<std::string>{
                                 "cNewSession()", "cLoadImage(C:\\mask.png,0)", "cOpGrayScale()",
                                 "cOpResize(16,8,0,1,3)", "cGetDIB()", "cDestroySession(7)"}));

    // A DIB that claims more rows than it holds is no mask.
    library.dib.resize(library.dib.size() - 1);
    EXPECT_FALSE(LoadMaskFile(library, settings.maskFile, 16, 8));
    library.dib = GrayDib(16, 9);
    EXPECT_FALSE(LoadMaskFile(library, settings.maskFile, 16, 8));
    EXPECT_EQ(library.liveSessions, 0);
}

TEST(MaskingTest, MaskStageFollowsModeTileAndOutline) {
    const struct {
        const char* what;
        int mode;
        bool tile;
        bool outline;
        bool desktopMask;
        bool merges;
    } cases[] = {
        {"edge, desktop mask", 0, false, false, true, true},
        {"edge, tiled", 0, true, false, true, false},
        {"edge, no desktop mask, desktop edges", 0, false, false, false, false},
        {"edge, image outline", 0, false, true, false, true},
        {"no masking", 2, false, false, true, false},
        {"unknown mode", 5, false, false, true, false},
        {"file", 1, false, false, false, true},
        {"file, tiled", 1, true, false, false, false},
    };
    for (const auto& c : cases) {
        RecordingImageLibrary library;
        library.dib = GrayDib(16, 8);
        RenderSettings settings = EdgeSettings(10, 10, 10, 10);
        settings.maskMode = c.mode;
        settings.tileWallpaper = c.tile;
        settings.maskImageOutline = c.outline;
        settings.maskFile = "m.png";
        OpacityMask desktopMask{16, 8, std::vector<std::uint8_t>(128, 9)};
        library.cLoadImage(1, "image", 0, 0, 0);
        library.cOpResize(1, 8, 4, 0, 1, 0);
        library.calls.clear();
        ApplyMask(library, 1, settings, 8, 4, 16, 8, 0xABCDEF,
                  c.desktopMask ? &desktopMask : nullptr);
        bool merged =
            !library.calls.empty() && library.calls.back() == "cMergeTransparency(ABCDEF)";
        EXPECT_EQ(merged, c.merges) << c.what;
        if (c.mode == 1 && merged) {
            // The desktop-size mask file, cut at column 4, row 2.
            EXPECT_EQ(library.loadedMask[0], 2 * 16 + 4) << c.what;
        }
    }
}

}  // namespace
