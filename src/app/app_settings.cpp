// Loading and saving AppSettings through a SettingsStore.
#include "app/app_settings.h"

#include <cstdint>

#include "app/settings_table.h"

namespace {

// The stored number taken as unsigned, so that a negative value counts as above the limit.
int Capped(int stored, int limit) {
    return static_cast<uint32_t>(stored) > static_cast<uint32_t>(limit) ? limit : stored;
}

std::string DefaultText(const Setting& setting, const AppSettings& loaded,
                        mbcs::LeadBytePredicate isLeadByte) {
    switch (setting.textDefault) {
        case TextDefault::ListFileInListDir:
            return DefaultListFile(loaded.lastListDir, isLeadByte);
        case TextDefault::AddFilesDir:
            return loaded.lastAddFilesDir;
        default:
            return setting.DefaultText();
    }
}

void LoadValue(const Setting& setting, const SettingsStore& store,
               const std::function<std::string()>& personalDocumentsFolder,
               mbcs::LeadBytePredicate isLeadByte, AppSettings& settings) {
    if (setting.IsNumber()) {
        const int fallback = setting.DefaultNumber();
        int stored = store.ReadInt(kSettingsSection, setting.name, fallback);
        if (stored < 0 && setting.negativeReadsAsDefault) {
            stored = fallback;
        }
        setting.setNumber(settings, setting.limit ? Capped(stored, *setting.limit) : stored);
        return;
    }
    std::string stored =
        store.ReadText(kSettingsSection, setting.name, DefaultText(setting, settings, isLeadByte));
    if (stored.empty() && setting.textDefault == TextDefault::DocumentsFolderWhenEmpty &&
        personalDocumentsFolder) {
        stored = personalDocumentsFolder();
    }
    setting.setText(settings, stored);
}

}  // namespace

std::vector<std::string> SplitTimeList(std::string_view text) {
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t end = text.find('%'); end != std::string_view::npos; end = text.find('%', start)) {
        items.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

std::string JoinTimeList(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += item;
        text += '%';
    }
    return text;
}

std::string DefaultListFile(std::string_view lastListDir, mbcs::LeadBytePredicate isLeadByte) {
    std::string path(lastListDir);
    if (!path.empty() && !mbcs::EndsWith(path, '\\', isLeadByte)) {
        path += '\\';
    }
    path += kDefaultListFileName;
    return path;
}

AppSettings LoadSettings(const SettingsStore& store,
                         const std::function<std::string()>& personalDocumentsFolder,
                         mbcs::LeadBytePredicate isLeadByte) {
    AppSettings settings;
    for (const bool derived : {false, true}) {
        for (const Setting& setting : SettingsTable()) {
            if (setting.DefaultIsDerived() == derived) {
                LoadValue(setting, store, personalDocumentsFolder, isLeadByte, settings);
            }
        }
    }
    return settings;
}

void SaveSettings(const AppSettings& settings, int osVersion, SettingsStore& store) {
    const SettingsWriteBatch batch(store);
    for (const Setting& setting : SettingsTable()) {
        if (setting.writtenUpToOs && osVersion > *setting.writtenUpToOs) {
            continue;
        }
        if (setting.IsNumber()) {
            store.WriteInt(kSettingsSection, setting.name, setting.number(settings));
        } else {
            store.WriteText(kSettingsSection, setting.name, setting.text(settings));
        }
    }
}

void SaveNextIndex(int nextIndex, SettingsStore& store) {
    store.WriteInt(kSettingsSection, kNextIndexValue, nextIndex);
}
