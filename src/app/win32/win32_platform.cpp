// The application's platform services on Windows.
#include "app/win32/win32_platform.h"

#include <shlobj.h>

#include <vector>

#include "app/win32/registry_settings_store.h"
#include "base/win32/shell_folder.h"
#include "base/win32/message_box.h"
#include "base/win32/module_path.h"
#include "base/win32/unique_handle.h"
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

std::string Win32AppPlatform::LocalAppDataFolder() {
    return LocalAppDataPath();
}

bool Win32AppPlatform::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32AppPlatform::CanWriteBeside(const std::string& path) {
    // A file marked read-only, a write-protected medium or a folder the user may not change:
    // each refuses one of these two opens. The probe file goes as its handle closes.
    const std::wstring file = Widen(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    const UniqueHandle existing(CreateFileW(
        file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const UniqueHandle probe(
        CreateFileW((file + L".probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return existing && probe;
}

std::optional<std::string> Win32AppPlatform::ReadFile(const std::string& path) {
    return fileSystem.ReadFile(path);
}

bool Win32AppPlatform::SaveFile(const std::string& path, std::string_view contents) {
    return fileSystem.SaveFile(path, contents);
}

bool Win32AppPlatform::MakeFolder(const std::string& path) {
    return MakeFolders(path);
}

void Win32AppPlatform::ShowNotice(std::string_view text) {
    ShowMessageBox(nullptr, std::string(text), MB_ICONINFORMATION | MB_SETFOREGROUND);
}
