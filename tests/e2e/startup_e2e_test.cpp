// Start-up, the settings in the registry, the single-instance rule and shut-down of the real
// program.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

using StartUpTest = VelumarTest;

std::string DocumentsFolder() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, path);
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

void RunOnceAndExit(const std::string& exe = VelumarExePath()) {
    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start(exe));
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(velumar.ExitCode(), 0u);
}

struct IntDefault {
    const char* name;
    DWORD value;
};

// Every integer value and its default, except the three icon-text values and the window's
// rectangle, which is where the first start put the window.
const IntDefault kIntDefaults[] = {
    {"WH", 0},  {"SA", 1},  {"HI", 0},  {"RA", 0},   {"II", 0},   {"RE", 1}, {"EU", 0},  {"TI", 0},
    {"SW", 1},  {"RT", 0},  {"SS", 1},  {"WI", 800}, {"HE", 600}, {"RR", 1}, {"RM", 0},  {"ME", 2},
    {"MRL", 0}, {"MRT", 0}, {"MRR", 0}, {"MRB", 0},  {"MI", 0},   {"OP", 1}, {"PRV", 1},
};

}  // namespace

TEST_F(StartUpTest, FirstRunStoresEveryValueWithItsDefaultAndType) {
    DeleteTree(kCompanyKey);
    RunOnceAndExit();

    for (const IntDefault& expected : kIntDefaults) {
        std::optional<RegistryValue> value = ReadValue(kSettingsKey, expected.name);
        ASSERT_TRUE(value) << expected.name;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD)) << expected.name;
        EXPECT_EQ(value->AsDword(), expected.value) << expected.name;
    }
    // The first start centres the default size on the work area (at 96 DPI).
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const DWORD left = static_cast<DWORD>(work.left + (work.right - work.left - 620) / 2);
    const DWORD top = static_cast<DWORD>(work.top + (work.bottom - work.top - 450) / 2);
    EXPECT_EQ(ReadValue(kSettingsKey, "PL")->AsDword(), left);
    EXPECT_EQ(ReadValue(kSettingsKey, "PT")->AsDword(), top);
    EXPECT_EQ(ReadValue(kSettingsKey, "PR")->AsDword(), left + 620);
    EXPECT_EQ(ReadValue(kSettingsKey, "PB")->AsDword(), top + 450);

    std::string documents = DocumentsFolder();
    std::optional<RegistryValue> listDir = ReadValue(kSettingsKey, "LD");
    ASSERT_TRUE(listDir && listDir->AsText());
    std::string storedDir = *listDir->AsText();
    EXPECT_EQ(storedDir.substr(0, documents.size()), documents);
    std::string separator = storedDir.back() == '\\' ? "" : "\\";
    struct TextDefault {
        const char* name;
        std::string value;
    };
    const TextDefault texts[] = {
        {"PE", "5:00"},
        {"TM", ""},
        {"MF", ""},
        {"PD", ""},
        {"FD", ""},
        {"MD", ""},
        {"CF", storedDir + separator + "Velumar.vlt"},
    };
    for (const TextDefault& expected : texts) {
        std::optional<RegistryValue> value = ReadValue(kSettingsKey, expected.name);
        ASSERT_TRUE(value) << expected.name;
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ)) << expected.name;
        EXPECT_EQ(value->AsText(), expected.value) << expected.name;
    }

    // Wine reports Windows 7 (601): the icon-text values are read but never written there.
    for (const char* name : {"CI", "IC", "IT"}) {
        EXPECT_FALSE(ReadValue(kSettingsKey, name)) << name;
    }
}

TEST_F(StartUpTest, IconTextValuesAreStoredOnWindows2000) {
    // Wine reports Windows 2000 (500) to this program only.
    const std::string appDefaults = "Software\\Wine\\AppDefaults\\Velumar.exe";
    WriteText(appDefaults, "Version", "win2k");
    RunOnceAndExit();
    DeleteTree(appDefaults);

    std::optional<RegistryValue> ci = ReadValue(kSettingsKey, "CI");
    std::optional<RegistryValue> ic = ReadValue(kSettingsKey, "IC");
    std::optional<RegistryValue> it = ReadValue(kSettingsKey, "IT");
    ASSERT_TRUE(ci && ic && it);
    EXPECT_EQ(ci->AsDword(), 0u);
    EXPECT_EQ(ic->AsDword(), 0x00FFFFFFu);
    EXPECT_EQ(it->AsDword(), 0u);
}

