// The wallpaper pipeline over the real image library: image files made with WIC's encoders
// become the wallpaper bitmap, which WIC reads back.
#include "render/render_wallpaper.h"

#include <gtest/gtest.h>

#include "render/masking.h"
#include "render/publish.h"
#include "tests/win32/wic_test_files.h"

namespace {

using namespace wictest;

class TestDesktop final : public Desktop {
public:
    explicit TestDesktop(std::string folder) : folder(std::move(folder)) {}
    ScreenSize DesktopSize() override { return {64, 48}; }
    std::vector<MonitorRect> Monitors() override {
        const ScreenSize s = DesktopSize();
        return {{0, 0, s.width, s.height, true}};
    }
    int BitsPerPixel() override { return 32; }
    ColorRef BackgroundColor() override { return 0x00204080; }  // B 0x20, G 0x40, R 0x80
    std::string WindowsDirectory() override { return folder; }
    std::string OutputFolder() override { return {}; }
    bool MakeFolder(const std::string&) override { return true; }
    bool MoveFileOver(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    }
    void RemoveFile(const std::string& path) override { DeleteFileA(path.c_str()); }
    void RemoveFilesMatching(const std::string&) override {}
    void WriteTileWallpaper(bool) override { ++tileWrites; }
    std::string ReadWallpaperStyle() override { return {}; }
    void WriteWallpaperStyle(const std::string&) override {}
    std::string KeptWallpaperStyle() override { return {}; }
    void KeepWallpaperStyle(const std::string&) override {}
    bool SetWallpaper(const std::string& path) override {
        wallpaper = path;
        return true;
    }

    std::string folder;
    int tileWrites = 0;
    std::string wallpaper;
};

Frame UniformFrame(UINT width, UINT height, BYTE b, BYTE g, BYTE r) {
    Frame f{width, height, GUID_WICPixelFormat24bppBGR, {}};
    for (UINT i = 0; i < width * height; ++i) {
        f.pixels.insert(f.pixels.end(), {b, g, r});
    }
    return f;
}

class RenderFileTest : public WicImageTest {
protected:
    // Renders the file and reads the written wallpaper with WIC.
    Frame Render(const std::string& image, int rotation) {
        TestDesktop desktop(dir);
        EXPECT_TRUE(RenderWallpaper({image, rotation, 0, edgeMask.For(64, 48)}, settings,
                                    "\\Quorwick Velumar.bmp", ProcessImageLibrary(), desktop));
        EXPECT_EQ(desktop.wallpaper, dir + "\\Quorwick Velumar.bmp");
        Frame out{};
        EXPECT_TRUE(ReadWithWic(PathOf("Quorwick Velumar.bmp"), &out));
        return out;
    }

    static const BYTE* Pixel(const Frame& f, UINT x, UINT y) {
        return &f.pixels[(y * f.width + x) * 3];
    }

