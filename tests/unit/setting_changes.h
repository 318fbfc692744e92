// Changes a stored setting through the settings table, so that tests can go over every value.
#pragma once

#include <string>

#include "app/settings_table.h"

// Gives the setting's field a value it does not hold, within the setting's limit: negative and
// high-bit numbers where there is no limit, so that a sign or a bit lost on the way shows.
inline void ChangeValue(const Setting& setting, AppSettings& settings) {
    switch (setting.type) {
        case SettingType::Bool:
            setting.setNumber(settings, 1 - setting.number(settings));
            break;
        case SettingType::Int: {
            const int now = setting.number(settings);
            setting.setNumber(settings, setting.limit ? (now == 0 ? *setting.limit : 0) : ~now);
            break;
        }
        case SettingType::Text:
            setting.setText(settings, setting.text(settings) + "|changed");
            break;
        case SettingType::List:
            setting.setText(settings, setting.text(settings) + "23:59%");
            break;
    }
}

// The setting's value as it would be stored.
inline std::string StoredForm(const Setting& setting, const AppSettings& settings) {
    return setting.IsNumber() ? std::to_string(setting.number(settings)) : setting.text(settings);
}
