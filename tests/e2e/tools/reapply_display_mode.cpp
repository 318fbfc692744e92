// Sets the current display mode again, which makes Wine read the X monitors and send
// WM_DISPLAYCHANGE to every window (tests/e2e/monitors_e2e.sh runs it after an xrandr change).
#include <windows.h>

int main() {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
        return 1;
    }
    return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_RESET, nullptr) ==
                   DISP_CHANGE_SUCCESSFUL
               ? 0
               : 1;
}
