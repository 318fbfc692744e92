// Filling the list from the program itself: "Add Files..." through the open dialog with its
// preview panel, "Add a Folder...", the main window's thumbnail pane, opening the selected file,
// and help.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include "tests/e2e/registry_probe.h"
#include "base/win32/wide_text.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"
#include "tests/win32/wic_test_files.h"
#include "ui/help_topics.h"

namespace e2e {
namespace {

constexpr COLORREF kImageColor = RGB(200, 30, 40);
constexpr int kFileNameBox = 1148;

class AddingTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        CoInitialize(nullptr);
        ComPtr<IWICImagingFactory> factory;
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put()));
        CreateDirectoryA(InFolder("pics").c_str(), nullptr);
        CreateDirectoryA(InFolder("pics\\Summer").c_str(), nullptr);
        png = InFolder("pics\\a.png");
        ASSERT_TRUE(factory && wictest::EncodeFrames(factory.Get(), png, GUID_ContainerFormatPng,
                                                     {wictest::SolidFrame(640, 480, 40, 30, 200)}));
        factory.Reset();
        text = InFolder("pics\\b.txt");
        WriteFileBytes(text, "no image");
        list = InFolder("list.vlt");
        WriteText(kSettingsKey, "CF", list);
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
    }

    void TearDown() override {
        CoUninitialize();
        VelumarTest::TearDown();
    }

    void Launch() {
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }

    // "Add Files..." as a click would; the open dialog once it is up.
    HWND OpenAddFiles() {
        velumar.PostCommand(kAddFilesButton);
        return WaitForWindow(velumar.ProcessId(), "Select File(s)");
    }

    // Names the file(s) in the dialog's name box and presses Open.
    void Choose(HWND dialog, const std::string& names) const {
        SendMessageW(FindDescendant(dialog, kFileNameBox), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(Widen(names).c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        SendMessageA(velumar.MainWindow(), WM_NULL, 0, 0);
    }

    std::string ListFile() const { return ReadFileBytes(list); }

    std::string png;
    std::string text;
    std::string list;
    VelumarProcess velumar;
};

// Whether a control below the window shows exactly the text.
}  // namespace

TEST_F(AddingTest, AddFilesAddsTheChosenFilesSavesAtOnceOrAtExitAndRemembersTheFolder) {
    // The dialog opens elsewhere; the full path typed in it names the folder remembered.
    WriteText(kSettingsKey, "PD", InFolder("pics\\Summer"));
    ASSERT_NO_FATAL_FAILURE(Launch());
    HWND dialog = OpenAddFiles();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(FindDescendant(dialog, 1048)), "&Preview");
    EXPECT_NE(FindDescendant(dialog, 1049), nullptr);
    EXPECT_NE(FindDescendant(dialog, 1050), nullptr);
    ASSERT_NO_FATAL_FAILURE(Choose(dialog, png));
    EXPECT_EQ(velumar.ListRowCount(kListView), 1);
    EXPECT_NE(ListFile().find(png), std::string::npos);

    dialog = OpenAddFiles();
    ASSERT_NE(dialog, nullptr);
    // A list file that cannot be written at the moment gets the change at Exit.
    HANDLE lock = CreateFileA(list.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NO_FATAL_FAILURE(Choose(dialog, "\"a.png\" \"b.txt\""));
    EXPECT_EQ(velumar.ListRowCount(kListView), 3);
    EXPECT_EQ(velumar.ListText(kListView, 2, 0), "b.txt");
    EXPECT_EQ(ListFile().find(text), std::string::npos);
    CloseHandle(lock);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_NE(ListFile().find(text), std::string::npos);
    EXPECT_EQ(ReadValue(kSettingsKey, "PD")->AsText(), InFolder("pics"));
}

