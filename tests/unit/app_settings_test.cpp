// Loading and saving AppSettings against an in-memory store.
#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "app/memory_settings_store.h"
#include "tests/unit/test_code_pages.h"

namespace {

constexpr std::string_view kDocuments = "C:\\Users\\me\\Documents";

std::string Documents() {
    return std::string(kDocuments);
}

std::string NoDocumentsFolder() {
    return "";
}

void PutInt(MemorySettingsStore& store, std::string_view name, int value) {
    store.WriteInt(kSettingsSection, name, value);
}

void PutText(MemorySettingsStore& store, std::string_view name, std::string_view value) {
    store.WriteText(kSettingsSection, name, value);
}

TEST(LoadSettings, FirstRunGivesDefaultsWithTheListFileInTheDocumentsFolder) {
    const MemorySettingsStore store;
    AppSettings expected;
    expected.lastListDir = Documents();
    expected.listFile = Documents() + "\\Velumar.vlt";
    EXPECT_EQ(LoadSettings(store, Documents), expected);
}

TEST(LoadSettings, MaskModeAboveTwoOrNegativeBecomesTwo) {
    const struct {
        int stored;
        int loaded;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {-1, 2}};
    for (const auto& c : cases) {
        MemorySettingsStore store;
        PutInt(store, "ME", c.stored);
        EXPECT_EQ(LoadSettings(store, Documents).maskMode, c.loaded) << "stored " << c.stored;
    }
}

TEST(LoadSettings, EachEdgePercentageAboveFiftyOrNegativeBecomesFifty) {
    const struct {
        int stored;
        int loaded;
    } cases[] = {{0, 0}, {50, 50}, {51, 50}, {99, 50}, {-1, 50}};
    const char* names[] = {"MRL", "MRT", "MRR", "MRB"};
    int AppSettings::*fields[] = {&AppSettings::maskLeft, &AppSettings::maskTop,
                                  &AppSettings::maskRight, &AppSettings::maskBottom};
    for (int edge = 0; edge < 4; ++edge) {
        for (const auto& c : cases) {
            MemorySettingsStore store;
            PutInt(store, names[edge], c.stored);
            const AppSettings loaded = LoadSettings(store, Documents);
            EXPECT_EQ(loaded.*fields[edge], c.loaded) << names[edge] << " stored " << c.stored;
            for (int other = 0; other < 4; ++other) {
                if (other != edge) {
                    EXPECT_EQ(loaded.*fields[other], 0) << names[other];
                }
            }
        }
    }
}

TEST(LoadSettings, AnyNonzeroBooleanReadsTrueAndZeroReadsFalse) {
    const struct {
        const char* name;
        bool AppSettings::*field;
    } booleans[] = {{"SA", &AppSettings::startSwitchingAtStartup},
                    {"HI", &AppSettings::hideAtStartup},
                    {"RA", &AppSettings::randomOrder},
                    {"EU", &AppSettings::enforceUniqueness},
                    {"TI", &AppSettings::tileWallpaper},
                    {"SW", &AppSettings::showWelcome},
                    {"CI", &AppSettings::controlIconText},
                    {"IT", &AppSettings::iconTextTransparent},
                    {"RR", &AppSettings::retainAspectRatio},
                    {"MI", &AppSettings::maskImageOutline},
                    {"OP", &AppSettings::openDialogPreview},
                    {"PRV", &AppSettings::mainPreview}};
    for (const auto& b : booleans) {
        for (const int stored : {1, 2, -1}) {
            MemorySettingsStore store;
            PutInt(store, b.name, stored);
            EXPECT_TRUE(LoadSettings(store, Documents).*b.field) << b.name << " = " << stored;
        }
        MemorySettingsStore store;
        PutInt(store, b.name, 0);
        EXPECT_FALSE(LoadSettings(store, Documents).*b.field) << b.name << " = 0";
    }
}

TEST(LoadSettings, ValueOfTheWrongKindReadsAsTheDefault) {
    MemorySettingsStore store;
    PutText(store, "WH", "1");
    PutInt(store, "PE", 10);
    store.WriteOther(kSettingsSection, "SS");
    PutText(store, "SA", "0");
    const AppSettings loaded = LoadSettings(store, Documents);
    EXPECT_EQ(loaded.switchMode, 0);
    EXPECT_EQ(loaded.switchPeriod, "5:00");
    EXPECT_EQ(loaded.standardSizeIndex, 1);
    EXPECT_TRUE(loaded.startSwitchingAtStartup);
}

TEST(LoadSettings, TimeListIsSplitAtEveryPercentSign) {
    const struct {
        const char* stored;
        std::vector<std::string> items;
    } cases[] = {
        {"08:00%12:30%", {"08:00", "12:30"}},
        {"08:00%12:30", {"08:00"}},
        {"%%", {"", ""}},
        {"", {}},
        {"%", {""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitTimeList(c.stored), c.items) << '"' << c.stored << '"';
        MemorySettingsStore store;
        PutText(store, "TM", c.stored);
        EXPECT_EQ(LoadSettings(store, Documents).switchTimes, c.items) << '"' << c.stored << '"';
    }
}

TEST(JoinTimeList, EveryItemIsFollowedByPercent) {
    EXPECT_EQ(JoinTimeList({"08:00", "12:30"}), "08:00%12:30%");
    EXPECT_EQ(JoinTimeList({""}), "%");
    EXPECT_EQ(JoinTimeList({}), "");
}

TEST(DefaultListFile, JoinsTheFolderAndTheNameWithOneBackslash) {
    const struct {
        const char* folder;
        const char* listFile;
    } cases[] = {
        {"C:\\", "C:\\Velumar.vlt"},
        {"C:\\Users\\me\\Documents", "C:\\Users\\me\\Documents\\Velumar.vlt"},
        {"C:\\Users\\me\\Documents\\", "C:\\Users\\me\\Documents\\Velumar.vlt"},
        {"", "Velumar.vlt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DefaultListFile(c.folder), c.listFile) << c.folder;
    }
}

TEST(DefaultListFile, TrailByteThatLooksLikeABackslashDoesNotEndTheFolder) {
    // 0x95 0x5C is one Shift-JIS character.
    EXPECT_EQ(DefaultListFile("C:\\\x95\x5C", IsShiftJisLeadByte), "C:\\\x95\x5C\\Velumar.vlt");
    EXPECT_EQ(DefaultListFile("C:\\\x95\x5C\\", IsShiftJisLeadByte), "C:\\\x95\x5C\\Velumar.vlt");
}

TEST(LoadSettings, FailingDocumentsLookupGivesTheBareListFileName) {
    const MemorySettingsStore store;
    const AppSettings loaded = LoadSettings(store, NoDocumentsFolder);
    EXPECT_EQ(loaded.lastListDir, "");
    EXPECT_EQ(loaded.listFile, "Velumar.vlt");
}

TEST(LoadSettings, StoredListFolderIsUsedWithoutAskingForTheDocumentsFolder) {
    MemorySettingsStore store;
    PutText(store, "LD", "D:\\");
    int calls = 0;
    const AppSettings loaded = LoadSettings(store, [&] {
        ++calls;
        return Documents();
    });
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(loaded.lastListDir, "D:\\");
    EXPECT_EQ(loaded.listFile, "D:\\Velumar.vlt");
}

TEST(LoadSettings, StoredListFileOverridesTheDefault) {
    MemorySettingsStore store;
    PutText(store, "CF", "E:\\lists\\mine.vlt");
    EXPECT_EQ(LoadSettings(store, Documents).listFile, "E:\\lists\\mine.vlt");
}

TEST(LoadSettings, AddFolderAndMaskFoldersDefaultToTheAddFilesFolder) {
    MemorySettingsStore store;
    PutText(store, "PD", "C:\\Pictures");
    AppSettings loaded = LoadSettings(store, Documents);
    EXPECT_EQ(loaded.lastAddFolderDir, "C:\\Pictures");
    EXPECT_EQ(loaded.lastMaskDir, "C:\\Pictures");

    PutText(store, "FD", "C:\\Folders");
    PutText(store, "MD", "C:\\Masks");
    loaded = LoadSettings(store, Documents);
    EXPECT_EQ(loaded.lastAddFolderDir, "C:\\Folders");
    EXPECT_EQ(loaded.lastMaskDir, "C:\\Masks");
}

TEST(SaveSettings, IconTextOptionsAreWrittenOnlyUpToWindows2000) {
    AppSettings settings;
    settings.controlIconText = true;
    settings.iconTextColor = 0x00123456;
    settings.iconTextTransparent = true;
    for (const int osVersion : {400, 499, 500}) {
        MemorySettingsStore store;
        SaveSettings(settings, osVersion, store);
        EXPECT_EQ(store.IntValue(kSettingsSection, "CI"), 1) << osVersion;
        EXPECT_EQ(store.IntValue(kSettingsSection, "IC"), 0x00123456) << osVersion;
        EXPECT_EQ(store.IntValue(kSettingsSection, "IT"), 1) << osVersion;
        EXPECT_EQ(store.Count(), 38u) << osVersion;
    }
    for (const int osVersion : {501, 601}) {
        MemorySettingsStore store;
        SaveSettings(settings, osVersion, store);
        EXPECT_FALSE(store.Contains(kSettingsSection, "CI")) << osVersion;
        EXPECT_FALSE(store.Contains(kSettingsSection, "IC")) << osVersion;
        EXPECT_FALSE(store.Contains(kSettingsSection, "IT")) << osVersion;
        EXPECT_EQ(store.Count(), 35u) << osVersion;
    }
}

TEST(SaveSettings, FirstSaveWritesAllValuesWithTheirKindAndDefault) {
    MemorySettingsStore store;
    SaveSettings(LoadSettings(store, Documents), 500, store);

    const std::string docs = Documents();
    const struct {
        const char* name;
        std::variant<int, std::string> value;
    } expected[] = {
        {"WH", 0},        {"PE", "5:00"}, {"TM", ""}, {"SA", 1},
        {"HI", 0},        {"RA", 0},      {"II", 0},  {"RE", 1},
        {"EU", 0},        {"TI", 0},      {"SW", 1},  {"CI", 0},
        {"IC", 0xFFFFFF}, {"IT", 0},      {"RT", 0},  {"SS", 1},
        {"WI", 800},      {"HE", 600},    {"RR", 1},  {"RM", 0},
        {"ME", 2},        {"MRL", 0},     {"MRT", 0}, {"MRR", 0},
        {"MRB", 0},       {"MF", ""},     {"MI", 0},  {"CF", docs + "\\Velumar.vlt"},
        {"LD", docs},     {"PD", ""},     {"FD", ""}, {"MD", ""},
        {"OP", 1},        {"PRV", 1},     {"PL", 0},  {"PT", 0},
        {"PR", 620},      {"PB", 450},
    };
    EXPECT_EQ(store.Count(), std::size(expected));
    for (const auto& e : expected) {
        if (const int* number = std::get_if<int>(&e.value)) {
            EXPECT_EQ(store.IntValue(kSettingsSection, e.name), *number) << e.name;
        } else {
            EXPECT_EQ(store.TextValue(kSettingsSection, e.name), std::get<std::string>(e.value))
                << e.name;
        }
    }
}

TEST(SaveSettings, SaveThenLoadReproducesEveryField) {
    AppSettings s;
    s.switchMode = 2;
    s.switchPeriod = "01:02:03";
    s.switchTimes = {"08:00", "", "23:59"};
    s.startSwitchingAtStartup = false;
    s.hideAtStartup = true;
    s.randomOrder = true;
    s.nextIndex = 41;
    s.includeSubfolders = 2;  // kept as a number, not as a boolean
    s.enforceUniqueness = true;
    s.tileWallpaper = true;
    s.showWelcome = false;
    s.controlIconText = true;
    s.iconTextColor = 0xFF102030;
    s.iconTextTransparent = true;
    s.resizeMode = 3;
    s.standardSizeIndex = 6;
    s.customWidth = 1920;
    s.customHeight = 1080;
    s.retainAspectRatio = false;
    s.reductionMethod = 3;
    s.maskMode = 1;
    s.maskLeft = 10;
    s.maskTop = 20;
    s.maskRight = 30;
    s.maskBottom = 50;
    s.maskFile = "C:\\masks\\oval.bmp";
    s.maskImageOutline = true;
    s.listFile = "D:\\lists\\holiday.vlt";
    s.lastListDir = "D:\\lists";
    s.lastAddFilesDir = "E:\\photos";
    s.lastAddFolderDir = "E:\\albums";
    s.lastMaskDir = "C:\\masks";
    s.openDialogPreview = false;
    s.mainPreview = false;
    s.windowRect = {-8, 12, 1000, 700};

    MemorySettingsStore store;
    SaveSettings(s, 500, store);
    const AppSettings loaded = LoadSettings(store, [] {
        ADD_FAILURE() << "documents folder asked although LD is stored";
        return std::string();
    });
    EXPECT_EQ(loaded, s);
}

TEST(SaveNextIndex, WritesOnlyTheIndex) {
    MemorySettingsStore store;
    SaveNextIndex(7, store);
    EXPECT_EQ(store.IntValue(kSettingsSection, "II"), 7);
    EXPECT_EQ(store.Count(), 1u);
}

}  // namespace
