// The items of a switch with a picture per monitor, in order and at random, with and without
// orientation matching; and an item's shape read from its header.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_file_system.h"
#include "switching/monitor_items.h"
#include "tests/unit/exif_orientation.h"

namespace {

// Items named a, b, c ... whose shapes a text gives: W wide, T tall, ? unknown, x unreadable.
std::vector<WallpaperEntry> Sequence(const std::string& shapes) {
    std::vector<WallpaperEntry> items;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        items.push_back({static_cast<int>(i), 0, std::string(1, shapes[i]),
                         std::string(1, static_cast<char>('a' + i))});
    }
    return items;
}

PictureShape ShapeOf(const WallpaperEntry& item) {
    switch (item.pages.front()) {
        case 'W':
            return PictureShape::Wide;
        case 'T':
            return PictureShape::Tall;
        case 'x':
            return PictureShape::Unreadable;
        default:
            return PictureShape::Unknown;
    }
}

std::string Names(const std::vector<WallpaperEntry>& items) {
    std::string names;
    for (const WallpaperEntry& item : items) {
        names += item.path;
    }
    return names;
}

TEST(MonitorItems, EachMonitorTakesTheNextItemOfItsShape) {
    const std::string wide19(19, 'W');
    const std::string names19 = Names(Sequence(wide19));
    const std::string unreadable21(21, 'x');
    // A second portrait monitor's own 20 draws: 19 wide ones, then a tall one.
    std::vector<int> drawsForTwoPortraits{1, 24};
    for (int position = 2; position <= 20; ++position) {
        drawsForTwoPortraits.push_back(position);
    }
    drawsForTwoPortraits.push_back(25);
    const struct Case {
        std::string shapes;
        // P portrait, L landscape, in the monitors' order.
        std::string monitors;
        bool match;
        int start;
        // Empty in order; else the draws of random order (the last repeats).
        std::vector<int> draws;
        std::vector<int> positions;
        int advance;
        // The sequence's order afterwards.
        std::string order;
    } cases[] = {
        // In order; without matching a portrait monitor takes what comes.
        {"WWWW", "LL", true, 1, {}, {1, 2}, 2, "abcd"},
        {"WWTW", "LP", false, 0, {}, {0, 1}, 2, "abcd"},
        // The tall item moves forward, the others keep their order; a portrait first monitor.
        {"WWTW", "LP", true, 0, {}, {0, 1}, 2, "acbd"},
        {"WWT", "PL", true, 0, {}, {0, 1}, 2, "cab"},
        // The 20th item is searched, the 21st is not.
        {wide19 + "TW", "P", true, 0, {}, {0}, 1, "t" + names19 + "u"},
        {wide19 + "WT", "P", true, 0, {}, {0}, 1, names19 + "tu"},
        // Each monitor's search counts from its own place.
        {wide19 + "WT", "LP", true, 0, {}, {0, 1}, 2, "au" + names19.substr(1) + "t"},
        // An unknown shape fits nothing, but comes when nothing fits.
        {"?W", "P", true, 0, {}, {0}, 1, "ab"},
        // Unreadable items are passed over before the show, at most 20 of them.
        {"xWxW", "LL", true, 0, {}, {1, 3}, 4, "abcd"},
        {unreadable21 + "W", "L", false, 0, {}, {20}, 21, Names(Sequence(unreadable21 + "W"))},
        // The end wraps, and the search with it.
        {"WWW", "LL", true, 2, {}, {2, 0}, 2, "abc"},
        {"TWW", "LP", true, 1, {}, {1, 2}, 2, "cba"},
        // Fewer items than monitors show again; with none readable the start stands for the set.
        {"W", "LLL", true, 0, {}, {0, 0, 0}, 1, "a"},
        {"xx", "LL", true, 1, {}, {1, 1}, 2, "ab"},
        // Random order: the item drawn already first, then draws.
        {"WWWWW", "LL", false, 2, {4}, {2, 4}, 2, "abcde"},
        // The drawn tall item goes to the portrait monitor.
        {"WWTWW", "LP", true, 2, {0}, {0, 2}, 2, "abcde"},
        // A portrait monitor draws until tall; without matching it takes the first draw, and so
        // it does when no draw in 20 is tall.
        {"WWWTW", "LP", true, 0, {1, 4, 3}, {0, 3}, 2, "abcde"},
        {"WWWTW", "LP", false, 0, {1, 4, 3}, {0, 1}, 2, "abcde"},
        {"WWWTW", "LP", true, 0, {1, 2, 4}, {0, 1}, 2, "abcde"},
        // Each portrait monitor has 20 draws of its own.
        {std::string(24, 'W') + "TT",
         "LPP",
         true,
         0,
         drawsForTwoPortraits,
         {0, 24, 25},
         3,
         Names(Sequence(std::string(26, 'W')))},
        // Items of the set and unreadable ones are drawn again; an unreadable first is passed.
        {"WxWW", "LL", true, 0, {0, 1, 2}, {0, 2}, 2, "abcd"},
        {"xWW", "LL", true, 0, {1, 2}, {1, 2}, 2, "abc"},
    };
    for (const Case& c : cases) {
        std::vector<WallpaperEntry> sequence = Sequence(c.shapes);
        std::vector<bool> portrait;
        for (const char m : c.monitors) {
            portrait.push_back(m == 'P');
        }
        MonitorItems set;
        if (c.draws.empty()) {
            set = ChooseInOrder(sequence, c.start, portrait, c.match, ShapeOf);
        } else {
            std::size_t next = 0;
            set = ChooseAtRandom(sequence, c.start, portrait, c.match, ShapeOf,
                                 [&] { return c.draws[std::min(next++, c.draws.size() - 1)]; });
        }
        const std::string what = c.shapes + " on " + c.monitors + (c.match ? " matching" : "") +
                                 (c.draws.empty() ? "" : " at random");
        EXPECT_EQ(set.positions, c.positions) << what;
        EXPECT_EQ(set.advance, c.advance) << what;
        EXPECT_EQ(Names(sequence), c.order) << what;
    }
}

