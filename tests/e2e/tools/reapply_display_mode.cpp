// Sets the current display mode again. Wine reads the X monitors once per process, so only a
// process started after an xrandr change passes the new layout on (to every window, with
// WM_DISPLAYCHANGE) when it changes the display settings; the end-to-end tests start this one.
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
