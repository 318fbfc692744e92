// The properties sheet, the time-of-day, welcome and About dialogs of the real program: what
// the pages show, what OK stores and Cancel does not, the refused fields, and the sheet while
// switching runs underneath it.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

// Every value of the settings key with its type and bytes.
std::map<std::string, std::pair<DWORD, std::string>> SettingsSnapshot() {
    std::map<std::string, std::pair<DWORD, std::string>> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return values;
    }
    for (DWORD i = 0;; ++i) {
        char name[256] = {};
        DWORD nameSize = sizeof(name);
        BYTE data[4096] = {};
        DWORD dataSize = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS) {
            break;
        }
        values[name] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
    }
    RegCloseKey(key);
    return values;
}

class PropertiesTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        WriteText(kSettingsKey, "CF", InFolder("list.vlt"));
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
    }

    void Launch() {
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }

    // F6, as the user presses it; the sheet's window once it is up.
    HWND OpenSheet() {
        PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_F6, 0);
        sheet = WaitForWindow(velumar.ProcessId(), "Velumar Properties");
        return sheet;
    }

    HWND Find(int id) const { return FindDescendant(sheet, id); }
    void Click(int id) const { SendMessageA(Find(id), BM_CLICK, 0, 0); }
    void Type(int id, const char* text) const {
        SendMessageA(Find(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    std::string Text(int id) const { return WindowText(Find(id)); }
    bool Checked(int id) const { return SendMessageA(Find(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Find(id)) != FALSE; }
    void ShowPage(int index) const { SendMessageA(sheet, PSM_SETCURSEL, index, 0); }
    std::string CurrentPageTitle() const {
        return WindowText(
            reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)));
    }
    // OK or Cancel as a click would; the sheet may stay open when a field is refused.
    void Press(int button) const { PostMessageA(sheet, PSM_PRESSBUTTON, button, 0); }
    bool SheetCloses() const {
        return WaitUntil([&] { return !IsWindow(sheet); }, 5000);
    }
    // OK stores every setting, the window rectangle last; the key starts without it.
    static bool SettingsStored() {
        return WaitUntil([] { return ReadValue(kSettingsKey, "PB").has_value(); }, 5000);
    }

    void AddTime(const char* time) const {
        PostMessageA(Find(1040), BM_CLICK, 0, 0);
        HWND dialog = WaitForWindow(velumar.ProcessId(), "Enter Time of Day");
        ASSERT_NE(dialog, nullptr);
        SendMessageA(GetDlgItem(dialog, 1045), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(time));
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }

    std::vector<std::string> TimeList() const {
        std::vector<std::string> items;
        HWND list = Find(1042);
        for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
            items.push_back(ListBoxItemText(list, i));
        }
        return items;
    }

    VelumarProcess velumar;
    HWND sheet = nullptr;
};

}  // namespace

