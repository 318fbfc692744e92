// The main window: its life cycle, the dispatch of messages and commands, and its ending.
#include "ui/win32/wallpaper_dlg.h"

#include <windowsx.h>

#include "base/win32/wide_text.h"
#include "desktop/win32/startup_shortcut.h"
#include "list/path_helpers.h"
#include "resource.h"
#include "ui/main_window_text.h"
#include "ui/win32/app_messages.h"
#include "ui/win32/help.h"
#include "ui/win32/shell_commands.h"

CWallpaperDlg::CWallpaperDlg(HINSTANCE instance, CWallpaperApp& app, CListPanel& list,
                             CSwitchingAdapter& switching, CMainFrame& frame, CMainDialogs& dialogs,
                             CDesktopFollower& follower)
    : CDialog(instance, IDD_WALLPAPER_DIALOG),
      app(app),
      list(list),
      switching(switching),
      frame(frame),
      dialogs(dialogs),
      follower(follower),
      accelerators(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS))),
      taskbarCreatedMessage(RegisterWindowMessageW(L"TaskbarCreated")) {}

void CWallpaperDlg::RunModal() {
    CDialog::RunModal(nullptr, accelerators);
}

bool CWallpaperDlg::OnInit() {
    switching.Bind(*this, list);
    frame.Attach(Handle());
    list.Attach(*this, *this);
    frame.Show(app.settings.hideAtStartup);
    switching.Start();
    follower.Attach(Handle());
    // Before the title, which tells a driving program that the window is ready.
    keys.Register(Handle(), app.settings);
    UpdateTitle();
    return true;
}

void CWallpaperDlg::ListFileChanged() {
    UpdateTitle();
    switching.OnListFileChanged();
}

void CWallpaperDlg::UpdateTitle() {
    SetWindowTextW(Handle(),
                   Widen(MainWindowTitle(list.ListName(), switching.Paused(),
                                         follower.MonitorsCovered(), switching.PublishFailure()) +
                         FilteredSuffix(switching.AllFilteredOut()))
                       .c_str());
    frame.ShowStatus(switching.Paused(),
                     NotSetSuffix(switching.PublishFailure()) +
                         FilteredSuffix(switching.AllFilteredOut()) + switching.LayoutNote() +
                         LockScreenSuffix(switching.LockScreenFailure()) +
                         NoFavouritesSuffix(switching.NoFavouritesToShow()),
                     SplitPath(switching.PictureOnDesktop(false).path, mbcs::NoLeadBytes).name);
}

void CWallpaperDlg::OnTimer(UINT_PTR id) {
    if (follower.OnTimer(id)) {
        UpdateTitle();
        return;
    }
    switching.OnTimer(id);
}

bool CWallpaperDlg::OnCommand(int id, int code, HWND control) {
    const bool clicked = code == BN_CLICKED;
    switch (id) {
        case ID_APP_EXIT:
        case IDCANCEL:  // the close box, WM_CLOSE and Escape end the window as Exit does
            OnExit();
            return true;
        case IDOK:  // there is no OK button; Enter must not end the program
            return true;
        case ID_FILE_OPEN_LIST:
            list.OnOpenList();
            return true;
        case ID_FILE_OPEN_SELECTED:
            list.OpenSelectedFile();
            return true;
        case IDC_ADD_FILES:
            if (clicked) {
                list.OnAddFiles();
            }
            return true;
        case IDC_ADD_FOLDER:
            if (clicked) {
                list.OnAddFolder();
            }
            return true;
        case IDC_REMOVE:
            if (clicked) {
                list.OnRemoveSelection();
            }
            return true;
        case IDC_PREVIEW_CHECK:
            if (clicked) {
                list.OnPreviewClicked();
            }
            return true;
        case IDC_ROTATION:
            list.OnRotationCommand(code);
            return true;
        case IDC_PAGES:
            list.OnPagesCommand(code);
            return true;
        case ID_SWITCH_NOW:
            switching.OnSwitchNow();
            return true;
        case ID_PREVIOUS_WALLPAPER:
            switching.OnPreviousWallpaper();
            return true;
        case ID_PAUSE_SWITCHING:
            switching.OnPauseSwitching();
            UpdateTitle();
            return true;
        case ID_NEVER_SHOW:
            switching.OnNeverShow(UnderPointer(code));
            OnDesktopChanged();
            return true;
        case ID_FAVOURITE:
            switching.OnFavourite(UnderPointer(code));
            OnDesktopChanged();
            return true;
        case ID_SHOW_IN_FOLDER:
            if (const ShowPicture picture = switching.PictureOnDesktop(UnderPointer(code));
                !picture.path.empty()) {
                ShowInFolder(picture.path);
            }
            return true;
        case ID_OPEN_PICTURE:
            if (const ShowPicture picture = switching.PictureOnDesktop(UnderPointer(code));
                !picture.path.empty()) {
                OpenWithShell(instance, Handle(), picture.path);
            }
            return true;
        case ID_SET_SELECTION:
            switching.OnSetSelectionAsWallpaper();
            return true;
        case IDC_STARTSTOP:
            if (clicked) {
                switching.OnStartStop();
            }
            return true;
        case ID_REMOVE_WALLPAPER:
            switching.OnRemoveWallpaper();
            return true;
        case ID_HIDE:
            frame.Hide();
            return true;
        case ID_DISPLAY:
            frame.Display();
            return true;
        case ID_PROPERTIES:
            dialogs.ShowProperties(*this, keys);
            if (!HasEnded()) {
                keys.Register(Handle(), app.settings);
                UpdateTitle();
            }
            return true;
        case ID_APP_ABOUT:
            dialogs.ShowAbout(*this);
            return true;
        case ID_STARTUP_SHORTCUT:
            CreateStartupShortcut(Handle(), app.exePath);
            return true;
        case ID_HELP_CONTENTS:
            ShowHelpContents(Handle());
            return true;
        default:
            return CDialog::OnCommand(id, code, control);
    }
}

