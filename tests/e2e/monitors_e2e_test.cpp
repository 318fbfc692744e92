// Two monitors under Wine: tests/e2e/monitors_e2e.sh gives a wide X screen split into a 1920 x
// 1080 and a 1280 x 1024 monitor, and removes the second when asked. The title counts the
// monitors the wallpaper covers; the wallpaper follows the displays: a monitor removed at run
// time renders the current wallpaper again, once, without moving on; a resume, a display
// message, a work-area or DPI change with the monitors unchanged render nothing; and a
// wallpaper set by another program is left alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

// The folder through which the script and the test ask each other for steps.
const char* ScriptFolder() {
    return std::getenv("VELUMAR_MONITOR_SIGNALS");
}

std::optional<DWORD> NextIndex() {
    std::optional<RegistryValue> value = ReadValue(kSettingsKey, "II");
    return value ? value->AsDword() : std::nullopt;
}

std::pair<int, int> PrimarySize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

class MonitorsTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        if (ScriptFolder() == nullptr) {
            GTEST_SKIP() << "tests/e2e/monitors_e2e.sh runs this with two monitors";
        }
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
        DeleteFileA(WallpaperFile().c_str());
        WriteFileBytes(InFolder("red.bmp"), SolidBitmap(40, 30, 0, 0, 255));
        WriteFileBytes(InFolder("blue.bmp"), SolidBitmap(30, 20, 255, 0, 0));
        UseListOf({"red.bmp", "blue.bmp"});
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
        // Stretched to the desktop, so the bitmap's size is the desktop's.
        WriteDword(kSettingsKey, "RT", 1);
        WriteDword(kSettingsKey, "RR", 0);
    }

    void Launch(DWORD monitorMode) {
        WriteDword(kSettingsKey, "MM", monitorMode);
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }

    // Asks the script for a step (an xrandr change, then a display-settings change by a new
    // process, which makes Wine read the monitors again and tell the windows) and waits for it.
    static bool AskScript(const std::string& step) {
        const std::string asked = std::string(ScriptFolder()) + "\\" + step;
        WriteFileBytes(asked, step);
        return WaitUntil([&] {
            return GetFileAttributesA((asked + ".done").c_str()) != INVALID_FILE_ATTRIBUTES;
        });
    }

    VelumarProcess velumar;
};

}  // namespace

TEST_F(MonitorsTest, TheWallpaperFollowsARemovedMonitorAndAResumeWithoutMovingOn) {
    // One picture spanning both monitors: the bitmap covers the rectangle around them.
    ASSERT_NO_FATAL_FAILURE(Launch(3));
    EXPECT_TRUE(WindowText(velumar.MainWindow()).ends_with(" - 2 monitors"));
    velumar.SendCommand(kSwitchNowCommand);
    ASSERT_TRUE(WaitUntil([] { return NextIndex() == 1u; }));
    EXPECT_TRUE(WaitUntil([] { return WallpaperSize() == std::make_pair(3200, 1080); }));
    const std::uint64_t shown = FileIndex(WallpaperFile());

    ASSERT_TRUE(AskScript("remove-right"));
    const DWORD changed = GetTickCount();
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1920);
    EXPECT_TRUE(WaitUntil(
        [&] { return FileIndex(WallpaperFile()) != shown && WallpaperSize() == PrimarySize(); },
        3000));
    EXPECT_TRUE(WaitUntil(
        [&] { return WindowText(velumar.MainWindow()).ends_with(" - 1 monitor"); }, 1000));
    std::cout << "rendered again " << GetTickCount() - changed << " ms after the change, primary "
              << PrimarySize().first << " x " << PrimarySize().second << "\n";
    EXPECT_EQ(NextIndex(), 1u);

    // With the monitors as the wallpaper was rendered for, a resume from sleep, a display
    // message, a work-area change and a DPI change render nothing (as another process would
    // send them).
    const std::uint64_t resumed = FileIndex(WallpaperFile());
    PostMessageW(velumar.MainWindow(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    PostMessageW(velumar.MainWindow(), WM_DISPLAYCHANGE, 24, MAKELPARAM(1920, 1080));
    SendMessageW(velumar.MainWindow(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    RECT window{};
    GetWindowRect(velumar.MainWindow(), &window);
    SendDpiChanged(velumar.ProcessId(), velumar.MainWindow(), 96, window);
    // Longer than the follower gathers changes.
    Sleep(3500);
    EXPECT_EQ(FileIndex(WallpaperFile()), resumed);
    EXPECT_EQ(NextIndex(), 1u);

    // A wallpaper another program set is neither rendered over nor replaced at unlock.
    const std::string mine = InFolder("mine.bmp");
    WriteFileBytes(mine, SolidBitmap(8, 8, 0, 255, 0));
    std::wstring path(mine.begin(), mine.end());
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
    PostMessageW(velumar.MainWindow(), WM_DISPLAYCHANGE, 24, MAKELPARAM(1280, 1024));
    PostMessageW(velumar.MainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    Sleep(3000);
    EXPECT_EQ(FileIndex(WallpaperFile()), resumed);
    EXPECT_EQ(ReadValue("Control Panel\\Desktop", "Wallpaper")->AsText(), mine);
    EXPECT_TRUE(velumar.Exit());
}

}  // namespace e2e