TEST_F(PropertiesTest, F6ShowsThreePagesFilledFromTheRegistryAndCancelKeepsEveryByte) {
    WriteText(kSettingsKey, "PE", "0:30");
    WriteDword(kSettingsKey, "RA", 1);
    WriteDword(kSettingsKey, "RT", 3);
    WriteDword(kSettingsKey, "WI", 1234);
    WriteDword(kSettingsKey, "RM", 2);
    WriteDword(kSettingsKey, "ME", 1);
    WriteText(kSettingsKey, "MF", "C:\\masks\\soft.bmp");
    ASSERT_NO_FATAL_FAILURE(Launch());
    // The key as the program wrote it on its way out of an earlier run.
    ASSERT_TRUE(velumar.Exit());
    ASSERT_NO_FATAL_FAILURE(Launch());
    const auto before = SettingsSnapshot();

    ASSERT_NE(OpenSheet(), nullptr);
    const char* titles[] = {"General", "Masking", "Resizing"};
    for (int page = 0; page < 3; ++page) {
        ShowPage(page);
        EXPECT_EQ(CurrentPageTitle(), titles[page]);
    }
    // General.
    EXPECT_TRUE(Checked(1038));
    EXPECT_EQ(Text(1016), "0:30");
    EXPECT_TRUE(Enabled(1016));
    EXPECT_TRUE(Checked(1012));
    EXPECT_FALSE(Enabled(1042));
    // Masking: the file mask enables only the file controls and the outline.
    EXPECT_TRUE(Checked(1072));
    EXPECT_EQ(Text(1079), "C:\\masks\\soft.bmp");
    EXPECT_TRUE(Enabled(1080));
    EXPECT_FALSE(Enabled(1073));
    EXPECT_TRUE(Enabled(1082));
    Click(1081);
    EXPECT_FALSE(Enabled(1079));
    EXPECT_FALSE(Enabled(1082));
    // Resizing: the custom size enables its two edits, not the standard list.
    EXPECT_TRUE(Checked(1023));
    EXPECT_EQ(Text(1025), "1234");
    EXPECT_TRUE(Enabled(1025) && Enabled(1026));
    EXPECT_FALSE(Enabled(1024));
    EXPECT_EQ(SendMessageA(Find(1028), CB_GETCURSEL, 0, 0), 2);
    Click(1022);
    EXPECT_TRUE(Enabled(1024));
    EXPECT_FALSE(Enabled(1025));

    Type(1025, "640");
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(SheetCloses());
    EXPECT_EQ(SettingsSnapshot(), before);
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(PropertiesTest, OkStoresTheNormalisedIntervalAndTheTimesInListOrder) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NE(OpenSheet(), nullptr);
    HWND page = GetParent(Find(1016));
    // Into the interval and out of it again, as tabbing would.
    SendMessageA(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Find(1016)), TRUE);
    Type(1016, "5:00");
    SendMessageA(page, WM_NEXTDLGCTL, 0, FALSE);
    EXPECT_EQ(Text(1016), "00:05:00");

    Click(1039);
    EXPECT_TRUE(Enabled(1042) && Enabled(1040));
    EXPECT_FALSE(Enabled(1041));
    ASSERT_NO_FATAL_FAILURE(AddTime("7:30"));
    ASSERT_NO_FATAL_FAILURE(AddTime("06:00"));
    EXPECT_EQ(TimeList(), (std::vector<std::string>{"06:00", "07:30"}));
    // Wine has no lock-screen class: the option is disabled and says why.
    EXPECT_FALSE(Enabled(1097));
    EXPECT_EQ(Text(1098),
              "Windows here does not let programs set the lock-screen picture "
              "(Windows 10 or later does).");
    // Favourites, and on the Pictures page the smallest size and the shape: "only favourites",
    // 50 %, "portrait only".
    EXPECT_TRUE(Enabled(1126));
    SendMessageA(Find(1125), CB_SETCURSEL, 2, 0);
    ShowPage(5);
    Type(1127, "50");
    SendMessageA(Find(1128), CB_SETCURSEL, 2, 0);
    Press(PSBTN_OK);
    ASSERT_TRUE(SheetCloses());
    ASSERT_TRUE(SettingsStored());
    EXPECT_EQ(ReadValue(kSettingsKey, "PE")->AsText(), "00:05:00");
    EXPECT_EQ(ReadValue(kSettingsKey, "TM")->AsText(), "06:00%07:30%");
    EXPECT_EQ(ReadValue(kSettingsKey, "WH")->AsDword(), 2u);
    // The Start Switching button follows the new mode and times at once.
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadValue(kSettingsKey, "FV")->AsDword(), 2u);
    EXPECT_EQ(ReadValue(kSettingsKey, "MZ")->AsDword(), 50u);
    EXPECT_EQ(ReadValue(kSettingsKey, "SH")->AsDword(), 2u);
}

TEST_F(PropertiesTest, RefusedFieldsKeepTheSheetOpenAndNoMaskingKeepsTheStoredMask) {
    WriteDword(kSettingsKey, "RT", 4);
    WriteDword(kSettingsKey, "ME", 0);
    WriteDword(kSettingsKey, "MRL", 10);
    WriteText(kSettingsKey, "MF", "C:\\masks\\soft.bmp");
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NE(OpenSheet(), nullptr);

    ShowPage(2);
    // A stored crop checks its radio button; the crop always keeps the aspect ratio.
    EXPECT_TRUE(Checked(1029));
    EXPECT_FALSE(Enabled(1032));
    Click(1023);
    EXPECT_TRUE(Enabled(1032));
    Type(1025, "abc");
    // A radio click reads the page back first; posted, since it opens a message box.
    PostMessageA(Find(1033), BM_CLICK, 0, 0);
    EXPECT_EQ(DismissMessageBox(velumar.ProcessId()), "Please enter a positive integer.");
    Type(1025, "12abc");
    Click(1029);
    EXPECT_FALSE(Checked(1033));
    EXPECT_FALSE(Enabled(1032));
    Click(1030);
    EXPECT_FALSE(Checked(1029));
    EXPECT_FALSE(Enabled(1032));
    Click(1031);

    ShowPage(1);
    Type(1073, "100");
    Press(PSBTN_OK);
    EXPECT_EQ(DismissMessageBox(velumar.ProcessId()), "Please enter an integer between 0 and 99.");
    EXPECT_TRUE(IsWindow(sheet));
    EXPECT_EQ(CurrentPageTitle(), "Masking");
    Type(1073, "20");
    Click(1081);
    Press(PSBTN_OK);
    ASSERT_TRUE(SheetCloses());
    ASSERT_TRUE(SettingsStored());
    EXPECT_EQ(ReadValue(kSettingsKey, "ME")->AsDword(), 2u);
    EXPECT_EQ(ReadValue(kSettingsKey, "MRL")->AsDword(), 10u);
    EXPECT_EQ(ReadValue(kSettingsKey, "MF")->AsText(), "C:\\masks\\soft.bmp");
    EXPECT_EQ(ReadValue(kSettingsKey, "WI")->AsDword(), 12u);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadValue(kSettingsKey, "RT")->AsDword(), 5u);
    EXPECT_EQ(ReadValue(kSettingsKey, "AC")->AsDword(), 1u);
}

