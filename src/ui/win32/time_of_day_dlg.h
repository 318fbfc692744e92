// The time-of-day dialog: one switch time for the General page's list.
#pragma once

#include <string>

#include "ui/win32/dialog.h"
#include "resource.h"

class CTimeOfDayDlg : public CDialog {
public:
    explicit CTimeOfDayDlg(HINSTANCE instance) : CDialog(instance, IDD_TIME_OF_DAY) {}

    // The normalised "HH:MM" text after OK.
    std::string timeText;

protected:
    bool OnCommand(int id, int code, HWND control) override;
};
