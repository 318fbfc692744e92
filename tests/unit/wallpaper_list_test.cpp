// The row model, the list file and the folder scan.
#include <gtest/gtest.h>

#include "list/add_entries.h"
#include "list/folder_scan.h"
#include "list/list_file.h"
#include "list/wallpaper_rows.h"
#include "tests/unit/fake_code_page.h"
#include "tests/unit/fake_file_system.h"

namespace {

class RecordingView final : public RowsView {
public:
    void RowsReset() override { ++resets; }
    void RowsUpdated(int first, int) override { updated.push_back(first); }
    void RowStateChanged(int row) override { states.push_back(row); }
    void EnsureVisible(int row) override { visible.push_back(row); }

    int resets = 0;
    std::vector<int> updated;
    std::vector<int> states;
    std::vector<int> visible;
};

class WallpaperListTest : public testing::Test {
protected:
    WallpaperListTest() {
        fs.AddFolder("C:\\Pictures");
        fs.AddFolder("C:\\Pictures\\Holiday");
        fs.AddFile("C:\\Pictures\\sunset.jpg");
        rows.SetView(&view);
    }

    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (int i = 0; i < rows.Count(); ++i) {
            paths.push_back(rows.EntryAt(i).path);
        }
        return paths;
    }

    void Load(const std::string& contents) { ParseListFile(contents, rows); }

    AppSettings settings;
    FakeFileSystem fs;
    Latin1CodePage codePage;
    WallpaperRows rows{settings, fs, PathCase{}};
    RecordingView view;
};

TEST_F(WallpaperListTest, AddEntryShowsNameAndFolderWithBracketsForFolders) {
    rows.AddEntry("C:\\Pictures\\Holiday");
    rows.AddEntry("C:\\Pictures\\sunset.jpg");
    rows.AddEntry("C:\\");
    rows.AddEntry("C:\\RECYCLED\\DC1");
    rows.AddEntry("loose.jpg");
    const struct {
        const char* name;
        const char* folder;
    } expected[] = {{"[Holiday]", "C:\\Pictures"},
                    {"sunset.jpg", "C:\\Pictures"},
                    {"[]", "C:"},
                    {"DC1", "C:\\RECYCLED"},
                    {"loose.jpg", ""}};
    ASSERT_EQ(rows.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rows.RowAt(i).name, expected[i].name);
        EXPECT_EQ(rows.RowAt(i).folder, expected[i].folder);
        EXPECT_EQ(rows.EntryAt(i).rotation, 0);
        EXPECT_EQ(rows.EntryAt(i).pages, "");
    }
}

TEST_F(WallpaperListTest, PathCountsFollowAddRemoveAndRewrite) {
    settings.enforceUniqueness = true;
    rows.AddEntry("C:\\A.jpg");
    rows.AddEntry("c:\\a.JPG");
    rows.AddEntry("C:\\b.jpg");
    rows.AddEntry(".");
    EXPECT_EQ(rows.PathCounts().at("c:\\a.jpg"), 1);
    EXPECT_EQ(rows.PathCounts().at("c:\\b.jpg"), 0);
    EXPECT_FALSE(rows.PathCounts().contains("."));
    EXPECT_TRUE(rows.Contains("C:\\a.jpg"));

    // Rewriting row 2 with row 0's entry moves a count from b to a.
    rows.SetRow(2, "A.jpg", "C:", rows.EntryAt(0));
    EXPECT_EQ(rows.PathCounts().at("c:\\a.jpg"), 2);
    EXPECT_FALSE(rows.Contains("C:\\b.jpg"));
    // The placeholder rewritten to a path counts it; a path rewritten to "." uncounts it.
    WallpaperEntry placeholder;
    placeholder.path = ".";
    rows.SetRow(0, "", "", placeholder);
    EXPECT_EQ(rows.PathCounts().at("c:\\a.jpg"), 1);

    rows.RemoveRow(1);
    EXPECT_TRUE(rows.Contains("C:\\A.JPG"));
    rows.RemoveRow(1);
    EXPECT_FALSE(rows.Contains("C:\\A.JPG"));
    EXPECT_TRUE(rows.PathCounts().empty());

    rows.AddEntry("C:\\b.jpg");
    settings.enforceUniqueness = false;
    EXPECT_FALSE(rows.Contains("C:\\b.jpg"));
}

