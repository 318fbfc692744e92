// File names in any script and paths past 260 characters, through the real program: added
// with "Add a Folder...", "Add Files..." and a drop, shown in the list, made the wallpaper, kept
// in the list file across Exit and start-up, and opened with "Open selected file".
#include <windows.h>
#include <shlobj.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"
#include "tests/win32/wic_test_files.h"

namespace e2e {
namespace {

constexpr int kFileNameBox = 1148;

struct NamedImage {
    const char* name;  // UTF-8
    GUID container;
    std::array<int, 3> bgr;
};

const NamedImage kImages[] = {
    {"\xE6\x9D\xB1\xE4\xBA\xAC.png", GUID_ContainerFormatPng, {0, 0, 255}},  // 東京, red
    {"\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1.jpg",
     GUID_ContainerFormatJpeg,
     {0, 255, 0}},                                                   // Ελλάδα, green
    {"\xF0\x9F\x98\x80.png", GUID_ContainerFormatPng, {255, 0, 0}},  // 😀, blue
};
// A file name that takes a path past 300 characters.
const std::string kLongName = std::string(30, 'x') + ".bmp";
// 写真 Φ: the folder that holds them.
constexpr const char* kFolderName = "\xE5\x86\x99\xE7\x9C\x9F \xCE\xA6";

// Encodes a solid image under a plain name, then gives it its real one.
bool MakeImage(IWICImagingFactory* factory, const std::string& folder, const NamedImage& image) {
    const std::string plain = folder + "\\plain.tmp";
    return wictest::EncodeFrames(
               factory, plain, image.container,
               {wictest::SolidFrame(64, 48, image.bgr[0], image.bgr[1], image.bgr[2])}) &&
           MoveFileW(Widen(plain).c_str(), Widen(folder + "\\" + image.name).c_str());
}

// A file type's default value in the classes root (Wine reads no per-user classes).
void SetClass(const wchar_t* key, const wchar_t* value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

class UnicodeTest : public VelumarTest {
protected:
    void SetUp() override {
        VelumarTest::SetUp();
        // In Documents, which the folder browser's tree shows (it hides the temporary folder).
        wchar_t documents[MAX_PATH] = {};
        SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents);
        parent = Narrow(documents) + "\\velumar-e2e-unicode";
        pictures = parent + "\\" + kFolderName;
        CreateDirectoryW(Widen(parent).c_str(), nullptr);
        CreateDirectoryW(Widen(pictures).c_str(), nullptr);
        CoInitialize(nullptr);
        ComPtr<IWICImagingFactory> factory;
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put()));
        for (const NamedImage& image : kImages) {
            ASSERT_TRUE(factory && MakeImage(factory.Get(), pictures, image)) << image.name;
        }
        factory.Reset();
        list = InFolder("list.vlt");
        WriteText(kSettingsKey, "CF", list);
        WriteText(kSettingsKey, "PD", pictures);
        WriteText(kSettingsKey, "FD", pictures);
        WriteDword(kSettingsKey, "SA", 0);
        WriteDword(kSettingsKey, "WH", 1);
    }

    void TearDown() override {
        for (const NamedImage& image : kImages) {
            DeleteFileW(Widen(pictures + "\\" + image.name).c_str());
        }
        RemoveDirectoryW(Widen(pictures).c_str());
        RemoveDirectoryW(Widen(parent).c_str());
        // The folders past 260 characters go first, deepest first: the shell's folder removal
        // under Wine cannot follow such paths and strays outside the test's folder.
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            DeleteFileW(Widen("\\\\?\\" + *it + "\\" + kLongName).c_str());
            RemoveDirectoryW(Widen("\\\\?\\" + *it).c_str());
        }
        CoUninitialize();
        VelumarTest::TearDown();
    }

    void Launch() {
        ASSERT_TRUE(velumar.Start());
        ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int row = 0; row < velumar.ListRowCount(kListView); ++row) {
            names.push_back(velumar.ListText(kListView, row, 0));
        }
        return names;
    }

    void SelectOnly(int row) const {
        for (int other = 0; other < velumar.ListRowCount(kListView); ++other) {
            velumar.SetRowSelected(kListView, other, other == row);
        }
    }

    void ShowRow(int row) const {
        SelectOnly(row);
        velumar.SendCommand(kSetSelectionCommand);
    }

    std::string parent;
    std::string pictures;
    // Folders the test made beyond 260 characters.
    std::vector<std::string> made;
    std::string list;
    VelumarProcess velumar;
};

}  // namespace

