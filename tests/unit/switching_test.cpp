// The switching sequence and the choice of the next wallpaper.
#include <gtest/gtest.h>

#include <algorithm>

#include <climits>
#include <set>

#include "switching/switching_sequence.h"
#include "tests/unit/fake_file_system.h"

namespace {

class FakeHost final : public SwitchHost {
public:
    bool RenderItem(const WallpaperEntry& item, int page) override {
        rendered.push_back(item.path + "@" + std::to_string(page));
        return !failing.contains(item.path);
    }
    void OnItemFailed() override { ++failures; }
    void ShowSourceRow(int row) override { shownRows.push_back(row); }
    void StoreNextIndex(int index) override { stored.push_back(index); }
    void ArmInterval() override { ++armed; }
    void ShowWaitCursor(bool wait) override { waits.push_back(wait); }
    std::vector<bool> waits;

    std::set<std::string> failing;
    std::vector<std::string> rendered;
    std::vector<int> shownRows;
    std::vector<int> stored;
    int failures = 0;
    int armed = 0;
};

// Draws from a fixed list, then repeats the last.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<int> draws) : draws(std::move(draws)) {}
    int Next() override { return draws[std::min(position++, draws.size() - 1)]; }

private:
    std::vector<int> draws;
    size_t position = 0;
};

std::vector<WallpaperEntry> Items(int n) {
    std::vector<WallpaperEntry> items;
    for (int i = 0; i < n; ++i) {
        items.push_back({i, 0, "", "item" + std::to_string(i)});
    }
    return items;
}

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

class SwitchTest : public testing::Test {
protected:
    SwitchState State() { return {sequence, settings, random, host}; }

    std::vector<WallpaperEntry> sequence;
    AppSettings settings;
    ScriptedRandom random{{0}};
    FakeHost host;
};

TEST_F(SwitchTest, SequentialOrderShowsTheItemAndWrapsAround) {
    sequence = Items(3);
    settings.nextIndex = 2;
    SwitchState state = State();
    SwitchToNext(state);
    EXPECT_EQ(host.rendered, std::vector<std::string>{"item2@0"});
    EXPECT_EQ(settings.nextIndex, 0);
    EXPECT_EQ(host.stored, std::vector<int>{0});
    EXPECT_EQ(host.shownRows, std::vector<int>{2});
    EXPECT_EQ(host.armed, 1);
    EXPECT_EQ(host.waits, (std::vector<bool>{true, false}));
}

TEST_F(SwitchTest, RandomOrderNeedsFourItemsAndAlwaysMoves) {
    settings.randomOrder = true;
    const struct {
        int n;
        int current;
        std::vector<int> draws;  // two draws make one index: 0 then 100 gives 100 % n
        int next;
    } cases[] = {
        {3, 1, {0, 0}, 2},  // in order below four items
        // A draw of the current index (100 % n = 0) is drawn again.
        {4, 0, {0, 100, 0, 2}, 2},
        {5, 0, {0, 100, 0, 3}, 3},
    };
    for (const auto& c : cases) {
        sequence = Items(c.n);
        settings.nextIndex = c.current;
        random = ScriptedRandom(c.draws);
        SwitchState state = State();
        SwitchToNext(state);
        EXPECT_EQ(settings.nextIndex, c.next) << c.n << " items";
    }
}

TEST_F(SwitchTest, AFailingLastItemIsFollowedByTheFirst) {
    sequence = Items(3);
    settings.nextIndex = 2;
    host.failing = {"item2"};
    SwitchState state = State();
    SwitchToNext(state);
    EXPECT_EQ(host.rendered, (std::vector<std::string>{"item2@0", "item0@0"}));
    EXPECT_EQ(host.shownRows, std::vector<int>{0});
    EXPECT_EQ(settings.nextIndex, 1);
}

TEST_F(SwitchTest, FailingItemsArePassedOverAtMostOnceThroughTheSequence) {
    sequence = Items(4);
    settings.nextIndex = 1;
    host.failing = {"item1", "item2"};
    SwitchState state = State();
    SwitchToNext(state);
    EXPECT_EQ(host.rendered, (std::vector<std::string>{"item1@0", "item2@0", "item3@0"}));
    EXPECT_EQ(host.failures, 2);
    EXPECT_EQ(host.shownRows, std::vector<int>{3});
    EXPECT_EQ(settings.nextIndex, 0);

    host = FakeHost();
    host.failing = {"item0", "item1", "item2", "item3"};
    settings.nextIndex = 2;
    SwitchToNext(state);
    EXPECT_EQ(host.rendered.size(), 4u);
    EXPECT_EQ(host.shownRows, std::vector<int>{1});
    EXPECT_EQ(settings.nextIndex, 3);
}

TEST_F(SwitchTest, StoredIndexOutOfRangeStartsAtTheFirstItem) {
    for (int stored : {7, -1, 5}) {
        sequence.clear();
        settings.nextIndex = stored;
        host = FakeHost();
        SwitchState state = State();
        SwitchNow(state, [] { return Items(5); });
        EXPECT_EQ(host.rendered, std::vector<std::string>{"item0@0"}) << stored;
    }
}

TEST_F(SwitchTest, SwitchNowWithOneItemDoesNothingAndKeepsABuiltSequence) {
    SwitchState state = State();
    SwitchNow(state, [] { return Items(1); });
    EXPECT_TRUE(host.rendered.empty());
    EXPECT_EQ(sequence.size(), 1u);

    sequence = Items(3);
    settings.nextIndex = 1;
    int builds = 0;
    SwitchNow(state, [&] {
        ++builds;
        return Items(9);
    });
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(host.rendered, std::vector<std::string>{"item1@0"});
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

}  // namespace
