// The monitor modes on two monitors side by side, a 1920 x 1080 primary and a 1280 x 1024 at its
// right (tests/e2e/monitors_e2e.sh makes them): the wallpaper bitmap covers both, each
// monitor's region holds its picture and the rest the desktop colour, stored as a tiled
// wallpaper of style 0; the first mode keeps the bitmap of the picture alone, untiled, in the
// user's style.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

class MonitorModesTest : public VelumarTest {
protected:
    void SetUp() override {
        if (GetSystemMetrics(SM_CMONITORS) != 2) {
            GTEST_SKIP() << "needs the two monitors of monitors_e2e.sh";
        }
        VelumarTest::SetUp();
        WriteFileBytes(InFolder("red.bmp"), SolidBitmap(400, 300, 0, 0, 255));
        WriteFileBytes(InFolder("blue.bmp"), SolidBitmap(400, 300, 255, 0, 0));
        UseListOf({"red.bmp", "blue.bmp"});
        // Only the switch the test asks for: none at start-up.
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
    }
};

TEST_F(MonitorModesTest, EachModeCoversTheMonitorsAsItSays) {
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF blue = RGB(0, 0, 255);
    const COLORREF desktop = GetSysColor(COLOR_BACKGROUND);
    ASSERT_NE(desktop, red);
    ASSERT_NE(desktop, blue);
    const struct Probe {
        int x, y;
        COLORREF color;
    } primaryCentre{960, 540, red}, rightCentre{2560, 512, red}, spanCentre{1600, 540, red},
        corner{100, 100, desktop}, gap{2560, 1060, desktop};
    const struct {
        int mode;
        int width, height;
        const char* tile;
        const char* style;
        std::vector<Probe> probes;
    } cases[] = {
        // The small picture as it is, which the system lays out by the user's style; centred on
        // each monitor; centred on both together; the user's style back with the first mode.
        {0, 400, 300, "0", "2", {{200, 150, red}}},
        {1, 3200, 1080, "1", "0", {primaryCentre, rightCentre, corner, gap, {1600, 540, desktop}}},
        {2, 3200, 1080, "1", "0", {primaryCentre, {2560, 512, blue}, corner, gap}},
        {3, 3200, 1080, "1", "0", {spanCentre, {960, 540, desktop}, corner, gap}},
        {0, 400, 300, "0", "2", {{200, 150, red}}},
    };
    WriteText("Control Panel\\Desktop", "WallpaperStyle", "2");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        WriteDword(kSettingsKey, "MM", static_cast<DWORD>(c.mode));
        WriteDword(kSettingsKey, "II", 0);
        DeleteFileA(WallpaperFile().c_str());
        VelumarProcess velumar;
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
        velumar.SendCommand(kSwitchNowCommand);
        BitmapFile bitmap;
        EXPECT_TRUE(WaitForWallpaper(bitmap, [](const BitmapFile& b) { return b.Width() != 0; }));
        ASSERT_TRUE(velumar.Exit());
        EXPECT_EQ(bitmap.Width(), c.width);
        EXPECT_EQ(bitmap.Height(), c.height);
        EXPECT_EQ(DesktopValue("Wallpaper"), WallpaperFile());
        EXPECT_EQ(DesktopValue("TileWallpaper"), c.tile);
        EXPECT_EQ(DesktopValue("WallpaperStyle"), c.style);
        for (const Probe& probe : c.probes) {
            EXPECT_EQ(bitmap.Pixel(probe.x, probe.y), probe.color) << probe.x << "," << probe.y;
        }
    }
}

}  // namespace
}  // namespace e2e
