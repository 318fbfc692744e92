// The monitor modes on two monitors side by side, a 1920 x 1080 primary and a 1280 x 1024 at its
// right (tests/e2e/monitors_e2e.sh makes them): the wallpaper bitmap covers both, each
// monitor's region holds its picture and the rest the desktop colour, stored as a tiled
// wallpaper of style 0; the first mode keeps the bitmap of the picture alone, untiled.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

std::string WallpaperFile() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\Quorwick Velumar.bmp";
}

std::string DesktopValue(const char* name) {
    std::optional<RegistryValue> value = ReadValue("Control Panel\\Desktop", name);
    return value && value->AsText() ? *value->AsText() : std::string("(none)");
}

// A 24-bit bitmap file as its size and the colour of a pixel counted from the top-left.
struct BitmapFile {
    std::string bytes;

    int Get32(size_t offset) const {
        int value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
        }
        return value;
    }
    int Width() const { return bytes.size() < 54 ? 0 : Get32(18); }
    int Height() const { return bytes.size() < 54 ? 0 : Get32(22); }
    COLORREF Pixel(int x, int y) const {
        const size_t stride = (static_cast<size_t>(Width()) * 3 + 3) & ~size_t{3};
        const size_t at = static_cast<size_t>(Get32(10)) +
                          stride * static_cast<size_t>(Height() - 1 - y) + size_t{3} * x;
        if (at + 3 > bytes.size()) {
            return CLR_INVALID;
        }
        const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
        return RGB(byte(2), byte(1), byte(0));
    }
};

class MonitorModesTest : public VelumarTest {
protected:
    void SetUp() override {
        if (GetSystemMetrics(SM_CMONITORS) != 2) {
            GTEST_SKIP() << "needs the two monitors of monitors_e2e.sh";
        }
        VelumarTest::SetUp();
        WriteFileBytes(InFolder("red.bmp"), SolidBitmap(400, 300, 0, 0, 255));
        const std::string list = InFolder("list.vlt");
        WriteFileBytes(list, "\r\n" + InFolder("red.bmp") + " 0 \"\"\r\n");
        WriteText(kSettingsKey, "CF", list);
        WriteDword(kSettingsKey, "SA", 0);
    }
};

TEST_F(MonitorModesTest, EachModeCoversTheMonitorsAsItSays) {
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF desktop = GetSysColor(COLOR_BACKGROUND);
    ASSERT_NE(desktop, red);
    const struct Probe {
        int x, y;
        bool red;
    } primaryCentre{960, 540, true}, rightCentre{2560, 512, true}, spanCentre{1600, 540, true},
        corner{100, 100, false}, gap{2560, 1060, false};
    const struct {
        int mode;
        int width, height;
        const char* tile;
        const char* style;
        std::vector<Probe> probes;
    } cases[] = {
        // The small picture as it is, which the system centres on the primary; centred on
        // each monitor; centred on both together.
        {0, 400, 300, "0", "2", {{200, 150, true}}},
        {1, 3200, 1080, "1", "0", {primaryCentre, rightCentre, corner, gap, {1600, 540, false}}},
        {3, 3200, 1080, "1", "0", {spanCentre, {960, 540, false}, corner, gap}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        WriteDword(kSettingsKey, "MM", static_cast<DWORD>(c.mode));
        WriteText("Control Panel\\Desktop", "WallpaperStyle", "2");
        DeleteFileA(WallpaperFile().c_str());
        VelumarProcess velumar;
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
        velumar.SendCommand(kSwitchNowCommand);
        BitmapFile bitmap;
        EXPECT_TRUE(WaitUntil([&] {
            bitmap.bytes = ReadFileBytes(WallpaperFile());
            return bitmap.Width() != 0;
        }));
        ASSERT_TRUE(velumar.Exit());
        EXPECT_EQ(bitmap.Width(), c.width);
        EXPECT_EQ(bitmap.Height(), c.height);
        EXPECT_EQ(DesktopValue("Wallpaper"), WallpaperFile());
        EXPECT_EQ(DesktopValue("TileWallpaper"), c.tile);
        EXPECT_EQ(DesktopValue("WallpaperStyle"), c.style);
        for (const Probe& probe : c.probes) {
            EXPECT_EQ(bitmap.Pixel(probe.x, probe.y), probe.red ? red : desktop)
                << probe.x << "," << probe.y;
        }
    }
}

}  // namespace
}  // namespace e2e
