// The dialogs the main window opens: the properties sheet and the About box, each at most once
// at a time. The window may have ended when one returns (Exit from the tray or another
// process), and nothing is touched then.
#pragma once

#include <windows.h>

#include "app/wallpaper_app.h"
#include "desktop/icon_text_colors.h"
#include "ui/win32/global_keys.h"
#include "ui/win32/main_list_panel.h"
#include "ui/win32/main_switching.h"

class CDialog;

class CMainDialogs {
public:
    CMainDialogs(HINSTANCE instance, CWallpaperApp& app, DesktopListView& desktopListView,
                 CListPanel& list, CSwitchingAdapter& switching);
    CMainDialogs(const CMainDialogs&) = delete;
    CMainDialogs& operator=(const CMainDialogs&) = delete;

    // Runs the properties sheet; on OK all settings change at once, with no tick switching
    // while they are applied. The Keys page asks keys whether another program holds a key.
    void ShowProperties(const CDialog& window, const CGlobalKeys& keys);
    void ShowAbout(const CDialog& window);

private:
    HINSTANCE instance;
    CWallpaperApp& app;
    DesktopListView& desktopListView;
    CListPanel& list;
    CSwitchingAdapter& switching;
    bool propertiesOpen = false;
    bool aboutOpen = false;
};
