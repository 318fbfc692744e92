// The main window's frame in the real program: every way it ends, the control layout, the
// remembered rectangle, hiding to the notification area, the tray menu, the start-at-logon
// shortcut and the end of the session.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "base/win32/com_ptr.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

class WindowTest : public VelumarTest {
protected:
    // Starts on a one-row list with the row selected, switching off.
    void Launch() {
        list = InFolder("list.vlt");
        WriteFileBytes(InFolder("sunset.jpg"), "not really a jpeg");
        WriteFileBytes(list, "0\r\n" + InFolder("sunset.jpg") + " 0 \"\"\r\n");
        WriteText(kSettingsKey, "CF", list);
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
        WriteDword(kSettingsKey, "SW", 0);
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }

    // Edits the selected row's pages as a user typing would; the list is then modified.
    void ChangeList() const {
        SendMessageA(velumar.Control(kPagesEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("3"));
    }

    bool ListWasSaved() const { return ReadFileBytes(list).find("\"3\"") != std::string::npos; }

    bool Visible() const { return IsWindowVisible(velumar.MainWindow()) != FALSE; }

    // The popup menu of the notification-area icon, once it is open.
    HWND TrayMenuWindow() const {
        HWND menu = nullptr;
        WaitUntil(
            [&] {
                menu = FindWindowA("#32768", nullptr);
                return menu != nullptr && IsWindowVisible(menu);
            },
            5000);
        return menu;
    }

    // Right-clicks the icon and picks the n-th command of its menu with the keyboard.
    void ChooseFromTrayMenu(int position) const {
        PostMessageA(velumar.MainWindow(), kTrayCallback, kTrayIconId, WM_RBUTTONUP);
        HWND menu = TrayMenuWindow();
        ASSERT_NE(menu, nullptr);
        for (int i = 0; i <= position; ++i) {
            PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        }
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }

    std::string list;
    VelumarProcess velumar;
};

// Control rectangles in the main window's client coordinates, in layout order.
struct Layout {
    SIZE client{};
    std::vector<RECT> controls;
};

constexpr int kLaidOut[] = {kListView,       kInfoBox,         kPreviewFrame, kStartStopButton,
                            kAddFilesButton, kAddFolderButton, kRemoveButton, kRotateLabel,
                            kRotationCombo,  kPagesLabel,      kPagesEdit,    kPreviewCheck};

Layout ReadLayout(const VelumarProcess& velumar) {
    Layout layout;
    RECT client{};
    GetClientRect(velumar.MainWindow(), &client);
    layout.client = {client.right, client.bottom};
    for (int id : kLaidOut) {
        RECT r{};
        GetWindowRect(velumar.Control(id), &r);
        MapWindowPoints(nullptr, velumar.MainWindow(), reinterpret_cast<POINT*>(&r), 2);
        layout.controls.push_back(r);
    }
    return layout;
}

// Resizes the window so that its client area gets the size (as far as the system allows).
Layout ResizeClient(const VelumarProcess& velumar, int cx, int cy) {
    HWND window = velumar.MainWindow();
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    int width = cx + (outer.right - outer.left) - client.right;
    int height = cy + (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    return ReadLayout(velumar);
}

// The rectangle a control of the table gets for a change of the client size.
RECT Moved(int id, RECT r, int dx, int dy) {
    switch (id) {
        case kListView:
            return {r.left, r.top, r.right, r.bottom + dy};
        case kInfoBox:
            return {r.left, r.top + dy, r.right, r.bottom + dy};
        case kPreviewFrame:
            return {r.left, r.top, r.right + dx, r.bottom + dy};
        case kPreviewCheck:  // left where it is
            return r;
        default:
            return {r.left + dx, r.top, r.right + dx, r.bottom};
    }
}

void ExpectSameRects(const std::vector<RECT>& actual, const std::vector<RECT>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_TRUE(EqualRect(&actual[i], &expected[i]))
            << kLaidOut[i] << ": " << actual[i].left << "," << actual[i].top << ","
            << actual[i].right << "," << actual[i].bottom << " expected " << expected[i].left << ","
            << expected[i].top << "," << expected[i].right << "," << expected[i].bottom;
    }
}

}  // namespace

