// The main window: a resizable dialog with the wallpaper list and the switching controls.
#include "ui/win32/wallpaper_dlg.h"

#include "app/wallpaper_app.h"
#include "resource.h"
#include "ui/main_window_text.h"
#include "ui/rotation_names.h"

CWallpaperDlg::CWallpaperDlg(HINSTANCE instance, CWallpaperApp& app)
    : CDialog(instance, IDD_WALLPAPER_DIALOG), app(app) {
    mainIcon =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAINICON), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
    accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    previewEnabled = app.settings.mainPreview ? 1 : 0;
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
    // The controls take the member values.
    HWND rotation = Item(IDC_ROTATION);
    for (const char* name : kRotationNames) {
        SendMessageA(rotation, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendMessageA(rotation, CB_SETCURSEL, static_cast<WPARAM>(rotationIndex), 0);
    SetItemText(IDC_PAGES, pagesText);
    SetItemText(IDC_INFO, infoText);
    SetChecked(IDC_PREVIEW_CHECK, previewEnabled != 0);

    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mainIcon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    initializing = false;
    MoveToStoredRect();
    SetTimer(Handle(), kSwitchTimerId, kSwitchTimerPeriodMs, nullptr);
    UpdateTitle();
    return true;
}

void CWallpaperDlg::MoveToStoredRect() {
    const WindowRect& r = app.settings.windowRect;
    MoveWindow(Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void CWallpaperDlg::UpdateTitle() {
    SetWindowTextA(Handle(), MainWindowTitle(listName).c_str());
}

bool CWallpaperDlg::OnCommand(int id, int code, HWND control) {
    switch (id) {
        case ID_APP_EXIT:
            OnExit();
            return true;
        case IDOK:
            // There is no OK button; Enter must not end the program.
            return true;
        default:
            return CDialog::OnCommand(id, code, control);
    }
}

void CWallpaperDlg::OnExit() {
    EndDialog(IDCANCEL);
}

void CWallpaperDlg::OnTimer(UINT_PTR id) {
    if (id == kSwitchTimerId) {
        OnSwitchTimer();
    }
}

void CWallpaperDlg::OnSwitchTimer() {}

void CWallpaperDlg::OnDestroy() {
    KillTimer(Handle(), kSwitchTimerId);
}

bool CWallpaperDlg::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message == app.otherInstanceMessage && message != 0) {
        OnOtherInstance();
        result = 0;
        return true;
    }
    return false;
}

void CWallpaperDlg::OnOtherInstance() {
    hidePending = false;
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
}
