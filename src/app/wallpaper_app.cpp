// The application object: settings, start-up, the single-instance rule and shut-down.
#include "app/wallpaper_app.h"

#include "app/exe_names.h"

bool CWallpaperApp::StartUp(const MainWindowFactory& makeMainWindow) {
    otherInstanceMessage = platform.RegisterMessage(kOtherInstanceMessageName);
    if (!platform.OpenInstanceRegion(kInstanceRegionSize, kInstanceRegionName)) {
        // Another copy runs: ask it to show itself, and touch nothing else.
        platform.BroadcastMessage(otherInstanceMessage);
        return false;
    }
    osVersion = platform.ReadOsVersion();
    std::string modulePath = platform.ModuleFileName();
    isLeadByte = platform.LeadByteTest();
    store = platform.OpenSettingsStore(kCompanyKey, AppNameFromModulePath(modulePath, isLeadByte));
    LoadSettings();
    exePath = ExePathFromModulePath(modulePath, isLeadByte);

    std::unique_ptr<MainWindow> window = makeMainWindow(*this);
    if (window) {
        mainWindow = window.get();
        window->RunModal();
    }
    SaveSettings();
    mainWindow = nullptr;
    window.reset();
    return false;
}

void CWallpaperApp::LoadSettings() {
    settings = ::LoadSettings(
        *store, [this] { return platform.PersonalDocumentsFolder(); }, isLeadByte);
}

void CWallpaperApp::SaveSettings() {
    ::SaveSettings(settings, osVersion, *store);
}

void CWallpaperApp::SaveNextIndex() {
    ::SaveNextIndex(settings.nextIndex, *store);
}
