// An in-memory SettingsStore for tests.
#include "app/memory_settings_store.h"

const MemorySettingsStore::Value* MemorySettingsStore::Find(std::string_view section,
                                                            std::string_view name) const {
    const auto it = values.find(MakeKey(section, name));
    return it == values.end() ? nullptr : &it->second;
}

int MemorySettingsStore::ReadInt(std::string_view section, std::string_view name,
                                 int defaultValue) const {
    return IntValue(section, name).value_or(defaultValue);
}

std::string MemorySettingsStore::ReadText(std::string_view section, std::string_view name,
                                          std::string_view defaultValue) const {
    if (auto text = TextValue(section, name)) {
        return *std::move(text);
    }
    return std::string(defaultValue);
}

void MemorySettingsStore::WriteInt(std::string_view section, std::string_view name, int value) {
    values[MakeKey(section, name)] = value;
}

void MemorySettingsStore::WriteText(std::string_view section, std::string_view name,
                                    std::string_view value) {
    values[MakeKey(section, name)] = std::string(value);
}

void MemorySettingsStore::WriteOther(std::string_view section, std::string_view name) {
    values[MakeKey(section, name)] = std::monostate{};
}

void MemorySettingsStore::Erase(std::string_view section, std::string_view name) {
    values.erase(MakeKey(section, name));
}

std::optional<int> MemorySettingsStore::IntValue(std::string_view section,
                                                 std::string_view name) const {
    const Value* value = Find(section, name);
    if (value == nullptr || !std::holds_alternative<int>(*value)) {
        return std::nullopt;
    }
    return std::get<int>(*value);
}

std::optional<std::string> MemorySettingsStore::TextValue(std::string_view section,
                                                          std::string_view name) const {
    const Value* value = Find(section, name);
    if (value == nullptr || !std::holds_alternative<std::string>(*value)) {
        return std::nullopt;
    }
    return std::get<std::string>(*value);
}

bool MemorySettingsStore::Contains(std::string_view section, std::string_view name) const {
    return Find(section, name) != nullptr;
}
