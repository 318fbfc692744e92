// The list view's direct manipulation: dragging a row, dropping files, and sorting by column.
#include <gtest/gtest.h>

#include "list/list_view_rules.h"
#include "list/path_helpers.h"
#include "tests/unit/fake_file_system.h"

namespace {

using Names = std::vector<std::string>;

class ListViewRulesTest : public testing::Test {
protected:
    void Fill(const Names& paths) {
        for (const std::string& path : paths) {
            rows.AddEntry(path);
        }
    }
    Names Paths() const {
        Names paths;
        for (int i = 0; i < rows.Count(); ++i) {
            paths.push_back(rows.EntryAt(i).path);
        }
        return paths;
    }
    std::vector<int> Selected() const {
        std::vector<int> selected;
        for (int i = 0; i < rows.Count(); ++i) {
            if (rows.IsSelected(i)) {
                selected.push_back(i);
            }
        }
        return selected;
    }

    AppSettings settings;
    FakeFileSystem fs;
    WallpaperRows rows{settings, fs, PathCase{}};
};

}  // namespace

TEST_F(ListViewRulesTest, DraggingMovesTheRowToItsTargetAndSelectsOnlyIt) {
    struct Case {
        int source;
        int target;
        Names order;
        bool changed;
    };
    const Case cases[] = {
        {0, 2, {"C:\\B", "C:\\C", "C:\\A"}, true},
        {2, 0, {"C:\\C", "C:\\A", "C:\\B"}, true},
        {1, 1, {"C:\\A", "C:\\B", "C:\\C"}, true},    // over itself: counts, moves nothing
        {1, -1, {"C:\\A", "C:\\B", "C:\\C"}, false},  // over empty space
    };
    for (const Case& c : cases) {
        rows.RemoveAll();
        Fill({"C:\\A", "C:\\B", "C:\\C"});
        rows.SelectOnly(c.source);
        rows.SetDropHighlighted(c.target, true);
        EXPECT_EQ(FinishDrag(rows, c.source, c.target), c.changed) << c.source << c.target;
        EXPECT_EQ(Paths(), c.order) << c.source << c.target;
        EXPECT_EQ(rows.RowAt(0).name, SplitPath(c.order[0], mbcs::NoLeadBytes).name);
        if (c.target >= 0) {
            EXPECT_EQ(Selected(), std::vector<int>{c.target});
            EXPECT_FALSE(rows.RowAt(c.target).dropHighlighted);
        }
    }
    EXPECT_FALSE(CanStartDrag(2));
    EXPECT_FALSE(CanStartDrag(0));
    EXPECT_TRUE(CanStartDrag(1));
}

TEST_F(ListViewRulesTest, DropsInsertOneBlockUnderTheUniquenessRule) {
    struct Case {
        bool enforce;
        int before;
        Names dropped;
        Names order;
    };
    const Case cases[] = {
        {false, 1, {"C:\\f1", "C:\\f2"}, {"C:\\A", "C:\\f1", "C:\\f2", "C:\\B", "C:\\C"}},
        {false, -1, {"C:\\f1"}, {"C:\\A", "C:\\B", "C:\\C", "C:\\f1"}},
        {false, 0, {"C:\\f1", "C:\\f1"}, {"C:\\f1", "C:\\f1", "C:\\A", "C:\\B", "C:\\C"}},
        {true, 1, {"c:\\a", "C:\\f1", "C:\\F1"}, {"C:\\A", "C:\\f1", "C:\\B", "C:\\C"}},
    };
    for (const Case& c : cases) {
        settings.enforceUniqueness = c.enforce;
        rows.RemoveAll();
        Fill({"C:\\A", "C:\\B", "C:\\C"});
        rows.SelectOnly(2);
        rows.InsertEntries(c.before, c.dropped);
        EXPECT_EQ(Paths(), c.order);
        // The selection stays with its row.
        EXPECT_EQ(rows.EntryAt(rows.FirstSelected()).path, "C:\\C");
    }
}

TEST_F(ListViewRulesTest, NamesSortByStemThenExtensionAndTiesByTheOtherColumn) {
    Fill({"D:\\x\\b.jpg", "D:\\x\\A.JPG", "D:\\x\\a.png", "D:\\x\\a.b.jpg", "D:\\x\\ab.jpg",
          "C:\\y\\a.jpg", "D:\\x\\readme"});
    rows.SelectOnly(1);
    rows.SetDropHighlighted(4, true);
    rows.SortBy(0, true);
    EXPECT_EQ(Paths(), (Names{"C:\\y\\a.jpg", "D:\\x\\A.JPG", "D:\\x\\a.png", "D:\\x\\a.b.jpg",
                              "D:\\x\\ab.jpg", "D:\\x\\b.jpg", "D:\\x\\readme"}));
    EXPECT_EQ(rows.EntryAt(rows.FirstSelected()).path, "D:\\x\\A.JPG");
    EXPECT_TRUE(rows.RowAt(4).dropHighlighted);
    rows.SortBy(0, false);
    EXPECT_EQ(Paths().front(), "D:\\x\\readme");
    EXPECT_EQ(Paths().back(), "C:\\y\\a.jpg");
    rows.SortBy(1, true);
    EXPECT_EQ(Paths(), (Names{"C:\\y\\a.jpg", "D:\\x\\A.JPG", "D:\\x\\a.png", "D:\\x\\a.b.jpg",
                              "D:\\x\\ab.jpg", "D:\\x\\b.jpg", "D:\\x\\readme"}));

    bool flag = true;
    std::vector<bool> clicks;
    for (int i = 0; i < 4; ++i) {
        clicks.push_back(TakeSortDirection(flag));
    }
    EXPECT_EQ(clicks, (std::vector<bool>{true, false, true, false}));
}

TEST(ListViewRules, HitTestsTellRowsFromAboveAndBelow) {
    EXPECT_EQ(ClassifyDragHit(0x04, 3), DragHit::OnRow);
    EXPECT_EQ(ClassifyDragHit(0x02, 0), DragHit::OnRow);
    EXPECT_EQ(ClassifyDragHit(0x08, -1), DragHit::Above);
    EXPECT_EQ(ClassifyDragHit(0x10, -1), DragHit::Below);
    EXPECT_EQ(ClassifyDragHit(0x01, -1), DragHit::Elsewhere);
}
