// Acting on the picture on the desktop: never show it again, favourites, and where it is.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <set>
#include <utility>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {

namespace {

std::string AppDataFile(const std::string& name) {
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    return std::string(local) + "\\Quorwick\\Velumar\\" + name;
}

// A folder entry of three pictures told apart by their sizes.
class PictureMarksTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        pictures = InFolder("pictures");
        ASSERT_TRUE(CreateDirectoryA(pictures.c_str(), nullptr));
        for (const auto& [name, size] : kPictures) {
            WriteFileBytes(pictures + "\\" + name, SolidBitmap(size.first, size.second, 0, 0, 200));
        }
        const std::string list = InFolder("list.vlt");
        WriteFileBytes(list, "\r\n" + pictures + " 0 \"\"\r\n");
        WriteText(kSettingsKey, "CF", list);
        StartWithoutWallpaper();
    }

    void Launch() {
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }

    // Sends the command (posted with the tray's code) and waits for another picture on the
    // desktop (the bitmap is read only once it was replaced, so as not to hold the switch
    // back); its name.
    std::string ShowsAfter(int command, bool fromTray = false) {
        return ShowsAfter([&] {
            if (fromTray) {
                PostMessageA(velumar.MainWindow(), WM_COMMAND, MAKEWPARAM(command, 3), 0);
            } else {
                SendMessageA(velumar.MainWindow(), WM_COMMAND, command, 0);
            }
        });
    }
    std::string ShowsAfter(const std::function<void()>& act) {
        const std::string name = OnDesktop();
        const std::uint64_t before = FileIndex(WallpaperFile());
        act();
        EXPECT_TRUE(
            WaitUntil([&] { return FileIndex(WallpaperFile()) != before && OnDesktop() != name; }));
        // The window has heard of it once its information box names it.
        const std::string shown = OnDesktop();
        EXPECT_TRUE(WaitUntil([&] {
            return velumar.ControlText(kInfoBox).find("On the desktop: " + shown) !=
                   std::string::npos;
        })) << velumar.ControlText(kInfoBox);
        return shown;
    }

    static std::string OnDesktop() {
        const std::pair<int, int> size = WallpaperSize();
        for (const auto& [name, pictureSize] : kPictures) {
            if (pictureSize == size) {
                return name;
            }
        }
        return "?";
    }

    static constexpr std::pair<const char*, std::pair<int, int>> kPictures[] = {
        {"a.bmp", {30, 20}}, {"b.bmp", {40, 30}}, {"c.bmp", {50, 40}}};
    std::string pictures;
    VelumarProcess velumar;
};

