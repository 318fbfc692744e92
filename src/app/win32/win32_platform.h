// The application's platform services on Windows.
#pragma once

#include <windows.h>

#include "app/app_platform.h"
#include "app/win32/instance_region.h"

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

private:
    HINSTANCE instance;
    // Held for the whole process: its name marks the running copy.
    InstanceRegion instanceRegion;
};
