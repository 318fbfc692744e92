// The platform services that start-up and shut-down use, so the sequence runs without Windows.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings_store.h"
#include "base/mbcs.h"

class CWallpaperApp;

// The main window as the application object sees it: made, run until it ends, destroyed.
class MainWindow {
public:
    virtual ~MainWindow() = default;
    // Runs the window's modal loop; returns when the window has ended.
    virtual void RunModal() = 0;

protected:
    MainWindow() = default;
};

// Makes the main window object for the application; it is not shown yet. The composition root
// supplies it, so the application object never depends on the user interface.
using MainWindowFactory = std::function<std::unique_ptr<MainWindow>(CWallpaperApp&)>;

class AppPlatform {
public:
    virtual ~AppPlatform() = default;

    // Id of a window message registered by name; the same name gives the same id in every process.
    virtual unsigned RegisterMessage(std::string_view name) = 0;
    // Opens the named single-instance region and keeps it open for the rest of the process.
    // False only when the name existed already, that is when another copy holds it.
    virtual bool OpenInstanceRegion(unsigned size, std::string_view name) = 0;
    // Sends a message to every top-level window and waits until they have handled it.
    virtual void BroadcastMessage(unsigned message) = 0;
    // Windows version as major * 100 + minor.
    virtual int ReadOsVersion() = 0;
    // Full path of the running executable.
    virtual std::string ModuleFileName() = 0;
    // Lead bytes of the text the program holds, for searching paths (none for UTF-8).
    virtual mbcs::LeadBytePredicate LeadByteTest() = 0;
    // The settings store for the company key and the application name.
    virtual std::unique_ptr<SettingsStore> OpenSettingsStore(std::string_view companyKey,
                                                             std::string_view appName) = 0;
    // File-system path of the user's personal documents folder, or empty on failure.
    virtual std::string PersonalDocumentsFolder() = 0;
    // The user's local application-data folder without a trailing backslash; empty when unknown.
    virtual std::string LocalAppDataFolder() = 0;

    // Files beside a portable copy's program.
    virtual bool FileExists(const std::string& path) = 0;
    // True when the file can be opened for writing and its folder takes new files.
    virtual bool CanWriteBeside(const std::string& path) = 0;
    virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
    // Replaces the file only once the new contents are complete.
    virtual bool SaveFile(const std::string& path, std::string_view contents) = 0;
    // Makes the folder (and those above it); true when it exists afterwards.
    virtual bool MakeFolder(const std::string& path) = 0;
    // Tells the user something in a message box of the program's.
    virtual void ShowNotice(std::string_view text) = 0;

protected:
    AppPlatform() = default;
};
