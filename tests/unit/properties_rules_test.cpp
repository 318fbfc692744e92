// The property pages' rules: reading numbers, the interval and time-of-day checks, the
// enabling of each page, the field checks in order, the copy in and back, and the welcome.
#include <gtest/gtest.h>

#include "ui/properties_rules.h"
#include "ui/small_dialog_rules.h"

TEST(DialogData, ReadUnsignedReadsLikePercentU) {
    struct Case {
        const char* text;
        std::optional<unsigned> value;
    };
    const Case cases[] = {
        {"", std::nullopt},  {"   ", std::nullopt}, {"abc", std::nullopt}, {"-", std::nullopt},
        {"0", 0u},           {"  42", 42u},         {"12abc", 12u},        {"+7", 7u},
        {"-1", 4294967295u}, {"4294967296", 0u},    {"\t99 100", 99u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadUnsigned(c.text), c.value) << c.text;
    }
    // Only the first 63 characters are read.
    EXPECT_EQ(ReadUnsigned(std::string(62, ' ') + "5"), 5u);
    EXPECT_EQ(ReadUnsigned(std::string(63, ' ') + "5"), std::nullopt);
    EXPECT_EQ(RangeMessage(0, 99), "Please enter an integer between 0 and 99.");
}

TEST(PropertiesRules, IntervalIsNormalisedOrRefusedOnlyAtRegularIntervals) {
    using Outcome = IntervalCheck::Outcome;
    struct Case {
        int mode;
        const char* text;
        Outcome outcome;
        const char* result;
    };
    const Case cases[] = {
        {1, "5:00", Outcome::Replace, "00:05:00"},
        {1, "1:2:3:4", Outcome::Replace, "02:03:04"},
        {1, "23:59:59", Outcome::Replace, "23:59:59"},
        {1, "90", Outcome::Refuse, ""},
        {1, "24:00:00", Outcome::Refuse, ""},
        {1, "abc", Outcome::Replace, "00:00:00"},
        {1, "", Outcome::Keep, ""},
        {0, "90", Outcome::Keep, ""},
        {2, "nonsense", Outcome::Keep, ""},
    };
    for (const Case& c : cases) {
        IntervalCheck check = CheckInterval(c.mode, c.text);
        EXPECT_EQ(check.outcome, c.outcome) << c.text;
        EXPECT_EQ(check.text, c.result) << c.text;
    }
}

TEST(SmallDialogRules, TimeOfDayIsTrimmedNormalisedRefusedOrCancelled) {
    using Outcome = TimeEntry::Outcome;
    struct Case {
        const char* typed;
        Outcome outcome;
        const char* text;
    };
    const Case cases[] = {
        {"7:5", Outcome::Accept, "07:05"},   {" 23:59 ", Outcome::Accept, "23:59"},
        {"1:2:3", Outcome::Accept, "02:03"}, {"abc", Outcome::Accept, "00:00"},
        {"24:00", Outcome::Refuse, "24:00"}, {"12:60", Outcome::Refuse, "12:60"},
        {"", Outcome::Cancel, ""},           {" \t ", Outcome::Cancel, ""},
    };
    for (const Case& c : cases) {
        TimeEntry entry = CheckTimeOfDay(c.typed);
        EXPECT_EQ(entry.outcome, c.outcome) << c.typed;
        EXPECT_EQ(entry.text, c.text) << c.typed;
    }
}

