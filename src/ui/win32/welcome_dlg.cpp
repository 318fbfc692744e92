// The welcome dialog, offered once per run until the user declines it.
#include "ui/win32/welcome_dlg.h"

#include "resource.h"

bool CWelcomeDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDOK) {
        dontShowAgain = IsChecked(IDC_DONT_SHOW_AGAIN);
        EndDialog(IDOK);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

bool CWelcomeDlg::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    // Help requests on the welcome dialog are answered with nothing.
    if (message == WM_HELP) {
        result = TRUE;
        return true;
    }
    return false;
}
