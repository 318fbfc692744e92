// Loading and saving AppSettings against an in-memory store, over every value of the settings
// table.
#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/memory_settings_store.h"
#include "app/settings_table.h"
#include "tests/unit/setting_changes.h"
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

AppSettings FirstRun() {
    return LoadSettings(MemorySettingsStore(), Documents);
}

TEST(LoadSettings, FirstRunGivesDefaultsWithTheListFileInTheDocumentsFolder) {
    AppSettings expected;
    expected.lastListDir = Documents();
    expected.listFile = Documents() + "\\Velumar.vlt";
    EXPECT_EQ(FirstRun(), expected);
}

TEST(LoadSettings, ALimitedValueAboveItsLimitOrNegativeReadsAsTheLimitOrAsNotKnown) {
    const struct {
        std::string_view name;
        int stored;
        int loaded;
    } cases[] = {
        {"ME", 0, 0},
        {"ME", 2, 2},
        {"ME", 3, 2},
        {"ME", -1, 2},
        {"ME", INT_MIN, 2},
        {"MRL", 50, 50},
        {"MRL", 51, 50},
        {"MRL", -1, 50},
        {"MRT", 49, 49},
        {"MRT", 51, 50},
        {"MRR", 50, 50},
        {"MRR", 51, 50},
        {"MRB", 50, 50},
        {"MRB", -1, 50},
        {"MM", 0, 0},
        {"MM", 3, 3},
        {"MM", 4, 3},
        {"MM", -1, 3},
        {"PDI", 96, 96},
        {"PDI", 960, 960},
        {"PDI", 961, 960},
        {"PDI", INT_MAX, 960},
        // The DPI a rectangle was recorded at: a negative one is not known, as 0 is.
        {"PDI", 0, 0},
        {"PDI", -1, 0},
        {"PDI", INT_MIN, 0},
        {"FV", 2, 2},
        {"FV", 3, 2},
        {"FV", -1, 0},
        {"MZ", 100, 100},
        {"MZ", 101, 100},
        {"MZ", INT_MIN, 0},
        {"SH", 3, 2},
        {"SH", -2, 0},
    };
    for (const Setting& setting : SettingsTable()) {
        bool pinned = false;
        for (const auto& c : cases) {
            if (c.name != setting.name) {
                continue;
            }
            pinned = true;
            MemorySettingsStore store;
            PutInt(store, setting.name, c.stored);
            EXPECT_EQ(setting.number(LoadSettings(store, Documents)), c.loaded)
                << setting.name << " stored " << c.stored;
        }
        // A new limit comes with its rows here.
        EXPECT_EQ(pinned, setting.limit.has_value()) << setting.name;
    }
}

TEST(LoadSettings, AnyNonzeroBooleanReadsTrueAndZeroReadsFalse) {
    for (const Setting& setting : SettingsTable()) {
        if (setting.type != SettingType::Bool) {
            continue;
        }
        for (const int stored : {0, 1, 2, -1}) {
            MemorySettingsStore store;
            PutInt(store, setting.name, stored);
            EXPECT_EQ(setting.number(LoadSettings(store, Documents)), stored != 0 ? 1 : 0)
                << setting.name << " = " << stored;
        }
    }
    // "Include all subfolders" is a number: only exactly 1 includes them.
    MemorySettingsStore store;
    PutInt(store, "RE", 2);
    EXPECT_EQ(LoadSettings(store, Documents).includeSubfolders, 2);
}

TEST(LoadSettings, ValueOfTheWrongKindReadsAsTheDefault) {
    const AppSettings defaults = FirstRun();
    for (const Setting& setting : SettingsTable()) {
        for (const bool unknownKind : {false, true}) {
            MemorySettingsStore store;
            if (unknownKind) {
                store.WriteOther(kSettingsSection, setting.name);
            } else if (setting.IsNumber()) {
                PutText(store, setting.name, "1");
            } else {
                PutInt(store, setting.name, 1);
            }
            EXPECT_EQ(LoadSettings(store, Documents), defaults) << setting.name;
        }
    }
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
        EXPECT_EQ(store.Count(), SettingsTable().size()) << osVersion;
    }
    for (const int osVersion : {501, 601}) {
        MemorySettingsStore store;
        SaveSettings(settings, osVersion, store);
        EXPECT_FALSE(store.Contains(kSettingsSection, "CI")) << osVersion;
        EXPECT_FALSE(store.Contains(kSettingsSection, "IC")) << osVersion;
        EXPECT_FALSE(store.Contains(kSettingsSection, "IT")) << osVersion;
        EXPECT_EQ(store.Count(), SettingsTable().size() - 3) << osVersion;
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
        {"PR", 620},      {"PB", 450},    {"FS", 1},  {"BA", 0},
        {"HN", 0},        {"HP", 0},      {"HS", 0},  {"NR", 0},
        {"PDI", 0},
    };
    // One value per entry of the table; these stored values keep their names, kinds and defaults
    // whatever is added.
    EXPECT_EQ(store.Count(), SettingsTable().size());
    for (const auto& e : expected) {
        if (const int* number = std::get_if<int>(&e.value)) {
            EXPECT_EQ(store.IntValue(kSettingsSection, e.name), *number) << e.name;
        } else {
            EXPECT_EQ(store.TextValue(kSettingsSection, e.name), std::get<std::string>(e.value))
                << e.name;
        }
    }
}

TEST(SaveSettings, EveryValueIsSavedAndLoadedBackInItsOwnFieldAlone) {
    const AppSettings base = FirstRun();
    for (const Setting& setting : SettingsTable()) {
        AppSettings changed = base;
        ChangeValue(setting, changed);
        ASSERT_NE(changed, base) << setting.name;
        for (const Setting& other : SettingsTable()) {
            if (&other != &setting) {
                EXPECT_EQ(StoredForm(other, changed), StoredForm(other, base))
                    << setting.name << " changes " << other.name;
            }
        }
        MemorySettingsStore store;
        SaveSettings(changed, 500, store);
        EXPECT_EQ(LoadSettings(store, Documents), changed) << setting.name;
    }
}

TEST(SaveNextIndex, WritesOnlyTheIndex) {
    MemorySettingsStore store;
    SaveNextIndex(7, store);
    EXPECT_EQ(store.IntValue(kSettingsSection, "II"), 7);
    EXPECT_EQ(store.Count(), 1u);
}

}  // namespace