TEST(PropertiesRules, EachPageEnablesByItsChoice) {
    struct GeneralCase {
        int mode, selected;
        bool controlIconText;
        int os;
        bool interval, list, remove, iconAll, iconShown;
    };
    const GeneralCase general[] = {
        {0, 0, false, 601, false, false, false, false, false},
        {1, 3, true, 601, true, false, false, false, false},
        {2, 0, true, 500, false, true, false, true, true},
        {2, 1, false, 500, false, true, true, true, false},
    };
    for (const GeneralCase& c : general) {
        GeneralEnabling e = ComputeGeneralEnabling(c.mode, c.selected, c.controlIconText, c.os);
        EXPECT_EQ(e.interval, c.interval);
        EXPECT_EQ(e.timeList, c.list);
        EXPECT_EQ(e.removeTime, c.remove);
        EXPECT_EQ(e.iconTextAll, c.iconAll);
        EXPECT_EQ(e.iconTextShown, c.iconShown);
    }
    // The lock-screen check box and the note under it.
    const std::string failed = LockScreenFailureNote("Access is denied.");
    EXPECT_EQ(failed, "The lock screen could not be set: Access is denied.");
    EXPECT_EQ(LockScreenFailureNote(""), "");
    const struct {
        bool available;
        std::string note;
        bool enabled;
        std::string shown;
    } lockScreen[] = {
        {true, "", true, ""},
        {true, failed, true, failed},
        {false, "", false, kLockScreenUnavailableNote},
        {false, failed, false, kLockScreenUnavailableNote},
    };
    for (const auto& c : lockScreen) {
        LockScreenLine line = ComputeLockScreenLine(c.available, c.note);
        EXPECT_EQ(line.enabled, c.enabled) << c.note;
        EXPECT_EQ(line.note, c.shown) << c.note;
    }
    for (int choice = -1; choice <= 5; ++choice) {
        ResizingEnabling r = ComputeResizingEnabling(choice);
        EXPECT_EQ(r.sizeList, choice == 2);
        EXPECT_EQ(r.customSize, choice == 3);
        // The crop and the blurred frame always keep the aspect ratio.
        EXPECT_EQ(r.retainAspect, choice != 4 && choice != 5) << choice;
        // A refused width or height stays open for correction, whatever was chosen.
        for (int refused : {1025, 1026, 1032}) {
            r = ComputeResizingEnabling(choice, FieldError{refused, kNotAPositiveInteger});
            EXPECT_EQ(r.sizeList, choice == 2) << refused;
            EXPECT_EQ(r.customSize, choice == 3 || refused != 1032) << refused;
        }
        MaskEnabling m = ComputeMaskEnabling(choice);
        EXPECT_EQ(m.edges, choice == 0);
        EXPECT_EQ(m.file, choice == 1);
        EXPECT_EQ(m.outline, choice != 2);
        // So does a refused percentage.
        for (int refused : {1073, 1076, 1079}) {
            m = ComputeMaskEnabling(choice, FieldError{refused, kNotAPositiveInteger});
            EXPECT_EQ(m.edges, choice == 0 || refused != 1079) << refused;
            EXPECT_EQ(m.file, choice == 1) << refused;
        }
        EXPECT_EQ(MatchOrientationEnabled(choice), choice == 2);
    }
}

TEST(PropertiesRules, FieldsAreCheckedInThePagesOrder) {
    MaskPageValues mask;
    MaskPageControls controls{0, "100", "abc", "5", "-1", "m.bmp", 1};
    EXPECT_EQ(ReadMaskPage(controls, mask),
              (FieldError{1076, "Please enter an integer between 0 and 99.", true}));
    controls.bottom = "99";
    EXPECT_EQ(ReadMaskPage(controls, mask), (FieldError{1073, kNotAPositiveInteger, false}));
    controls.left = "7";
    EXPECT_EQ(ReadMaskPage(controls, mask)->controlId, 1075);  // -1 reads above 99
    controls.top = "0";
    EXPECT_EQ(ReadMaskPage(controls, mask), std::nullopt);
    EXPECT_EQ(mask.bottom, 99u);
    EXPECT_EQ(mask.left, 7u);
    EXPECT_EQ(mask.maskFile, "m.bmp");

    ResizingPageValues resizing;
    ResizingPageControls sizes{1, "", 3, "x", 2, 4, 1};
    EXPECT_EQ(ReadResizingPage(sizes, resizing), (FieldError{1025, kNotAPositiveInteger, false}));
    sizes.width = "12abc";
    EXPECT_EQ(ReadResizingPage(sizes, resizing)->controlId, 1026);
    sizes.height = "0";
    EXPECT_EQ(ReadResizingPage(sizes, resizing), std::nullopt);
    EXPECT_EQ(resizing.width, 12u);
    EXPECT_EQ(resizing.sizeChoice, 4);
    EXPECT_EQ(resizing.pictureColor, 1);

    // The smallest size: 0 to 100; a refused text leaves the value as it was.
    const struct {
        const char* text;
        std::optional<FieldError> error;
        int percent;
    } minSizes[] = {
        {"0", std::nullopt, 0},
        {"100", std::nullopt, 100},
        {"50", std::nullopt, 50},
        {"101", FieldError{1127, "Please enter an integer between 0 and 100.", true}, 7},
        {"", FieldError{1127, kNotAPositiveInteger, false}, 7},
    };
    for (const auto& c : minSizes) {
        int percent = 7;
        EXPECT_EQ(ReadMinSizeField(c.text, percent), c.error) << c.text;
        EXPECT_EQ(percent, c.percent) << c.text;
    }
}