TEST_F(PictureMarksTest, NeverShowReplacesThePictureAtOnceForGoodAcrossARestart) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    const std::string hidden = ShowsAfter(kSwitchNowCommand);
    EXPECT_NE(ShowsAfter(kNeverShowCommand), hidden);
    EXPECT_TRUE(WaitUntil([&] {
        return ReadFileBytes(AppDataFile("hidden.txt")).find(hidden) != std::string::npos;
    }));
    for (const bool restarted : {false, true}) {
        if (restarted) {
            ASSERT_TRUE(velumar.Exit());
            ASSERT_NO_FATAL_FAILURE(Launch());
        }
        for (int i = 0; i < 10; ++i) {
            EXPECT_NE(ShowsAfter(kSwitchNowCommand), hidden) << restarted;
        }
    }
    // From the tray: the one left shows at once.
    const std::string second = OnDesktop();
    const std::string third = ShowsAfter(kNeverShowCommand, true);
    EXPECT_EQ(std::set<std::string>({hidden, second, third}).size(), 3u)
        << hidden << second << third;
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(PictureMarksTest, OnlyFavouritesShowAndAKeyHidesThePictureOnTheDesktop) {
    const std::string file = AppDataFile("favourites.txt");
    SHCreateDirectoryExA(nullptr, file.substr(0, file.find_last_of('\\')).c_str(), nullptr);
    WriteFileBytes(file, "0\t" + pictures + "\\a.bmp\r\n0\t" + pictures + "\\c.bmp\r\n");
    WriteDword(kSettingsKey, "FV", 2);
    constexpr DWORD kCtrlAlt = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
    WriteDword(kSettingsKey, "HX", kCtrlAlt | 'H');
    ASSERT_NO_FATAL_FAILURE(Launch());
    std::set<std::string> shown;
    for (int i = 0; i < 6; ++i) {
        shown.insert(ShowsAfter(kSwitchNowCommand));
    }
    EXPECT_EQ(shown, (std::set<std::string>{"a.bmp", "c.bmp"}));
    // The key hides the picture on the desktop; the other favourite comes at once.
    const std::string hidden = OnDesktop();
    const std::string next = ShowsAfter([] { PressKeys("ctrl+alt+h"); });
    EXPECT_EQ(shown, (std::set<std::string>{hidden, next}));
    EXPECT_TRUE(WaitUntil([&] {
        return ReadFileBytes(AppDataFile("hidden.txt")).find(hidden) != std::string::npos;
    }));
    // "Favourite" unmarks the picture on the desktop.
    velumar.SendCommand(kFavouriteCommand);
    EXPECT_TRUE(WaitUntil([&] {
        return ReadFileBytes(AppDataFile("favourites.txt")).find(next) == std::string::npos;
    }));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(PictureMarksTest, ShowAgainInTheHiddenPicturesDialogBringsThePictureBack) {
    const std::string file = AppDataFile("hidden.txt");
    SHCreateDirectoryExA(nullptr, file.substr(0, file.find_last_of('\\')).c_str(), nullptr);
    WriteFileBytes(file, "0\t" + pictures + "\\b.bmp\r\n");
    ASSERT_NO_FATAL_FAILURE(Launch());
    std::set<std::string> shown;
    for (int i = 0; i < 4; ++i) {
        shown.insert(ShowsAfter(kSwitchNowCommand));
    }
    EXPECT_EQ(shown, (std::set<std::string>{"a.bmp", "c.bmp"}));
    // Properties, General page, "Hidden pictures...": the one row, "Show again", Close, OK.
    velumar.PostCommand(kPropertiesCommand);
    HWND sheet = WaitForWindow(velumar.ProcessId(), "Velumar Properties");
    ASSERT_NE(sheet, nullptr);
    PostMessageA(FindDescendant(sheet, 1126), BM_CLICK, 0, 0);
    HWND dialog = WaitForWindow(velumar.ProcessId(), "Hidden pictures");
    ASSERT_NE(dialog, nullptr);
    HWND list = FindDescendant(dialog, 1129);
    EXPECT_EQ(ListView_GetItemCount(list), 1);
    SetListRowSelected(velumar.ProcessId(), list, 0, true);
    SendMessageA(FindDescendant(dialog, 1130), BM_CLICK, 0, 0);
    EXPECT_EQ(ListView_GetItemCount(list), 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(file).empty(); }));
    for (int i = 0; i < 6; ++i) {
        shown.insert(ShowsAfter(kSwitchNowCommand));
    }
    EXPECT_TRUE(shown.contains("b.bmp"));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(PictureMarksTest, ShowInFolderStartsExplorerWithThePictureSelected) {
    // A copy of the program with the stand-in beside it as explorer.exe: the shell looks for
    // Explorer in the program's folder first.
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string standIn(exe);
    standIn = standIn.substr(0, standIn.find_last_of('\\') + 1) + "explorer_stand_in.exe";
    const std::string app = InFolder("app");
    ASSERT_TRUE(CreateDirectoryA(app.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(VelumarExePath().c_str(), (app + "\\Velumar.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(standIn.c_str(), (app + "\\explorer.exe").c_str(), FALSE));
    const std::string record = app + "\\explorer.exe.txt";
    ASSERT_TRUE(velumar.Start(app + "\\Velumar.exe"));
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    const std::string shown = ShowsAfter(kSwitchNowCommand);
    velumar.PostCommand(kShowInFolderCommand);
    // Explorer is started for the picture's folder, with the picture selected on its command
    // line, or (as the shell does under Wine) told which to select once its window is open.
    const std::string selected = "/select,\"" + pictures + "\\" + shown + "\"";
    EXPECT_TRUE(WaitUntil([&] {
        const std::string line = ReadFileBytes(record);
        return line.find(selected) != std::string::npos ||
               line.find(" \"" + pictures + "\"") != std::string::npos;
    })) << ReadFileBytes(record);
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace
}  // namespace e2e