TEST_F(WallpaperListTest, SelectionTextAndRestoreSelection) {
    for (const char* path : {"a", "b", "c", "d"}) {
        rows.AddEntry(path);
    }
    EXPECT_EQ(rows.SelectionText(), "");
    EXPECT_EQ(rows.FirstSelected(), -1);
    rows.RestoreSelection("3 1 9 x 2");
    EXPECT_EQ(rows.SelectionText(), "1 3");
    EXPECT_EQ(rows.FirstSelected(), 1);
    EXPECT_EQ(view.visible, std::vector<int>{1});

    rows.SelectOnly(2);
    EXPECT_EQ(rows.SelectionText(), "2");
    rows.RestoreSelection("");
    EXPECT_EQ(rows.SelectionText(), "2");
    EXPECT_EQ(view.visible, (std::vector<int>{1, 2}));
}

TEST_F(WallpaperListTest, FindByNameMatchesTypedPrefixesFromTheStartRow) {
    for (const char* path : {"C:\\Apple.jpg", "C:\\banana.png", "C:\\apricot.gif"}) {
        rows.AddEntry(path);
    }
    EXPECT_EQ(rows.FindByName("AP", true, false, 0), 0);
    EXPECT_EQ(rows.FindByName("ap", true, false, 1), 2);
    EXPECT_EQ(rows.FindByName("app", true, false, 1), -1);
    EXPECT_EQ(rows.FindByName("app", true, true, 1), 0);
    EXPECT_EQ(rows.FindByName("banana", false, true, 0), -1);
    EXPECT_EQ(rows.FindByName("BANANA.PNG", false, true, 2), 1);
    EXPECT_EQ(rows.FindByName("", true, true, 0), -1);
}

TEST_F(WallpaperListTest, RemoveSelectedKeepsOrderAndUncounts) {
    settings.enforceUniqueness = true;
    for (const char* path : {"a", "b", "c", "d", "e"}) {
        rows.AddEntry(path);
    }
    rows.RestoreSelection("0 2 3");
    int resetsBefore = view.resets;
    rows.RemoveSelected();
    EXPECT_EQ(Paths(), (std::vector<std::string>{"b", "e"}));
    EXPECT_EQ(rows.SelectedCount(), 0);
    EXPECT_FALSE(rows.Contains("c"));
    EXPECT_TRUE(rows.Contains("e"));
    EXPECT_EQ(view.resets, resetsBefore + 1);
    rows.RemoveAll();
    EXPECT_EQ(rows.Count(), 0);
    EXPECT_TRUE(rows.PathCounts().empty());
}

TEST_F(WallpaperListTest, UpdateScopeResetsTheViewOnceAndShowsTheRestoredRow) {
    std::string contents = "4\r\n";
    for (int i = 0; i < 6; ++i) {
        contents += "C:\\" + std::to_string(i) + ".jpg 0 \"\"\r\n";
    }
    Load(contents);
    EXPECT_EQ(view.resets, 1);
    EXPECT_TRUE(view.states.empty());
    EXPECT_EQ(view.visible, std::vector<int>{4});
}

TEST_F(WallpaperListTest, ListFileHasTheExactFormat) {
    rows.AddEntry("C:\\Pictures\\sunset.jpg");
    rows.AddEntry("D:\\My Photos\\scan.tif");
    rows.AddEntry("C:\\Pictures\\Holiday");
    rows.EntryAt(1).rotation = 2;
    rows.EntryAt(1).pages = "1 3";
    rows.EntryAt(2).rotation = 7;
    rows.EntryAt(2).pages = "say \"x\"";
    // A tab ends an unquoted token as a blank does, so it is quoted too.
    rows.AddEntry("\tC:\\odd");
    rows.RestoreSelection("1 2");
    EXPECT_EQ(FormatListFile(rows),
              "1 2\r\n"
              "C:\\Pictures\\sunset.jpg 0 \"\"\r\n"
              "\"D:\\My Photos\\scan.tif\" 2 \"1 3\"\r\n"
              "C:\\Pictures\\Holiday 7 \"say \"x\"\"\r\n"
              "\"\tC:\\odd\" 0 \"\"\r\n");
}

