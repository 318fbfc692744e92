// The wallpaper list of the real program: loading a list file into the list view, the
// remove command, saving at exit, a missing list file, uniqueness, and opening another list.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

class ListTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        CreateDirectoryA(InFolder("Holiday").c_str(), nullptr);
        CreateDirectoryA(InFolder("My Photos").c_str(), nullptr);
        WriteFileBytes(InFolder("sunset.jpg"), "not really a jpeg");
        WriteFileBytes(InFolder("My Photos\\scan.tif"), "not really a tiff");
    }

    // Starts the program on a list file and waits for its window.
    void StartWith(const std::string& listFile) {
        WriteText(kSettingsKey, "CF", listFile);
        // No switch at start-up: it would select the rows it tried.
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }

    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (int row = 0; row < velumar.ListRowCount(kListView); ++row) {
            texts.push_back(velumar.ListText(kListView, row, column));
        }
        return texts;
    }

    VelumarProcess velumar;
};

using Texts = std::vector<std::string>;

TEST_F(ListTest, ShowsTheListFilesRowsColumnsSelectionAndName) {
    const std::string list = InFolder("my.list.vlt");
    WriteFileBytes(list, "0 2\r\n" + InFolder("sunset.jpg") + " 0 \"\"\r\n" + InFolder("Holiday") +
                             " 0 \"\"\r\n\"" + InFolder("My Photos\\scan.tif") +
                             "\" 2 \"1 3\"\r\nC:\\ 0 \"\"\r\n");
    // Left by a save that was cut short: the list itself is whole, the leftover goes.
    WriteFileBytes(list + ".tmp", "0 2\r\nhalf a li");
    StartWith(list);
    EXPECT_EQ(GetFileAttributesA((list + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(WindowText(velumar.MainWindow()), std::string(kMainTitlePrefix) + "my.list");
    EXPECT_EQ(Column(0), (Texts{"sunset.jpg", "[Holiday]", "scan.tif", "[]"}));
    EXPECT_EQ(Column(1), (Texts{folder, folder, InFolder("My Photos"), "C:"}));
    EXPECT_EQ(velumar.SelectedRows(kListView), (std::vector<int>{0, 2}));

    HWND view = velumar.Control(kListView);
    RECT client{};
    GetClientRect(view, &client);
    EXPECT_EQ(SendMessageA(view, LVM_GETCOLUMNWIDTH, 0, 0), client.right / 3);
    EXPECT_EQ(SendMessageA(view, LVM_GETCOLUMNWIDTH, 1, 0), client.right * 2 / 3);
    LONG_PTR style = GetWindowLongPtrA(view, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(style & (LVS_SINGLESEL | LVS_SHOWSELALWAYS), LVS_SHOWSELALWAYS);
}

TEST_F(ListTest, RemoveSelectionRewritesTheFileAtOnce) {
    const std::string list = InFolder("list.vlt");
    const std::string scan = InFolder("My Photos\\scan.tif");
    WriteFileBytes(list, "\n" + InFolder("sunset.jpg") + " 0 \"\"\n" + InFolder("Holiday") +
                             " 1 \"\"\n\"" + scan + "\" 2 \"1 3\"\n");
    StartWith(list);
    EXPECT_FALSE(velumar.IsControlEnabled(kRemoveButton));
    velumar.SetRowSelected(kListView, 1, true);
    // The buttons follow a selection change on the next tick of the one-second timer.
    EXPECT_TRUE(WaitUntil([&] { return velumar.IsControlEnabled(kRemoveButton); }, 3000));

    SendMessageA(velumar.Control(kRemoveButton), BM_CLICK, 0, 0);
    EXPECT_EQ(ReadFileBytes(list),
              "\r\n" + InFolder("sunset.jpg") + " 0 \"\"\r\n\"" + scan + "\" 2 \"1 3\"\r\n");
    EXPECT_EQ(Column(0), (Texts{"sunset.jpg", "scan.tif"}));
    EXPECT_FALSE(velumar.IsControlEnabled(kRemoveButton));
    // Nothing changed since the save: Exit leaves the file alone.
    WriteFileBytes(list, "0\n" + InFolder("sunset.jpg") + " 0 \"\"\n");
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadFileBytes(list), "0\n" + InFolder("sunset.jpg") + " 0 \"\"\n");
}

TEST_F(ListTest, AChangeFollowedByExitSavesAndNoChangeDoesNot) {
    const std::string list = InFolder("list.vlt");
    // Written with bare line feeds, which a save would turn into CR LF.
    const std::string original =
        "0\n" + InFolder("sunset.jpg") + " 3 \"\"\n" + InFolder("Holiday") + " 0 \"\"\n";
    WriteFileBytes(list, original);
    StartWith(list);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadFileBytes(list), original);

    VelumarProcess second;
    ASSERT_TRUE(second.Start());
    ASSERT_NE(second.WaitForMainWindow(), nullptr);
    second.SetRowSelected(kListView, 1, true);
    ASSERT_TRUE(second.Exit());
    EXPECT_EQ(ReadFileBytes(list), "0 1\r\n" + InFolder("sunset.jpg") + " 3 \"\"\r\n" +
                                       InFolder("Holiday") + " 0 \"\"\r\n");
}

TEST_F(ListTest, AMissingListFileGivesAnEmptyListCreatedAtTheNextSave) {
    const std::string list = InFolder("new one.vlt");
    StartWith(list);
    EXPECT_EQ(WindowText(velumar.MainWindow()), std::string(kMainTitlePrefix) + "new one");
    EXPECT_EQ(velumar.ListRowCount(kListView), 0);
    EXPECT_EQ(GetFileAttributesA(list.c_str()), INVALID_FILE_ATTRIBUTES);
    // "Remove Selection(s)" with nothing to remove saves nothing; a real change does.
    velumar.SendCommand(kRemoveButton);
    EXPECT_EQ(GetFileAttributesA(list.c_str()), INVALID_FILE_ATTRIBUTES);
    DropFiles(velumar.ProcessId(), velumar.Control(kListView), {5, 5}, {InFolder("sunset.jpg")});
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadFileBytes(list), "\r\n" + InFolder("sunset.jpg") + " 0 \"\"\r\n");
    EXPECT_EQ(ReadValue(kSettingsKey, "CF")->AsText(), list);
}

TEST_F(ListTest, AListFileThatCannotBeReadIsNeverOverwritten) {
    const std::string list = InFolder("locked.vlt");
    const std::string original = "0\n" + InFolder("sunset.jpg") + " 0 \"\"\n";
    WriteFileBytes(list, original);
    // Held open without sharing, as a sync client or a virus scanner may hold it.
    HANDLE lock = CreateFileA(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    StartWith(list);
    EXPECT_EQ(velumar.ListRowCount(kListView), 0);
    CloseHandle(lock);
    DropFiles(velumar.ProcessId(), velumar.Control(kListView), {5, 5}, {InFolder("Holiday")});
    velumar.SendCommand(kRemoveButton);
    velumar.PostCommand(kExitCommand);
    // Exit says once that the unread file was kept and where the rows shown went instead.
    const std::string unsaved = InFolder("locked.unsaved.vlt");
    const std::string said = DismissMessageBox(velumar.ProcessId(), 5000, IDOK);
    EXPECT_NE(said.find(list), std::string::npos);
    EXPECT_NE(said.find(unsaved), std::string::npos);
    ASSERT_TRUE(velumar.WaitForExit());
    EXPECT_EQ(ReadFileBytes(list), original);
    EXPECT_NE(ReadFileBytes(unsaved).find(InFolder("Holiday")), std::string::npos);
}

TEST_F(ListTest, UniquenessLoadsAPathListedTwiceInAnyCaseOnce) {
    const std::string list = InFolder("list.vlt");
    std::string lower = InFolder("SUNSET.JPG");
    WriteFileBytes(list, "\r\n" + InFolder("sunset.jpg") + " 0 \"\"\r\n" + lower + " 1 \"\"\r\n");
    for (DWORD unique : {0u, 1u}) {
        WriteDword(kSettingsKey, "EU", unique);
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
        VelumarProcess run;
        WriteText(kSettingsKey, "CF", list);
        ASSERT_TRUE(run.Start());
        ASSERT_NE(run.WaitForMainWindow(), nullptr);
        EXPECT_EQ(run.ListRowCount(kListView), unique != 0 ? 1 : 2) << unique;
        ASSERT_TRUE(run.Exit());
    }
}

TEST_F(ListTest, OpenWallpaperListReplacesTheRowsAndRemembersTheFolder) {
    const std::string first = InFolder("first.vlt");
    CreateDirectoryA(InFolder("lists").c_str(), nullptr);
    const std::string second = InFolder("lists\\second.vlt");
    WriteFileBytes(first, "\r\n" + InFolder("sunset.jpg") + " 0 \"\"\r\n");
    // Bare line feeds and spaces a save would not write: any rewrite shows.
    const std::string secondBytes = "1\n" + InFolder("Holiday") + "  0 \"\"\nC:\\x.png 0 \"\"\n";
    WriteFileBytes(second, secondBytes);
    StartWith(first);
    velumar.PostCommand(kOpenListCommand);
    // The dialog may show before its file-name box takes input: type and confirm until it
    // closes.
    ASSERT_TRUE(WaitUntil(
        [&] {
            std::vector<HWND> dialogs = TopLevelWindows(velumar.ProcessId(), "Open");
            if (dialogs.empty()) {
                return velumar.ListRowCount(kListView) == 2;
            }
            HWND name = GetDlgItem(dialogs.front(), 1148);
            if (name != nullptr && IsWindowVisible(dialogs.front())) {
                SetWindowTextA(name, second.c_str());
                PostMessageA(dialogs.front(), WM_COMMAND, IDOK, 0);
                Sleep(500);
            }
            return false;
        },
        30000));
    EXPECT_EQ(Column(0), (Texts{"[Holiday]", "x.png"}));
    EXPECT_EQ(velumar.SelectedRows(kListView), std::vector<int>{1});
    EXPECT_EQ(WindowText(velumar.MainWindow()), std::string(kMainTitlePrefix) + "second");
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadValue(kSettingsKey, "CF")->AsText(), second);
    EXPECT_EQ(ReadValue(kSettingsKey, "LD")->AsText(), InFolder("lists"));
    // Opening another list does not save the first, and the opened one, unchanged, is not
    // rewritten at Exit.
    EXPECT_EQ(ReadFileBytes(first), "\r\n" + InFolder("sunset.jpg") + " 0 \"\"\r\n");
    EXPECT_EQ(ReadFileBytes(second), secondBytes);
}

}  // namespace
}  // namespace e2e
