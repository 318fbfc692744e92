// A picture per monitor as the real program chooses it on two monitors (run by monitors_e2e.sh,
// skipped on one monitor): a portrait monitor gets the portrait image.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/fits_e2e.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"
#include "tests/unit/exif_orientation.h"

namespace e2e {
namespace {

class MonitorItemsTest : public VelumarTest {};

// The layout monitors_e2e.sh makes: a 1080 x 1920 portrait monitor, the primary, at the left and
// a 1920 x 1080 one at its right.
TEST_F(MonitorItemsTest, APortraitMonitorTakesTheNextPortraitImage) {
    if (GetSystemMetrics(SM_CMONITORS) != 2) {
        GTEST_SKIP() << "needs the two monitors of monitors_e2e.sh";
    }
    StartWithoutWallpaper();
    WriteFileBytes(InFolder("red.bmp"), SolidBitmap(40, 30, 0, 0, 255));
    WriteFileBytes(InFolder("green.bmp"), SolidBitmap(40, 30, 0, 255, 0));
    WriteFileBytes(InFolder("blue.bmp"), SolidBitmap(30, 40, 255, 0, 0));
    UseListOf({"red.bmp", "green.bmp", "blue.bmp"});
    WriteDword(kSettingsKey, "MM", 2);

    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    velumar.SendCommand(kSwitchNowCommand);
    // The portrait monitor, first from the left, takes blue from the third place; red goes to
    // the other monitor, and the sequence moves on by two.
    BitmapFile bitmap;
    EXPECT_TRUE(WaitForWallpaper(
        bitmap, [](const BitmapFile& b) { return b.Pixel(540, 960) == RGB(0, 0, 255); }));
    EXPECT_EQ(bitmap.Pixel(1080 + 960, 540), RGB(255, 0, 0));
    EXPECT_TRUE(WaitUntil([] {
        const std::optional<RegistryValue> next = ReadValue(kSettingsKey, "II");
        return next && next->AsDword() == 2u;
    }));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(MonitorItemsTest, APhotoTakenUprightCountsAsPortrait) {
    if (GetSystemMetrics(SM_CMONITORS) != 2) {
        GTEST_SKIP() << "needs the two monitors of monitors_e2e.sh";
    }
    StartWithoutWallpaper();
    WriteFileBytes(InFolder("red.bmp"), SolidBitmap(40, 30, 0, 0, 255));
    WriteFileBytes(InFolder("green.bmp"), SolidBitmap(40, 30, 0, 255, 0));
    // Stored wide, recorded as taken upright (orientation 6).
    WriteFileBytes(
        InFolder("blue.jpg"),
        WithExifOrientation(JpegBytes(300, 200, [](UINT, UINT) { return RGB(0, 0, 255); }), 6));
    UseListOf({"red.bmp", "green.bmp", "blue.jpg"});
    WriteDword(kSettingsKey, "MM", 2);

    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    velumar.SendCommand(kSwitchNowCommand);
    BitmapFile bitmap;
    EXPECT_TRUE(WaitForWallpaper(
        bitmap, [](const BitmapFile& b) { return IsNear(b.Pixel(540, 960), RGB(0, 0, 255)); }));
    EXPECT_EQ(bitmap.Pixel(1080 + 960, 540), RGB(255, 0, 0));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(MonitorItemsTest, TheCropKeepsTheDetailAtTheLeftOfAWidePictureOnThePortraitMonitor) {
    if (GetSystemMetrics(SM_CMONITORS) != 2) {
        GTEST_SKIP() << "needs the two monitors of monitors_e2e.sh";
    }
    StartWithoutWallpaper();
    // 900 x 300: the portrait monitor keeps a 169-pixel-wide strip, in the middle columns 365 to
    // 534 if it were centred.
    WriteFileBytes(InFolder("wide.jpg"), PictureWithObject(900, 300, 110, 150));
    UseListOf({"wide.jpg", "wide.jpg"});
    WriteDword(kSettingsKey, "MM", 1);
    WriteDword(kSettingsKey, "RT", 4);

    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    velumar.SendCommand(kSwitchNowCommand);
    BitmapFile bitmap;
    EXPECT_TRUE(WaitForWallpaper(
        bitmap, [](const BitmapFile& b) { return b.Width() == 3000 && b.Height() == 1920; }));
    EXPECT_TRUE(HasObject(bitmap, {0, 0, 1080, 1920}));
    // Both monitors covered to their corners: no bars.
    for (const POINT p : {POINT{2, 2}, POINT{1077, 1917}, POINT{1082, 2}, POINT{2997, 1077}}) {
        EXPECT_TRUE(IsNear(bitmap.Pixel(p.x, p.y), kFlatGray)) << p.x << "," << p.y;
    }
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace
}  // namespace e2e
