// The port through which settings are read and written: named integer and text values in one
// section of a key-value store (the registry on Windows, an INI file beside a portable copy, a
// map in tests).
#pragma once

#include <string>
#include <string_view>

// The only section Velumar uses.
inline constexpr std::string_view kSettingsSection = "Settings";

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored value, or defaultValue when it is missing or not of the asked kind.
    virtual int ReadInt(std::string_view section, std::string_view name,
                        int defaultValue) const = 0;
    virtual std::string ReadText(std::string_view section, std::string_view name,
                                 std::string_view defaultValue) const = 0;

    // Store a value, creating the section as needed; a failure is ignored.
    virtual void WriteInt(std::string_view section, std::string_view name, int value) = 0;
    virtual void WriteText(std::string_view section, std::string_view name,
                           std::string_view value) = 0;

protected:
    friend class SettingsWriteBatch;
    // Writes between these two may reach the medium together, when the batch ends (a store that
    // writes a whole file at a time writes it once for all of them).
    virtual void BeginBatch() {}
    virtual void EndBatch() {}

    SettingsStore() = default;
    SettingsStore(const SettingsStore&) = default;
    SettingsStore& operator=(const SettingsStore&) = default;
};

// Many writes as one: the store may hold them until this ends.
class SettingsWriteBatch {
public:
    explicit SettingsWriteBatch(SettingsStore& store) : store(store) { store.BeginBatch(); }
    ~SettingsWriteBatch() { store.EndBatch(); }
    SettingsWriteBatch(const SettingsWriteBatch&) = delete;
    SettingsWriteBatch& operator=(const SettingsWriteBatch&) = delete;

private:
    SettingsStore& store;
};