TEST_F(WindowTest, EveryWayOfEndingSavesTheChangedListAndFreesTheNextStart) {
    struct Way {
        const char* name;
        std::function<void()> end;
    };
    const Way ways[] = {
        {"Exit sent",
         [this] {
             DWORD_PTR ignored = 0;
             SendMessageTimeoutA(velumar.MainWindow(), WM_COMMAND, kExitCommand, 0, SMTO_BLOCK,
                                 5000, &ignored);
         }},
        {"Exit posted", [this] { velumar.PostCommand(kExitCommand); }},
        {"close sent",
         [this] {
             DWORD_PTR ignored = 0;
             SendMessageTimeoutA(velumar.MainWindow(), WM_CLOSE, 0, 0, SMTO_BLOCK, 5000, &ignored);
         }},
        {"Escape", [this] { PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"tray Close", [this] { ChooseFromTrayMenu(10); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_NO_FATAL_FAILURE(Launch());
        ChangeList();
        way.end();
        ASSERT_TRUE(velumar.WaitForExit(2000));
        EXPECT_EQ(velumar.ExitCode(), 0u);
        EXPECT_TRUE(ListWasSaved());
        EXPECT_TRUE(ReadValue(kSettingsKey, "PE"));
        DeleteTree(kCompanyKey);
    }
    // Enter does not end the program; the last copy has gone, so this is a first copy again.
    ASSERT_NO_FATAL_FAILURE(Launch());
    PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_RETURN, 0);
    Sleep(300);
    EXPECT_TRUE(velumar.IsRunning());
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(WindowTest, ResizingLaysOutTheControlsAndTheRectangleIsRemembered) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    const Layout start = ReadLayout(velumar);

    Layout grown = ResizeClient(velumar, start.client.cx + 40, start.client.cy + 30);
    std::vector<RECT> expected;
    for (size_t i = 0; i < start.controls.size(); ++i) {
        expected.push_back(Moved(kLaidOut[i], start.controls[i], grown.client.cx - start.client.cx,
                                 grown.client.cy - start.client.cy));
    }
    ExpectSameRects(grown.controls, expected);

    // The window stops shrinking where the layout stops following (100 pixels below the
    // template's client size): asked for far less, it keeps every control laid out as usual.
    const Layout tiny = ResizeClient(velumar, 60, 60);
    EXPECT_GT(tiny.client.cx, 200);
    EXPECT_GT(tiny.client.cy, 200);
    expected.clear();
    for (size_t i = 0; i < start.controls.size(); ++i) {
        expected.push_back(Moved(kLaidOut[i], start.controls[i], tiny.client.cx - start.client.cx,
                                 tiny.client.cy - start.client.cy));
    }
    ExpectSameRects(tiny.controls, expected);

    SetWindowPos(velumar.MainWindow(), nullptr, 50, 60, 640, 470, SWP_NOZORDER);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadValue(kSettingsKey, "PL")->AsDword(), 50u);
    EXPECT_EQ(ReadValue(kSettingsKey, "PT")->AsDword(), 60u);
    EXPECT_EQ(ReadValue(kSettingsKey, "PR")->AsDword(), 690u);
    EXPECT_EQ(ReadValue(kSettingsKey, "PB")->AsDword(), 530u);
}

TEST_F(WindowTest, ControlsMovedIntoAGrownWindowArePainted) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    const Layout start = ReadLayout(velumar);
    SetForegroundWindow(velumar.MainWindow());
    const Layout grown = ResizeClient(velumar, start.client.cx + 150, start.client.cy + 100);
    // The outer edge of each moved button and of the information box is drawn, unlike the face
    // and the window's background around it.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    std::string unpainted;
    EXPECT_TRUE(WaitUntil(
        [&] {
            unpainted.clear();
            for (int id : {kAddFilesButton, kAddFolderButton, kRemoveButton, kInfoBox}) {
                RECT r{};
                GetWindowRect(velumar.Control(id), &r);
                if (ScreenPixel({r.right - 1, (r.top + r.bottom) / 2}) == face ||
                    ScreenPixel({(r.left + r.right) / 2, r.bottom - 1}) == face) {
                    unpainted.append(" ").append(std::to_string(id));
                }
            }
            return unpainted.empty();
        },
        1000))
        << "controls with an edge not drawn:" << unpainted;
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(WindowTest, ARectangleOffTheScreenIsBroughtBack) {
    StoreWindowRect({5000, 4000, 5620, 4450});
    ASSERT_NO_FATAL_FAILURE(Launch());
    RECT rect{};
    GetWindowRect(velumar.MainWindow(), &rect);
    EXPECT_NE(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(rect.right - rect.left, 620);
    EXPECT_EQ(rect.bottom - rect.top, 450);
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(WindowTest, ANewDpiTakesTheSuggestedRectangleAndScalesTheLayout) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    const Layout start = ReadLayout(velumar);
    // At 144 DPI the window is suggested half as large again.
    const RECT suggested{10, 20, 940, 695};
    SendDpiChanged(velumar.ProcessId(), velumar.MainWindow(), 144, suggested);
    RECT frame{};
    GetWindowRect(velumar.MainWindow(), &frame);
    EXPECT_TRUE(EqualRect(&frame, &suggested));
    const Layout scaled = ReadLayout(velumar);
    // Each control where the layout puts the one-and-a-half-times larger controls for the new
    // client size (a pixel or two apart where the halves are rounded). A drop-down list's closed
    // height follows its font, which is the system's part.
    const auto grown = [](LONG v) { return v * 3 / 2; };
    for (size_t i = 0; i < start.controls.size(); ++i) {
        const RECT& r = start.controls[i];
        const RECT e = Moved(
            kLaidOut[i], {grown(r.left), grown(r.top), grown(r.right), grown(r.bottom)},
            scaled.client.cx - grown(start.client.cx), scaled.client.cy - grown(start.client.cy));
        const RECT& a = scaled.controls[i];
        EXPECT_TRUE(std::abs(a.left - e.left) <= 2 && std::abs(a.top - e.top) <= 2 &&
                    std::abs(a.right - e.right) <= 2 &&
                    (kLaidOut[i] == kRotationCombo || std::abs(a.bottom - e.bottom) <= 2))
            << kLaidOut[i] << ": " << a.left << "," << a.top << "," << a.right << "," << a.bottom
            << " expected " << e.left << "," << e.top << "," << e.right << "," << e.bottom;
    }
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(WindowTest, TheOpenDialogOverAWindowInTheCornerStaysInsideTheWorkArea) {
    StoreWindowRect({1, 1, 481, 351});
    ASSERT_NO_FATAL_FAILURE(Launch());
    velumar.PostCommand(kAddFilesButton);
    HWND open = WaitForWindow(velumar.ProcessId(), "Select File(s)");
    ASSERT_NE(open, nullptr);
    RECT dialog{};
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(WaitUntil(
        [&] {
            GetWindowRect(open, &dialog);
            return dialog.left >= work.left && dialog.top >= work.top &&
                   dialog.right <= work.right && dialog.bottom <= work.bottom;
        },
        1000))
        << dialog.left << "," << dialog.top << "," << dialog.right << "," << dialog.bottom;
    PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(open); }));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(WindowTest, HidingAndShowingThroughKeysSystemCommandsAndTheTray) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_TRUE(WaitUntil([&] { return Visible(); }));

    PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_F5, 0);
    EXPECT_TRUE(WaitUntil([&] { return !Visible(); }, 3000));
    SendMessageA(velumar.MainWindow(), kTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(Visible());

    PostMessageA(velumar.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !Visible(); }, 3000));
    EXPECT_FALSE(IsIconic(velumar.MainWindow()));
    ChooseFromTrayMenu(7);  // "Display Velumar"
    EXPECT_TRUE(WaitUntil([&] { return Visible(); }, 3000));

    SendMessageA(velumar.MainWindow(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(IsZoomed(velumar.MainWindow()));

    // The tray menu as the program carries it.
    HMODULE exe = LoadLibraryExA(VelumarExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HMENU menu = LoadMenuA(exe, MAKEINTRESOURCEA(kTrayMenu));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    std::vector<std::pair<UINT, std::string>> items;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        char text[128] = {};
        GetMenuStringA(popup, i, text, sizeof(text), MF_BYPOSITION);
        items.emplace_back(GetMenuItemID(popup, i), text);
    }
    DestroyMenu(menu);
    FreeLibrary(exe);
    // The switching and picture commands above the items every copy has had, apart from them.
    const std::vector<std::pair<UINT, std::string>> expected = {
        {kSwitchNowCommand, "&Next wallpaper"},
        {kPreviousWallpaperCommand, "Pre&vious wallpaper"},
        {kPauseSwitchingCommand, "&Pause switching"},
        {32792, "&Never show this picture"},
        {32793, "&Favourite"},
        {32794, "Show in &folder"},
        {32795, "&Open picture"},
        {0, ""},
        {kDisplayCommand, "Display Velumar"},
        {0, ""},
        {kSwitchNowCommand, "Switch wallpaper now"},
        {kRemoveWallpaperCommand, "Remove wallpaper now"},
        {kExitCommand, "Close"},
    };
    EXPECT_EQ(items, expected);
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(WindowTest, HiddenAtStartUpUntilTheIconIsTouchedOrASecondStart) {
    WriteDword(kSettingsKey, "HI", 1);
    ASSERT_NO_FATAL_FAILURE(Launch());
    Sleep(500);
    EXPECT_FALSE(Visible());
    // A show request is held back until a mouse message over the icon.
    velumar.SendCommand(kDisplayCommand);
    EXPECT_FALSE(Visible());
    SendMessageA(velumar.MainWindow(), kTrayCallback, kTrayIconId, WM_MOUSEMOVE);
    velumar.SendCommand(kDisplayCommand);
    EXPECT_TRUE(Visible());
    ASSERT_TRUE(velumar.Exit());

    ASSERT_NO_FATAL_FAILURE(Launch());
    Sleep(500);
    EXPECT_FALSE(Visible());
    VelumarProcess second;
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.WaitForExit(10000));
    EXPECT_TRUE(WaitUntil([&] { return Visible(); }));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == velumar.MainWindow(); }));
    ASSERT_TRUE(velumar.Exit());
}

