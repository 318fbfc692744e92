// The main window's frame rules: the control layout, the placement of the remembered
// rectangle, the tray icon's mouse decisions, the show filter and the shortcut's names and
// steps.
#include <gtest/gtest.h>

#include <vector>

#include "desktop/startup_shortcut.h"
#include "desktop/tray_icon.h"
#include "ui/main_window_layout.h"
#include "ui/screen_geometry.h"

namespace {

// Every control 10 pixels wide and high, one below the other.
ControlRects ReferenceRects() {
    ControlRects rects{};
    for (size_t i = 0; i < rects.size(); ++i) {
        int top = static_cast<int>(i) * 20;
        rects[i] = {5, top, 15, top + 10};
    }
    return rects;
}

size_t IndexOf(int id) {
    for (size_t i = 0; i < kLayoutItems.size(); ++i) {
        if (kLayoutItems[i].id == id) {
            return i;
        }
    }
    return kLayoutItems.size();
}

}  // namespace

TEST(MainWindowLayout, ControlsFollowTheClientSizeByTheirRuleDownToTheLimit) {
    const ClientSize reference{400, 300};
    struct Case {
        ClientSize size;
        int dpi;
        int dx;
        int dy;
    };
    const Case cases[] = {
        {{400, 300}, 96, 0, 0},
        {{450, 330}, 96, 50, 30},
        {{300, 200}, 96, -100, -100},
        // 110 narrower with the full height lays out for 100 less in both directions.
        {{290, 300}, 96, -100, -100},
        {{400, 199}, 96, -100, -100},
        // The limit is 100 logical units: 150 pixels at 144 DPI.
        {{260, 300}, 144, -140, 0},
        {{240, 300}, 144, -150, -150},
    };
    const ControlRects rects = ReferenceRects();
    for (const Case& c : cases) {
        ControlRects placed = LayoutControls(rects, reference, c.size, c.dpi);
        for (size_t i = 0; i < rects.size(); ++i) {
            LayoutRect expected = rects[i];
            switch (kLayoutItems[i].rule) {
                case LayoutRule::GrowHeight:
                    expected.bottom += c.dy;
                    break;
                case LayoutRule::MoveDown:
                    expected = {expected.left, expected.top + c.dy, expected.right,
                                expected.bottom + c.dy};
                    break;
                case LayoutRule::GrowBoth:
                    expected = {expected.left, expected.top, expected.right + c.dx,
                                expected.bottom + c.dy};
                    break;
                case LayoutRule::MoveRight:
                    expected = {expected.left + c.dx, expected.top, expected.right + c.dx,
                                expected.bottom};
                    break;
            }
            EXPECT_EQ(placed[i], expected) << kLayoutItems[i].id << " at " << c.size.cx;
        }
    }
}

TEST(MainWindowLayout, EachControlHasTheRuleOfItsRole) {
    EXPECT_EQ(kLayoutItems[IndexOf(1000)].rule, LayoutRule::GrowHeight);
    EXPECT_EQ(kLayoutItems[IndexOf(1051)].rule, LayoutRule::MoveDown);
    EXPECT_EQ(kLayoutItems[IndexOf(1003)].rule, LayoutRule::GrowBoth);
    for (int id : {1052, 1017, 1018, 1015, 1046, 1014, 1047, 1044}) {
        EXPECT_EQ(kLayoutItems[IndexOf(id)].rule, LayoutRule::MoveRight) << id;
    }
    EXPECT_EQ(IndexOf(1004), kLayoutItems.size());
}

namespace {

// The main window's template (dialog units, the drop-down list closed) in pixels for the
// dialog base units of a DPI, as the dialog manager maps it.
struct MainTemplate {
    ControlRects rects;
    ClientSize size;
    LayoutRect checkBox;
};

MainTemplate MapMainTemplate(int baseX, int baseY) {
    const auto map = [&](int x, int y, int w, int h) {
        return LayoutRect{(x * baseX + 2) / 4, (y * baseY + 4) / 8, ((x + w) * baseX + 2) / 4,
                          ((y + h) * baseY + 4) / 8};
    };
    // In the order of kLayoutItems.
    return {{map(7, 7, 194, 160), map(7, 169, 194, 57), map(210, 141, 98, 85),
             map(224, 106, 84, 19), map(224, 7, 84, 14), map(224, 23, 84, 14), map(224, 39, 84, 14),
             map(224, 55, 84, 8), map(224, 64, 84, 12), map(224, 78, 68, 8), map(224, 86, 84, 14)},
            {(315 * baseX + 2) / 4, (233 * baseY + 4) / 8},
            map(210, 128, 98, 10)};
}

}  // namespace