    RenderSettings settings;
    DesktopEdgeMask edgeMask;
};

TEST_F(RenderFileTest, AQuarterTurnClockwiseIsExactAndTurnsTheRightWay) {
    settings.maskMode = 2;
    settings.resizeMode = 1;
    const Frame source = ColorFrame(64, 48);
    Frame out = Render(Encode("photo.png", GUID_ContainerFormatPng, {source}), 2);
    ASSERT_EQ(out.width, 48u);
    ASSERT_EQ(out.height, 64u);
    // Turned clockwise: the left column of the picture becomes its top row.
    for (auto [x, y] : {std::pair{0u, 0u}, {47u, 0u}, {10u, 30u}, {47u, 63u}}) {
        const BYTE* expected = Pixel(source, y, 47 - x);
        EXPECT_EQ(0, memcmp(Pixel(out, x, y), expected, 3)) << x << "," << y;
    }
}

TEST_F(RenderFileTest, AnEdgeMaskBlendsTheImageIntoTheBackgroundColour) {
    settings.maskMode = 0;
    settings.maskLeft = 50;  // a band of 32 pixels
    edgeMask.Ensure(settings, 64, 48);
    Frame out = Render(
        Encode("flat.png", GUID_ContainerFormatPng, {UniformFrame(64, 48, 200, 100, 50)}), 0);
    ASSERT_EQ(out.width, 64u);
    const BYTE background[3] = {0x20, 0x40, 0x80};
    EXPECT_EQ(0, memcmp(Pixel(out, 0, 20), background, 3));
    const BYTE image[3] = {200, 100, 50};
    EXPECT_EQ(0, memcmp(Pixel(out, 40, 20), image, 3));
    // Column 16 has opacity 128: halfway between the colours, within rounding.
    const BYTE* half = Pixel(out, 16, 20);
    EXPECT_NEAR(half[0], (200 * 128 + 0x20 * 127) / 255, 1);
    EXPECT_NEAR(half[2], (50 * 128 + 0x80 * 127) / 255, 1);
}

TEST_F(RenderFileTest, AMaskFileIsScaledToTheDesktop) {
    // Black on the left half, white on the right half.
    Frame mask{8, 6, GUID_WICPixelFormat8bppGray, {}};
    for (UINT y = 0; y < 6; ++y) {
        for (UINT x = 0; x < 8; ++x) {
            mask.pixels.push_back(x < 4 ? 0 : 255);
        }
    }
    settings.maskMode = 1;
    settings.maskFile = Encode("mask.png", GUID_ContainerFormatPng, {mask});
    Frame out =
        Render(Encode("flat.png", GUID_ContainerFormatPng, {UniformFrame(32, 24, 10, 20, 30)}), 0);
    // The 32 x 24 image sits in the middle of the 64 x 48 mask: columns 16 to 47.
    ASSERT_EQ(out.width, 32u);
    const BYTE background[3] = {0x20, 0x40, 0x80};
    const BYTE image[3] = {10, 20, 30};
    EXPECT_EQ(0, memcmp(Pixel(out, 2, 12), background, 3));
    EXPECT_EQ(0, memcmp(Pixel(out, 29, 12), image, 3));
}

TEST_F(RenderFileTest, APicturePerMonitorLandsAtItsMonitorsPlaceTiledOverIt) {
    settings.monitorMode = 2;
    // Tiling keeps each picture's size and repeats it from its monitor's corner.
    settings.tileWallpaper = true;
    const Frame left = ColorFrame(16, 12);
    const std::vector<ShowPicture> pictures = {
        {Encode("left.png", GUID_ContainerFormatPng, {left}), 0, 0},
        {Encode("primary.png", GUID_ContainerFormatPng, {UniformFrame(16, 12, 255, 0, 0)}), 0, 0}};
    TestDesktop desktop(dir);
    // Given primary first; the monitor left of it comes first in the monitors' order.
    RenderInputs inputs = MakeShowInputs(
        pictures, settings, ReadDesktopShape(desktop), {{0, 0, 64, 48, true}, {-32, 0, 0, 40}},
        [](const std::string&) { return std::optional<FileStamp>(); });
    inputs.places = {dir + "\\Quorwick Velumar.bmp"};
    const std::optional<PreparedFile> file =
        RenderPreparedFile(inputs, ".next1", ProcessImageLibrary(), desktop, [] { return false; });
    ASSERT_TRUE(file);
    ASSERT_TRUE(PublishRendered(*file, inputs, desktop));
    Frame out{};
    ASSERT_TRUE(ReadWithWic(PathOf("Quorwick Velumar.bmp"), &out));
    ASSERT_EQ(out.width, 96u);
    ASSERT_EQ(out.height, 48u);
    // The left monitor (x -32 to 0) lies at 64 modulo the bitmap's width of 96.
    for (auto [x, y] : {std::pair{0u, 0u}, {15u, 11u}, {20u, 30u}, {31u, 39u}}) {
        EXPECT_EQ(0, memcmp(Pixel(out, 64 + x, y), Pixel(left, x % 16, y % 12), 3))
            << x << "," << y;
    }
    const BYTE blue[3] = {255, 0, 0};
    EXPECT_EQ(0, memcmp(Pixel(out, 0, 0), blue, 3));
    EXPECT_EQ(0, memcmp(Pixel(out, 63, 47), blue, 3));
    // Below the shorter left monitor: the desktop colour.
    const BYTE background[3] = {0x20, 0x40, 0x80};
    EXPECT_EQ(0, memcmp(Pixel(out, 80, 44), background, 3));
}

TEST_F(RenderFileTest, AFileThatDoesNotDecodeLeavesTheWallpaperAlone) {
    const std::string bad = PathOf("bad.jpg");
    FILE* f = fopen(bad.c_str(), "wb");
    fputs("not an image", f);
    fclose(f);
    TestDesktop desktop(dir);
    EXPECT_FALSE(RenderWallpaper({bad, 0, 0, nullptr}, settings, "\\Quorwick Velumar.bmp",
                                 ProcessImageLibrary(), desktop));
    EXPECT_EQ(desktop.tileWrites, 0);
    EXPECT_EQ(desktop.wallpaper, "");
}

}  // namespace
