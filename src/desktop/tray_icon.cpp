// The notification-area icon: its record values and what each mouse message over it does.
#include "desktop/tray_icon.h"

namespace {

// Message and flag numbers as the platform defines them.
constexpr unsigned kLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
constexpr unsigned kRightButtonUp = 0x0205;    // WM_RBUTTONUP
constexpr unsigned kShowWindowFlag = 0x0040;   // SWP_SHOWWINDOW

}  // namespace

TrayDecision DecideTrayMouse(unsigned mouseMessage) {
    TrayDecision decision;
    if (mouseMessage == kLeftDoubleClick) {
        decision.action = TrayAction::ShowWindow;
    } else if (mouseMessage == kRightButtonUp) {
        decision.action = TrayAction::ShowMenu;
    }
    return decision;
}

unsigned FilterPositionChange(unsigned swpFlags, bool hidePending) {
    return hidePending ? swpFlags & ~kShowWindowFlag : swpFlags;
}
