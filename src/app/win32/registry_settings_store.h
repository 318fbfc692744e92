// The SettingsStore of the Windows program: values under
// HKEY_CURRENT_USER\Software\<company>\<application>\<section>, read and written through the
// wide registry API; texts are UTF-8 inside.
#pragma once

#include <string>
#include <string_view>

#include "app/settings_store.h"

class RegistrySettingsStore final : public SettingsStore {
public:
    RegistrySettingsStore(std::string companyKey, std::string appName);

    // Integers are REG_DWORD values, texts REG_SZ values; a value of any other type or size
    // reads as the default.
    int ReadInt(std::string_view section, std::string_view name, int defaultValue) const override;
    std::string ReadText(std::string_view section, std::string_view name,
                         std::string_view defaultValue) const override;
    void WriteInt(std::string_view section, std::string_view name, int value) override;
    void WriteText(std::string_view section, std::string_view name,
                   std::string_view value) override;

private:
    // The key path below HKEY_CURRENT_USER.
    std::string SectionKeyPath(std::string_view section) const;

    std::string companyKey;
    std::string appName;
};