TEST_F(UnicodeTest, NamesInAnyScriptAreAddedShownSetAsWallpaperAndKeptInTheListFile) {
    ASSERT_NO_FATAL_FAILURE(Launch());
    // "Add a Folder...": the browser starts at the remembered folder.
    velumar.PostCommand(kAddFolderButton);
    HWND browser = WaitForWindow(velumar.ProcessId(), "Browse for Folder");
    ASSERT_NE(browser, nullptr);
    ASSERT_TRUE(ChooseInFolderBrowser(velumar.ProcessId(), browser, pictures));
    PostMessageW(browser, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
    // "Add Files...": the three names typed in the dialog's name box.
    velumar.PostCommand(kAddFilesButton);
    HWND dialog = WaitForWindow(velumar.ProcessId(), "Select File(s)");
    ASSERT_NE(dialog, nullptr);
    std::string typed;
    for (const NamedImage& image : kImages) {
        typed.append("\"").append(image.name).append("\" ");
    }
    SendMessageW(FindDescendant(dialog, kFileNameBox), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Widen(typed).c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    // Dropped as the shell drops them.
    std::vector<std::string> dropped;
    for (const NamedImage& image : kImages) {
        dropped.push_back(pictures + "\\" + image.name);
    }
    DropFiles(velumar.ProcessId(), velumar.Control(kListView), {10, 10}, dropped);
    SendMessageW(velumar.MainWindow(), WM_NULL, 0, 0);

    const std::vector<std::string> expected = {std::string("[").append(kFolderName).append("]"),
                                               kImages[0].name,
                                               kImages[1].name,
                                               kImages[2].name,
                                               kImages[0].name,
                                               kImages[1].name,
                                               kImages[2].name};
    ASSERT_EQ(Names(), expected);
    EXPECT_EQ(velumar.ListText(kListView, 1, 1), pictures);
    // The folder's three files come first in the sequence, in the file system's order. A switch
    // has ended once it selects its source row, the folder's.
    std::vector<std::array<int, 3>> shown;
    for (int i = 0; i < 3; ++i) {
        SelectOnly(3);
        velumar.SendCommand(kSwitchNowCommand);
        ASSERT_TRUE(
            WaitUntil([&] { return velumar.SelectedRows(kListView) == std::vector<int>{0}; }));
        shown.push_back(WallpaperColor());
    }
    std::sort(shown.begin(), shown.end());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(IsNear(shown[i], kImages[i].bgr)) << kImages[i].name;  // red, green, blue
    }
    // Each listed file becomes the wallpaper when set as the selection.
    for (int row = 1; row <= 3; ++row) {
        ShowRow(row);
        EXPECT_TRUE(WaitUntil([&] { return IsNear(WallpaperColor(), kImages[row - 1].bgr); }))
            << kImages[row - 1].name;
    }

    // Kept whole in the list file (UTF-8 with its mark) and read back the same at start-up.
    ASSERT_TRUE(velumar.Exit());
    const std::string saved = ReadFileBytes(list);
    EXPECT_EQ(saved.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(saved.find(pictures + "\\" + kImages[2].name), std::string::npos);
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_EQ(Names(), expected);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_EQ(ReadFileBytes(list), saved);
}

TEST_F(UnicodeTest, OpenSelectedFileOpensANameInAnyScriptAndALongPathIsListed) {
    // The test's own program for the file type: the name it gets shows in its title.
    SetClass(L".velumartest", L"VelumarTest.Document");
    SetClass(L"VelumarTest.Document\\shell\\open\\command", L"notepad.exe \"%1\"");
    const std::string document = pictures + "\\" + kImages[1].name + ".velumartest";
    WriteFileBytes(document, "text");
    // A path of more than 300 characters, in folders the program never made.
    std::string deep = InFolder("");
    deep.pop_back();
    while (deep.size() < 280) {
        deep += "\\" + std::string(40, 'd');
        CreateDirectoryW(Widen("\\\\?\\" + deep).c_str(), nullptr);
        made.push_back(deep);
    }
    const std::string longPath = deep + "\\" + kLongName;
    ASSERT_GT(longPath.size(), 300u);
    const std::string bitmap = SolidBitmap(8, 8, 0, 0, 255);
    WriteFileBytes(InFolder("short.bmp"), bitmap);
    ASSERT_TRUE(
        MoveFileW(Widen(InFolder("short.bmp")).c_str(), Widen("\\\\?\\" + longPath).c_str()));
    WriteFileBytes(list,
                   "\xEF\xBB\xBF"
                   "0\r\n\"" +
                       document + "\" 0 \"\"\r\n");
    ASSERT_NO_FATAL_FAILURE(Launch());

    velumar.PostCommand(kOpenSelectedCommand);
    std::vector<HWND> opened;
    EXPECT_TRUE(WaitUntil([&] {
        opened = TopLevelWindows(0, std::string(kImages[1].name) + ".velumartest");
        return !opened.empty();
    }));
    for (HWND window : opened) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    DropFiles(velumar.ProcessId(), velumar.Control(kListView), {10, 10}, {longPath});
    SendMessageW(velumar.MainWindow(), WM_NULL, 0, 0);
    ASSERT_EQ(velumar.ListRowCount(kListView), 2);
    EXPECT_EQ(velumar.ListText(kListView, 1, 1), deep);
    ASSERT_TRUE(velumar.Exit());
    EXPECT_NE(ReadFileBytes(list).find(longPath), std::string::npos);
    DeleteFileW(Widen(document).c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".velumartest");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"VelumarTest.Document");
}

}  // namespace e2e
