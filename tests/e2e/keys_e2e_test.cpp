// The global keys of the real program: keys chosen in the settings act when pressed on the
// display, a key another program holds is reported on the Keys page while the others work, and
// one key chosen for two commands is refused there.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

// Hotkey control values: Ctrl and Alt in the high byte, the key in the low byte.
constexpr DWORD kCtrlAlt = 0x0600;
constexpr int kKeysPage = 3;
constexpr int kPreviousKey = 1112;
constexpr int kNextKeyTaken = 1114;
constexpr int kPauseKeyTaken = 1116;
constexpr int kHideKey = 1121;

class KeysTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        WriteFileBytes(InFolder("red.bmp"), SolidBitmap(40, 30, 0, 0, 255));
        WriteFileBytes(InFolder("blue.bmp"), SolidBitmap(30, 20, 255, 0, 0));
        UseListOf({"red.bmp", "blue.bmp"});
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
        WriteDword(kSettingsKey, "HN", kCtrlAlt | 'N');
        WriteDword(kSettingsKey, "HS", kCtrlAlt | 'P');
    }

    void Launch() {
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }
    static std::optional<DWORD> NextIndex() {
        const std::optional<RegistryValue> value = ReadValue(kSettingsKey, "II");
        return value ? value->AsDword() : std::nullopt;
    }
    bool Paused() const { return WindowText(velumar.MainWindow()).ends_with(" (paused)"); }

    VelumarProcess velumar;
};

TEST_F(KeysTest, ChosenKeysSwitchAndPauseWhenPressedOnTheDisplay) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    const std::optional<DWORD> before = NextIndex();
    PressKeys("ctrl+alt+n");
    EXPECT_TRUE(WaitUntil([&] { return NextIndex() != before; }));
    PressKeys("ctrl+alt+p");
    EXPECT_TRUE(WaitUntil([&] { return Paused(); }));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(KeysTest, KeysPageReportsAKeyHeldElsewhereRefusesADuplicateAndStoresTheHideKey) {
    HWND holder = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(holder, nullptr);
    ASSERT_TRUE(RegisterHotKey(holder, 1, MOD_CONTROL | MOD_ALT, 'N'));
    ASSERT_NO_FATAL_FAILURE(Launch());

    velumar.PostCommand(kPropertiesCommand);
    HWND sheet = WaitForWindow(velumar.ProcessId(), "Velumar Properties");
    ASSERT_NE(sheet, nullptr);
    SendMessageA(sheet, PSM_SETCURSEL, kKeysPage, 0);
    EXPECT_EQ(WindowText(FindDescendant(sheet, kNextKeyTaken)),
              "This key is used by another program.");
    EXPECT_EQ(WindowText(FindDescendant(sheet, kPauseKeyTaken)), "");
    // The pause key chosen for "Previous wallpaper" too: OK is refused, naming the other command.
    SendMessageA(FindDescendant(sheet, kPreviousKey), HKM_SETHOTKEY, kCtrlAlt | 'P', 0);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    EXPECT_EQ(DismissMessageBox(velumar.ProcessId()),
              "This key is already chosen for \"Previous wallpaper\". Please choose another one.");
    EXPECT_TRUE(IsWindow(sheet));
    // The key moved to "Never show this picture" is taken and stored.
    SendMessageA(FindDescendant(sheet, kPreviousKey), HKM_SETHOTKEY, 0, 0);
    SendMessageA(FindDescendant(sheet, kHideKey), HKM_SETHOTKEY, kCtrlAlt | 'H', 0);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));

    PressKeys("ctrl+alt+p");
    EXPECT_TRUE(WaitUntil([&] { return Paused(); }));
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadValue(kSettingsKey, "HX")->AsDword(), kCtrlAlt | 'H');
    UnregisterHotKey(holder, 1);
    DestroyWindow(holder);
}

}  // namespace
}  // namespace e2e