TEST(MainWindowLayout, TheMinimumSizeKeepsEveryControlInsideAndApart) {
    const struct {
        const char* why;
        int dpi;
        int baseX;
        int baseY;
        std::vector<LayoutRect> fixed;  // empty: the check box
        ClientSize expected;
    } cases[] = {
        // The check box, left in place, ends at 539 of 551; the height shrinks to the limit.
        {"96 DPI", 96, 7, 14, {}, {539, 308}},
        {"144 DPI", 144, 10, 21, {}, {770, 462}},
        {"192 DPI", 192, 14, 28, {}, {1078, 616}},
        // Without it the right-hand column may come up to the list's right edge (352).
        {"list and column", 96, 7, 14, {{0, 0, 1, 1}}, {511, 308}},
        // A tall control left in place holds the height.
        {"tall fixed control", 96, 7, 14, {{0, 0, 10, 380}}, {511, 380}},
        // A layout that is not whole at its own size does not shrink.
        {"overlap at the reference", 96, 7, 14, {{0, 0, 20, 20}}, {551, 408}},
    };
    for (const auto& c : cases) {
        const MainTemplate t = MapMainTemplate(c.baseX, c.baseY);
        const std::vector<LayoutRect> fixed =
            c.fixed.empty() ? std::vector<LayoutRect>{t.checkBox} : c.fixed;
        const ClientSize minimum = MinimumClientSize(t.rects, t.size, fixed, c.dpi);
        EXPECT_EQ(minimum.cx, c.expected.cx) << c.why;
        EXPECT_EQ(minimum.cy, c.expected.cy) << c.why;
    }
}

TEST(MainWindowLayout, StoredRectangleIsKeptOnAMonitorAndBroughtBackOtherwise) {
    const WindowRect work{0, 0, 1024, 738};
    struct Case {
        WindowRect stored;
        bool onAMonitor;
        WindowRect expected;
    };
    const Case cases[] = {
        {{40, 30, 700, 530}, true, {40, 30, 700, 530}},
        {{3000, 2000, 3620, 2450}, false, {404, 288, 1024, 738}},
        {{-5000, 100, -4380, 550}, false, {0, 100, 620, 550}},
        {{10, 10, 10, 10}, true, {0, 0, 620, 450}},
        {{50, 50, 20, 700}, true, {0, 0, 620, 450}},
        {{-3000, -3000, 0, 0}, false, {0, 0, 1024, 738}},  // too large for the area: shrunk
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceWindowRect(c.stored, c.onAMonitor, work), c.expected) << c.stored.left;
    }
}

TEST(MainWindowFrame, AFirstStartIsCentredAtTheScaledDefaultSizeAndAStoredRectangleKept) {
    const WindowRect defaults = AppSettings{}.windowRect;
    const WindowRect stored{10, 20, 630, 470};
    const WindowRect work{0, 0, 1024, 738};
    const struct {
        WindowRect rect;
        int dpi;
        WindowRect area;
        WindowRect expected;
    } cases[] = {
        {defaults, 96, work, {202, 144, 822, 594}},
        {defaults, 120, work, {124, 87, 899, 650}},
        {defaults, 144, work, {47, 31, 977, 706}},
        // 1240 x 900 does not fit: the work area, no larger.
        {defaults, 192, work, {0, 0, 1024, 738}},
        {defaults, 144, {1920, 40, 3840, 1080}, {2415, 222, 3345, 897}},
        {stored, 144, work, stored},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StartingWindowRect(c.rect, c.dpi, c.area), c.expected) << c.dpi;
    }
}

TEST(ScreenGeometry, LogicalLengthsScaleToTheDpiRoundedToTheNearestPixel) {
    const struct {
        int length;
        int fromDpi;
        int toDpi;
        int expected;
    } cases[] = {
        {620, 96, 96, 620},   {620, 96, 120, 775}, {620, 96, 144, 930}, {620, 96, 192, 1240},
        {450, 96, 120, 563},  {7, 96, 144, 11},    {-7, 96, 144, -11},  {930, 144, 96, 620},
        {775, 120, 144, 930}, {320, 96, 0, 320},   {1, 96, 120, 1},     {100, 0, 144, 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RescaleForDpi(c.length, c.fromDpi, c.toDpi), c.expected)
            << c.length << " " << c.fromDpi << "->" << c.toDpi;
    }
    // A rectangle keeps its corner; controls that touched at one DPI still touch at another.
    EXPECT_EQ(RescaleRectSize({100, 50, 720, 500}, 96, 144), (WindowRect{100, 50, 1030, 725}));
    ControlRects rects{};
    rects[0] = {7, 7, 201, 167};
    rects[1] = {7, 167, 201, 226};
    const ControlRects scaled = RescaleLayout(rects, 96, 120);
    EXPECT_EQ(scaled[0], (LayoutRect{9, 9, 251, 209}));
    EXPECT_EQ(scaled[1], (LayoutRect{9, 209, 251, 283}));
    EXPECT_EQ(RescaleLayout(scaled, 120, 96)[1], rects[1]);
}

TEST(ScreenGeometry, ARectangleIsKeptInsideTheWorkArea) {
    const WindowRect work{0, 0, 1024, 738};
    const WindowRect right{1920, 0, 3200, 1000};
    const struct {
        WindowRect rect;
        WindowRect area;
        WindowRect expected;
    } cases[] = {
        {{100, 100, 500, 400}, work, {100, 100, 500, 400}},
        {{-17, 50, 583, 450}, work, {0, 50, 600, 450}},
        {{800, 600, 1200, 900}, work, {624, 438, 1024, 738}},
        {{-50, -60, 1100, 800}, work, {0, 0, 1024, 738}},
        {{1900, 10, 2300, 310}, right, {1920, 10, 2320, 310}},
        {{3000, 900, 3400, 1200}, right, {2800, 700, 3200, 1000}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeepInsideArea(c.rect, c.area), c.expected) << c.rect.left << "," << c.rect.top;
    }
}

