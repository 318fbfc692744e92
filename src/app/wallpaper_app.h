// The application object: settings, start-up, the single-instance rule and shut-down.
#pragma once

#include <memory>
#include <string>

#include "app/app_platform.h"
#include "app/app_settings.h"
#include "app/settings_store.h"
#include "app/storage_places.h"

inline constexpr std::string_view kOtherInstanceMessageName = "VLOTHERINSTANCENOTIFICATION";
inline constexpr std::string_view kInstanceRegionName = "3F1A92D0-5B7C-11d5-9A4E-0040C7A1B2C3";
inline constexpr unsigned kInstanceRegionSize = 260;
inline constexpr std::string_view kCompanyKey = "Quorwick";
inline constexpr std::string_view kWallpaperFileSuffix = "\\Quorwick Velumar.bmp";

class CWallpaperApp {
public:
    explicit CWallpaperApp(AppPlatform& platform) : platform(platform) {}

    // The whole run: the single-instance test, loading the settings, the main window's modal
    // loop, then storing the settings. Returns false: no further message loop runs.
    bool StartUp(const MainWindowFactory& makeMainWindow);

    void LoadSettings();
    void SaveSettings();
    void SaveNextIndex();
    // The settings store, once the start-up has opened it.
    SettingsStore* Store() { return store.get(); }

    AppSettings settings;
    unsigned otherInstanceMessage = 0;
    int osVersion = 0;
    std::string exePath;
    // Where the settings and Velumar's own files are kept, chosen at start-up.
    StoragePlaces places;
    const std::string wallpaperFileSuffix{kWallpaperFileSuffix};
    // The running main window, while it exists.
    MainWindow* mainWindow = nullptr;

private:
    // Chooses the places and opens the store they say: the INI beside a portable copy, else
    // the registry.
    void OpenStore(const std::string& modulePath);

    AppPlatform& platform;
    std::unique_ptr<SettingsStore> store;
    mbcs::LeadBytePredicate isLeadByte = mbcs::NoLeadBytes;
};
