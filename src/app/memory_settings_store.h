// An in-memory SettingsStore for tests, with inspection of what was written and a way to plant
// values of an unexpected kind.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "app/settings_store.h"

class MemorySettingsStore final : public SettingsStore {
public:
    int ReadInt(std::string_view section, std::string_view name, int defaultValue) const override;
    std::string ReadText(std::string_view section, std::string_view name,
                         std::string_view defaultValue) const override;
    void WriteInt(std::string_view section, std::string_view name, int value) override;
    void WriteText(std::string_view section, std::string_view name,
                   std::string_view value) override;

    // Stores a value that is neither an integer nor a text (as a binary registry value would
    // be): both reads of it give their default.
    void WriteOther(std::string_view section, std::string_view name);
    void Erase(std::string_view section, std::string_view name);

    // The value when it is stored with that kind, otherwise empty.
    std::optional<int> IntValue(std::string_view section, std::string_view name) const;
    std::optional<std::string> TextValue(std::string_view section, std::string_view name) const;
    bool Contains(std::string_view section, std::string_view name) const;
    // Number of stored values over all sections.
    size_t Count() const { return values.size(); }

private:
    using Key = std::pair<std::string, std::string>;
    using Value = std::variant<std::monostate, int, std::string>;

    static Key MakeKey(std::string_view section, std::string_view name) {
        return {std::string(section), std::string(name)};
    }
    const Value* Find(std::string_view section, std::string_view name) const;

    std::map<Key, Value> values;
};
