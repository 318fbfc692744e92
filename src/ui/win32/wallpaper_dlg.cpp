// The main window: its life cycle, the refresh of its controls and menus, the dispatch of
// messages and commands, and its ending.
#include "ui/win32/wallpaper_dlg.h"

#include <windowsx.h>

#include <utility>

#include "app/wallpaper_app.h"
#include "base/win32/message_box.h"
#include "desktop/win32/startup_shortcut.h"
#include "imagelib/win32/image_library_api.h"
#include "list/path_helpers.h"
#include "render/publish.h"
#include "desktop/tray_icon.h"
#include "resource.h"
#include "ui/win32/app_messages.h"
#include "ui/win32/help.h"
#include "ui/image_info.h"
#include "ui/main_window_text.h"
#include "ui/rotation_names.h"
#include "ui/win32/resource_text.h"

CWallpaperDlg::CWallpaperDlg(HINSTANCE instance, CWallpaperApp& app)
    : CDialog(instance, IDD_WALLPAPER_DIALOG),
      app(app),
      renderer(ProcessImageLibrary(), desktop, Win32FileStamp, app.wallpaperFileSuffix,
               [this](std::uint64_t ticket, ShowResult result) {
                   if (HWND window = reportTo.load()) {
                       PostMessageA(window, kMsgWallpaperShown, static_cast<WPARAM>(ticket),
                                    result == ShowResult::Shown ? 1 : 0);
                   }
               }),
      listCtrl(app.settings, fileSystem),
      preview(instance),
      switching(app.settings, random, environment, *this, *this) {
    mainIcon =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
    accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    previewEnabled = app.settings.mainPreview ? 1 : 0;
    controlTexts = {LoadResourceText(instance, IDS_NOT_AN_IMAGE),
                    LoadResourceText(instance, IDS_FOLDER_SELECTED),
                    LoadResourceText(instance, IDS_IMAGE_INFO)};
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
}

CWallpaperDlg::~CWallpaperDlg() {
    if (mainIcon != nullptr) {
        DestroyIcon(mainIcon);
    }
    if (smallIcon != nullptr) {
        DestroyIcon(smallIcon);
    }
    // Accelerator tables loaded from resources are freed with the module.
}

void CWallpaperDlg::RunModal() {
    CDialog::RunModal(nullptr, accelerators);
}

