// The one declaration of every stored setting: its value name, type, limit and the field of
// AppSettings it fills; its default is that field's in a default AppSettings, so the defaults are
// written once, beside the fields. LoadSettings, SaveSettings and the tests follow this table,
// so a new setting is one line here (and its page).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/app_settings.h"

enum class SettingType {
    // A 32-bit number (REG_DWORD).
    Int,
    // Stored as 0 or 1; any nonzero number reads as true.
    Bool,
    // A string (REG_SZ).
    Text,
    // Texts stored as one string, each followed by "%".
    List,
};

// Where a text's default comes from.
enum class TextDefault {
    Declared,
    // Read with an empty default; a text that is then empty becomes the personal documents
    // folder.
    DocumentsFolderWhenEmpty,
    // kDefaultListFileName in the loaded lastListDir.
    ListFileInListDir,
    // The loaded lastAddFilesDir.
    AddFilesDir,
};

struct Setting {
    std::string_view name;
    SettingType type = SettingType::Int;
    // Declared: the field's value in a default AppSettings.
    TextDefault textDefault = TextDefault::Declared;
    // An Int with a limit is read as an unsigned number and capped at the limit, so that a
    // stored negative number also becomes the limit.
    std::optional<int> limit;
    // A stored negative number reads as the default instead (a value for which 0 means "not
    // known").
    bool negativeReadsAsDefault = false;
    // Written only while the Windows version (major * 100 + minor) is at most this.
    std::optional<int> writtenUpToOs;

    // The default in its stored form, as the field of a default AppSettings holds it.
    int DefaultNumber() const { return number(AppSettings()); }
    std::string DefaultText() const { return text(AppSettings()); }

    // The field in its stored form: Int and Bool as a number, Text and List as a text.
    int (*number)(const AppSettings& settings) = nullptr;
    void (*setNumber)(AppSettings& settings, int value) = nullptr;
    std::string (*text)(const AppSettings& settings) = nullptr;
    void (*setText)(AppSettings& settings, std::string_view value) = nullptr;

    bool IsNumber() const { return type == SettingType::Int || type == SettingType::Bool; }
    // The default is another loaded value, so it is read after the others.
    bool DefaultIsDerived() const {
        return textDefault == TextDefault::ListFileInListDir ||
               textDefault == TextDefault::AddFilesDir;
    }
};

// Every stored value, in the order SaveSettings writes them.
std::span<const Setting> SettingsTable();