TEST_F(WindowTest, StartupCommandWritesOneShortcutToVelumarExe) {
    // The Startup folder moved, as the shell allows, to a folder whose path is longer than 255
    // characters, though short enough for the shell.
    const char* shellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    const std::string startup = InFolder(std::string(258 - InFolder("").size(), 's'));
    ASSERT_TRUE(CreateDirectoryA(startup.c_str(), nullptr));
    WriteText(shellFolders, "Startup", startup);
    // A copy under another name still points its shortcut at Velumar.exe.
    const std::string renamed = InFolder("Wallpapers.exe");
    ASSERT_TRUE(CopyFileA(VelumarExePath().c_str(), renamed.c_str(), FALSE));
    WriteText("Software\\Quorwick\\Wallpapers\\Settings", "CF", InFolder("none.vlt"));
    WriteDword("Software\\Quorwick\\Wallpapers\\Settings", "SA", 0);
    WriteDword("Software\\Quorwick\\Wallpapers\\Settings", "SW", 0);
    ASSERT_TRUE(velumar.Start(renamed));
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    velumar.SendCommand(kStartupShortcutCommand);
    velumar.SendCommand(kStartupShortcutCommand);
    ASSERT_TRUE(velumar.Exit());
    // Without the value the shell goes back to its own Startup folder.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, shellFolders, "Startup");

    // Paths this long need the wide API.
    const std::wstring folder(startup.begin(), startup.end());
    const std::wstring shortcut = folder + L"\\Shortcut to Velumar.exe.lnk";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*.lnk").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int count = 1;
    while (FindNextFileW(search, &found)) {
        ++count;
    }
    FindClose(search);
    EXPECT_EQ(count, 1);

    ComPtr<IShellLinkA> link;
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(link.Put())),
              S_OK);
    ComPtr<IPersistFile> file;
    ASSERT_EQ(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put())),
              S_OK);
    ASSERT_EQ(file.Get()->Load(shortcut.c_str(), STGM_READ), S_OK);
    char target[MAX_PATH] = {};
    link.Get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    char description[MAX_PATH] = {};
    link.Get()->GetDescription(description, MAX_PATH);
    EXPECT_STREQ(target, InFolder("Velumar.exe").c_str());
    EXPECT_STREQ(description, "Shortcut to Velumar.exe");
    file.Reset();
    link.Reset();
    CoUninitialize();
    DeleteFileW(shortcut.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(WindowTest, EndOfTheSessionSavesTheListAndSettingsWithoutHoldingItBack) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    ChangeList();
    SendMessageA(velumar.Control(kPreviewCheck), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(velumar.MainWindow(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageA(velumar.MainWindow(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(ListWasSaved());
    EXPECT_EQ(ReadValue(kSettingsKey, "PE")->AsText(), "5:00");
    EXPECT_EQ(ReadValue(kSettingsKey, "PRV")->AsDword(), 0u);
    ASSERT_TRUE(velumar.Exit());
}

}  // namespace e2e
