// The welcome dialog, offered once per run until the user declines it.
#pragma once

#include "ui/win32/dialog.h"
#include "resource.h"

class CWelcomeDlg : public CDialog {
public:
    explicit CWelcomeDlg(HINSTANCE instance) : CDialog(instance, IDD_WELCOME) {}

    // "Don't show this window again.", as read by "Close".
    bool dontShowAgain = false;

protected:
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