TEST_F(WallpaperListTest, ListFileRoundTripKeepsOrderRotationsPagesAndSelection) {
    rows.AddEntry("C:\\Pictures\\sunset.jpg");
    rows.AddEntry("D:\\My Photos\\scan.tif");
    rows.AddEntry("C:\\Pictures\\Holiday");
    rows.EntryAt(0).rotation = 3;
    rows.EntryAt(1).rotation = 2;
    rows.EntryAt(1).pages = "1 3";
    rows.RestoreSelection("0 2");
    ASSERT_TRUE(SaveListFile("C:\\l.vlt", rows, fs, codePage));

    WallpaperRows loaded(settings, fs, PathCase{});
    ASSERT_TRUE(LoadListFile("C:\\l.vlt", loaded, fs, codePage));
    ASSERT_EQ(loaded.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.EntryAt(i), rows.EntryAt(i)) << i;
        EXPECT_EQ(loaded.RowAt(i).name, rows.RowAt(i).name) << i;
    }
    EXPECT_EQ(loaded.SelectionText(), "0 2");
    EXPECT_FALSE(LoadListFile("C:\\missing.vlt", loaded, fs, codePage));
}

TEST_F(WallpaperListTest, ListFileIsAnsiWhenEveryPathFitsAndUtf8WithAMarkOtherwise) {
    const QuestionMarkCodePage lossy;
    const struct {
        std::vector<std::string> paths;
        std::string ansiBytes;  // the exact file when it fits the code page, else empty
        const AnsiCodePage* ansi = nullptr;  // Latin-1 unless told
    } cases[] = {
        {{"C:\\Bilder\\café.bmp", "D:\\My Photos\\a.jpg"},
         "\r\nC:\\Bilder\\caf\xE9.bmp 0 \"\"\r\n\"D:\\My Photos\\a.jpg\" 0 \"\"\r\n"},
        {{"C:\\café.bmp", "C:\\東京.png"}, ""},
        {{"C:\\Ελλάδα.jpg", "C:\\my pics\\😀.png"}, ""},
        // A code page that takes the name but gives back another.
        {{"C:\\café.bmp"}, "", &lossy},
    };
    for (const auto& c : cases) {
        const AnsiCodePage& ansi = c.ansi ? *c.ansi : codePage;
        rows.RemoveAll();
        for (const std::string& path : c.paths) {
            rows.AddEntry(path);
        }
        ASSERT_TRUE(SaveListFile("C:\\l.vlt", rows, fs, ansi));
        EXPECT_EQ(*fs.ReadFile("C:\\l.vlt"),
                  c.ansiBytes.empty() ? "\xEF\xBB\xBF" + FormatListFile(rows) : c.ansiBytes);
        rows.RemoveAll();
        ASSERT_TRUE(LoadListFile("C:\\l.vlt", rows, fs, ansi));
        EXPECT_EQ(Paths(), c.paths);
    }
}

TEST_F(WallpaperListTest, ListFileBytesReadAsAnsiOrAfterAMarkAsUtf8) {
    const struct {
        std::string bytes;
        std::vector<std::string> paths;
    } cases[] = {
        // Every list written so far: the ANSI code page, "é" as the byte 0xE9.
        {"\r\nC:\\caf\xE9.bmp 0 \"\"\r\n", {"C:\\café.bmp"}},
        {"\xEF\xBB\xBF\r\nC:\\café.bmp 0 \"\"\r\n", {"C:\\café.bmp"}},
        {"\xEF\xBB\xBF", {}},
        // After the mark, each invalid byte reads as U+FFFD and the following lines still read.
        {"\xEF\xBB\xBF\r\nC:\\\xFF\xC3. 0 "
         "\"\xC0\xAF\"\r\nC:\\\xED\xA0\x80\xF4\x90\x80\x80\r\nC:\\\xE6\x9D",
         {"C:\\��.", "C:\\�������", "C:\\��"}},
    };
    for (const auto& c : cases) {
        rows.RemoveAll();
        fs.AddFile("C:\\in.vlt", c.bytes);
        ASSERT_TRUE(LoadListFile("C:\\in.vlt", rows, fs, codePage));
        EXPECT_EQ(Paths(), c.paths) << c.bytes;
        EXPECT_TRUE(rows.Count() == 0 || utf8::IsValid(rows.EntryAt(0).pages)) << c.bytes;
    }
}

