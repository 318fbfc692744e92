// The wallpaper list view under real mouse input and the shell: dragging a row to another, a
// drag cut short by a modal window, scrolling while the dragged row is held below the list,
// dropped files, sorting by a header click, and opening a row with a double-click.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

using Texts = std::vector<std::string>;

// A file-type entry, as an installer would write it.
void SetClass(const std::string& key, const std::string& value) {
    RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>(value.size() + 1));
}

class ListViewTest : public VelumarTest {
protected:
    // Starts on a list of the named files (made in the test's folder), none selected.
    void StartWith(const Texts& names) {
        std::string contents = "\r\n";
        for (const std::string& name : names) {
            WriteFileBytes(InFolder(name), "x");
            contents.append("\"").append(InFolder(name)).append("\" 0 \"\"\r\n");
        }
        list = InFolder("list.vlt");
        WriteFileBytes(list, contents);
        WriteText(kSettingsKey, "CF", list);
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(velumar.MainWindow()) != FALSE; }));
        SetForegroundWindow(velumar.MainWindow());
    }

    Texts Names() const {
        Texts names;
        for (int row = 0; row < velumar.ListRowCount(kListView); ++row) {
            names.push_back(velumar.ListText(kListView, row, 0));
        }
        return names;
    }

    POINT RowCenter(int row) const { return CenterOf(velumar.ListRowRect(kListView, row)); }

    // The window holding the mouse capture in the program's window thread.
    HWND Capture() const {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof(gui);
        GetGUIThreadInfo(GetWindowThreadProcessId(velumar.MainWindow(), nullptr), &gui);
        return gui.hwndCapture;
    }

    std::string list;
    VelumarProcess velumar;
};

}  // namespace

TEST_F(ListViewTest, DraggingARowMovesItSelectsItAndTheListKeepsTheOrder) {
    ASSERT_NO_FATAL_FAILURE(StartWith({"a.txt", "b.txt", "c.txt"}));
    MouseClick(RowCenter(0));
    ASSERT_TRUE(WaitUntil([&] { return velumar.SelectedRows(kListView) == std::vector<int>{0}; }));
    Sleep(700);  // the drag's press is not a second click
    MouseDrag(RowCenter(0), RowCenter(2));
    EXPECT_TRUE(WaitUntil([&] { return Names() == Texts{"b.txt", "c.txt", "a.txt"}; }, 3000));
    EXPECT_EQ(velumar.SelectedRows(kListView), std::vector<int>{2});
    ASSERT_TRUE(velumar.Exit());
    std::string saved = ReadFileBytes(list);
    EXPECT_LT(saved.find("b.txt"), saved.find("c.txt"));
    EXPECT_LT(saved.find("c.txt"), saved.find("a.txt"));
}

