// The main window's modal dialogs: the properties sheet, the welcome dialog and the About box.
// Each is shown at most once at a time, and the window checks that it still exists after
// one has run, since Exit may arrive from the tray or another process meanwhile.
#include "app/wallpaper_app.h"
#include "base/win32/message_box.h"
#include "desktop/icon_text_colors.h"
#include "ui/properties_rules.h"
#include "ui/small_dialog_rules.h"
#include "ui/win32/about_dlg.h"
#include "ui/win32/general_page.h"
#include "ui/win32/mask_page.h"
#include "ui/win32/resizing_page.h"
#include "ui/win32/resource_text.h"
#include "ui/win32/wallpaper_dlg.h"
#include "ui/win32/welcome_dlg.h"

namespace {

constexpr int kFirstOsWithoutIconText = 501;

// Marks a dialog as open for the scope.
class OpenFlag {
public:
    explicit OpenFlag(bool& flag) : flag(flag) { flag = true; }
    ~OpenFlag() { flag = false; }
    OpenFlag(const OpenFlag&) = delete;
    OpenFlag& operator=(const OpenFlag&) = delete;

private:
    bool& flag;
};

}  // namespace

void CWallpaperDlg::ShowProperties() {
    if (propertiesOpen) {
        return;
    }
    PropertiesValues values = CopyIntoPages(app.settings);
    bool ok = false;
    {
        OpenFlag open(propertiesOpen);
        CGeneralPage general(instance, app.osVersion, values.general);
        CMaskProperties mask(instance, values.mask, app.settings.lastMaskDir);
        CResizingPage resizing(instance, values.resizing);
        ok = RunPropertySheet(instance, Handle(), "Velumar Properties", IDI_MAINICON,
                              {&general, &mask, &resizing});
    }
    if (!ok || HasEnded()) {
        return;
    }
    // All settings change at once, and no tick switches while they are being applied.
    CopyBackFromPages(values, app.settings);
    OpenFlag applying(applyingSettings);
    if (WarnNoSwitchTimes(app.settings)) {
        ShowMessageBox(Handle(), LoadResourceText(instance, IDS_NO_SWITCH_TIMES));
        if (HasEnded()) {
            return;
        }
    }
    UpdateControls();
    if (app.osVersion < kFirstOsWithoutIconText && values.general.controlIconText != 0) {
        ApplyIconTextColors(desktopListView, values.general.textColor,
                            values.general.transparent != 0);
    }
    switching.RenderSettingsChanged();
    app.SaveSettings();
}

void CWallpaperDlg::ShowWelcomeIfDue() {
    if (!WelcomeDue(welcomeShown, app.settings.showWelcome)) {
        return;
    }
    welcomeShown = true;
    CWelcomeDlg welcome(instance);
    bool closed = welcome.DoModal(Handle()) == IDOK;
    app.settings.showWelcome = ShowWelcomeAfter(closed, welcome.dontShowAgain);
}

void CWallpaperDlg::ShowAbout() {
    if (aboutOpen) {
        return;
    }
    OpenFlag open(aboutOpen);
    CAboutDlg about(instance);
    about.DoModal(Handle());
}
