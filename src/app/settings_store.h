// The port through which settings are read and written: named integer and text values in one
// section of a key-value store (the registry on Windows, a map in tests).
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
    SettingsStore() = default;
    SettingsStore(const SettingsStore&) = default;
    SettingsStore& operator=(const SettingsStore&) = default;
};