TEST_F(ListViewTest, ADragWhoseMouseCaptureAModalWindowTookDropsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartWith({"a.txt", "b.txt", "c.txt"}));
    MouseClick(RowCenter(0));
    Sleep(700);
    MousePressAndMove(RowCenter(0), RowCenter(2));
    // The drag runs while the list holds the capture; the About box takes it away.
    ASSERT_TRUE(WaitUntil([&] { return Capture() == velumar.Control(kListView); }, 3000));
    velumar.PostCommand(kAboutCommand);
    HWND about = WaitForWindow(velumar.ProcessId(), "About Velumar");
    ASSERT_NE(about, nullptr);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    // Released over the third row once the box is gone.
    MouseRelease(RowCenter(2));
    Sleep(1000);
    EXPECT_EQ(Names(), (Texts{"a.txt", "b.txt", "c.txt"}));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(ListViewTest, HoldingTheDraggedRowBelowTheListScrollsIt) {
    Texts names;
    for (int i = 0; i < 60; ++i) {
        char name[16];
        snprintf(name, sizeof(name), "p%d.txt", 100 + i);
        names.push_back(name);
    }
    ASSERT_NO_FATAL_FAILURE(StartWith(names));
    HWND view = velumar.Control(kListView);
    ASSERT_EQ(SendMessageA(view, LVM_GETTOPINDEX, 0, 0), 0);
    MouseClick(RowCenter(0));
    Sleep(700);
    RECT bounds{};
    GetWindowRect(view, &bounds);
    // Held below the list, then released there: it scrolled, nothing moved.
    const POINT below{(bounds.left + bounds.right) / 2, bounds.bottom + 20};
    MousePressAndMove(RowCenter(0), below);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(view, LVM_GETTOPINDEX, 0, 0) >= 2; }, 2000));
    MouseRelease(below);
    EXPECT_EQ(Names(), names);
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(ListViewTest, DroppedFilesAreInsertedAtTheRowUnderTheDropPoint) {
    ASSERT_NO_FATAL_FAILURE(StartWith({"a.txt", "b.txt", "c.txt"}));
    WriteFileBytes(InFolder("f1.txt"), "x");
    WriteFileBytes(InFolder("f2.txt"), "x");
    HWND view = velumar.Control(kListView);
    POINT onRow1 = RowCenter(1);
    ScreenToClient(view, &onRow1);
    DropFiles(velumar.ProcessId(), view, onRow1, {InFolder("f1.txt"), InFolder("f2.txt")});
    EXPECT_EQ(Names(), (Texts{"a.txt", "f1.txt", "f2.txt", "b.txt", "c.txt"}));
    // Nothing is saved at once; the change is saved at exit.
    EXPECT_EQ(ReadFileBytes(list).find("f1.txt"), std::string::npos);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_NE(ReadFileBytes(list).find("f1.txt"), std::string::npos);
}

TEST_F(ListViewTest, HeaderClicksSortByNameThenFolderWithOneDirectionFlag) {
    ASSERT_NO_FATAL_FAILURE(StartWith({"b.jpg", "A.JPG", "a.png", "a.b.jpg"}));
    HWND header =
        reinterpret_cast<HWND>(SendMessageA(velumar.Control(kListView), LVM_GETHEADER, 0, 0));
    RECT bounds{};
    GetWindowRect(header, &bounds);
    int split = bounds.left + static_cast<int>(SendMessageA(velumar.Control(kListView),
                                                            LVM_GETCOLUMNWIDTH, 0, 0));
    POINT filename{(bounds.left + split) / 2, (bounds.top + bounds.bottom) / 2};
    POINT folder{split + 20, filename.y};
    MouseClick(filename);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return Names() == Texts{"A.JPG", "a.png", "a.b.jpg", "b.jpg"};
        },
        3000));
    Sleep(600);  // not a double-click
    MouseClick(filename);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return Names() == Texts{"b.jpg", "a.b.jpg", "a.png", "A.JPG"};
        },
        3000));
    Sleep(600);
    // All in one folder: the names decide, ascending again.
    MouseClick(folder);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return Names() == Texts{"A.JPG", "a.png", "a.b.jpg", "b.jpg"};
        },
        3000));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(ListViewTest, DoubleClickOnTheOneSelectedRowOpensItsFile) {
    // A file type of the test's own whose "open" copies the file it is given.
    const std::string opened = InFolder("opened.copy");
    SetClass(".velumar-open", "VelumarOpenTest");
    SetClass("VelumarOpenTest\\shell\\open\\command",
             "C:\\windows\\system32\\cmd.exe /c copy \"%1\" \"" + opened + "\"");
    ASSERT_NO_FATAL_FAILURE(StartWith({"a.velumar-open", "b.velumar-open"}));
    // With two rows selected a double-click opens nothing (sent alone, since a real first
    // click would select only its row).
    velumar.SetRowSelected(kListView, 0, true);
    velumar.SetRowSelected(kListView, 1, true);
    POINT onRow = RowCenter(1);
    ScreenToClient(velumar.Control(kListView), &onRow);
    SendMessageA(velumar.Control(kListView), WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM(onRow.x, onRow.y));
    Sleep(1500);
    EXPECT_EQ(GetFileAttributesA(opened.c_str()), INVALID_FILE_ATTRIBUTES);
    MouseClick(RowCenter(0));
    Sleep(700);
    MouseClick(RowCenter(0), 2);
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(opened) == "x"; }, 10000));
    ASSERT_TRUE(velumar.Exit());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".velumar-open");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "VelumarOpenTest");
}

}  // namespace e2e
