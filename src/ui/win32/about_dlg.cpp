// The About box: the program's icon and version, and the licences of what it is built from.
#include "ui/win32/about_dlg.h"

#include <shellapi.h>

#include "base/win32/message_box.h"
#include "base/win32/module_path.h"
#include "base/win32/wide_text.h"
#include "resource.h"
#include "ui/win32/resource_text.h"

namespace {

// The licence texts of Velumar and of the libraries built into it, beside the program.
void OpenLicences(HWND owner) {
    std::string file = ModuleFilePath();
    file.resize(file.find_last_of('\\') + 1);
    file += "THIRD-PARTY-NOTICES.txt";
    if (GetFileAttributesW(Widen(file).c_str()) == INVALID_FILE_ATTRIBUTES) {
        ShowMessageBox(owner, "The licence file " + file + " cannot be found.");
        return;
    }
    ShellExecuteW(owner, L"open", Widen(file).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

bool CAboutDlg::OnInit() {
    SetItemText(IDC_ABOUT_VERSION, LoadResourceText(instance, IDS_VERSION));
    return true;
}

bool CAboutDlg::OnCommand(int id, int code, HWND control) {
    if (id == IDOK) {
        EndDialog(IDOK);
        return true;
    }
    if (id == IDC_ABOUT_LICENCES && code == BN_CLICKED) {
        OpenLicences(Handle());
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}
