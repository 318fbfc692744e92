// The application's platform services on Windows.
#pragma once

#include <windows.h>

#include "app/app_platform.h"
#include "app/win32/instance_region.h"
#include "list/win32/win32_file_system.h"

class Win32AppPlatform : public AppPlatform {
public:
    explicit Win32AppPlatform(HINSTANCE instance) : instance(instance) {}

    unsigned RegisterMessage(std::string_view name) override;
    bool OpenInstanceRegion(unsigned size, std::string_view name) override;
    void BroadcastMessage(unsigned message) override;
    int ReadOsVersion() override;
    std::string ModuleFileName() override;
    mbcs::LeadBytePredicate LeadByteTest() override;
    std::unique_ptr<SettingsStore> OpenSettingsStore(std::string_view companyKey,
                                                     std::string_view appName) override;
    std::string PersonalDocumentsFolder() override;
    std::string LocalAppDataFolder() override;
    bool FileExists(const std::string& path) override;
    bool CanWriteBeside(const std::string& path) override;
    std::optional<std::string> ReadFile(const std::string& path) override;
    bool SaveFile(const std::string& path, std::string_view contents) override;
    bool MakeFolder(const std::string& path) override;
    void ShowNotice(std::string_view text) override;

private:
    Win32FileSystem fileSystem;
    HINSTANCE instance;
    // Held for the whole process: its name marks the running copy.
    InstanceRegion instanceRegion;
};
