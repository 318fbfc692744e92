// Today's photos as the real program shows them: turned upright as the camera recorded, and
// the formats of the bundled decoders (WebP, AVIF, HEIC, JPEG XL, CMYK JPEG) as wallpaper and in
// the information box. The samples are made by scripts/make-samples.sh with Debian's encoders
// (VELUMAR_SAMPLES names their folder): a 64 x 48 picture whose quadrants are red, green (top),
// blue and white (bottom).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"
#include "tests/unit/exif_orientation.h"

namespace e2e {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The colours near the four corners of the bitmap, clockwise from the top left.
std::array<COLORREF, 4> Corners(const BitmapFile& b) {
    const int right = b.Width() - 4;
    const int bottom = b.Height() - 4;
    return {b.Pixel(3, 3), b.Pixel(right, 3), b.Pixel(right, bottom), b.Pixel(3, bottom)};
}

bool CornersAre(const BitmapFile& b, const std::array<COLORREF, 4>& colors) {
    const std::array<COLORREF, 4> corners = Corners(b);
    for (std::size_t i = 0; i < 4; ++i) {
        if (!IsNear(corners[i], colors[i])) {
            return false;
        }
    }
    return true;
}

// A Windows path of a sample file.
std::string Sample(const std::string& name) {
    const char* folder = std::getenv("VELUMAR_SAMPLES");
    std::string path = std::string("Z:") + (folder != nullptr ? folder : "") + "/" + name;
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

class PhotosTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        StartWithoutWallpaper();
    }

    // A 300 x 200 JPEG of red, green (top), blue, white (bottom) quadrants recording the
    // orientation.
    void TaggedPhoto(const std::string& name, int orientation) {
        const std::string jpeg = JpegBytes(300, 200, [](UINT x, UINT y) {
            return y < 100 ? (x < 150 ? kRed : kGreen) : (x < 150 ? kBlue : kWhite);
        });
        ASSERT_FALSE(jpeg.empty());
        WriteFileBytes(InFolder(name), WithExifOrientation(jpeg, orientation));
    }

    void Launch() {
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }

    // Switches and waits for a new wallpaper bitmap of that size and those corner colours.
    bool SwitchTo(std::pair<int, int> size, const std::array<COLORREF, 4>& corners) {
        const std::uint64_t before = FileIndex(WallpaperFile());
        velumar.SendCommand(kSwitchNowCommand);
        BitmapFile bitmap;
        return WaitForWallpaper(bitmap, [&](const BitmapFile& b) {
            return FileIndex(WallpaperFile()) != before &&
                   std::make_pair(b.Width(), b.Height()) == size && CornersAre(b, corners);
        });
    }

    // The information box for the row, once it starts with the text or the time is up.
    std::string InfoOf(int row, const std::string& text) {
        velumar.SetRowSelected(kListView, row, false);
        velumar.SetRowSelected(kListView, row, true);
        WaitUntil([&] { return velumar.ControlText(kInfoBox).rfind(text, 0) == 0; }, 5000);
        velumar.SetRowSelected(kListView, row, false);
        return velumar.ControlText(kInfoBox);
    }

    VelumarProcess velumar;
};

TEST_F(PhotosTest, APhotoTakenUprightStandsUprightAndTheEntryRotationTurnsItFurther) {
    ASSERT_NO_FATAL_FAILURE(TaggedPhoto("upright.jpg", 6));
    const std::string path = InFolder("upright.jpg");
    // Unturned, then turned clockwise by the entry.
    WriteFileBytes(InFolder("list.vlt"), "\r\n" + path + " 0 \"\"\r\n" + path + " 2 \"\"\r\n");
    WriteText(kSettingsKey, "CF", InFolder("list.vlt"));
    ASSERT_NO_FATAL_FAILURE(Launch());
    const std::string upright = "Image: 200 * 300 pixels\r\nPages: 1\r\n";
    EXPECT_EQ(InfoOf(0, upright).rfind(upright, 0), 0u) << InfoOf(0, upright);
    // Tagged 6, the stored picture turns a quarter clockwise: blue comes to the top left.
    EXPECT_TRUE(SwitchTo({200, 300}, {kBlue, kRed, kGreen, kWhite}));
    // The entry's clockwise turn on top: the stored picture upside down.
    EXPECT_TRUE(SwitchTo({300, 200}, {kWhite, kBlue, kRed, kGreen}));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(PhotosTest, EveryBundledFormatBecomesTheWallpaperAndAFolderOfThemSwitchesThroughThem) {
    const char* const kFiles[] = {"four.webp", "four.avif", "four.heic", "four.jxl", "cmyk.jpg"};
    std::vector<std::string> names;
    std::string folder = InFolder("photos");
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* file : kFiles) {
        // Renamed: the decoder is chosen by the first bytes, not by the name.
        const std::string name = std::string(file) + ".picture";
        WriteFileBytes(InFolder(name), ReadFileBytes(Sample(file)));
        ASSERT_FALSE(ReadFileBytes(InFolder(name)).empty()) << Sample(file);
        WriteFileBytes(folder + "\\" + file, ReadFileBytes(Sample(file)));
        names.push_back(name);
    }
    UseListOf(names);
    ASSERT_NO_FATAL_FAILURE(Launch());
    for (int row = 0; row < static_cast<int>(names.size()); ++row) {
        SCOPED_TRACE(names[row]);
        const std::string size = "Image: 64 * 48 pixels\r\nPages: 1\r\n";
        EXPECT_EQ(InfoOf(row, size).rfind(size, 0), 0u) << InfoOf(row, size);
        EXPECT_TRUE(SwitchTo({64, 48}, {kRed, kGreen, kWhite, kBlue}));
    }
    ASSERT_TRUE(velumar.Exit());

    WriteFileBytes(InFolder("list.vlt"), "\r\n" + folder + " 0 \"\"\r\n");
    ASSERT_NO_FATAL_FAILURE(Launch());
    for (std::size_t i = 0; i < std::size(kFiles); ++i) {
        EXPECT_TRUE(SwitchTo({64, 48}, {kRed, kGreen, kWhite, kBlue})) << i;
    }
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace
}  // namespace e2e