TEST_F(AddingTest, UniquenessRefusesAListedPathInAnotherCaseYetSavesTheList) {
    WriteDword(kSettingsKey, "EU", 1);
    WriteText(kSettingsKey, "PD", InFolder("pics"));
    // Written by hand: the save at once rewrites it in the program's own form.
    WriteFileBytes(list, "\n" + png + "   0   \"\"\n");
    ASSERT_NO_FATAL_FAILURE(Launch());
    HWND dialog = OpenAddFiles();
    ASSERT_NE(dialog, nullptr);
    std::string upper = png;
    CharUpperA(upper.data());
    ASSERT_NO_FATAL_FAILURE(Choose(dialog, upper));
    EXPECT_EQ(velumar.ListRowCount(kListView), 1);
    EXPECT_EQ(ListFile().find("   0   "), std::string::npos);
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(AddingTest, ThePanelDescribesTheSelectedFileAndShowsItsThumbnail) {
    WriteText(kSettingsKey, "PD", InFolder("pics"));
    ASSERT_NO_FATAL_FAILURE(Launch());
    HWND dialog = OpenAddFiles();
    ASSERT_NE(dialog, nullptr);
    HWND view = nullptr;
    const auto rowsShown = [&](LRESULT count) {
        return WaitUntil([&] {
            view = FindWindowExA(FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr),
                                 nullptr, "SysListView32", nullptr);
            return view != nullptr && SendMessageA(view, LVM_GETITEMCOUNT, 0, 0) == count;
        });
    };
    // "Image Files" comes first and is chosen: the folder and a.png, not b.txt.
    constexpr int kFileTypes = 0x470;
    HWND types = FindDescendant(dialog, kFileTypes);
    EXPECT_EQ(ComboItemText(types, 0).rfind("Image Files (*.bmp;*.dib;*.jpg;", 0), 0u);
    EXPECT_NE(ComboItemText(types, 0).find(";*.webp;*.avif;*.heic;*.heif;"), std::string::npos);
    EXPECT_EQ(ComboItemText(types, 1), "All Files");
    EXPECT_TRUE(rowsShown(2));
    // Chosen as a user does: Wine's dialog acts on the end of the choice, Windows' on the change.
    SendMessageA(types, CB_SETCURSEL, 1, 0);
    for (const WORD code : {CBN_SELENDOK, CBN_SELCHANGE}) {
        SendMessageA(GetParent(types), WM_COMMAND, MAKEWPARAM(kFileTypes, code),
                     reinterpret_cast<LPARAM>(types));
    }
    ASSERT_TRUE(rowsShown(3));
    HWND info = FindDescendant(dialog, 1050);
    HWND pane = FindDescendant(dialog, 1049);
    // Rows in name order: the folder Summer first, then a.png and b.txt.
    ASSERT_EQ(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0), 3);
    SetListRowSelected(velumar.ProcessId(), view, 1, true);
    EXPECT_TRUE(WaitUntil(
        [&] { return WindowText(info).rfind("Image: 640 * 480 pixels\r\nPages: 1\r\n", 0) == 0; }));
    EXPECT_GT(WindowText(info).size(),
              std::string("Image: 640 * 480 pixels\r\nPages: 1\r\n").size());
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(CenterOf(pane)) == kImageColor; }));

    SetListRowSelected(velumar.ProcessId(), view, 1, false);
    SetListRowSelected(velumar.ProcessId(), view, 2, true);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(info) == "Not an image?"; }));

    // Unchecking "Preview" is remembered.
    SendMessageA(FindDescendant(dialog, 1048), BM_CLICK, 0, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_EQ(velumar.ListRowCount(kListView), 0);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadValue(kSettingsKey, "OP")->AsDword(), 0u);
}