TEST_F(PropertiesTest, SpecificTimesWithoutTimesWarnsAndStoresTheModeAnyway) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NE(OpenSheet(), nullptr);
    Click(1039);
    Press(PSBTN_OK);
    EXPECT_EQ(DismissMessageBox(velumar.ProcessId()),
              "Warning: no switching times specified.\nWallpaper switching will be disabled.");
    ASSERT_TRUE(SheetCloses());
    ASSERT_TRUE(SettingsStored());
    EXPECT_EQ(ReadValue(kSettingsKey, "WH")->AsDword(), 2u);
    EXPECT_FALSE(velumar.IsControlEnabled(kStartStopButton));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(PropertiesTest, SheetSurvivesSwitchingUnderneathIt) {
    WriteFileBytes(InFolder("red.bmp"), SolidBitmap(40, 30, 0, 0, 255));
    WriteFileBytes(InFolder("blue.bmp"), SolidBitmap(30, 20, 255, 0, 0));
    WriteFileBytes(InFolder("list.vlt"), "\r\n" + InFolder("red.bmp") + " 0 \"\"\r\n" +
                                             InFolder("blue.bmp") + " 0 \"\"\r\n");
    WriteText(kSettingsKey, "PE", "0:00:01");
    WriteDword(kSettingsKey, "SA", 1);
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_NE(OpenSheet(), nullptr);
    // Timed switches go on while the sheet is open: the stored next index keeps moving.
    std::set<DWORD> seen;
    WaitUntil(
        [&] {
            std::optional<RegistryValue> next = ReadValue(kSettingsKey, "II");
            if (next) {
                seen.insert(*next->AsDword());
            }
            return seen.size() >= 2;
        },
        8000);
    EXPECT_EQ(seen.size(), 2u);
    Click(1012);
    Press(PSBTN_OK);
    ASSERT_TRUE(SheetCloses());
    EXPECT_TRUE(WaitUntil([] { return ReadValue(kSettingsKey, "RA")->AsDword() == 1u; }));
    EXPECT_EQ(TopLevelWindows(velumar.ProcessId(), "Velumar Properties").size(), 0u);
    EXPECT_TRUE(velumar.IsRunning());
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(PropertiesTest, WelcomeComesAfterASecondAndItsCheckBoxWithCloseTurnsItOff) {
    WriteDword(kSettingsKey, "SW", 1);
    ASSERT_NO_FATAL_FAILURE(Launch());
    DWORD start = GetTickCount();
    HWND welcome = WaitForWindow(velumar.ProcessId(), "Welcome to Velumar", 5000);
    ASSERT_NE(welcome, nullptr);
    EXPECT_GE(GetTickCount() - start, 500u);
    EXPECT_EQ(WindowText(GetDlgItem(welcome, 1065)), "&Don't show this window again.");
    SendMessageA(GetDlgItem(welcome, 1065), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(welcome, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(welcome); }));
    // A second posted F6 while the sheet is open does not open another one.
    ASSERT_NE(OpenSheet(), nullptr);
    velumar.PostCommand(kPropertiesCommand);
    Sleep(300);
    EXPECT_EQ(TopLevelWindows(velumar.ProcessId(), "Velumar Properties").size(), 1u);
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(SheetCloses());
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadValue(kSettingsKey, "SW")->AsDword(), 0u);
}

TEST_F(PropertiesTest, AboutShowsTheVersionTheFileCarries) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    velumar.PostCommand(kAboutCommand);
    HWND about = WaitForWindow(velumar.ProcessId(), "About Velumar");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(about, 1061)), "Velumar Version 1.32");
    PostMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    // Activation returns to the main window, not to another program.
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == velumar.MainWindow(); }));
    ASSERT_TRUE(velumar.Exit());

    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(VelumarExePath().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(VelumarExePath().c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(32, 1));
}

}  // namespace e2e