TEST(PropertiesRules, CopyBackKeepsTheMaskValuesTheModeDoesNotUse) {
    AppSettings stored;
    stored.render.maskLeft = 10;
    stored.render.maskBottom = 20;
    stored.render.maskFile = "old.bmp";
    stored.switchTimes = {"08:00"};
    stored.previousKey = 0x0625;
    stored.render.monitorMode = 3;
    stored.matchOrientation = false;
    for (int mode = 0; mode <= 2; ++mode) {
        PropertiesValues pages = CopyIntoPages(stored);
        pages.mask = {mode, 1, 2, 3, 4, "new.bmp", 1};
        pages.general.times = {"06:00", "07:30"};
        pages.resizing.width = 1234;
        pages.resizing.resizeChoice = 4 + mode % 2;
        pages.resizing.pictureColor = 1;
        pages.monitors = {mode, 1};
        pages.general.lockScreen = mode % 2;
        pages.general.favourites = mode;
        pages.general.minSizePercent = 50 * mode;
        pages.general.shapeFilter = 2 - mode;
        pages.keys.hide = 0x0648u + static_cast<unsigned>(mode);
        pages.keys.favourite = 0x0646u;
        AppSettings after = stored;
        CopyBackFromPages(pages, after);
        EXPECT_EQ(after.render.maskMode, mode);
        EXPECT_TRUE(after.render.maskImageOutline);
        EXPECT_EQ(after.render.maskBottom, mode == 0 ? 1 : 20) << mode;
        EXPECT_EQ(after.render.maskLeft, mode == 0 ? 2 : 10) << mode;
        EXPECT_EQ(after.render.maskFile, mode == 1 ? "new.bmp" : "old.bmp") << mode;
        EXPECT_EQ(after.switchTimes, (std::vector<std::string>{"06:00", "07:30"}));
        EXPECT_EQ(after.render.customWidth, 1234);
        EXPECT_EQ(after.render.resizeMode, 4 + mode % 2);
        EXPECT_TRUE(after.render.pictureColor);
        EXPECT_EQ(after.render.monitorMode, mode);
        EXPECT_TRUE(after.matchOrientation);
        EXPECT_EQ(after.lockScreen, mode % 2 == 1);
        EXPECT_EQ(after.favourites, mode);
        EXPECT_EQ(after.minSizePercent, 50 * mode);
        EXPECT_EQ(after.shapeFilter, 2 - mode);
        EXPECT_EQ(after.hideKey, 0x0648u + static_cast<unsigned>(mode));
        EXPECT_EQ(after.favouriteKey, 0x0646u);
        EXPECT_EQ(after.previousKey, 0x0625u);
    }
    // Unchanged pages give back exactly the settings they were given.
    stored.render.resizeMode = 5;
    stored.render.pictureColor = true;
    stored.lockScreen = true;
    stored.favourites = 1;
    stored.minSizePercent = 100;
    stored.shapeFilter = 1;
    stored.hideKey = 0x0648;
    stored.favouriteKey = 0x0646;
    AppSettings roundTrip = stored;
    CopyBackFromPages(CopyIntoPages(stored), roundTrip);
    EXPECT_EQ(roundTrip, stored);
}

TEST(PropertiesRules, OnlyAStoredOneChecksIncludeSubfolders) {
    const struct {
        int stored;
        int checked;
    } cases[] = {{0, 0}, {1, 1}, {2, 0}, {-1, 0}};
    for (const auto& c : cases) {
        AppSettings settings;
        settings.includeSubfolders = c.stored;
        EXPECT_EQ(CopyIntoPages(settings).general.includeSubfolders, c.checked) << c.stored;
    }
}

TEST(SmallDialogRules, AHiddenPicturesRowNamesTheFileWithItsPageAndItsFolder) {
    const struct {
        const char* path;
        int page;
        HiddenPictureRow row;
    } cases[] = {
        {"C:\\Photos\\beach.jpg", 0, {"beach.jpg", "C:\\Photos"}},
        {"C:\\beach.jpg", 0, {"beach.jpg", "C:\\"}},
        {"C:\\Scans\\album.tif", 3, {"album.tif (page 3)", "C:\\Scans"}},
        {"D:\\\xe5\x86\x99\xe7\x9c\x9f\\\xf0\x9f\x8c\x8a.png",
         0,
         {"\xf0\x9f\x8c\x8a.png", "D:\\\xe5\x86\x99\xe7\x9c\x9f"}},
        {"\\\\server\\share\\sea.jpg", 0, {"sea.jpg", "\\\\server\\share"}},
        {"C:/Photos/beach.jpg", 1, {"beach.jpg (page 1)", "C:/Photos"}},
        {"beach.jpg", 0, {"beach.jpg", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HiddenPictureRowOf(c.path, c.page), c.row) << c.path;
    }
}

TEST(SmallDialogRules, WelcomeShowsOnceAndOnlyCloseReadsTheCheckBox) {
    EXPECT_TRUE(WelcomeDue(false, true));
    EXPECT_FALSE(WelcomeDue(true, true));
    EXPECT_FALSE(WelcomeDue(false, false));
    EXPECT_FALSE(ShowWelcomeAfter(true, true));
    EXPECT_TRUE(ShowWelcomeAfter(true, false));
    EXPECT_TRUE(ShowWelcomeAfter(false, true));
}