TEST_F(AddingTest, AddAFolderAddsOneRowAndRemembersItsParent) {
    // In Documents, which the folder browser's tree shows (it hides the temporary folder).
    char documents[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, documents);
    const std::string parent = std::string(documents) + "\\velumar-e2e-folders";
    const std::string summer = parent + "\\Summer";
    CreateDirectoryA(parent.c_str(), nullptr);
    CreateDirectoryA(summer.c_str(), nullptr);
    WriteText(kSettingsKey, "FD", summer);
    ASSERT_NO_FATAL_FAILURE(Launch());
    velumar.PostCommand(kAddFolderButton);
    HWND browser = WaitForWindow(velumar.ProcessId(), "Browse for Folder");
    ASSERT_NE(browser, nullptr);
    // The browser starts at the remembered folder, which its status text then names. Wine's
    // browser now and then drops that first selection while it is still filling its tree;
    // the folder is then chosen in it the way the program does.
    EXPECT_TRUE(ChooseInFolderBrowser(velumar.ProcessId(), browser, summer));
    PostMessageA(browser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
    SendMessageA(velumar.MainWindow(), WM_NULL, 0, 0);
    ASSERT_EQ(velumar.ListRowCount(kListView), 1);
    EXPECT_EQ(velumar.ListText(kListView, 0, 0), "[Summer]");
    EXPECT_EQ(velumar.ListText(kListView, 0, 1), parent);
    EXPECT_NE(ListFile().find(summer), std::string::npos);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadValue(kSettingsKey, "FD")->AsText(), parent);
    RemoveDirectoryA(summer.c_str());
    RemoveDirectoryA(parent.c_str());
}

TEST_F(AddingTest, ThePaneFollowsTheSelectionAndThePreviewBox) {
    WriteFileBytes(list, "0\r\n" + png + " 0 \"\"\r\n");
    ASSERT_NO_FATAL_FAILURE(Launch());
    HWND pane = velumar.Control(kPreviewFrame);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(velumar.MainWindow()) != FALSE; }));
    // The selection restored at start-up is shown after the next refresh.
    velumar.SetRowSelected(kListView, 0, false);
    velumar.SetRowSelected(kListView, 0, true);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(CenterOf(pane)) == kImageColor; }));
    EXPECT_EQ(velumar.ControlText(kInfoBox).rfind("Image: 640 * 480 pixels\r\nPages: 1\r\n", 0),
              0u);
    SendMessageA(velumar.Control(kPreviewCheck), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(CenterOf(pane)) != kImageColor; }));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(AddingTest, OpenSelectedFileReportsAFileTypeWithoutAProgram) {
    const std::string odd = InFolder("pics\\c.velumar-test");
    WriteFileBytes(odd, "data");
    WriteFileBytes(list, "0\r\n" + odd + " 0 \"\"\r\n");
    ASSERT_NO_FATAL_FAILURE(Launch());
    velumar.PostCommand(kOpenSelectedCommand);
    EXPECT_EQ(DismissMessageBox(velumar.ProcessId()),
              "Windows reports that there is no application associated with this type of file.");
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(AddingTest, HelpOpensItsContentsAndShowsEachControlsPopupText) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_F1, 0);
    PostMessageA(velumar.Control(kListView), WM_KEYUP, VK_F1, 0xC0000001);
    EXPECT_NE(WaitForWindow(velumar.ProcessId(), "Velumar Help"), nullptr);

    for (int id : {kAddFilesButton, kStartStopButton, kListView}) {
        SendHelpRequest(velumar.MainWindow(), velumar.Control(id));
        HWND popup = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            popup = FindWindowA("VelumarHelpPopup", nullptr);
            return popup != nullptr && IsWindowVisible(popup);
        }));
        std::optional<std::string_view> expected =
            PopupHelpText(kControlHelpBase + static_cast<unsigned>(id));
        ASSERT_TRUE(expected) << id;
        EXPECT_EQ(WindowText(popup), std::string(*expected)) << id;
    }
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(FindWindowA(nullptr, "Velumar Help"), nullptr);
}

TEST_F(AddingTest, F1WithoutTheHelpFileNamesTheFileItLookedFor) {
    // A copy of the program in a folder of its own: no help file beside it.
    const std::string copy = InFolder("Velumar.exe");
    ASSERT_TRUE(CopyFileA(VelumarExePath().c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(velumar.Start(copy));
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_F1, 0);
    PostMessageA(velumar.Control(kListView), WM_KEYUP, VK_F1, 0xC0000001);
    EXPECT_EQ(DismissMessageBox(velumar.ProcessId()),
              "The help file " + InFolder("Velumar.chm") + " cannot be found.");
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace e2e
