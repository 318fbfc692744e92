// Adding chosen files: splitting the open dialog's buffer, the uniqueness rule, the preview
// panel's reading of the name box, the shell's results as messages, and the bitmap layouts the
// thumbnail pane paints.
#include <gtest/gtest.h>

#include <cstring>

#include "imagelib/dib.h"
#include "list/add_entries.h"
#include "render/dib_rows.h"
#include "tests/unit/fake_file_system.h"
#include "ui/preview_panel.h"
#include "ui/shell_open.h"

using namespace std::string_literals;
using Paths = std::vector<std::string>;

TEST(AddingFiles, TheDialogsBufferGivesFullPaths) {
    struct Case {
        std::string buffer;
        Paths paths;
    };
    const Case cases[] = {
        {"C:\\Pics\\a.jpg\0\0"s, {"C:\\Pics\\a.jpg"}},
        {"C:\\Pics\0a.jpg\0b.png\0c.gif\0\0"s,
         {"C:\\Pics\\a.jpg", "C:\\Pics\\b.png", "C:\\Pics\\c.gif"}},
        {"C:\\\0a.jpg\0b.jpg\0\0"s, {"C:\\a.jpg", "C:\\b.jpg"}},
        {"\0ignored\0\0"s, {}},
        // A buffer without its final empty part ends at its size.
        {"C:\\Pics\0a.jpg"s, {"C:\\Pics\\a.jpg"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitSelection(c.buffer, mbcs::NoLeadBytes), c.paths) << c.buffer;
    }
}

TEST(AddingFiles, UniquenessRefusesListedPathsInAnyCaseAndRepeatsWithinOneAdd) {
    for (bool enforce : {false, true}) {
        AppSettings settings;
        settings.enforceUniqueness = enforce;
        FakeFileSystem fs;
        WallpaperRows rows{settings, fs, PathCase{}};
        rows.AddEntry("C:\\Pics\\a.jpg");
        int added = AddPaths({"c:\\PICS\\A.JPG", "C:\\Pics\\b.jpg", "C:\\Pics\\b.jpg"}, rows);
        EXPECT_EQ(added, enforce ? 1 : 3);
        EXPECT_EQ(rows.Count(), enforce ? 2 : 4);
    }
}

TEST(AddingFiles, ThePanelLooksUpOnlyASingleName) {
    EXPECT_EQ(ClassifyFileNameText(""), PanelSelection::None);
    EXPECT_EQ(ClassifyFileNameText("\"a.jpg\" \"b.jpg\""), PanelSelection::None);
    EXPECT_EQ(ClassifyFileNameText("a.jpg"), PanelSelection::SinglePath);
    EXPECT_EQ(ClassifyFileNameText("Holiday"), PanelSelection::SinglePath);
}

TEST(AddingFiles, ImageFilesListOurFormatsThenTheSystemsEachOnce) {
    const std::string own =
        "*.bmp;*.dib;*.jpg;*.jpeg;*.jpe;*.jfif;*.png;*.gif;*.tif;*.tiff;*.ico;*.webp;*.avif;"
        "*.heic;*.heif;*.hif;*.jxl";
    const struct {
        std::vector<std::string> system;
        std::string patterns;
    } cases[] = {
        {{}, own},
        // WIC's lists, in any case, with what we read already and a raw format's extensions.
        {{".BMP,.DIB,.RLE", ".jpeg,.jpe,.jpg,.jfif,.exif", ".CR2,.NEF"},
         own + ";*.rle;*.exif;*.cr2;*.nef"},
        // Patterns and stray separators; no dot, or a wildcard after it, is no extension.
        {{"*.arw; *.dng;;", "raw", ".*", "."}, own + ";*.arw;*.dng"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageFilePatterns(c.system), c.patterns);
    }
}

TEST(ShellOpen, EveryResultHasItsMessage) {
    struct Case {
        std::intptr_t result;
        std::optional<OpenFailureMessage> message;
    };
    const Case cases[] = {
        {0, OpenFailureMessage{107, false}},
        {2, OpenFailureMessage{105, true}},
        {3, OpenFailureMessage{105, true}},
        {5, OpenFailureMessage{108, false}},
        {8, OpenFailureMessage{105, true}},
        {11, OpenFailureMessage{105, true}},
        {26, OpenFailureMessage{111, false}},
        {27, OpenFailureMessage{106, false}},
        {28, OpenFailureMessage{109, true}},
        {29, OpenFailureMessage{109, true}},
        {30, OpenFailureMessage{109, true}},
        {31, OpenFailureMessage{106, false}},
        {32, OpenFailureMessage{110, false}},
        {33, std::nullopt},
        {42, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OpenFailureFor(c.result), c.message) << c.result;
    }
}

TEST(DibRows, LayoutsAreCheckedAgainstTheArraysSize) {
    struct Case {
        int bits;
        std::uint32_t clrUsed;
        int width, height;
        size_t colors;  // the colour table the rows follow
    };
    const Case cases[] = {
        {1, 0, 9, 3, 2},   {4, 0, 5, 2, 16}, {4, 3, 5, 2, 3},  {8, 0, 3, 3, 256},
        {8, 17, 3, 3, 17}, {24, 0, 3, 2, 0}, {24, 5, 3, 2, 0}, {32, 0, 2, 2, 0},
    };
    for (const Case& c : cases) {
        dib::BitmapInfoHeader header;
        header.width = c.width;
        header.height = c.height;
        header.planes = 1;
        header.bitCount = static_cast<std::uint16_t>(c.bits);
        header.clrUsed = c.clrUsed;
        size_t stride =
            dib::StoredRowBytes(static_cast<std::uint64_t>(c.width), static_cast<unsigned>(c.bits));
        size_t offset = dib::kInfoHeaderBytes + 4 * c.colors;
        ByteArray array(offset + stride * static_cast<size_t>(c.height));
        dib::WriteInfoHeader(header, array.data());
        std::optional<DibRows> rows = ReadDibRows(array);
        ASSERT_TRUE(rows) << c.bits;
        EXPECT_EQ(rows->bottomRow, array.data() + offset) << c.bits;
        EXPECT_EQ(rows->stride, stride) << c.bits;
        array.pop_back();
        EXPECT_FALSE(ReadDibRows(array)) << c.bits << " short by one byte";
    }
    EXPECT_FALSE(ReadDibRows(ByteArray(39)));
}