bool CWallpaperDlg::OnInit() {
    HWND rotation = Item(IDC_ROTATION);
    for (const char* name : kRotationNames) {
        SendMessageA(rotation, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    WriteControls();
    random.Seed(GetTickCount());

    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mainIcon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    listCtrl.Attach(Item(IDC_WALLPAPER_LIST));
    preview.ReplaceControl(Handle(), IDC_PREVIEW_FRAME);
    UpdateControls();
    RecordControlRects();
    LoadList(app.settings.listFile);
    RemoveUnfinishedWallpaperFiles(desktop, app.wallpaperFileSuffix);
    initializing = false;
    MoveToStoredRect();
    AddTrayIcon();
    SetTimer(Handle(), kSwitchTimerId, kSwitchTimerPeriodMs, nullptr);
    // Switching starts by itself a moment after the window is set up, as if Start were clicked.
    reportTo = Handle();
    if (app.settings.startSwitchingAtStartup || app.settings.switchMode == 0) {
        switching.StartStop();
    }
    // Keeps the framework's first showing of the window from making it visible.
    if (app.settings.hideAtStartup) {
        hidePending = true;
    }
    UpdateTitle();
    return true;
}

void CWallpaperDlg::UpdateTitle() {
    SetWindowTextA(Handle(), MainWindowTitle(listName).c_str());
}

void CWallpaperDlg::ReadControls() {
    rotationIndex = static_cast<int>(SendMessageA(Item(IDC_ROTATION), CB_GETCURSEL, 0, 0));
    pagesText = ItemText(IDC_PAGES);
    infoText = ItemText(IDC_INFO);
    previewEnabled = IsChecked(IDC_PREVIEW_CHECK) ? 1 : 0;
}

void CWallpaperDlg::WriteControls() {
    // Setting the edit's text reports a change; that is not the user's edit.
    writingControls = true;
    SendMessageA(Item(IDC_ROTATION), CB_SETCURSEL, static_cast<WPARAM>(rotationIndex), 0);
    SetItemText(IDC_PAGES, pagesText);
    SetItemText(IDC_INFO, infoText);
    SetChecked(IDC_PREVIEW_CHECK, previewEnabled != 0);
    writingControls = false;
}

void CWallpaperDlg::UpdateControls() {
    ReadControls();
    const WallpaperRows& rows = listCtrl.rows;
    ControlInputs in;
    in.selectedCount = rows.SelectedCount();
    if (in.selectedCount == 1) {
        in.entry = &rows.EntryAt(rows.FirstSelected());
        in.entryIsExistingFile = IsExistingFile(in.entry->path, fileSystem);
        if (in.entryIsExistingFile) {
            in.image = GetImageInfo(ProcessImageLibrary(), in.entry->path);
        }
    }
    in.rotationIndex = rotationIndex;
    in.previewEnabled = previewEnabled != 0;
    in.initializing = initializing;
    in.switchingActive = switching.Active();
    in.rowCount = rows.Count();
    in.switchMode = app.settings.switchMode;
    in.switchTimeCount = app.settings.switchTimes.size();
    ControlStates states = ComputeControlStates(in, controlTexts);

    infoText = states.infoText;
    rotationIndex = states.rotationIndex;
    pagesText = states.pagesText;
    EnableItem(IDC_ROTATION, states.rotationEnabled);
    EnableItem(IDC_ROTATE_LABEL, states.rotationEnabled);
    EnableItem(IDC_PAGES, states.pagesEnabled);
    EnableItem(IDC_PAGES_LABEL, states.pagesEnabled);
    EnableItem(IDC_REMOVE, states.removeEnabled);
    SetItemText(IDC_STARTSTOP, states.startStopText);
    if (states.startStopEnabled) {
        EnableItem(IDC_STARTSTOP, *states.startStopEnabled);
    }
    EnableItem(IDC_ADD_FILES, states.addEnabled);
    EnableItem(IDC_ADD_FOLDER, states.addEnabled);
    if (states.previewPath) {
        preview.ShowImage(*states.previewPath);
    } else {
        preview.ClearImage();
    }
    WriteControls();
}

bool CWallpaperDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
        case ID_APP_EXIT:
            OnExit();
            return true;
        case ID_FILE_OPEN_LIST:
            OnOpenList();
            return true;
        case ID_SWITCH_NOW:
            OnSwitchNow();
            return true;
        case ID_SET_SELECTION:
            OnSetSelectionAsWallpaper();
            return true;
        case ID_REMOVE_WALLPAPER:
            RemoveWallpaper(desktop);
            return true;
        case ID_HIDE:
            HideWindow();
            return true;
        case ID_DISPLAY:
            DisplayWindow();
            return true;
        case ID_PROPERTIES:
            ShowProperties();
            return true;
        case ID_APP_ABOUT:
            ShowAbout();
            return true;
        case ID_STARTUP_SHORTCUT:
            CreateStartupShortcut(Handle(), app.exePath);
            return true;
        case IDC_PREVIEW_CHECK:
            if (code == BN_CLICKED) {
                OnPreviewClicked();
            }
            return true;
        case IDC_ADD_FILES:
            if (code == BN_CLICKED) {
                OnAddFiles();
            }
            return true;
        case IDC_ADD_FOLDER:
            if (code == BN_CLICKED) {
                OnAddFolder();
            }
            return true;
        case ID_FILE_OPEN_SELECTED:
            OpenSelectedFile();
            return true;
        case ID_HELP_CONTENTS:
            ShowHelpContents(Handle());
            return true;
        case IDC_STARTSTOP:
            if (code == BN_CLICKED) {
                OnStartStop();
            }
            return true;
        case IDC_REMOVE:
            if (code == BN_CLICKED) {
                OnRemoveSelection();
            }
            return true;
        case IDC_ROTATION:
            if (code == CBN_SELCHANGE && !writingControls) {
                OnRotationChanged();
            }
            return true;
        case IDC_PAGES:
            if (code == EN_CHANGE && !writingControls) {
                OnPagesChanged();
            }
            return true;
        case IDOK:
            // There is no OK button; Enter must not end the program.
            return true;
        case IDCANCEL:
            // The close box, WM_CLOSE and Escape end the window as Exit does.
            OnExit();
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
            if (header.idFrom != IDC_WALLPAPER_LIST) {
                return false;
            }
            // The list answers its own notifications first, then the window sees them too.
            if (listCtrl.OnNotify(header, result)) {
                return true;
            }
            OnListNotify(header);
            return false;
        }
        case kTrayCallbackMessage:
            OnTrayNotify(static_cast<UINT>(lParam));
            result = 0;
            return true;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) {
                LayoutControls(LOWORD(lParam), HIWORD(lParam));
            }
            return false;
        case WM_MOVE:
            RememberWindowRect();
            return false;
        case WM_SYSCOMMAND:
            return OnSysCommand(wParam);
        case WM_WINDOWPOSCHANGING:
            OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
            return false;
        case WM_PAINT:
            return OnPaintIconic();
        case kMsgWallpaperShown:
            switching.ShowFinished(static_cast<std::uint64_t>(wParam), lParam != 0);
            result = 0;
            return true;
        case WM_SETCURSOR:
            if (OnSetCursor()) {
                result = TRUE;
                return true;
            }
            return false;
        case WM_HELP:
            if (ShowContextHelp(*reinterpret_cast<const HELPINFO*>(lParam))) {
                result = TRUE;
                return true;
            }
            return false;
        case WM_LBUTTONDBLCLK:
            OnDoubleClick({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return false;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(mainIcon);
            return true;
        case WM_QUERYENDSESSION:
            // Velumar never holds the session back; its work is saved at WM_ENDSESSION.
            result = TRUE;
            return true;
        case WM_ENDSESSION:
            OnEndSession(wParam != FALSE);
            result = 0;
            return true;
        default:
            break;
    }
    if (message != 0 && message == app.otherInstanceMessage) {
        OnOtherInstance();
        result = 0;
        return true;
    }
    if (message != 0 && message == taskbarCreatedMessage) {
        AddTrayIcon();
        return false;
    }
    return false;
}

