// Names in any script at the real Windows edges: files, folder scan, WIC, image headers, code
// page, case.
#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <sstream>

#include "base/utf8.h"
#include "base/win32/text_case.h"
#include "list/folder_scan.h"
#include "list/path_helpers.h"
#include "list/win32/win32_code_page.h"
#include "list/win32/win32_file_system.h"
#include "switching/monitor_items.h"
#include "tests/win32/wic_test_files.h"

namespace {

using namespace wictest;

TEST_F(WicImageTest, FilesNamedInAnyScriptAreScannedReadAndDecoded) {
    const std::vector<std::string> paths = {
        Encode("東京.png", GUID_ContainerFormatPng, {ColorFrame(21, 13)}),
        Encode("Ελλάδα.jpg", GUID_ContainerFormatJpeg, {SmoothFrame(16, 8)}),
        Encode("😀.png", GUID_ContainerFormatPng, {ColorFrame(21, 13)})};
    Win32FileSystem fileSystem;
    std::vector<std::string> found;
    ScanFolder(dir, found, false, fileSystem, mbcs::NoLeadBytes);
    EXPECT_EQ(std::set(found.begin(), found.end()), std::set(paths.begin(), paths.end()));

    const int session = library.cNewSession();
    for (const std::string& path : paths) {
        EXPECT_TRUE(IsExistingFile(path, fileSystem)) << path;
        ASSERT_EQ(library.cLoadImage(session, path.c_str(), 0, 0, 0), 1) << path;
        const bool jpeg = path.ends_with(".jpg");
        ExpectSize(session, jpeg ? 16 : 21, jpeg ? 8 : 13);
        // The shape from the header alone, read in pieces; a quarter turn makes it tall.
        EXPECT_EQ(ReadPictureShape(fileSystem, path, 0, 1), PictureShape::Tall) << path;
    }
    // The library's own bitmap, saved and read back under such a name.
    const std::string bitmap = PathOf("😀.bmp");
    ASSERT_EQ(library.cSave(session, bitmap.c_str(), 2, 0, 0, 0), 1);
    ASSERT_EQ(library.cLoadImage(session, bitmap.c_str(), 0, 0, 0), 1);
    ExpectSize(session, 21, 13);
    library.cDestroySession(session);
    EXPECT_TRUE(RemoveFileUtf8(bitmap));
    EXPECT_FALSE(IsExistingFile(bitmap, fileSystem));

    // A list file under such a name, replaced by a second save.
    const std::string list = PathOf("λίστα.vlt");
    files.push_back(list + ".tmp");
    for (const std::string contents : {"first\r\n", "second\r\n"}) {
        ASSERT_TRUE(fileSystem.SaveFile(list, contents));
        EXPECT_EQ(fileSystem.ReadFile(list), contents);
    }
    const std::optional<FilePart> part = fileSystem.ReadFilePart(list, 2, 100);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->bytes, "cond\r\n");
    EXPECT_EQ(part->fileSize, 8u);
    EXPECT_FALSE(fileSystem.ReadFilePart(PathOf("gone.png"), 0, 4));
}

TEST(CodePageTest, ListTextTakesTheAnsiFormOnlyWhenItIsExact) {
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the cases are in Windows-1252";
    }
    const AnsiCodePage& codePage = SystemAnsiCodePage();
    EXPECT_EQ(codePage.FromUtf8("C:\\café.bmp"), "C:\\caf\xE9.bmp");
    EXPECT_EQ(codePage.ToUtf8("C:\\caf\xE9.bmp"), "C:\\café.bmp");
    // No look-alike ("A" for "Ā") and no default character: either would name another file.
    for (const char* path : {"東京.png", "😀.png", "Ā.png"}) {
        EXPECT_FALSE(codePage.FromUtf8(path)) << path;
    }
}

TEST(TextCaseTest, NamesFoldAlikeExactlyWhenCompareStringOrdinalIgnoringCaseMatches) {
    std::istringstream list(
        "a.JPG A.jpg _a [a Ελλάδα ΕΛΛΆΔΑ ς σ Σ мир МИР ß SS ss İ i I ı é É e 😀 𐐀 𐐨");
    const std::vector<std::string> names{std::istream_iterator<std::string>(list), {}};
    for (const std::string& x : names) {
        for (const std::string& y : names) {
            const bool equal = CompareStringOrdinal(Widen(x).c_str(), -1, Widen(y).c_str(), -1,
                                                    TRUE) == CSTR_EQUAL;
            EXPECT_EQ(
                FoldCaseOrdinal(x, mbcs::NoLeadBytes) == FoldCaseOrdinal(y, mbcs::NoLeadBytes),
                equal)
                << x << " " << y;
        }
    }
}

}  // namespace
