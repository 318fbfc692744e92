// Resource ids of Velumar's main window, its menu, accelerators, icon and string table.
// Plain #defines only: included by velumar.rc (windres) and by the C++ sources alike.
#pragma once

// Icon
#define IDI_MAINICON 128

// Main window (dialog 102)
#define IDD_WALLPAPER_DIALOG 102
#define IDC_WALLPAPER_LIST 1000
#define IDC_PREVIEW_FRAME 1003
#define IDC_PREVIEW_CHECK 1004
#define IDC_ROTATION 1014
#define IDC_REMOVE 1015
#define IDC_ADD_FILES 1017
#define IDC_ADD_FOLDER 1018
#define IDC_PAGES 1044
#define IDC_ROTATE_LABEL 1046
#define IDC_PAGES_LABEL 1047
#define IDC_INFO 1051
#define IDC_STARTSTOP 1052

// Main menu (menu 130) and its commands
#define IDR_MAINMENU 130
#define ID_FILE_OPEN_LIST 57601
#define ID_FILE_OPEN_SELECTED 32776
#define ID_APP_EXIT 32771
#define ID_SET_SELECTION 32774
#define ID_SWITCH_NOW 32778
#define ID_REMOVE_WALLPAPER 32781
#define ID_HIDE 32780
#define ID_PROPERTIES 32773
#define ID_STARTUP_SHORTCUT 32782
#define ID_HELP_CONTENTS 32779
#define ID_APP_ABOUT 32772

// Notification-area menu (menu 139); its "Display Velumar" command has no main-menu item
#define IDR_TRAYMENU 139
#define ID_DISPLAY 32777

// Accelerators of the main window (table 140): F1 to F6
#define IDR_ACCELERATORS 140

// String table
#define IDS_NOT_AN_IMAGE 102
#define IDS_FOLDER_SELECTED 103
#define IDS_IMAGE_INFO 104
#define IDS_OPEN_UNEXPECTED 105
#define IDS_OPEN_NO_ASSOCIATION 106
#define IDS_OPEN_OUT_OF_MEMORY 107
#define IDS_OPEN_ACCESS_DENIED 108
#define IDS_OPEN_DDE_ERROR 109
#define IDS_OPEN_DLL_NOT_FOUND 110
#define IDS_OPEN_SHARING 111
#define IDS_NO_SWITCH_TIMES 112
#define IDS_VERSION 113
