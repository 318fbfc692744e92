// A copy with Velumar.ini beside it keeps everything there, moves with it, and on a folder it
// cannot write runs with what it read.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {

namespace {

// The welcome, switching at start-up and by itself off, as the other tests have them.
constexpr const char* kQuietStart = "[Settings]\r\nSW=0\r\nSA=0\r\nWH=1\r\nRA=1\r\nNR=1\r\n";

std::string LocalAppDataFile(const std::string& name) {
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    return std::string(local) + "\\Quorwick\\Velumar\\" + name;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class PortableTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        DeleteTree(kCompanyKey);
        stick = InFolder("stick");
        ASSERT_TRUE(CreateDirectoryA(stick.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA(VelumarExePath().c_str(), (stick + "\\Velumar.exe").c_str(), FALSE));
        WriteFileBytes(stick + "\\Velumar.ini", kQuietStart);
        // Two pictures told apart by their sizes.
        WriteFileBytes(stick + "\\a.bmp", SolidBitmap(30, 20, 0, 0, 200));
        WriteFileBytes(stick + "\\b.bmp", SolidBitmap(40, 30, 0, 200, 0));
        DeleteFileA(WallpaperFile().c_str());
    }

    void Launch(const std::string& folder) {
        ASSERT_TRUE(velumar.Start(folder + "\\Velumar.exe"));
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }

    // Sends the command and waits for another picture on the desktop, until the window has
    // heard of it (the information box names it, or gives its size when its row is the
    // selected one); that size.
    std::pair<int, int> Shows(int command) {
        const std::uint64_t before = FileIndex(WallpaperFile());
        velumar.SendCommand(command);
        EXPECT_TRUE(WaitUntil([&] { return FileIndex(WallpaperFile()) != before; }));
        const std::pair<int, int> size = WallpaperSize();
        const std::string name = size.first == 30 ? "a.bmp" : "b.bmp";
        const std::string told =
            "Image: " + std::to_string(size.first) + " * " + std::to_string(size.second);
        EXPECT_TRUE(WaitUntil([&] {
            const std::string info = velumar.ControlText(kInfoBox);
            const std::size_t onDesktop = info.find("On the desktop: ");
            return onDesktop == std::string::npos ? info.find(told) != std::string::npos
                                                  : info.find(name, onDesktop) != std::string::npos;
        })) << velumar.ControlText(kInfoBox);
        return size;
    }

    std::string stick;
    VelumarProcess velumar;
};

}  // namespace

TEST_F(PortableTest, EverythingStaysBesideTheProgramAndMovesWithIt) {
    // The default list is in Velumar-data, made at the first start.
    ASSERT_NO_FATAL_FAILURE(Launch(stick));
    ASSERT_TRUE(velumar.Exit());
    const std::string data = stick + "\\Velumar-data";
    ASSERT_TRUE(Exists(data));
    WriteFileBytes(data + "\\Velumar.vlt",
                   "\r\n" + stick + "\\a.bmp 0 \"\"\r\n" + stick + "\\b.bmp 0 \"\"\r\n");

    ASSERT_NO_FATAL_FAILURE(Launch(stick));
    EXPECT_EQ(velumar.ListRowCount(kListView), 2);
    PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_F6, 0);
    HWND sheet = WaitForWindow(velumar.ProcessId(), "Velumar Properties");
    ASSERT_NE(sheet, nullptr);
    HWND interval = FindDescendant(sheet, 1016);
    SendMessageA(interval, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0:45:00"));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    const std::pair<int, int> first = Shows(kSwitchNowCommand);
    const std::pair<int, int> second = Shows(kSwitchNowCommand);
    EXPECT_NE(first, second);
    ASSERT_TRUE(velumar.Exit());

    EXPECT_FALSE(KeyExists(kCompanyKey));
    const std::string ini = ReadFileBytes(stick + "\\Velumar.ini");
    EXPECT_NE(ini.find("PE=0:45:00\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("CF=.\\Velumar-data\\Velumar.vlt\r\n"), std::string::npos) << ini;
    EXPECT_NE(ReadFileBytes(data + "\\history.txt").find("b.bmp"), std::string::npos)
        << ReadFileBytes(data + "\\history.txt");
    EXPECT_TRUE(Exists(data + "\\deck.txt"));
    EXPECT_FALSE(Exists(LocalAppDataFile("history.txt")));
    EXPECT_FALSE(Exists(LocalAppDataFile("deck.txt")));

    // Another folder, as on another PC: the same list, settings and history.
    const std::string moved = InFolder("moved");
    ASSERT_TRUE(CreateDirectoryA(moved.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((moved + "\\Velumar-data").c_str(), nullptr));
    for (const char* file : {"Velumar.exe", "Velumar.ini", "Velumar-data\\Velumar.vlt",
                             "Velumar-data\\history.txt", "Velumar-data\\deck.txt"}) {
        ASSERT_TRUE(CopyFileA((stick + "\\" + file).c_str(), (moved + "\\" + file).c_str(), FALSE))
            << file;
    }
    ASSERT_NO_FATAL_FAILURE(Launch(moved));
    EXPECT_EQ(velumar.ListRowCount(kListView), 2);
    EXPECT_EQ(Shows(kPreviousWallpaperCommand), first);
    PostMessageA(velumar.Control(kListView), WM_KEYDOWN, VK_F6, 0);
    sheet = WaitForWindow(velumar.ProcessId(), "Velumar Properties");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(WindowText(FindDescendant(sheet, 1016)), "0:45:00");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    ASSERT_TRUE(velumar.Exit());
    EXPECT_FALSE(KeyExists(kCompanyKey));
}

TEST_F(PortableTest, AFolderThatCannotBeWrittenIsToldOnceAndNothingIsWritten) {
    const std::string ini = stick + "\\Velumar.ini";
    WriteFileBytes(ini, std::string(kQuietStart) + "CF=" + InFolder("list.vlt") + "\r\n");
    WriteFileBytes(InFolder("list.vlt"),
                   "\r\n" + stick + "\\a.bmp 0 \"\"\r\n" + stick + "\\b.bmp 0 \"\"\r\n");
    const std::string before = ReadFileBytes(ini);
    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(velumar.Start(stick + "\\Velumar.exe"));
    EXPECT_NE(DismissMessageBox(velumar.ProcessId()).find("Velumar cannot write to " + stick),
              std::string::npos);
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    EXPECT_EQ(velumar.ListRowCount(kListView), 2);
    Shows(kSwitchNowCommand);
    Shows(kSwitchNowCommand);
    // Told once: no other message box came.
    for (HWND window : TopLevelWindows(velumar.ProcessId(), "Velumar")) {
        EXPECT_NE(WindowText(window), "Velumar");
    }
    ASSERT_TRUE(velumar.Exit());
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(ini), before);
    EXPECT_FALSE(Exists(stick + "\\Velumar-data"));
    EXPECT_FALSE(KeyExists(kCompanyKey));
    EXPECT_FALSE(Exists(LocalAppDataFile("history.txt")));
}

}  // namespace e2e
