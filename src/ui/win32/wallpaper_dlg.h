// The main window: a resizable dialog with the wallpaper list and the switching controls. It
// keeps the life cycle and the dispatch of messages and commands; its parts (the list panel,
// the switching adapter, the frame and the dialogs it opens) do the work.
#pragma once

#include <windows.h>

#include "app/app_platform.h"
#include "app/wallpaper_app.h"
#include "ui/win32/app_messages.h"
#include "ui/win32/desktop_follower.h"
#include "ui/win32/dialog.h"
#include "ui/win32/global_keys.h"
#include "ui/win32/main_dialogs.h"
#include "ui/win32/main_frame.h"
#include "ui/win32/main_list_panel.h"
#include "ui/win32/main_switching.h"

class CWallpaperDlg final : public CDialog, public MainWindow, private ListPanelHost {
public:
    CWallpaperDlg(HINSTANCE instance, CWallpaperApp& app, CListPanel& list,
                  CSwitchingAdapter& switching, CMainFrame& frame, CMainDialogs& dialogs,
                  CDesktopFollower& follower);

    void RunModal() override;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // ListPanelHost
    bool SwitchingActive() override { return switching.Active(); }
    void ListFileChanged() override;
    std::string PictureOnDesktop() override { return switching.PictureOnDesktop(false).path; }

    void UpdateTitle();
    // The picture on the desktop changed (or became a favourite): the title, the tray tip and
    // the information box follow.
    void OnDesktopChanged();
    void OnInitMenuPopup();
    // Enables the items about the picture on the desktop, checks "Favourite" and "Pause
    // switching"; in the tray menu the picture under the mouse pointer is meant.
    void PreparePictureItems(HMENU menu, bool underPointer);
    static bool UnderPointer(int code) {
        return code == kCommandFromKey || code == kCommandFromTray;
    }
    void OnExit();
    void OnEndSession(bool ending);
    void OnHotKey(WPARAM id);

    CWallpaperApp& app;
    CListPanel& list;
    CSwitchingAdapter& switching;
    CMainFrame& frame;
    CMainDialogs& dialogs;
    CDesktopFollower& follower;
    CGlobalKeys keys;
    HACCEL accelerators = nullptr;
    // Sent by a new taskbar, after which the tray icon is added again.
    UINT taskbarCreatedMessage = 0;
};
