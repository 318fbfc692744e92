// The time-of-day dialog: one switch time for the General page's list.
#include "ui/win32/time_of_day_dlg.h"

#include "base/win32/message_box.h"
#include "resource.h"
#include "ui/small_dialog_rules.h"

bool CTimeOfDayDlg::OnCommand(int id, int code, HWND control) {
    if (id != IDOK) {
        return CDialog::OnCommand(id, code, control);
    }
    TimeEntry entry = CheckTimeOfDay(ItemText(IDC_TIME_TEXT));
    switch (entry.outcome) {
        case TimeEntry::Outcome::Cancel:
            EndDialog(IDCANCEL);
            break;
        case TimeEntry::Outcome::Accept:
            timeText = entry.text;
            SetItemText(IDC_TIME_TEXT, timeText);
            EndDialog(IDOK);
            break;
        case TimeEntry::Outcome::Refuse:
            ShowMessageBox(Handle(), kTimeOfDayFormatMessage);
            break;
    }
    return true;
}
