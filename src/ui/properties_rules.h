// What the property sheet's pages hold, decide and check, apart from their windows: the values
// copied in from the settings and back on OK, each page's enabling rule and its field checks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "ui/dialog_data.h"
#include "ui/global_keys.h"

// What HWND points to, declared without <windows.h>.
struct HWND__;

// General page.
struct GeneralPageValues {
    int switchMode = -1;
    int includeSubfolders = 0;
    int enforceUniqueness = 0;
    int randomize = 0;
    int tile = 0;
    int holdWhenFullscreen = 0;
    int holdOnBattery = 0;
    int noRepeats = 0;
    int uprightPhotos = 0;
    std::string interval;
    int startSwitchingAtStartup = 0;
    int hideAtStartup = 0;
    int transparent = 0;
    int controlIconText = 0;
    std::uint32_t textColor = 0;
    std::vector<std::string> times;
    int lockScreen = 0;
    int favourites = 0;      // combo 1125: as often as the others, three times, only favourites
    int minSizePercent = 0;  // edit 1127: 0 to 100, 0 is off
    int shapeFilter = 0;     // combo 1128: any, landscape only, portrait only
    // Not a setting, never copied back: opens the hidden pictures over the sheet; without it the
    // "Hidden pictures..." button is disabled.
    std::function<void(HWND__* owner)> showHiddenPictures;
    // Shown on the page, never copied back: whether the system lets a program set the
    // lock-screen picture, and the note about the last failure (LockScreenFailureNote).
    bool lockScreenAvailable = true;
    std::string lockScreenNote;
};

struct GeneralEnabling {
    bool interval = false;       // group 1043 and edit 1016
    bool timeList = false;       // list 1042 and "Add..." 1040
    bool removeTime = false;     // "Remove" 1041
    bool iconTextAll = false;    // 1067 and the rest exist at all (before Windows XP)
    bool iconTextShown = false;  // group 1068, "Transparent" 1070 and the colour button 1069
};

// The icon text controls exist only up to Windows 2000 (kLastOsWithIconText).
GeneralEnabling ComputeGeneralEnabling(int switchMode, int selectedTimes, bool controlIconText,
                                       int osVersion);

// What leaving the interval edit does to its text.
struct IntervalCheck {
    enum class Outcome { Keep, Replace, Refuse } outcome = Outcome::Keep;
    std::string text;  // the normalised text, with Replace
};

inline constexpr const char* kIntervalFormatMessage =
    "Please enter a time interval in HH:MM:SS format.";

IntervalCheck CheckInterval(int switchMode, const std::string& text);

// The General page's choices, in the order of their values.
inline constexpr const char* kFavouritesChoices[] = {"as often as the others",
                                                     "three times as often", "only favourites"};
inline constexpr const char* kShapeChoices[] = {"any", "landscape only", "portrait only"};

// The smallest-size edit: a number from 0 to 100; anything else is refused.
std::optional<FieldError> ReadMinSizeField(std::string_view text, int& percent);

// The lock-screen check box 1097 and the note 1098 under it.
struct LockScreenLine {
    bool enabled = true;
    std::string note;
};

inline constexpr const char* kLockScreenUnavailableNote =
    "Windows here does not let programs set the lock-screen picture (Windows 10 or later does).";

// The note about the last failure to set the lock screen, with the system's reason; empty when
// there was none.
std::string LockScreenFailureNote(const std::string& failure);

// Unavailable: the check box is disabled (keeping its value) and the note says why; otherwise
// the page's note (the last failure, if any) stands.
LockScreenLine ComputeLockScreenLine(bool available, const std::string& note);

// Resizing page.
struct ResizingPageValues {
    int retainAspect = 0;
    unsigned width = 0;
    int resizeChoice = -1;
    unsigned height = 0;
    int reductionChoice = -1;
    int sizeChoice = -1;
    int pictureColor = 0;
};

// The controls' contents as the page reads them back.
struct ResizingPageControls {
    int retainAspect = 0;
    std::string width;
    int resizeChoice = -1;
    std::string height;
    int reductionChoice = -1;
    int sizeChoice = -1;
    int pictureColor = 0;
};

struct ResizingEnabling {
    bool sizeList = false;      // 1024
    bool customSize = false;    // 1025 and 1026
    bool retainAspect = false;  // 1032: the crop and the blurred frame always keep it
};

// A refused width or height keeps both edits enabled whatever the choice, so the field the
// user is sent back to can be corrected.
ResizingEnabling ComputeResizingEnabling(int resizeChoice,
                                         const std::optional<FieldError>& refused = std::nullopt);

// Reads the controls into the values in the page's order; stops at the first refused field.
std::optional<FieldError> ReadResizingPage(const ResizingPageControls& controls,
                                           ResizingPageValues& values);

// Masking page.
struct MaskPageValues {
    int maskChoice = -1;
    unsigned bottom = 0;
    unsigned left = 0;
    unsigned right = 0;
    unsigned top = 0;
    std::string maskFile;
    int outline = 0;
};

struct MaskPageControls {
    int maskChoice = -1;
    std::string bottom;
    std::string left;
    std::string right;
    std::string top;
    std::string maskFile;
    int outline = 0;
};

struct MaskEnabling {
    bool edges = false;    // 1073 to 1076 and group 1077
    bool file = false;     // 1079, "Browse..." 1080 and group 1078
    bool outline = false;  // 1082
};

// A refused percentage keeps the edge edits enabled whatever the choice, so the field the user
// is sent back to can be corrected.
MaskEnabling ComputeMaskEnabling(int maskType,
                                 const std::optional<FieldError>& refused = std::nullopt);

// Reads the controls in the page's order: the percentages bottom, left, right, top, each
// 0 to 99; stops at the first refused field.
std::optional<FieldError> ReadMaskPage(const MaskPageControls& controls, MaskPageValues& values);

// Keys page: the hotkey controls' values.
struct KeysPageValues {
    std::uint32_t next = 0;
    std::uint32_t previous = 0;
    std::uint32_t pause = 0;
    std::uint32_t hide = 0;
    std::uint32_t favourite = 0;
};

// The line under a key's box when the same key is chosen for another command: it names the
// first such command in the page's order; empty when there is none.
std::string SameKeyLine(const KeysPageValues& values, GlobalKey key);

// A key chosen for two commands is refused at the later box, naming the earlier command.
std::optional<FieldError> CheckKeysPage(const KeysPageValues& values);

// Monitors page: the monitor mode (0 to 3, the radio buttons' order) and the orientation match.
struct MonitorsPageValues {
    int monitorMode = 0;
    int matchOrientation = 1;
};

// The orientation match applies only with a different picture on each monitor.
bool MatchOrientationEnabled(int monitorMode);

// The sheet as a whole.
struct PropertiesValues {
    GeneralPageValues general;
    ResizingPageValues resizing;
    MaskPageValues mask;
    KeysPageValues keys;
    MonitorsPageValues monitors;
};

PropertiesValues CopyIntoPages(const AppSettings& settings);

// The settings after OK: everything from the General and Resizing pages, the time list in the
// list's order, the mask mode and outline, the percentages only for the edge mask and the
// file only for the file mask.
void CopyBackFromPages(const PropertiesValues& values, AppSettings& settings);

// Mode "At specific times" with no time: the user is warned, the settings stand.
bool WarnNoSwitchTimes(const AppSettings& settings);
