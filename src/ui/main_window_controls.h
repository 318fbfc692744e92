// Which of the main window's controls are enabled and what they show, from the selection,
// the selected entry and the switching state.
#pragma once

#include <optional>
#include <string>

#include "list/wallpaper_entry.h"

// What the image library tells of an image file.
struct ImageInfo {
    int width = 0;
    int height = 0;
    int pages = 0;
    std::string description;
};

// The string-table texts the rule fills in.
struct ControlTexts {
    std::string notAnImage;       // string 102
    std::string folderSelected;   // string 103
    std::string imageInfoFormat;  // string 104: width, height, pages, description
};

struct ControlInputs {
    int selectedCount = 0;
    // The entry of the first selected row, when exactly one row is selected.
    const WallpaperEntry* entry = nullptr;
    bool entryIsExistingFile = false;
    // The image information of that entry, when it is an image the library can describe.
    std::optional<ImageInfo> image;
    // The control values as they were read before the refresh.
    int rotationIndex = -1;
    bool previewEnabled = false;
    bool initializing = false;
    bool switchingActive = false;
    int rowCount = 0;
    int switchMode = 0;
    size_t switchTimeCount = 0;
    // The file name of the picture on the desktop when it is not the selected entry's file;
    // empty when it is, or when none is known.
    std::string desktopPicture;
};

// Why a greyed control is greyed and what to do, shown as its tip; empty while it is enabled or
// the reason is plain (nothing selected).
struct ControlTips {
    std::string startStop;
    std::string add;  // "Add Files..." and "Add a Folder..."
    std::string remove;
    std::string rotation;
    std::string pages;
};

struct ControlStates {
    std::string infoText;
    int rotationIndex = -1;
    bool rotationEnabled = false;
    std::string pagesText;
    bool pagesEnabled = false;
    bool removeEnabled = false;
    bool addEnabled = false;
    std::string startStopText;
    // Unset while switching runs: the button keeps its enabled state.
    std::optional<bool> startStopEnabled;
    // The path the thumbnail pane shows, or nothing when it is cleared.
    std::optional<std::string> previewPath;
    ControlTips tips;
};

inline constexpr const char* kStartSwitchingText = "&Start Switching";
inline constexpr const char* kStopText = "&Stop";
inline constexpr const char* kOnlyAtStartupTip =
    "Switching happens only at start-up: choose an interval in Properties (F6)";
inline constexpr const char* kEmptyListTip =
    "The list is empty: add pictures with Add Files or Add a Folder";
inline constexpr const char* kNoTimesTip = "No switching times are set: add one in Properties (F6)";
inline constexpr const char* kStopToEditTip = "Stop switching to change the list";
inline constexpr const char* kManyPagesTip = "Only pictures of one page can be turned";
inline constexpr const char* kOnePageTip = "This picture has only one page";
// Starts the information box's line naming the picture on the desktop.
inline constexpr const char* kOnDesktopText = "On the desktop: ";

ControlStates ComputeControlStates(const ControlInputs& in, const ControlTexts& texts);
// The tips of the controls the states grey (ComputeControlStates fills them in).
ControlTips ComputeControlTips(const ControlInputs& in, const ControlStates& states);

// Fills the image-information format (%d, %d, %d, %s) with the image's values.
std::string FormatImageInfo(const std::string& format, const ImageInfo& image);

// The menu items whose enabled state follows the window's state.
struct MenuStates {
    bool setSelectionEnabled = false;  // 32774, and "Open selected file" 32776
    bool openListEnabled = false;      // 57601
    bool switchNowEnabled = false;     // 32778
};

MenuStates ComputeMenuStates(bool switchingActive, int selectedCount, bool selectedIsExistingFile,
                             int rowCount);
