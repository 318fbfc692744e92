// The history of wallpapers shown: its limit, its file and what a damaged file reads as.
#include <gtest/gtest.h>

#include "switching/wallpaper_history.h"
#include "tests/unit/fake_file_system.h"

namespace {

constexpr const char* kFile = "C:\\Users\\u\\AppData\\Local\\Quorwick\\Velumar\\history.txt";

TEST(WallpaperHistoryTest, KeepsTheNewestHundredAndItsFileReadsBackAsWritten) {
    WallpaperHistory history;
    for (int i = 0; i < 103; ++i) {
        const std::string path = "C:\\P\\photo " + std::to_string(i) + " \xC3\xA9t\xC3\xA9.jpg";
        HistoryEntry entry{path, i % 3, i % 4, {2026, 12, 9, i % 24, i % 60}};
        // Some with a picture per monitor.
        if (i % 5 == 0) {
            entry.otherMonitors = {{path + " 2", 1, 2}, {"C:\\P\\\xCF\x86.png", 0, 0}};
        }
        history.Record(std::move(entry));
    }
    ASSERT_EQ(history.Entries().size(), kHistoryLimit);
    EXPECT_EQ(history.Entries().front().path, "C:\\P\\photo 3 \xC3\xA9t\xC3\xA9.jpg");
    EXPECT_EQ(history.Current(), 99);
    history.SetCurrent(40);

    FakeFileSystem files;
    ASSERT_TRUE(files.SaveFile(kFile, history.ToText()));
    const WallpaperHistory read = LoadHistory(files, kFile);
    EXPECT_EQ(read.Entries(), history.Entries());
    EXPECT_EQ(read.Current(), 40);
    // A missing file is an empty history.
    EXPECT_EQ(LoadHistory(files, "C:\\elsewhere\\history.txt").Current(), -1);
}

TEST(WallpaperHistoryTest, LinesThatMakeNoSenseAreLeftOut) {
    const std::string good = "2026-12-09 01:08\t0\t0\tC:\\a.bmp\r\n";
    std::string longFile = "*" + good;
    for (int i = 0; i < 100; ++i) {
        longFile += "2026-12-09 01:09\t1\t2\tC:\\b.tif\n";
    }
    const struct {
        const char* what;
        std::string text;
        std::size_t entries;
        int current;
    } cases[] = {
        {"empty", "", 0, -1},
        {"binary", std::string("\x00\xFF\xFE\t\t\t\x01\r\n\x89PNG", 14), 0, -1},
        {"good lines only, the last unterminated",
         good + "*2026-12-09 01:09\t1\t2\tC:\\b.tif\n2026-12-09 01:10\t0\t3\tC:\\c d.png", 3, 1},
        {"no marked line: the newest is current", good + good, 2, 1},
        {"garbage among good lines",
         "Velumar history\r\n" + good + "2026-13-09 01:08\t0\t0\tC:\\month.bmp\n" +
             "2026-12-09 1:08\t0\t0\tC:\\hour.bmp\n" + "2026-12-09 01:08\t-1\t0\tC:\\page.bmp\n" +
             "2026-12-09 01:08\t0\tx\tC:\\rotation.bmp\n" + "2026-12-09 01:08\t0\t0\t\n" +
             "2026-12-09 01:08\t0\t0\tC:\\tab\there.bmp\n" + "*2026-12-09 01:08\t0\t0\n" +
             "2026-12-09 01:08\t0\t0\tC:\\a.bmp\t1\t0\tC:\\b.bmp\t\n" +
             "2026-12-09 01:08\t0\t0\tC:\\a.bmp\t1\tx\tC:\\b.bmp\n" + "**" + good + "\n\n" + good,
         2, 1},
        {"a marked line beyond the limit", longFile, 100, 99},
    };
    for (const auto& c : cases) {
        const WallpaperHistory history = WallpaperHistory::FromText(c.text);
        EXPECT_EQ(history.Entries().size(), c.entries) << c.what;
        EXPECT_EQ(history.Current(), c.current) << c.what;
    }
    EXPECT_EQ(WallpaperHistory::FromText(cases[2].text).Entries()[2],
              (HistoryEntry{"C:\\c d.png", 0, 3, {2026, 12, 9, 1, 10}}));
}

}  // namespace
