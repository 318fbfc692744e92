// Names in any script through the real Windows edges: the folder scan, file attributes, the
// list file's reads and writes, WIC decoding and the library's bitmap files, and the case fold
// against CompareStringOrdinal.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/win32/text_case.h"
#include "base/win32/wide_text.h"
#include "list/folder_scan.h"
#include "list/path_helpers.h"
#include "list/win32/win32_code_page.h"
#include "list/win32/win32_file_system.h"
#include "tests/win32/wic_test_files.h"

namespace {

using namespace wictest;

// 東京.png, Ελλάδα.jpg and 😀.png.
const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC.png";
const std::string kGreece = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1.jpg";
const std::string kSmiley = "\xF0\x9F\x98\x80.png";

TEST_F(WicImageTest, FilesNamedInAnyScriptAreScannedReadAndDecoded) {
    const Frame color = ColorFrame(21, 13);
    Encode(kTokyo, GUID_ContainerFormatPng, {color});
    Encode(kGreece, GUID_ContainerFormatJpeg, {SmoothFrame(16, 8)});
    Encode(kSmiley, GUID_ContainerFormatPng, {color});

    Win32FileSystem fileSystem;
    std::vector<std::string> found;
    ScanFolder(dir, found, false, fileSystem, mbcs::NoLeadBytes);
    std::sort(found.begin(), found.end());
    std::vector<std::string> expected = {dir + "\\" + kTokyo, dir + "\\" + kGreece,
                                         dir + "\\" + kSmiley};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);

    const int session = library.cNewSession();
    ASSERT_NE(session, 0);
    for (const std::string& path : expected) {
        EXPECT_TRUE(IsExistingFile(path, fileSystem)) << path;
        EXPECT_FALSE(IsFolderPath(path, fileSystem)) << path;
        ASSERT_EQ(library.cLoadImage(session, path.c_str(), 0, 0, 0), 1) << path;
        const bool jpeg = path.ends_with(".jpg");
        ExpectSize(session, jpeg ? 16 : 21, jpeg ? 8 : 13);
    }

    // The library's own bitmap files: written and read back under such a name.
    const std::string bitmap = PathOf("\xF0\x9F\x98\x80.bmp");
    ASSERT_EQ(library.cLoadImage(session, (dir + "\\" + kTokyo).c_str(), 0, 0, 0), 1);
    ASSERT_EQ(library.cSave(session, bitmap.c_str(), 2, 0, 0, 0), 1);
    ASSERT_EQ(library.cLoadImage(session, bitmap.c_str(), 0, 0, 0), 1);
    ExpectSize(session, 21, 13);
    library.cDestroySession(session);

    // A list file under such a name, replaced by a second save.
    const std::string list = PathOf("\xCE\xBB\xCE\xAF\xCF\x83\xCF\x84\xCE\xB1.vlt");
    files.push_back(list + ".tmp");
    for (const std::string contents : {"first\r\n", "second\r\n"}) {
        ASSERT_TRUE(fileSystem.SaveFile(list, contents));
        EXPECT_EQ(fileSystem.ReadFile(list), contents);
    }
}

TEST(CodePageTest, ListTextTakesTheAnsiFormOnlyWhenItIsExact) {
    const AnsiCodePage& codePage = SystemAnsiCodePage();
    // Every character of "C:\café.bmp" is in Windows-1252 (and in UTF-8, the other ANSI code
    // page a Western system may use); 東京 and 😀 are in neither single-byte code page.
    const std::string cafe = "C:\\caf\xC3\xA9.bmp";
    const std::optional<std::string> ansi = codePage.FromUtf8(cafe);
    ASSERT_TRUE(ansi);
    EXPECT_EQ(codePage.ToUtf8(*ansi), cafe);
    if (GetACP() == 1252) {
        EXPECT_EQ(*ansi, "C:\\caf\xE9.bmp");
        EXPECT_FALSE(codePage.FromUtf8(kTokyo));
        EXPECT_FALSE(codePage.FromUtf8(kSmiley));
        // A best-fit look-alike ("A" for "Ā") would name another file.
        EXPECT_FALSE(codePage.FromUtf8("\xC4\x80.png"));
    }
}

TEST(TextCaseTest, NamesFoldAlikeExactlyWhenCompareStringOrdinalIgnoringCaseMatches) {
    const char* const names[] = {
        "a.JPG",
        "A.jpg",
        "_a",
        "[a",
        "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",  // Ελλάδα
        "\xCE\x95\xCE\x9B\xCE\x9B\xCE\x86\xCE\x94\xCE\x91",  // ΕΛΛΆΔΑ
        "\xCF\x82",
        "\xCF\x83",
        "\xCE\xA3",  // ς σ Σ
        "\xD0\xBC\xD0\xB8\xD1\x80",
        "\xD0\x9C\xD0\x98\xD0\xA0",  // мир МИР
        "\xC3\x9F",
        "SS",
        "ss",  // ß
        "\xC4\xB0",
        "i",
        "I",
        "\xC4\xB1",  // İ i I ı
        "\xC3\xA9",
        "\xC3\x89",
        "e",  // é É e
        "\xF0\x9F\x98\x80",
        "\xF0\x90\x90\x80",
        "\xF0\x90\x90\xA8",  // 😀 𐐀 𐐨
    };
    for (const char* x : names) {
        for (const char* y : names) {
            const std::wstring wx = Widen(x);
            const std::wstring wy = Widen(y);
            const bool equal =
                CompareStringOrdinal(wx.c_str(), static_cast<int>(wx.size()), wy.c_str(),
                                     static_cast<int>(wy.size()), TRUE) == CSTR_EQUAL;
            EXPECT_EQ(
                FoldCaseOrdinal(x, mbcs::NoLeadBytes) == FoldCaseOrdinal(y, mbcs::NoLeadBytes),
                equal)
                << x << " " << y;
        }
    }
}

}  // namespace
