// Loading and saving AppSettings through a SettingsStore.
#include "app/app_settings.h"

#include <cstdint>

namespace {

constexpr int kMaxMaskMode = 2;
constexpr int kMaxMaskPercent = 50;
constexpr int kLastOsWithIconTextControl = 500;

int ReadInt(const SettingsStore& store, std::string_view name, int defaultValue) {
    return store.ReadInt(kSettingsSection, name, defaultValue);
}

bool ReadBool(const SettingsStore& store, std::string_view name, bool defaultValue) {
    return ReadInt(store, name, defaultValue ? 1 : 0) != 0;
}

std::string ReadText(const SettingsStore& store, std::string_view name,
                     std::string_view defaultValue) {
    return store.ReadText(kSettingsSection, name, defaultValue);
}

// The stored number taken as unsigned, so that a negative value counts as above the limit.
int ReadCapped(const SettingsStore& store, std::string_view name, int defaultValue, int limit) {
    const auto stored = static_cast<uint32_t>(ReadInt(store, name, defaultValue));
    return stored > static_cast<uint32_t>(limit) ? limit : static_cast<int>(stored);
}

void WriteInt(SettingsStore& store, std::string_view name, int value) {
    store.WriteInt(kSettingsSection, name, value);
}

void WriteBool(SettingsStore& store, std::string_view name, bool value) {
    WriteInt(store, name, value ? 1 : 0);
}

void WriteText(SettingsStore& store, std::string_view name, std::string_view value) {
    store.WriteText(kSettingsSection, name, value);
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
    const AppSettings defaults;
    AppSettings s;

    s.switchMode = ReadInt(store, "WH", defaults.switchMode);
    s.switchPeriod = ReadText(store, "PE", defaults.switchPeriod);
    s.switchTimes = SplitTimeList(ReadText(store, "TM", ""));
    s.startSwitchingAtStartup = ReadBool(store, "SA", defaults.startSwitchingAtStartup);
    s.hideAtStartup = ReadBool(store, "HI", defaults.hideAtStartup);
    s.randomOrder = ReadBool(store, "RA", defaults.randomOrder);
    s.nextIndex = ReadInt(store, "II", defaults.nextIndex);
    s.includeSubfolders = ReadInt(store, "RE", defaults.includeSubfolders);
    s.enforceUniqueness = ReadBool(store, "EU", defaults.enforceUniqueness);
    s.tileWallpaper = ReadBool(store, "TI", defaults.tileWallpaper);
    s.showWelcome = ReadBool(store, "SW", defaults.showWelcome);

    s.controlIconText = ReadBool(store, "CI", defaults.controlIconText);
    s.iconTextColor =
        static_cast<uint32_t>(ReadInt(store, "IC", static_cast<int>(defaults.iconTextColor)));
    s.iconTextTransparent = ReadBool(store, "IT", defaults.iconTextTransparent);

    s.resizeMode = ReadInt(store, "RT", defaults.resizeMode);
    s.standardSizeIndex = ReadInt(store, "SS", defaults.standardSizeIndex);
    s.customWidth = ReadInt(store, "WI", defaults.customWidth);
    s.customHeight = ReadInt(store, "HE", defaults.customHeight);
    s.retainAspectRatio = ReadBool(store, "RR", defaults.retainAspectRatio);
    s.reductionMethod = ReadInt(store, "RM", defaults.reductionMethod);

    s.maskMode = ReadCapped(store, "ME", defaults.maskMode, kMaxMaskMode);
    s.maskLeft = ReadCapped(store, "MRL", 0, kMaxMaskPercent);
    s.maskTop = ReadCapped(store, "MRT", 0, kMaxMaskPercent);
    s.maskRight = ReadCapped(store, "MRR", 0, kMaxMaskPercent);
    s.maskBottom = ReadCapped(store, "MRB", 0, kMaxMaskPercent);
    s.maskFile = ReadText(store, "MF", "");
    s.maskImageOutline = ReadBool(store, "MI", defaults.maskImageOutline);

    s.lastListDir = ReadText(store, "LD", "");
    if (s.lastListDir.empty() && personalDocumentsFolder) {
        s.lastListDir = personalDocumentsFolder();
    }
    s.listFile = ReadText(store, "CF", DefaultListFile(s.lastListDir, isLeadByte));
    s.lastAddFilesDir = ReadText(store, "PD", "");
    s.lastAddFolderDir = ReadText(store, "FD", s.lastAddFilesDir);
    s.lastMaskDir = ReadText(store, "MD", s.lastAddFilesDir);

    s.openDialogPreview = ReadBool(store, "OP", defaults.openDialogPreview);
    s.mainPreview = ReadBool(store, "PRV", defaults.mainPreview);
    s.windowRect.left = ReadInt(store, "PL", defaults.windowRect.left);
    s.windowRect.top = ReadInt(store, "PT", defaults.windowRect.top);
    s.windowRect.right = ReadInt(store, "PR", defaults.windowRect.right);
    s.windowRect.bottom = ReadInt(store, "PB", defaults.windowRect.bottom);
    return s;
}

void SaveSettings(const AppSettings& s, int osVersion, SettingsStore& store) {
    WriteInt(store, "WH", s.switchMode);
    WriteText(store, "PE", s.switchPeriod);
    WriteText(store, "TM", JoinTimeList(s.switchTimes));
    WriteBool(store, "SA", s.startSwitchingAtStartup);
    WriteBool(store, "HI", s.hideAtStartup);
    WriteBool(store, "RA", s.randomOrder);
    SaveNextIndex(s.nextIndex, store);
    WriteInt(store, "RE", s.includeSubfolders);
    WriteBool(store, "EU", s.enforceUniqueness);
    WriteBool(store, "TI", s.tileWallpaper);
    WriteBool(store, "SW", s.showWelcome);

    if (osVersion <= kLastOsWithIconTextControl) {
        WriteBool(store, "CI", s.controlIconText);
        WriteInt(store, "IC", static_cast<int>(s.iconTextColor));
        WriteBool(store, "IT", s.iconTextTransparent);
    }

    WriteInt(store, "RT", s.resizeMode);
    WriteInt(store, "SS", s.standardSizeIndex);
    WriteInt(store, "WI", s.customWidth);
    WriteInt(store, "HE", s.customHeight);
    WriteBool(store, "RR", s.retainAspectRatio);
    WriteInt(store, "RM", s.reductionMethod);

    WriteInt(store, "ME", s.maskMode);
    WriteInt(store, "MRL", s.maskLeft);
    WriteInt(store, "MRT", s.maskTop);
    WriteInt(store, "MRR", s.maskRight);
    WriteInt(store, "MRB", s.maskBottom);
    WriteText(store, "MF", s.maskFile);
    WriteBool(store, "MI", s.maskImageOutline);

    WriteText(store, "CF", s.listFile);
    WriteText(store, "LD", s.lastListDir);
    WriteText(store, "PD", s.lastAddFilesDir);
    WriteText(store, "FD", s.lastAddFolderDir);
    WriteText(store, "MD", s.lastMaskDir);

    WriteBool(store, "OP", s.openDialogPreview);
    WriteBool(store, "PRV", s.mainPreview);
    WriteInt(store, "PL", s.windowRect.left);
    WriteInt(store, "PT", s.windowRect.top);
    WriteInt(store, "PR", s.windowRect.right);
    WriteInt(store, "PB", s.windowRect.bottom);
}

void SaveNextIndex(int nextIndex, SettingsStore& store) {
    WriteInt(store, "II", nextIndex);
}