TEST_F(StartUpTest, StoredValuesSurviveARestart) {
    WriteDword(kSettingsKey, "WH", 1);
    WriteText(kSettingsKey, "PE", "0:30");
    WriteText(kSettingsKey, "TM", "08:00%12:30%");
    WriteDword(kSettingsKey, "SA", 0);
    WriteDword(kSettingsKey, "SW", 0);
    WriteDword(kSettingsKey, "MRT", 25);
    WriteDword(kSettingsKey, "IC", 0x00123456);
    WriteText(kSettingsKey, "CF", InFolder("mine.vlt"));
    WriteText(kSettingsKey, "PD", "C:\\pictures");
    StoreWindowRect({40, 30, 700, 530});

    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    HWND window = velumar.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right, 700);
    EXPECT_EQ(rect.bottom, 530);
    ASSERT_TRUE(velumar.Exit());

    EXPECT_EQ(ReadValue(kSettingsKey, "WH")->AsDword(), 1u);
    EXPECT_EQ(ReadValue(kSettingsKey, "PE")->AsText(), "0:30");
    EXPECT_EQ(ReadValue(kSettingsKey, "TM")->AsText(), "08:00%12:30%");
    EXPECT_EQ(ReadValue(kSettingsKey, "SA")->AsDword(), 0u);
    EXPECT_EQ(ReadValue(kSettingsKey, "SW")->AsDword(), 0u);
    EXPECT_EQ(ReadValue(kSettingsKey, "MRT")->AsDword(), 25u);
    EXPECT_EQ(ReadValue(kSettingsKey, "CF")->AsText(), InFolder("mine.vlt"));
    EXPECT_EQ(ReadValue(kSettingsKey, "FD")->AsText(), "C:\\pictures");
    EXPECT_EQ(ReadValue(kSettingsKey, "MD")->AsText(), "C:\\pictures");
    EXPECT_EQ(ReadValue(kSettingsKey, "PR")->AsDword(), 700u);
    // Not rewritten after Windows 2000, so the stored colour stays as it was.
    EXPECT_EQ(ReadValue(kSettingsKey, "IC")->AsDword(), 0x00123456u);
}

TEST_F(StartUpTest, OutOfRangeValuesAreClampedAtLoad) {
    WriteDword(kSettingsKey, "ME", 7);
    WriteDword(kSettingsKey, "MRL", 51);
    WriteDword(kSettingsKey, "MRB", static_cast<DWORD>(-1));
    RunOnceAndExit();
    EXPECT_EQ(ReadValue(kSettingsKey, "ME")->AsDword(), 2u);
    EXPECT_EQ(ReadValue(kSettingsKey, "MRL")->AsDword(), 50u);
    EXPECT_EQ(ReadValue(kSettingsKey, "MRB")->AsDword(), 50u);
}

TEST_F(StartUpTest, SecondStartEndsAtOnceAndShowsTheFirstWindow) {
    VelumarProcess first;
    ASSERT_TRUE(first.Start());
    HWND window = first.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // Hidden to the notification area once the window has been shown.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    first.SendCommand(kHideCommand);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }));

    VelumarProcess second;
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(second.ExitCode(), 0u);

    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
    EXPECT_EQ(TopLevelWindows(0, kMainTitlePrefix).size(), 1u);
    EXPECT_TRUE(first.IsRunning());
    ASSERT_TRUE(first.Exit());
}

TEST_F(StartUpTest, NextStartAfterTheFirstCopyEndedIsAFirstCopyAgain) {
    RunOnceAndExit();
    WriteDword(kSettingsKey, "WH", 1);
    RunOnceAndExit();
    EXPECT_EQ(ReadValue(kSettingsKey, "WH")->AsDword(), 1u);
}

TEST_F(StartUpTest, RenamedCopyKeepsItsSettingsUnderItsOwnName) {
    DeleteTree(kCompanyKey);
    std::string renamed = InFolder("Wallpapers Two.exe");
    ASSERT_TRUE(CopyFileA(VelumarExePath().c_str(), renamed.c_str(), FALSE));
    RunOnceAndExit(renamed);
    const std::string ownKey = "Software\\Quorwick\\Wallpapers Two\\Settings";
    EXPECT_EQ(ReadValue(ownKey, "PE")->AsText(), "5:00");
    EXPECT_EQ(*ReadValue(ownKey, "PR")->AsDword() - *ReadValue(ownKey, "PL")->AsDword(), 620u);
    EXPECT_FALSE(KeyExists("Software\\Quorwick\\Velumar"));
}

TEST_F(StartUpTest, WindowShowsTheMainWindowControls) {
    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start());
    HWND window = velumar.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    // The default list file is Velumar.vlt in the documents folder.
    EXPECT_EQ(WindowText(window), std::string(kMainTitlePrefix) + "Velumar");
    struct Expected {
        int id;
        const char* text;
    };
    const Expected controls[] = {
        {kPreviewCheck, "&Preview Selected Image"},
        {kRemoveButton, "&Remove Selection(s)"},
        {kAddFilesButton, "Add F&iles..."},
        {kAddFolderButton, "Add a Fol&der..."},
        {kRotateLabel, "Ro&tate Selection(s)"},
        {kPagesLabel, "&Use Pages"},
        {kPagesEdit, ""},
        {kInfoBox, ""},
    };
    for (const Expected& c : controls) {
        ASSERT_NE(velumar.Control(c.id), nullptr) << c.id;
        EXPECT_EQ(velumar.ControlText(c.id), c.text) << c.id;
    }
    EXPECT_NE(velumar.Control(kListView), nullptr);
    EXPECT_NE(velumar.Control(kPreviewFrame), nullptr);
    EXPECT_NE(velumar.Control(kStartStopButton), nullptr);
    // "Preview Selected Image" follows the stored preview setting (default on).
    EXPECT_EQ(SendMessageA(velumar.Control(kPreviewCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
    HWND rotation = velumar.Control(kRotationCombo);
    ASSERT_EQ(SendMessageA(rotation, CB_GETCOUNT, 0, 0), 4);
    const char* rotations[] = {"No Rotation", "Counterclockwise", "Clockwise", "180 Degrees"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ComboItemText(rotation, i), rotations[i]);
    }
    // Menu handles belong to their process under Wine; the menu itself is checked in-process.
    EXPECT_NE(GetMenu(window), nullptr);
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace e2e
