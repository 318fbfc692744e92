// The application object: settings, start-up, the single-instance rule and shut-down.
#include "app/wallpaper_app.h"

#include "app/exe_names.h"
#include "app/ini_settings_store.h"

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
    OpenStore(modulePath);
    LoadSettings();
    if (places.readOnly) {
        platform.ShowNotice(ReadOnlyNotice(ProgramFolder(modulePath, isLeadByte)));
    } else if (places.portable) {
        platform.MakeFolder(places.dataFolder);
    }
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

void CWallpaperApp::OpenStore(const std::string& modulePath) {
    // A copy is portable when its settings file is beside it, and then nothing of it goes to
    // the registry or the user's profile.
    const std::string folder = ProgramFolder(modulePath, isLeadByte);
    const std::string settingsFile = folder + "\\" + std::string(kPortableSettingsFile);
    const bool portable = platform.FileExists(settingsFile);
    places =
        ChooseStoragePlaces(folder, portable, portable && platform.CanWriteBeside(settingsFile),
                            platform.LocalAppDataFolder());
    if (!places.portable) {
        store =
            platform.OpenSettingsStore(kCompanyKey, AppNameFromModulePath(modulePath, isLeadByte));
        return;
    }
    std::function<bool(std::string_view)> save;
    if (!places.readOnly) {
        save = [this](std::string_view text) {
            return platform.SaveFile(places.settingsFile, text);
        };
    }
    store = std::make_unique<IniSettingsStore>(
        platform.ReadFile(settingsFile).value_or(std::string()), folder, std::move(save));
}

void CWallpaperApp::LoadSettings() {
    // A portable copy's default list is kept with its other files.
    settings = ::LoadSettings(
        *store,
        [this] { return places.portable ? places.dataFolder : platform.PersonalDocumentsFolder(); },
        isLeadByte);
}

void CWallpaperApp::SaveSettings() {
    ::SaveSettings(settings, osVersion, *store);
}

void CWallpaperApp::SaveNextIndex() {
    ::SaveNextIndex(settings.nextIndex, *store);
}
