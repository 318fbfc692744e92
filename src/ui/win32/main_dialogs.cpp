// The dialogs the main window opens.
#include "ui/win32/main_dialogs.h"

#include "base/scoped_flag.h"
#include "base/win32/message_box.h"
#include "imagelib/win32/process_image_library.h"
#include "resource.h"
#include "ui/properties_rules.h"
#include "ui/win32/about_dlg.h"
#include "ui/win32/dialog.h"
#include "ui/win32/general_page.h"
#include "ui/win32/hidden_pictures_dlg.h"
#include "ui/win32/keys_page.h"
#include "ui/win32/mask_page.h"
#include "ui/win32/monitors_page.h"
#include "ui/win32/pictures_page.h"
#include "ui/win32/resizing_page.h"
#include "ui/win32/resource_text.h"

CMainDialogs::CMainDialogs(HINSTANCE instance, CWallpaperApp& app, DesktopListView& desktopListView,
                           CListPanel& list, CSwitchingAdapter& switching)
    : instance(instance),
      app(app),
      desktopListView(desktopListView),
      list(list),
      switching(switching) {}

void CMainDialogs::ShowProperties(const CDialog& window, const CGlobalKeys& keys) {
    if (propertiesOpen) {
        return;
    }
    PropertiesValues values = CopyIntoPages(app.settings);
    // Shown on the General page: whether the lock screen can be set, and the last failure.
    values.general.lockScreenAvailable = switching.LockScreenAvailable();
    values.general.lockScreenNote = LockScreenFailureNote(switching.LockScreenFailure());
    // The General page's "Hidden pictures..." button.
    values.general.showHiddenPictures = [this, &window](HWND owner) {
        std::vector<MarkedPicture> chosen;
        // Exit may have come from the tray while the dialog was open.
        if (RunHiddenPicturesDialog(owner, switching.HiddenPictures(), chosen) &&
            !window.HasEnded()) {
            switching.ShowAgain(chosen);
        }
    };
    bool ok = false;
    {
        const ScopedFlag open(propertiesOpen);
        CGeneralPage general(instance, app.osVersion, values.general);
        CMaskProperties mask(instance, values.mask, app.settings.lastMaskDir);
        CResizingPage resizing(instance, values.resizing);
        CKeysPage keysPage(instance, keys, values.keys);
        CMonitorsPage monitorsPage(instance, values.monitors);
        CPicturesPage picturesPage(instance, values.general);
        ok =
            RunPropertySheet(instance, window.Handle(), "Velumar Properties", IDI_MAINICON,
                             {&general, &mask, &resizing, &keysPage, &monitorsPage, &picturesPage});
    }
    if (!ok || window.HasEnded()) {
        return;
    }
    const AppSettings before = app.settings;
    CopyBackFromPages(values, app.settings);
    const CSwitchingAdapter::HoldTicks hold(switching);
    if (WarnNoSwitchTimes(app.settings)) {
        ShowMessageBox(window.Handle(), LoadResourceText(instance, IDS_NO_SWITCH_TIMES));
        if (window.HasEnded()) {
            return;
        }
    }
    SetPhotosUpright(app.settings.render.uprightPhotos);
    list.Refresh();
    if (app.osVersion <= kLastOsWithIconText && values.general.controlIconText != 0) {
        ApplyIconTextColors(desktopListView, values.general.textColor,
                            values.general.transparent != 0);
    }
    switching.OnSettingsApplied(before);
    app.SaveSettings();
}

void CMainDialogs::ShowAbout(const CDialog& window) {
    if (aboutOpen) {
        return;
    }
    const ScopedFlag open(aboutOpen);
    CAboutDlg about(instance);
    about.DoModal(window.Handle());
}
