// The INI store of a portable copy, against the settings table and the in-memory store that
// stands for the registry.
#include "app/ini_settings_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/memory_settings_store.h"
#include "app/settings_table.h"
#include "tests/unit/setting_changes.h"

namespace {

constexpr std::string_view kFolder = "E:\\Velumar";

std::string Documents() {
    return "E:\\Velumar\\Velumar-data";
}

// The file's text after the settings were saved into an INI store that started from text.
std::string SavedText(const AppSettings& settings, std::string_view text = {}) {
    std::string saved;
    IniSettingsStore store(text, std::string(kFolder), [&](std::string_view t) {
        saved = t;
        return true;
    });
    SaveSettings(settings, 500, store);
    return saved;
}

AppSettings Loaded(std::string_view text, std::string_view folder = kFolder) {
    return LoadSettings(IniSettingsStore(text, std::string(folder), nullptr), Documents);
}

}  // namespace

TEST(IniSettingsStore, EveryValueRoundTripsInItsOwnField) {
    const AppSettings base = Loaded("");
    for (const Setting& setting : SettingsTable()) {
        AppSettings changed = base;
        ChangeValue(setting, changed);
        EXPECT_EQ(Loaded(SavedText(changed)), changed) << setting.name;
    }
    AppSettings named = base;
    named.listFile = "D:\\Εικόνες\\日本の写真 😀.vlt";
    named.lastListDir = " spaced ";
    named.switchPeriod = "\"quoted\"";
    EXPECT_EQ(Loaded(SavedText(named)), named);
}

TEST(IniSettingsStore, StoredNumbersReadAsTheRegistryStoreReadsThem) {
    EXPECT_EQ(Loaded(""), LoadSettings(MemorySettingsStore(), Documents));
    // The registry holds 32 bits: the file's decimal text of any such value reads the same,
    // negative and above every limit included, so the same defaults and limits apply.
    const std::vector<std::pair<std::string, int>> numbers = {
        {"0", 0},           {"3", 3},
        {"51", 51},         {"961", 961},
        {"-1", -1},         {"-2147483648", INT32_MIN},
        {"+7", 7},          {"2147483648", INT32_MIN},
        {"4294967295", -1}, {"  12  ", 12},
    };
    for (const Setting& setting : SettingsTable()) {
        if (!setting.IsNumber()) {
            continue;
        }
        for (const auto& [text, value] : numbers) {
            MemorySettingsStore registry;
            registry.WriteInt(kSettingsSection, setting.name, value);
            EXPECT_EQ(Loaded("[Settings]\n" + std::string(setting.name) + "=" + text),
                      LoadSettings(registry, Documents))
                << setting.name << "=" << text;
        }
    }
}

TEST(IniSettingsStore, WhatCannotBeReadGivesTheDefault) {
    // "RE" is 1 and "PE" "5:00" by default.
    const struct {
        std::string text;
        int subfolders;
        std::string period;
    } cases[] = {
        {"[Settings]\r\nRE=2\r\nPE=1:00\r\n", 2, "1:00"},
        {"\xEF\xBB\xBF[Settings]\nRE=2\nPE=1:00", 2, "1:00"},
        {"\xEF\xBB\xBF[settings]\r\n  re = 2 \r\n; a comment\r\npe=\"1:00\"\r\n", 2, "1:00"},
        // No section, or another one: nothing is read.
        {"RE=2\r\nPE=1:00\r\n", 1, "5:00"},
        {"[Other]\r\nRE=2\r\n[Settings\r\nPE=1:00\r\n", 1, "5:00"},
        // The first of duplicate names holds.
        {"[Settings]\nRE=2\nRE=0\nPE=1:00\nPE=2:00\n[Settings]\nRE=0\n", 2, "1:00"},
        // Bad numbers, lines without "=", an empty name, lone CRs, stray bytes.
        {"[Settings]\nRE=2x\nRE=0\n", 1, "5:00"},
        {"[Settings]\nRE=\nRE=0x2\n", 1, "5:00"},
        {"[Settings]\nRE=99999999999\nPE\n=1:00\n", 1, "5:00"},
        {"[Settings]\rRE=2\rPE=1:00", 1, "5:00"},
        {std::string("[Settings]\nRE=0\0\xFF\n", 18) + "PE=1:00", 1, "1:00"},
    };
    for (const auto& c : cases) {
        const AppSettings loaded = Loaded(c.text);
        EXPECT_EQ(loaded.includeSubfolders, c.subfolders) << c.text;
        EXPECT_EQ(loaded.switchPeriod, c.period) << c.text;
    }
}

TEST(IniSettingsStore, PlacesInTheProgramsFolderMoveWithIt) {
    AppSettings settings = Loaded("");
    settings.listFile = "e:\\velumar\\Velumar-data\\Velumar.vlt";
    settings.lastListDir = "E:\\Velumar";
    settings.lastAddFilesDir = "E:\\Velumar2\\Pictures";
    const std::string text = SavedText(settings);
    EXPECT_NE(text.find("CF=.\\Velumar-data\\Velumar.vlt\r\n"), std::string::npos);
    EXPECT_NE(text.find("LD=.\r\n"), std::string::npos);
    const AppSettings moved = Loaded(text, "F:\\Stick\\Velumar");
    EXPECT_EQ(moved.listFile, "F:\\Stick\\Velumar\\Velumar-data\\Velumar.vlt");
    EXPECT_EQ(moved.lastListDir, "F:\\Stick\\Velumar");
    EXPECT_EQ(moved.lastAddFilesDir, "E:\\Velumar2\\Pictures");
}

TEST(IniSettingsStore, WritesTheWholeFileOncePerBatchAndKeepsOtherSections) {
    std::vector<std::string> saves;
    bool refuse = true;
    IniSettingsStore store("[Other]\nkept=1\n[Settings]\nPE=1:00\n", std::string(kFolder),
                           [&](std::string_view text) {
                               saves.emplace_back(text);
                               return !refuse;
                           });
    store.WriteInt(kSettingsSection, "WM", 2);
    store.WriteText(kSettingsSection, "PE", "1:00");  // unchanged: not written again
    // A refused save is tried again with the next write; a batch writes once at its end.
    refuse = false;
    {
        const SettingsWriteBatch batch(store);
        store.WriteInt(kSettingsSection, "RA", 1);
        store.WriteInt(kSettingsSection, "NR", 1);
    }
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(
        saves.back(),
        "\xEF\xBB\xBF[Other]\r\nkept=1\r\n\r\n[Settings]\r\nPE=1:00\r\nWM=2\r\nRA=1\r\nNR=1\r\n");
}
