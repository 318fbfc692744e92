// The About box: the program's icon and version.
#pragma once

#include "ui/win32/dialog.h"
#include "resource.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(HINSTANCE instance) : CDialog(instance, IDD_ABOUT) {}

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
};
