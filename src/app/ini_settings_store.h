// The SettingsStore of a portable copy: an INI file beside the program ("name=value" lines
// under "[Section]" headers, UTF-8, numbers in decimal), read once and written whole.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_store.h"

class IniSettingsStore final : public SettingsStore {
public:
    // save puts the whole new text in the file's place (atomically) and says whether it did;
    // without it nothing is ever written, as on a folder that cannot be written. Texts that name
    // a place inside programFolder are kept relative to it ('.\' first), so the copy still
    // finds them when it is moved to another drive or folder.
    IniSettingsStore(std::string_view text, std::string programFolder,
                     std::function<bool(std::string_view text)> save);

    int ReadInt(std::string_view section, std::string_view name, int defaultValue) const override;
    std::string ReadText(std::string_view section, std::string_view name,
                         std::string_view defaultValue) const override;
    void WriteInt(std::string_view section, std::string_view name, int value) override;
    void WriteText(std::string_view section, std::string_view name,
                   std::string_view value) override;

    // The file's text as it would be written now.
    std::string Text() const;

private:
    void BeginBatch() override { ++batchDepth; }
    void EndBatch() override;

    struct Entry {
        std::string section;
        std::string name;
        std::string value;
    };
    std::size_t IndexOf(std::string_view section, std::string_view name) const;
    const Entry* Find(std::string_view section, std::string_view name) const;
    // Stores the value as the file keeps it, and writes the file unless a batch holds it.
    void Put(std::string_view section, std::string_view name, std::string value);
    void Save();

    // In the file's order; a name repeated within a section is kept once, the first time.
    std::vector<Entry> entries;
    std::string programFolder;
    std::function<bool(std::string_view text)> save;
    int batchDepth = 0;
    bool unsaved = false;
};

// A stored decimal number, as the registry's 32-bit value would hold it (up to 4294967295,
// wrapping above 2147483647, down to -2147483648); nothing for any other text.
std::optional<int> ParseStoredNumber(std::string_view text);
