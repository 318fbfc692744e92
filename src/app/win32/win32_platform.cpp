// The application's platform services on Windows.
#include "app/win32/win32_platform.h"

#include <shlobj.h>

#include <vector>

#include "app/win32/registry_settings_store.h"
#include "base/win32/shell_folder.h"
#include "base/win32/module_path.h"
#include "base/win32/wide_text.h"

unsigned Win32AppPlatform::RegisterMessage(std::string_view name) {
    return RegisterWindowMessageW(Widen(name).c_str());
}

bool Win32AppPlatform::OpenInstanceRegion(unsigned size, std::string_view name) {
    // A region that cannot be made for another reason than an existing name still counts as
    // ours: this copy starts normally.
    instanceRegion.Open(size, std::string(name));
    return instanceRegion.WasCreated();
}

void Win32AppPlatform::BroadcastMessage(unsigned message) {
    // The running copy may take the foreground: this process is the one the user just started.
    AllowSetForegroundWindow(ASFW_ANY);
    // Synchronous, but a hung top-level window of some other program must not keep this
    // copy alive forever.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 10000,
                        &ignored);
}

int Win32AppPlatform::ReadOsVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) {
        return 0;
    }
#pragma GCC diagnostic pop
    return static_cast<int>(info.dwMajorVersion * 100 + info.dwMinorVersion);
}

std::string Win32AppPlatform::ModuleFileName() {
    return ModuleFilePath();
}

mbcs::LeadBytePredicate Win32AppPlatform::LeadByteTest() {
    // Paths are UTF-8 inside, whose continuation bytes are never ASCII: a search for a
    // separator needs no lead-byte rule.
    return mbcs::NoLeadBytes;
}

std::unique_ptr<SettingsStore> Win32AppPlatform::OpenSettingsStore(std::string_view companyKey,
                                                                   std::string_view appName) {
    return std::make_unique<RegistrySettingsStore>(std::string(companyKey), std::string(appName));
}

std::string Win32AppPlatform::PersonalDocumentsFolder() {
    return ShellFolderPath(CSIDL_PERSONAL);
}
