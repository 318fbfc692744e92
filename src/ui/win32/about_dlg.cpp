// The About box: the program's icon and version.
#include "ui/win32/about_dlg.h"

#include "resource.h"
#include "ui/win32/resource_text.h"

bool CAboutDlg::OnInit() {
    SetItemText(IDC_ABOUT_VERSION, LoadResourceText(instance, IDS_VERSION));
    return true;
}

bool CAboutDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDOK) {
        EndDialog(IDOK);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}
