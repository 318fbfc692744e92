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
#define ID_PREVIOUS_WALLPAPER 32790
#define ID_PAUSE_SWITCHING 32791
#define ID_NEVER_SHOW 32792
#define ID_FAVOURITE 32793
#define ID_SHOW_IN_FOLDER 32794
#define ID_OPEN_PICTURE 32795
#define ID_REMOVE_WALLPAPER 32781
#define ID_HIDE 32780
#define ID_PROPERTIES 32773
#define ID_STARTUP_SHORTCUT 32782
#define ID_HELP_CONTENTS 32779
#define ID_APP_ABOUT 32772

// Notification-area menu (menu 139); its "Display Velumar" command has no main-menu item
#define IDR_TRAYMENU 139
#define ID_DISPLAY 32777

// About dialog (dialog 100)
#define IDD_ABOUT 100
#define IDC_ABOUT_VERSION 1061
#define IDC_ABOUT_LICENCES 1062

// General page (dialog 131)
#define IDD_GENERAL_PAGE 131
#define IDC_ONLY_AT_STARTUP 1037
#define IDC_AT_INTERVALS 1038
#define IDC_AT_TIMES 1039
#define IDC_RATE_GROUP 1043
#define IDC_INTERVAL 1016
#define IDC_TIME_LIST 1042
#define IDC_ADD_TIME 1040
#define IDC_REMOVE_TIME 1041
#define IDC_START_AT_STARTUP 1053
#define IDC_HIDE_AT_STARTUP 1054
#define IDC_ENFORCE_UNIQUE 1021
#define IDC_INCLUDE_SUBFOLDERS 1019
#define IDC_RANDOMIZE 1012
#define IDC_TILE 1013
#define IDC_CONTROL_ICON_TEXT 1067
#define IDC_ICON_TEXT_GROUP 1068
#define IDC_TEXT_COLOR 1069
#define IDC_TRANSPARENT 1070
#define IDC_HOLD_FULLSCREEN 1090
#define IDC_HOLD_BATTERY 1091
#define IDC_NO_REPEATS 1095
#define IDC_UPRIGHT_PHOTOS 1096
#define IDC_LOCK_SCREEN 1097
#define IDC_LOCK_SCREEN_NOTE 1098
#define IDC_FAVOURITES 1125
#define IDC_HIDDEN_PICTURES 1126
#define IDC_MIN_SIZE 1127
#define IDC_SHAPE 1128

// Resizing page (dialog 133)
#define IDD_RESIZING_PAGE 133
#define IDC_REDUCE_LARGE 1035
#define IDC_RESIZE_FILL 1033
#define IDC_RESIZE_STANDARD 1022
#define IDC_RESIZE_CUSTOM 1023
#define IDC_STANDARD_SIZE 1024
#define IDC_CUSTOM_WIDTH 1025
#define IDC_CUSTOM_HEIGHT 1026
#define IDC_REDUCTION_GROUP 1036
#define IDC_REDUCTION 1028
#define IDC_RETAIN_ASPECT 1032
#define IDC_RESIZE_COVER 1029
#define IDC_RESIZE_FRAMED 1030
#define IDC_PICTURE_COLOR 1031

// Keys page (dialog 143): the global keys, each with the line that reports it taken
#define IDD_KEYS_PAGE 143
#define IDC_NEXT_KEY 1111
#define IDC_PREVIOUS_KEY 1112
#define IDC_PAUSE_KEY 1113
#define IDC_NEXT_KEY_TAKEN 1114
#define IDC_PREVIOUS_KEY_TAKEN 1115
#define IDC_PAUSE_KEY_TAKEN 1116
#define IDC_HIDE_KEY 1121
#define IDC_FAVOURITE_KEY 1122
#define IDC_HIDE_KEY_TAKEN 1123
#define IDC_FAVOURITE_KEY_TAKEN 1124

// Monitors page (dialog 144); the four radio buttons in the order of the monitor modes
#define IDD_MONITORS_PAGE 144
#define IDD_PICTURES_PAGE 146
#define IDC_MONITOR_GROUP 1200
#define IDC_MONITOR_WHOLE 1201
#define IDC_MONITOR_SAME 1202
#define IDC_MONITOR_EACH 1203
#define IDC_MONITOR_SPAN 1204
#define IDC_MATCH_ORIENTATION 1205

// Hidden pictures dialog (dialog 145), opened from the General page
#define IDD_HIDDEN_PICTURES 145
#define IDC_HIDDEN_LIST 1129
#define IDC_SHOW_AGAIN 1130

// Open dialog's preview panel (dialog 136, a child template of the open dialog)
#define IDD_PREVIEW_PANEL 136
#define IDC_PREVIEW_PLACEHOLDER 1119
#define IDC_PANEL_PREVIEW_CHECK 1048
#define IDC_PANEL_PREVIEW_FRAME 1049
#define IDC_PANEL_INFO 1050

// Time-of-day dialog (dialog 135)
#define IDD_TIME_OF_DAY 135
#define IDC_TIME_TEXT 1045

// Welcome dialog (dialog 141)
#define IDD_WELCOME 141
#define IDC_DONT_SHOW_AGAIN 1065

// Masking page (dialog 142)
#define IDD_MASK_PAGE 142
#define IDC_EDGE_MASK 1071
#define IDC_FILE_MASK 1072
#define IDC_NO_MASK 1081
#define IDC_EDGE_GROUP 1077
#define IDC_MASK_LEFT 1073
#define IDC_MASK_RIGHT 1074
#define IDC_MASK_TOP 1075
#define IDC_MASK_BOTTOM 1076
#define IDC_FILE_GROUP 1078
#define IDC_MASK_FILE 1079
#define IDC_MASK_BROWSE 1080
#define IDC_MASK_OUTLINE 1082

// Accelerators of the main window (table 140): F1 to F6, Shift+F3 and Ctrl+Del
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
