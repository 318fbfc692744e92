// Velumar's entry point and composition root: COM and the common controls, the platform, the
// application object and the main window it runs.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/wallpaper_app.h"
#include "app/win32/win32_platform.h"
#include "base/win32/exception_barrier.h"
#include "ui/win32/wallpaper_dlg.h"

namespace {

// COM for the shell and the imaging component, for the life of the run.
class ScopedCom {
public:
    ScopedCom() : ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;
    ~ScopedCom() {
        if (ok) {
            CoUninitialize();
        }
    }

private:
    bool ok;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return CallGuarded("WinMain", 1, [instance] {
        ScopedCom com;
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);

        Win32AppPlatform platform(instance);
        CWallpaperApp app(platform);
        app.StartUp([instance](CWallpaperApp& owner) -> std::unique_ptr<MainWindow> {
            return std::make_unique<CWallpaperDlg>(instance, owner);
        });
        return 0;
    });
}
