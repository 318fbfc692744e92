// Every option that outlives a run, and how it is loaded from and saved to a SettingsStore. Each
// stored value is declared in the settings table (settings_table.h); the defaults written here
// are the only ones, and the table reads them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/render_settings.h"
#include "app/settings_store.h"
#include "base/mbcs.h"

// Name of the list file placed in lastListDir when "CF" is not stored.
inline constexpr std::string_view kDefaultListFileName = "Velumar.vlt";
// The last Windows version (major * 100 + minor) on which the desktop icon caption options act:
// Windows 2000.
inline constexpr int kLastOsWithIconText = 500;
// The value that holds nextIndex, also written alone after every switch.
inline constexpr std::string_view kNextIndexValue = "II";

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const WindowRect&) const = default;
};

struct AppSettings {
    // General page: 0 only at startup, 1 at regular intervals, 2 at specific times.
    int switchMode = 0;
    std::string switchPeriod = "5:00";
    std::vector<std::string> switchTimes;
    bool startSwitchingAtStartup = true;
    bool hideAtStartup = false;
    bool randomOrder = false;
    int nextIndex = 0;
    // Kept as stored: subfolders are included only when it is exactly 1.
    int includeSubfolders = 1;
    bool enforceUniqueness = false;
    bool showWelcome = true;
    // Timed switches wait while a full-screen window is in front, or while on battery.
    bool holdWhenFullscreen = true;
    bool holdOnBattery = false;
    // Keys page: global keys as the hotkey control gives them (modifiers in the high byte, the
    // virtual key in the low byte); 0 is no key.
    uint32_t nextKey = 0;
    uint32_t previousKey = 0;
    uint32_t pauseKey = 0;
    // "Never show this picture" and "Favourite" for the picture on the desktop.
    uint32_t hideKey = 0;
    uint32_t favouriteKey = 0;
    // Random order deals every item once before any comes again.
    bool noRepeats = false;
    // With a picture per monitor, a portrait monitor takes the next portrait image and a wide
    // one the next wide image.
    bool matchOrientation = true;
    // Every picture shown on the desktop is also set as the lock-screen picture, where the
    // system lets a program set it (Windows 10 and later).
    bool lockScreen = false;
    // How often favourites come: 0 as often as the others, 1 three times as often (random
    // order), 2 only favourites (the whole list when none of it is a favourite).
    int favourites = 0;
    // Pictures left out of the rotation: those whose upright width and height are both below
    // this percentage of their monitor's (0 is off), and those not of this shape (0 any, 1
    // landscape only, 2 portrait only; a square picture is both).
    int minSizePercent = 0;
    int shapeFilter = 0;

    // Desktop icon captions; iconTextColor has red in the low byte, then green, then blue.
    bool controlIconText = false;
    uint32_t iconTextColor = 0x00FFFFFF;
    bool iconTextTransparent = false;

    // The resizing and masking pages and tiling: everything that shapes a rendered wallpaper.
    RenderSettings render;

    // Files and the folders the dialogs last used.
    std::string listFile;
    std::string lastListDir;
    std::string lastAddFilesDir;
    std::string lastAddFolderDir;
    std::string lastMaskDir;

    bool openDialogPreview = true;
    bool mainPreview = true;
    WindowRect windowRect{0, 0, 620, 450};
    // The DPI the window was at when windowRect was recorded; 0 when not known (settings kept
    // by earlier versions).
    int windowDpi = 0;

    bool operator==(const AppSettings&) const = default;
};

// The "TM" encoding: every item is followed by "%". Splitting drops text after the last "%".
std::vector<std::string> SplitTimeList(std::string_view text);
std::string JoinTimeList(const std::vector<std::string>& items);

// lastListDir joined with kDefaultListFileName, with one backslash between them (none when
// lastListDir is empty).
std::string DefaultListFile(std::string_view lastListDir,
                            mbcs::LeadBytePredicate isLeadByte = mbcs::NoLeadBytes);

// Reads every field from kSettingsSection. personalDocumentsFolder is asked only when "LD" is
// empty and returns "" when the folder cannot be found.
AppSettings LoadSettings(const SettingsStore& store,
                         const std::function<std::string()>& personalDocumentsFolder,
                         mbcs::LeadBytePredicate isLeadByte = mbcs::NoLeadBytes);

// Writes every field; the icon caption options only on Windows 2000 and earlier (osVersion
// major * 100 + minor at most kLastOsWithIconText), the only systems on which they act.
void SaveSettings(const AppSettings& settings, int osVersion, SettingsStore& store);

// Writes the position in the switching sequence alone, as every switch does.
void SaveNextIndex(int nextIndex, SettingsStore& store);