void CWallpaperDlg::OnInitMenuPopup() {
    const WallpaperRows& rows = listCtrl.rows;
    int selected = rows.SelectedCount();
    bool isFile =
        selected == 1 && IsExistingFile(rows.EntryAt(rows.FirstSelected()).path, fileSystem);
    MenuStates states = ComputeMenuStates(switching.Active(), selected, isFile, rows.Count());
    HMENU menu = GetMenu(Handle());
    auto enable = [menu](UINT id, bool on) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(ID_SET_SELECTION, states.setSelectionEnabled);
    enable(ID_FILE_OPEN_SELECTED, states.setSelectionEnabled);
    enable(ID_FILE_OPEN_LIST, states.openListEnabled);
    enable(ID_SWITCH_NOW, states.switchNowEnabled);
}

void CWallpaperDlg::OnPreviewClicked() {
    ReadControls();
    // Stored with all settings at exit.
    app.settings.mainPreview = previewEnabled != 0;
    UpdateControls();
}

namespace {

// The system's text for an error code, without its line break.
std::string SystemErrorText(DWORD error) {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text != nullptr ? std::string(text, length)
                                                        : "Error " + std::to_string(error) + ".";
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

void CWallpaperDlg::TakeListChanges() {
    // A drag or a drop since the last tick counts too, so ending right after it loses nothing.
    if (std::exchange(listCtrl.rows.changed, false)) {
        listModified = true;
    }
}

void CWallpaperDlg::SaveBeforeEnding() {
    TakeListChanges();
    while (listModified && !SaveList(app.settings.listFile) && !HasEnded()) {
        std::string reason = listUnreadable
                                 ? "It could not be read when it was loaded, so Velumar leaves it "
                                   "as it is."
                                 : SystemErrorText(GetLastError());
        std::string text = "The wallpaper list could not be saved to\n" + app.settings.listFile +
                           "\n\n" + reason +
                           "\n\nRetry to try again, or Cancel to leave without saving it.";
        if (MessageBoxA(Handle(), text.c_str(), kMessageBoxCaption,
                        MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY) {
            // The user leaves without saving: the destroy step does not try again.
            listModified = false;
        }
    }
}

void CWallpaperDlg::OnExit() {
    SaveBeforeEnding();
    EndDialog(IDCANCEL);
}

void CWallpaperDlg::OnEndSession(bool ending) {
    if (!ending) {
        return;
    }
    // The session may end this process without destroying the window: keep what Exit keeps.
    TakeListChanges();
    if (listModified) {
        SaveList(app.settings.listFile);
    }
    app.SaveSettings();
}

void CWallpaperDlg::OnDestroy() {
    KillTimer(Handle(), kSwitchTimerId);
    TakeListChanges();
    if (listModified) {
        SaveList(app.settings.listFile);
    }
    listCtrl.rows.RemoveAll();
    DeleteTrayIcon();
    CloseHelp();
    switching.End();
    reportTo = nullptr;
}