TEST(TrayIcon, EveryMouseMessageEndsTheHideAndOnlyTwoActAtOnce) {
    struct Case {
        unsigned message;
        TrayAction action;
    };
    const Case cases[] = {
        {0x0200, TrayAction::None},        // mouse move
        {0x0201, TrayAction::None},        // left down
        {0x0202, TrayAction::None},        // left up
        {0x0203, TrayAction::ShowWindow},  // left double-click
        {0x0204, TrayAction::None},        // right down
        {0x0205, TrayAction::ShowMenu},    // right up
        {0x0206, TrayAction::None},        // right double-click
    };
    for (const Case& c : cases) {
        TrayDecision decision = DecideTrayMouse(c.message);
        EXPECT_TRUE(decision.clearHidePending) << c.message;
        EXPECT_EQ(decision.action, c.action) << c.message;
    }
}

TEST(TrayIcon, PendingHideRemovesOnlyTheShowRequest) {
    const unsigned show = 0x0040;
    const unsigned moveAndSize = 0x0001 | 0x0002 | 0x0004;
    EXPECT_EQ(FilterPositionChange(show | moveAndSize, true), moveAndSize);
    EXPECT_EQ(FilterPositionChange(show | moveAndSize, false), show | moveAndSize);
    EXPECT_EQ(FilterPositionChange(moveAndSize, true), moveAndSize);
}

TEST(TrayIcon, TipIsCutBetweenWholeCharactersAtItsLimit) {
    struct Case {
        const char* text;
        size_t maxUnits;
        const char* kept;
    };
    const Case cases[] = {
        {"Velumar", 10, "Velumar"},
        {"Velumar", 3, "Vel"},
        {"Velumar", 0, ""},
        {"\xE6\x9D\xB1\xE4\xBA\xAC", 1, "\xE6\x9D\xB1"},  // one of two kanji
        {"a\xF0\x9F\x98\x80"
         "b",
         2, "a"},  // an emoji takes two units
        {"a\xF0\x9F\x98\x80"
         "b",
         3, "a\xF0\x9F\x98\x80"},
        {"\xCE\x95\xCE\xBB", 5, "\xCE\x95\xCE\xBB"},  // Greek, whole
        {"\xFFxy", 2, "\xFFx"},                       // a stray byte is one unit
        {"ab\xE6\x9D", 3, "ab\xE6"},                  // a cut-off character too
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CutTipText(c.text, c.maxUnits), c.kept) << c.text << " " << c.maxUnits;
    }
}

TEST(StartupShortcut, NamesComeFromTheTargetsFileNameInEitherFolderForm) {
    const char* folders[] = {"C:\\Users\\u\\Start Menu\\Programs\\Startup",
                             "C:\\Users\\u\\Start Menu\\Programs\\Startup\\"};
    for (const char* folder : folders) {
        ShortcutNames names =
            StartupShortcutNames(folder, "D:\\Tools\\Velumar.exe", mbcs::NoLeadBytes);
        EXPECT_EQ(names.description, "Shortcut to Velumar.exe");
        EXPECT_EQ(names.file,
                  "C:\\Users\\u\\Start Menu\\Programs\\Startup\\Shortcut to Velumar.exe.lnk");
    }
    EXPECT_EQ(StartupShortcutNames("C:\\", "\\Velumar.exe", mbcs::NoLeadBytes).file,
              "C:\\Shortcut to Velumar.exe.lnk");
}

TEST(StartupShortcut, AShortcutWhoseTargetWasRefusedIsNotSaved) {
    class RecordingLink final : public ShellLink {
    public:
        std::string refused;
        std::vector<std::string> steps;
        bool SetPath(const std::string& target) override { return Step("path " + target); }
        bool SetDescription(const std::string& text) override {
            return Step("description " + text);
        }
        bool Save(const std::string& file) override { return Step("save " + file); }
        void ShowMessage(const std::string& text) override { steps.push_back(text); }

    private:
        bool Step(const std::string& step) {
            steps.push_back(step);
            return step.rfind(refused, 0) != 0;
        }
    };
    const struct {
        const char* refused;
        bool saved;
        std::vector<std::string> steps;
    } cases[] = {
        {"none", true, {"path T", "description D", "save F"}},
        {"path", false, {"path T", "SetPath failed!"}},
        {"description", true, {"path T", "description D", "SetDescription failed!", "save F"}},
        {"save", false, {"path T", "description D", "save F"}},
    };
    for (const auto& c : cases) {
        RecordingLink link;
        link.refused = c.refused;
        EXPECT_EQ(WriteShellLink(link, "T", "F", "D"), c.saved) << c.refused;
        EXPECT_EQ(link.steps, c.steps) << c.refused;
    }
}
