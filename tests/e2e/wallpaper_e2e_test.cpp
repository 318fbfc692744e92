// The desktop wallpaper as the real program sets and removes it.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

using WallpaperTest = VelumarTest;

// The stored wallpaper setting (Wine caches system parameters per process, so the registry
// tells what another process set).
std::string DesktopWallpaper() {
    std::optional<RegistryValue> value = ReadValue("Control Panel\\Desktop", "Wallpaper");
    return value && value->AsText() ? *value->AsText() : std::string("(none)");
}

std::string WallpaperFile() {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\Quorwick Velumar.bmp";
}

TEST_F(WallpaperTest, RemoveWallpaperNowEmptiesTheDesktopAndKeepsTheFile) {
    // A tiny valid bitmap in place of an earlier switch's wallpaper.
    const std::string bmp(
        "BM\x3a\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x04\0\0\0"
        "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\x80\x00\x00",
        58);
    WriteFileBytes(WallpaperFile(), bmp);
    ASSERT_TRUE(SystemParametersInfoA(
        SPI_SETDESKWALLPAPER, 0, const_cast<char*>(WallpaperFile().c_str()), SPIF_UPDATEINIFILE));
    ASSERT_FALSE(DesktopWallpaper().empty());

    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    for (int i = 0; i < 2; ++i) {
        velumar.SendCommand(kRemoveWallpaperCommand);
        EXPECT_EQ(DesktopWallpaper(), "");
        EXPECT_EQ(ReadFileBytes(WallpaperFile()), bmp);
    }
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace
}  // namespace e2e