std::string Be(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) {
        out += static_cast<char>(value >> (8 * i));
    }
    return out;
}

std::string Png(std::uint32_t w, std::uint32_t h) {
    const auto chunk = [](const std::string& type, const std::string& data) {
        return Be(static_cast<std::uint32_t>(data.size()), 4) + type + data + "CRC!";
    };
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR", Be(w, 4) + Be(h, 4) + std::string("\x08\x02\0\0\0", 5)) +
           chunk("IDAT", "pixels") + chunk("IEND", "");
}

// A frame header behind a long application segment, beyond the first piece read.
std::string JpegWithLongMetadata(std::uint16_t w, std::uint16_t h) {
    const std::string app1 = std::string("\xFF\xE1", 2) + Be(40002, 2) + std::string(40000, 'm');
    const std::string sof = std::string("\xFF\xC0", 2) + Be(17, 2) + '\x08' + Be(h, 2) + Be(w, 2) +
                            '\x03' + std::string(9, '\x01');
    const std::string sos =
        std::string("\xFF\xDA", 2) + Be(6, 2) + "scan" + std::string("\x12\xFF\x00\x34", 4);
    return std::string("\xFF\xD8", 2) + app1 + sof + sos + "\xFF\xD9";
}

TEST(ReadPictureShape, TheHeadersSizeTurnedByTheRotation) {
    FakeFileSystem files;
    files.AddFile("C:\\wide.png", Png(300, 200));
    files.AddFile("C:\\tall.png", Png(200, 300));
    files.AddFile("C:\\square.png", Png(200, 200));
    files.AddFile("C:\\tall.jpg", JpegWithLongMetadata(1080, 1920));
    files.AddFile("C:\\notes.txt", "not an image");
    // Stored wide, taken upright (EXIF orientation 6).
    files.AddFile("C:\\upright.jpg", WithExifOrientation(JpegWithLongMetadata(300, 200), 6));
    const struct {
        const char* path;
        int page;
        int rotation;
        PictureShape shape;
        bool upright = true;
    } cases[] = {
        {"C:\\upright.jpg", 0, 0, PictureShape::Tall},
        {"C:\\upright.jpg", 0, 2, PictureShape::Wide},
        {"C:\\upright.jpg", 0, 0, PictureShape::Wide, false},
        {"C:\\wide.png", 0, 0, PictureShape::Wide},
        {"C:\\tall.png", 0, 0, PictureShape::Tall},
        {"C:\\square.png", 0, 0, PictureShape::Wide},
        {"C:\\tall.png", 0, 1, PictureShape::Wide},
        {"C:\\tall.png", 0, 2, PictureShape::Wide},
        {"C:\\wide.png", 0, 2, PictureShape::Tall},
        {"C:\\tall.png", 0, 3, PictureShape::Tall},
        {"C:\\tall.jpg", 0, 0, PictureShape::Tall},
        {"C:\\tall.png", 1, 0, PictureShape::Unknown},
        {"C:\\notes.txt", 0, 0, PictureShape::Unknown},
        {"C:\\gone.png", 0, 0, PictureShape::Unreadable},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadPictureShape(files, c.path, c.page, c.rotation, c.upright), c.shape)
            << c.path << " page " << c.page << " rotation " << c.rotation;
    }
}

}  // namespace
