// A picture per monitor as the real program chooses it on two monitors (run by monitors_e2e.sh,
// skipped on one monitor): a portrait monitor gets the portrait image.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

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

// The first stored pixel of the bitmap (blue, green, red): its bottom-left corner, which lies
// on the left monitor.
std::array<int, 3> BottomLeftColor() {
    const std::string bytes = ReadFileBytes(WallpaperFile());
    if (bytes.size() < 57) {
        return {-1, -1, -1};
    }
    return {static_cast<unsigned char>(bytes[54]), static_cast<unsigned char>(bytes[55]),
            static_cast<unsigned char>(bytes[56])};
}

bool IsNear(const std::array<int, 3>& color, const std::array<int, 3>& expected) {
    for (int c = 0; c < 3; ++c) {
        if (std::abs(color[c] - expected[c]) > 8) {
            return false;
        }
    }
    return true;
}

class MonitorItemsTest : public VelumarTest {};

// The layout monitors_e2e.sh makes: a 1080 x 1920 portrait monitor, the primary, at the left and
// a 1920 x 1080 one at its right.
TEST_F(MonitorItemsTest, APortraitMonitorTakesTheNextPortraitImage) {
    if (GetSystemMetrics(SM_CMONITORS) != 2) {
        GTEST_SKIP() << "needs the two monitors of monitors_e2e.sh";
    }
    DeleteFileA(WallpaperFile().c_str());
    WriteFileBytes(InFolder("red.bmp"), SolidBitmap(40, 30, 0, 0, 255));
    WriteFileBytes(InFolder("green.bmp"), SolidBitmap(40, 30, 0, 255, 0));
    WriteFileBytes(InFolder("blue.bmp"), SolidBitmap(30, 40, 255, 0, 0));
    const std::string list = InFolder("list.vlt");
    std::string text = "\r\n";
    for (const char* name : {"red.bmp", "green.bmp", "blue.bmp"}) {
        text += InFolder(name) + " 0 \"\"\r\n";
    }
    WriteFileBytes(list, text);
    WriteText(kSettingsKey, "CF", list);
    WriteDword(kSettingsKey, "SA", 0);
    WriteDword(kSettingsKey, "WH", 1);
    WriteDword(kSettingsKey, "MM", 2);

    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    velumar.SendCommand(kSwitchNowCommand);
    // The portrait monitor, first from the left, takes blue from the third place; red goes to
    // the other monitor, and the sequence moves on by two.
    EXPECT_TRUE(WaitUntil([] {
        return IsNear(BottomLeftColor(), {255, 0, 0});
    })) << BottomLeftColor()[0]
        << "," << BottomLeftColor()[1] << "," << BottomLeftColor()[2];
    EXPECT_TRUE(WaitUntil([] {
        const std::optional<RegistryValue> next = ReadValue(kSettingsKey, "II");
        return next && next->AsDword() == 2u;
    }));
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace
}  // namespace e2e