TEST_F(WallpaperListTest, UniquenessIgnoresLetterCaseInEveryAlphabet) {
    settings.enforceUniqueness = true;
    const struct {
        const char* listed;
        const char* added;
        bool same;
    } cases[] = {
        {"C:\\Ελλάδα.jpg", "c:\\ΕΛΛΆΔΑ.JPG", true},
        {"C:\\ς.png", "C:\\Σ.png", true},
        {"C:\\Москва", "C:\\МОСКВА", true},
        {"C:\\café", "C:\\CAFÉ", true},
        {"C:\\α", "C:\\β", false},
        {"C:\\café", "C:\\cafe", false},
        // "ß" has no capital of its own here: it is neither "ss" nor the letter after it.
        {"C:\\straße", "C:\\STRASSE", false},
        {"C:\\ß", "C:\\ÿ", false},
    };
    for (const auto& c : cases) {
        rows.RemoveAll();
        rows.AddEntry(c.listed);
        EXPECT_EQ(AddPaths({c.added}, rows), c.same ? 0 : 1) << c.added;
    }
}

TEST_F(WallpaperListTest, ListFileReaderToleratesMalformedLines) {
    Load(
        "C:\\first.jpg 1 \"\"\n"  // the first line is always the selection line
        "\n"
        "   \n"
        "C:\\minus.jpg -1 \"\"\n"
        "C:\\letter.jpg x \"2\"\n"
        "C:\\seven.jpg 7\n"
        "C:\\bare.jpg\r\n"
        "C:\\quote.jpg 0 \"a\"b\" ignored\n"
        "\"C:\\open quote.jpg 2\r\n"
        "C:\\last.jpg 1 \"4\"");
    EXPECT_EQ(Paths(), (std::vector<std::string>{"C:\\minus.jpg", "C:\\letter.jpg", "C:\\seven.jpg",
                                                 "C:\\bare.jpg", "C:\\quote.jpg",
                                                 "C:\\open quote.jpg 2", "C:\\last.jpg"}));
    const int rotations[] = {0, 0, 7, 0, 0, 0, 1};
    const char* pages[] = {"", "2", "", "", "a", "", "4"};
    for (int i = 0; i < rows.Count(); ++i) {
        EXPECT_EQ(rows.EntryAt(i).rotation, rotations[i]) << i;
        EXPECT_EQ(rows.EntryAt(i).pages, pages[i]) << i;
    }
    // The selection line "C:\first.jpg 1" starts with no number: nothing is selected.
    EXPECT_EQ(rows.SelectedCount(), 0);
}

TEST_F(WallpaperListTest, UniquenessSkipsDuplicatesAndShiftsTheStoredSelection) {
    const std::string contents =
        "2\r\nC:\\Pictures\\A.jpg 0 \"\"\r\nc:\\pictures\\a.JPG 0 \"\"\r\nC:\\b.jpg 0 \"\"\r\n";
    Load(contents);
    EXPECT_EQ(rows.Count(), 3);
    EXPECT_EQ(rows.FirstSelected(), 2);

    rows.RemoveAll();
    settings.enforceUniqueness = true;
    Load(contents);
    EXPECT_EQ(Paths(), (std::vector<std::string>{"C:\\Pictures\\A.jpg", "C:\\b.jpg"}));
    // Row 2 as written no longer exists.
    EXPECT_EQ(rows.SelectedCount(), 0);
}

