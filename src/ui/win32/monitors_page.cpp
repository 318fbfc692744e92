// The Monitors page of the properties sheet: the monitor mode and the orientation match.
#include "ui/win32/monitors_page.h"

namespace {

constexpr std::initializer_list<int> kModeGroup = {IDC_MONITOR_WHOLE, IDC_MONITOR_SAME,
                                                   IDC_MONITOR_EACH, IDC_MONITOR_SPAN};

}  // namespace

void CMonitorsPage::OnInit() {
    SetCheckedRadio(kModeGroup, values.monitorMode);
    SetChecked(IDC_MATCH_ORIENTATION, values.matchOrientation != 0);
    AddContextHelpToSheet();
    UpdateEnabling();
}

void CMonitorsPage::UpdateEnabling() {
    EnableItem(IDC_MATCH_ORIENTATION, MatchOrientationEnabled(CheckedRadio(kModeGroup)));
}

bool CMonitorsPage::OnCommand(int id, int code, HWND) {
    for (int mode : kModeGroup) {
        if (id == mode) {
            if (code == BN_CLICKED) {
                UpdateEnabling();
            }
            return true;
        }
    }
    return false;
}

std::optional<FieldError> CMonitorsPage::ReadBack() {
    values.monitorMode = CheckedRadio(kModeGroup);
    values.matchOrientation = IsChecked(IDC_MATCH_ORIENTATION) ? 1 : 0;
    return std::nullopt;
}
