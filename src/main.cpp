// Velumar's entry point and composition root: COM and the common controls, the platform
// adapters, the application object, and the main window built from its parts.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/wallpaper_app.h"
#include "app/win32/win32_platform.h"
#include "desktop/win32/shell_desktop_list_view.h"
#include "imagelib/win32/process_image_library.h"
#include "list/win32/win32_file_system.h"
#include "render/win32/win32_desktop.h"
#include "switching/win32/win32_schedule_environment.h"
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

// The main window and what it is made of, built in the order they depend on one another.
class ComposedMainWindow final : public MainWindow {
public:
    ComposedMainWindow(HINSTANCE instance, CWallpaperApp& app, ImageLibrary& library)
        : desktop(app.Store(), app.places.outputFolder),
          list(instance, app.settings, fileSystem, library),
          switching(instance, app, library, desktop, fileSystem, environment, desktopListView,
                    Win32FileStamp),
          frame(instance, app.settings, [this] { list.Refresh(); }),
          dialogs(instance, app, desktopListView, list, switching),
          follower(app, desktop, switching),
          window(instance, app, list, switching, frame, dialogs, follower) {}

    void RunModal() override { window.RunModal(); }

private:
    Win32FileSystem fileSystem;
    Win32Desktop desktop;
    Win32ScheduleEnvironment environment;
    ShellDesktopListView desktopListView;
    CListPanel list;
    CSwitchingAdapter switching;
    CMainFrame frame;
    CMainDialogs dialogs;
    CDesktopFollower follower;
    CWallpaperDlg window;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return CallGuarded("WinMain", 1, [instance] {
        ScopedCom com;
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);

        Win32AppPlatform platform(instance);
        CWallpaperApp app(platform);
        ImageLibrary& library = ProcessImageLibrary();
        app.StartUp([instance, &library](CWallpaperApp& owner) -> std::unique_ptr<MainWindow> {
            SetPhotosUpright(owner.settings.render.uprightPhotos);
            return std::make_unique<ComposedMainWindow>(instance, owner, library);
        });
        return 0;
    });
}