TEST_F(WallpaperListTest, EmptyFileGivesNoRows) {
    Load("");
    EXPECT_EQ(rows.Count(), 0);
    Load("0 1\r\n");
    EXPECT_EQ(rows.Count(), 0);
}

TEST(ListNameTest, IsTheFileNameWithoutExtension) {
    EXPECT_EQ(ListNameFromPath("C:\\Users\\me\\my.list.vlt", mbcs::NoLeadBytes), "my.list");
    EXPECT_EQ(ListNameFromPath("C:\\Users\\me\\Velumar.vlt", mbcs::NoLeadBytes), "Velumar");
    EXPECT_EQ(ListNameFromPath("plain", mbcs::NoLeadBytes), "plain");
    // The rows of a list that could not be read go beside it, under a name of its own.
    EXPECT_EQ(UnsavedListPath("C:\\Users\\me\\Velumar.vlt", mbcs::NoLeadBytes),
              "C:\\Users\\me\\Velumar.unsaved.vlt");
    EXPECT_EQ(UnsavedListPath("C:\\v.d\\plain", mbcs::NoLeadBytes), "C:\\v.d\\plain.unsaved.vlt");
}

class FolderScanTest : public testing::Test {
protected:
    FolderScanTest() {
        fs.AddFolder("C:\\top");
        fs.AddFile("C:\\top\\z.jpg");
        fs.AddFolder("C:\\top\\sub1");
        fs.AddFile("C:\\top\\sub1\\deep.png");
        fs.AddFolder("C:\\top\\sub1\\inner");
        fs.AddFile("C:\\top\\sub1\\inner\\x.gif");
        fs.AddFile("C:\\top\\a.txt", "", 0x26);  // hidden system archive: still a file
        fs.AddFolder("C:\\top\\sub2");
        fs.AddFile("C:\\top\\sub2\\s.bmp");
        fs.AddFolder("C:\\empty");
    }

    FakeFileSystem fs;
};

TEST_F(FolderScanTest, ListsFilesBreadthFirstInTheFileSystemsOrder) {
    std::vector<std::string> files{"kept"};
    EXPECT_TRUE(ScanFolder("C:\\top", files, true, fs, mbcs::NoLeadBytes));
    EXPECT_EQ(files, (std::vector<std::string>{"kept", "C:\\top\\z.jpg", "C:\\top\\a.txt",
                                               "C:\\top\\sub1\\deep.png", "C:\\top\\sub2\\s.bmp",
                                               "C:\\top\\sub1\\inner\\x.gif"}));
}

TEST_F(FolderScanTest, WithoutSubfoldersListsOnlyTheTopFolder) {
    std::vector<std::string> files;
    EXPECT_FALSE(ScanFolder("C:\\top\\", files, false, fs, mbcs::NoLeadBytes));
    EXPECT_EQ(files, (std::vector<std::string>{"C:\\top\\z.jpg", "C:\\top\\a.txt"}));
    EXPECT_EQ(fs.enumerated, std::vector<std::string>{"C:\\top\\*.*"});
}

TEST_F(FolderScanTest, EmptyAndMissingFoldersGiveNothing) {
    std::vector<std::string> files;
    EXPECT_FALSE(ScanFolder("C:\\empty", files, true, fs, mbcs::NoLeadBytes));
    EXPECT_FALSE(ScanFolder("C:\\missing", files, true, fs, mbcs::NoLeadBytes));
    EXPECT_TRUE(files.empty());
}

TEST_F(FolderScanTest, AFolderReachedTwiceIsScannedOnce) {
    fs.AddLink("C:\\top\\sub2\\back", "C:\\top");
    std::vector<std::string> files;
    EXPECT_TRUE(ScanFolder("C:\\top", files, true, fs, mbcs::NoLeadBytes));
    EXPECT_EQ(files.size(), 5u);
    EXPECT_EQ(std::count(fs.enumerated.begin(), fs.enumerated.end(), "C:\\top\\sub2\\back\\*.*"),
              0);
}

}  // namespace
