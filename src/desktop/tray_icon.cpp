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

std::string_view CutTipText(std::string_view utf8, std::size_t maxUnits) {
    std::size_t at = 0;
    std::size_t units = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        std::size_t length = 1;
        std::size_t width = 1;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            width = 2;  // a surrogate pair
        }
        for (std::size_t i = 1; i < length; ++i) {
            if (at + i >= utf8.size() ||
                (static_cast<unsigned char>(utf8[at + i]) & 0xC0) != 0x80) {
                length = 1;
                width = 1;
                break;
            }
        }
        if (units + width > maxUnits) {
            break;
        }
        units += width;
        at += length;
    }
    return utf8.substr(0, at);
}