bool CWallpaperDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_INITMENUPOPUP:
            // After the default handling, which a dialog does not do for menus.
            OnInitMenuPopup();
            return false;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            return header.idFrom == IDC_WALLPAPER_LIST && list.OnNotify(header, result);
        }
        case kMsgTrayCallback:
            frame.OnTrayNotify(static_cast<UINT>(lParam),
                               [this](HMENU popup) { PreparePictureItems(popup, true); });
            result = 0;
            return true;
        case kMsgWallpaperShown:
            switching.OnShown(wParam, lParam);
            OnDesktopChanged();
            result = 0;
            return true;
        case kMsgLockScreenSet:
            if (switching.OnLockScreenSet()) {
                UpdateTitle();
            }
            result = 0;
            return true;
        case kMsgShapesRead:
            switching.OnShapesRead();
            result = 0;
            return true;
        case WM_SETCURSOR:
            if (switching.OnSetCursor(LOWORD(lParam))) {
                result = TRUE;
                return true;
            }
            return false;
        case WM_SIZE:
            frame.OnSize(wParam, LOWORD(lParam), HIWORD(lParam));
            return false;
        case WM_MOVE:
            frame.OnMove();
            return false;
        case WM_DPICHANGED:
            // Not answered: the dialog manager then gives the controls fonts for the new DPI.
            // The wallpaper is in physical pixels: a DPI change alone does not touch it.
            frame.OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return false;
        case WM_DISPLAYCHANGE:
            follower.OnDisplayChanged();
            return false;
        case WM_POWERBROADCAST:
            follower.OnPowerBroadcast(wParam);
            result = TRUE;
            return true;
        case WM_WTSSESSION_CHANGE:
            follower.OnSessionChange(wParam);
            return false;
        case WM_SYSCOMMAND:
            return frame.OnSysCommand(wParam);
        case WM_GETMINMAXINFO:
            frame.OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            result = 0;
            return true;
        case WM_WINDOWPOSCHANGING:
            frame.OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
            return false;
        case WM_HELP:
            if (ShowContextHelp(*reinterpret_cast<const HELPINFO*>(lParam))) {
                result = TRUE;
                return true;
            }
            return false;
        case WM_LBUTTONDBLCLK:
            if (frame.IsOnPane({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                               list.Preview().Handle())) {
                list.Preview().OpenShownImage();
            }
            return false;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(frame.MainIcon());
            return true;
        case WM_QUERYENDSESSION:
            // Velumar never holds the session back; its work is saved at WM_ENDSESSION.
            result = TRUE;
            return true;
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
            result = 0;
            return true;
        case WM_HOTKEY:
            OnHotKey(wParam);
            result = 0;
            return true;
        default:
            break;
    }
    if (message != 0 && message == app.otherInstanceMessage) {
        frame.OnOtherInstance();
        result = 0;
        return true;
    }
    if (message != 0 && message == taskbarCreatedMessage) {
        frame.OnTaskbarCreated();
        follower.OnTaskbarCreated();
        return false;
    }
    return false;
}

void CWallpaperDlg::OnInitMenuPopup() {
    const MenuStates states = list.Menu();
    HMENU menu = GetMenu(Handle());
    const auto enable = [menu](UINT id, bool on) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(ID_SET_SELECTION, states.setSelectionEnabled);
    enable(ID_FILE_OPEN_SELECTED, states.setSelectionEnabled);
    enable(ID_FILE_OPEN_LIST, states.openListEnabled);
    enable(ID_SWITCH_NOW, states.switchNowEnabled);
    enable(ID_PREVIOUS_WALLPAPER, switching.HasPrevious());
    PreparePictureItems(menu, false);
}

void CWallpaperDlg::PreparePictureItems(HMENU menu, bool underPointer) {
    const bool known = !switching.PictureOnDesktop(underPointer).path.empty();
    for (const UINT id : {ID_NEVER_SHOW, ID_FAVOURITE, ID_SHOW_IN_FOLDER, ID_OPEN_PICTURE}) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (known ? MF_ENABLED : MF_GRAYED));
    }
    CheckMenuItem(menu, ID_FAVOURITE,
                  MF_BYCOMMAND | (switching.IsFavourite(underPointer) ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, ID_PAUSE_SWITCHING,
                  MF_BYCOMMAND | (switching.Paused() ? MF_CHECKED : MF_UNCHECKED));
}

void CWallpaperDlg::OnDesktopChanged() {
    UpdateTitle();
    list.Refresh();
}

void CWallpaperDlg::OnExit() {
    list.SaveBeforeEnding();
    EndDialog(IDCANCEL);
}

void CWallpaperDlg::OnEndSession(bool ending) {
    if (!ending) {
        return;
    }
    // The session may end this process without destroying the window: keep what Exit keeps.
    list.SaveIfModified();
    app.SaveSettings();
    switching.FlushFiles();
}

void CWallpaperDlg::OnHotKey(WPARAM id) {
    // The same command as the menu's, so the key behaves exactly as the menu item does.
    if (const std::optional<int> command = CommandOfGlobalKey(static_cast<int>(id))) {
        SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(*command, kCommandFromKey), 0);
    }
}

void CWallpaperDlg::OnDestroy() {
    keys.Unregister();
    follower.Detach();
    switching.Stop();
    list.Close();
    frame.RemoveTrayIcon();
    CloseHelp();
}
