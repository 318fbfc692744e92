// The ids and texts that other programs and users see, written out independently of the
// program's own resource header so that a wrong id there fails here.
#pragma once

namespace e2e {

inline constexpr const char* kMainTitlePrefix = "Velumar by Quorwick - ";
inline constexpr const char* kSettingsKey = "Software\\Quorwick\\Velumar\\Settings";
inline constexpr const char* kCompanyKey = "Software\\Quorwick";

inline constexpr int kListView = 1000;
inline constexpr int kPreviewFrame = 1003;
inline constexpr int kPreviewCheck = 1004;
inline constexpr int kRotationCombo = 1014;
inline constexpr int kRemoveButton = 1015;
inline constexpr int kAddFilesButton = 1017;
inline constexpr int kAddFolderButton = 1018;
inline constexpr int kPagesEdit = 1044;
inline constexpr int kRotateLabel = 1046;
inline constexpr int kPagesLabel = 1047;
inline constexpr int kInfoBox = 1051;
inline constexpr int kStartStopButton = 1052;

inline constexpr int kOpenListCommand = 57601;
inline constexpr int kOpenSelectedCommand = 32776;
inline constexpr int kExitCommand = 32771;
inline constexpr int kSetSelectionCommand = 32774;
inline constexpr int kSwitchNowCommand = 32778;
inline constexpr int kPreviousWallpaperCommand = 32790;
inline constexpr int kPauseSwitchingCommand = 32791;
inline constexpr int kNeverShowCommand = 32792;
inline constexpr int kFavouriteCommand = 32793;
inline constexpr int kShowInFolderCommand = 32794;
inline constexpr int kOpenPictureCommand = 32795;
inline constexpr int kRemoveWallpaperCommand = 32781;
inline constexpr int kHideCommand = 32780;
inline constexpr int kPropertiesCommand = 32773;
inline constexpr int kStartupShortcutCommand = 32782;
inline constexpr int kHelpContentsCommand = 32779;
inline constexpr int kAboutCommand = 32772;
inline constexpr int kDisplayCommand = 32777;

inline constexpr int kTrayMenu = 139;
inline constexpr UINT kTrayCallback = 0x8001;
inline constexpr UINT kTrayIconId = 1000;

}  // namespace e2e
