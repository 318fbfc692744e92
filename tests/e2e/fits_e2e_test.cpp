// The fits that cover the display as the real program renders them on the 1024 x 768 desktop:
// the crop around what matters, the blurred frame, and the picture's colour for bars and masks.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/fits_e2e.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

class FitsTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        StartWithoutWallpaper();
    }

    // Starts Velumar on the picture, switches, and waits for a display-sized bitmap.
    bool Show(const std::string& jpeg, BitmapFile& bitmap) {
        WriteFileBytes(InFolder("picture.jpg"), jpeg);
        // Twice: a list of one picture has nothing to switch to.
        UseListOf({"picture.jpg", "picture.jpg"});
        if (!velumar.Start() || velumar.WaitForMainWindow() == nullptr) {
            return false;
        }
        velumar.SendCommand(kSwitchNowCommand);
        const bool shown = WaitForWallpaper(
            bitmap, [](const BitmapFile& b) { return b.Width() == 1024 && b.Height() == 768; });
        EXPECT_TRUE(shown) << "wallpaper " << bitmap.Width() << " x " << bitmap.Height();
        return velumar.Exit() && shown;
    }

    VelumarProcess velumar;
};

TEST_F(FitsTest, TheCropKeepsTheDetailNearTheTopOfATallPictureAndLeavesNoBars) {
    WriteDword(kSettingsKey, "RT", 4);
    BitmapFile bitmap;
    // 300 x 900: a centred crop would keep rows 337 to 562, far below the object.
    ASSERT_TRUE(Show(PictureWithObject(300, 900, 150, 110), bitmap));
    EXPECT_TRUE(HasObject(bitmap, {0, 0, 1024, 768}));
    // Gray to every edge: no bars.
    for (const POINT p : {POINT{0, 0}, POINT{1023, 0}, POINT{0, 767}, POINT{1023, 767}}) {
        EXPECT_TRUE(IsNear(bitmap.Pixel(p.x, p.y), kFlatGray)) << p.x << "," << p.y;
    }
}

TEST_F(FitsTest, TheFrameOfARedPictureIsRedAndThePictureSharp) {
    WriteDword(kSettingsKey, "RT", 5);
    BitmapFile bitmap;
    ASSERT_TRUE(Show(JpegBytes(200, 300, [](UINT, UINT) { return RGB(220, 0, 0); }), bitmap));
    EXPECT_TRUE(IsNear(bitmap.Pixel(512, 384), RGB(220, 0, 0)));
    for (const int x : {5, 150, 860, 1018}) {
        const COLORREF bar = bitmap.Pixel(x, 384);
        EXPECT_GT(GetRValue(bar), 120) << x;
        EXPECT_LT(GetRValue(bar), 200) << x;  // darkened
        EXPECT_LT(GetGValue(bar), 40) << x;
        EXPECT_LT(GetBValue(bar), 40) << x;
    }
}

TEST_F(FitsTest, ThePictureColourPaintsTheBarsAndTheMaskFadesIntoIt) {
    WriteDword(kSettingsKey, "AC", 1);
    WriteDword(kSettingsKey, "RT", 0);
    WriteDword(kSettingsKey, "RR", 1);
    // An edge mask on the picture's own outline.
    WriteDword(kSettingsKey, "ME", 0);
    WriteDword(kSettingsKey, "MI", 1);
    for (const char* edge : {"MRL", "MRR", "MRT", "MRB"}) {
        WriteDword(kSettingsKey, edge, 20);
    }
    // A white portrait picture with a green frame: fitted to 384 x 768 at column 320.
    BitmapFile bitmap;
    ASSERT_TRUE(Show(JpegBytes(300, 600,
                               [](UINT x, UINT y) {
                                   return x < 8 || y < 8 || x >= 292 || y >= 592
                                              ? RGB(0, 200, 0)
                                              : RGB(255, 255, 255);
                               }),
                     bitmap));
    for (const int x : {3, 200, 800, 1020}) {
        EXPECT_TRUE(IsNear(bitmap.Pixel(x, 384), RGB(0, 200, 0))) << x;
    }
    // White in the middle; green taking over towards the picture's left edge.
    EXPECT_TRUE(IsNear(bitmap.Pixel(512, 384), RGB(255, 255, 255)));
    const COLORREF fading = bitmap.Pixel(320 + 40, 384);
    EXPECT_LT(GetRValue(fading), 200);
    EXPECT_GT(GetGValue(fading), 190);
    EXPECT_LT(GetBValue(fading), 200);
}

}  // namespace
}  // namespace e2e
