// The switching sequence, the choice of the next wallpaper, and the files the loop keeps.
#include <gtest/gtest.h>

#include <algorithm>

#include <climits>
#include <set>

#include "switching/file_writer.h"
#include "switching/random_source.h"
#include "switching/switching_sequence.h"
#include "tests/unit/fake_file_system.h"

namespace {

TEST(ParsePageListTest, TakesLeadingNumbersUntilTheFirstWord) {
    using Pages = std::vector<std::uint16_t>;
    const struct {
        const char* text;
        Pages pages;
    } cases[] = {
        {"", {0}},          {"1 3 5", {1, 3, 5}}, {"word 3", {0}},   {"2 x 4", {2}},
        {"3,5", {3}},       {"\"7\" 8", {7, 8}},  {"70000", {4464}}, {"65535", {65535}},
        {"32768", {32768}}, {"\t4\n5", {4, 5}},   {"-2 3", {0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParsePageList(c.text), c.pages) << c.text;
    }
}

TEST(BuildSequenceTest, PagesOfFilesThenFilesOfFolders) {
    FakeFileSystem fs;
    fs.AddFile("C:\\scan.tif");
    fs.AddFolder("C:\\pics");
    fs.AddFile("C:\\pics\\a.jpg");
    fs.AddFile("C:\\pics\\b.txt");
    fs.AddFolder("C:\\pics\\sub");
    fs.AddFile("C:\\pics\\sub\\c.png");
    AppSettings settings;
    WallpaperRows rows(settings, fs, PathCase{});
    rows.AddEntry("C:\\scan.tif");
    rows.EntryAt(0).pages = "1 3 5";
    rows.EntryAt(0).rotation = 2;
    rows.AddEntry("C:\\pics");
    rows.AddEntry("C:\\missing.jpg");

    std::vector<WallpaperEntry> flat = BuildSequence(rows, 0, fs, mbcs::NoLeadBytes);
    const std::vector<WallpaperEntry> expected = {
        {0, 2, "1", "C:\\scan.tif"},   {0, 2, "3", "C:\\scan.tif"},   {0, 2, "5", "C:\\scan.tif"},
        {1, 0, "", "C:\\pics\\a.jpg"}, {1, 0, "", "C:\\pics\\b.txt"},
    };
    EXPECT_EQ(flat, expected);
    // Subfolders only for exactly 1.
    EXPECT_EQ(BuildSequence(rows, 2, fs, mbcs::NoLeadBytes).size(), 5u);
    std::vector<WallpaperEntry> deep = BuildSequence(rows, 1, fs, mbcs::NoLeadBytes);
    ASSERT_EQ(deep.size(), 6u);
    EXPECT_EQ(deep.back().path, "C:\\pics\\sub\\c.png");
}

TEST(RandomIndexTest, EveryIndexComesUpAboutEquallyOften) {
    SeededRandom generator(12345);
    for (int n : {2, 3, 7, 40000}) {
        std::vector<int> counts(static_cast<size_t>(n));
        const int draws = n * 200;
        for (int i = 0; i < draws; ++i) {
            int index = RandomIndex(generator, n);
            ASSERT_GE(index, 0);
            ASSERT_LT(index, n);
            ++counts[static_cast<size_t>(index)];
        }
        // 200 expected per index: every one is reached (past 32,768 too, which the 15-bit
        // formula never reached) and none is far off.
        auto [low, high] = std::minmax_element(counts.begin(), counts.end());
        EXPECT_GT(*low, n < 100 ? 150 : 120) << n;
        EXPECT_LT(*high, n < 100 ? 250 : 290) << n;
    }
}

TEST(FileWriterTest, WritesInOrderAWholeFileDropsItsWaitingWritesAndAllIsWrittenBeforeItGoes) {
    FakeFileSystem files;
    {
        FileWriter writer(files, [](const std::string& name) {
            return name == "nowhere" ? std::string() : "C:\\L\\" + name;
        });
        writer.Save("deck.txt", "whole\n");
        writer.Append("deck.txt", "S1\n");
        writer.Append("deck.txt", "S2\n");
        writer.Flush();
        EXPECT_EQ(files.files["C:\\L\\deck.txt"], "whole\nS1\nS2\n");
        writer.Append("deck.txt", "S3\n");
        writer.Save("deck.txt", "new\n");
        writer.Append("deck.txt", "S4\n");
        writer.Save("history.txt", "h");
        writer.Save("nowhere", "lost");
    }
    EXPECT_EQ(files.files["C:\\L\\deck.txt"], "new\nS4\n");
    EXPECT_EQ(files.files["C:\\L\\history.txt"], "h");
    EXPECT_EQ(files.files.size(), 2u);
}

}  // namespace
