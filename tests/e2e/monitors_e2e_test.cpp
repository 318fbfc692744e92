// Two monitors under Wine: tests/e2e/monitors_e2e.sh gives a wide X screen split into a 1920 x
// 1080 and a 1280 x 1024 monitor, and removes the second when asked. The title counts the
// monitors the wallpaper covers; the wallpaper follows the displays: a monitor removed at run
// time and a resume from sleep render the current wallpaper again, once, without moving on, and
// a wallpaper set by another program is left alone.
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

std::string WallpaperFile() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\Quorwick Velumar.bmp";
}

std::pair<int, int> WallpaperSize() {
    const std::string bytes = ReadFileBytes(WallpaperFile());
    if (bytes.size() < 26) {
        return {0, 0};
    }
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes.data() + 14);
    return {header->biWidth, header->biHeight};
}

// The bitmap file's identity: every render writes a file anew and moves it over the old one.
std::uint64_t WallpaperIdentity() {
    UniqueHandle file(CreateFileA(WallpaperFile().c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.Get(), &info)) {
        return 0;
    }
    return (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
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
        const std::string list = InFolder("list.vlt");
        WriteFileBytes(list, "\r\n" + InFolder("red.bmp") + " 0 \"\"\r\n" + InFolder("blue.bmp") +
                                 " 0 \"\"\r\n");
        WriteText(kSettingsKey, "CF", list);
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

TEST_F(MonitorsTest, TheTitleTellsHowManyMonitorsTheWallpaperCovers) {
    ASSERT_NO_FATAL_FAILURE(Launch(1));
    EXPECT_TRUE(WindowText(velumar.MainWindow()).ends_with(" - 2 monitors"))
        << WindowText(velumar.MainWindow());
}

TEST_F(MonitorsTest, TheWallpaperFollowsARemovedMonitorAndAResumeWithoutMovingOn) {
    ASSERT_NO_FATAL_FAILURE(Launch(0));
    EXPECT_EQ(WindowText(velumar.MainWindow()).find("monitor"), std::string::npos);
    velumar.SendCommand(kSwitchNowCommand);
    ASSERT_TRUE(WaitUntil([] { return NextIndex() == 1u; }));
    EXPECT_EQ(WallpaperSize(), PrimarySize());
    const std::uint64_t shown = WallpaperIdentity();

    ASSERT_TRUE(AskScript("remove-right"));
    const DWORD changed = GetTickCount();
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1920);
    // In the mode with one image for the desktop the bitmap keeps the primary monitor's size.
    EXPECT_TRUE(WaitUntil(
        [&] { return WallpaperIdentity() != shown && WallpaperSize() == PrimarySize(); }, 3000));
    std::cout << "rendered again " << GetTickCount() - changed << " ms after the change, primary "
              << PrimarySize().first << " x " << PrimarySize().second << "\n";
    EXPECT_EQ(NextIndex(), 1u);

    // Resume from sleep, as another process would post it: one render, no switch.
    const std::uint64_t followed = WallpaperIdentity();
    PostMessageW(velumar.MainWindow(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_TRUE(WaitUntil([&] { return WallpaperIdentity() != followed; }, 3000));
    const std::uint64_t resumed = WallpaperIdentity();
    Sleep(3000);
    EXPECT_EQ(WallpaperIdentity(), resumed);
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
    EXPECT_EQ(WallpaperIdentity(), resumed);
    EXPECT_EQ(ReadValue("Control Panel\\Desktop", "Wallpaper")->AsText(), mine);
    EXPECT_TRUE(velumar.Exit());
}

}  // namespace e2e
