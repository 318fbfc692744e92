// The registry-backed SettingsStore.
#include "app/win32/registry_settings_store.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "base/win32/unique_hkey.h"
#include "base/win32/wide_text.h"

namespace {

// How often a text read is retried when the value grows between asking its size and reading it.
constexpr int kTextReadAttempts = 4;

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::string companyKey, std::string appName)
    : companyKey(std::move(companyKey)), appName(std::move(appName)) {}

std::string RegistrySettingsStore::SectionKeyPath(std::string_view section) const {
    std::string path = "Software\\";
    path += companyKey;
    path += '\\';
    path += appName;
    path += '\\';
    path += section;
    return path;
}

int RegistrySettingsStore::ReadInt(std::string_view section, std::string_view name,
                                   int defaultValue) const {
    UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(SectionKeyPath(section)).c_str(), 0, KEY_QUERY_VALUE,
                      key.Put()) != ERROR_SUCCESS) {
        return defaultValue;
    }
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const std::wstring valueName = Widen(name);
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value)) {
        return defaultValue;
    }
    return static_cast<int>(value);
}

std::string RegistrySettingsStore::ReadText(std::string_view section, std::string_view name,
                                            std::string_view defaultValue) const {
    UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(SectionKeyPath(section)).c_str(), 0, KEY_QUERY_VALUE,
                      key.Put()) != ERROR_SUCCESS) {
        return std::string(defaultValue);
    }
    const std::wstring valueName = Widen(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::string(defaultValue);
    }
    for (int attempt = 0; attempt < kTextReadAttempts; ++attempt) {
        // One spare zero character, so that a value stored without its terminating NUL (or with
        // an odd byte count) still ends.
        std::vector<wchar_t> buffer(size_t{size} / sizeof(wchar_t) + 2, L'\0');
        DWORD bufferSize = size;
        const LSTATUS status =
            RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &bufferSize);
        if (status == ERROR_MORE_DATA && bufferSize > size) {
            size = bufferSize;
            continue;
        }
        if (status != ERROR_SUCCESS || type != REG_SZ) {
            break;
        }
        // The text ends at the first NUL. A value the old ANSI code wrote is stored as UTF-16
        // by the registry itself, so it reads back as the same characters.
        const auto end = buffer.begin() + std::min<size_t>(bufferSize, size) / sizeof(wchar_t);
        return Narrow(std::wstring_view(
            buffer.data(),
            static_cast<size_t>(std::find(buffer.begin(), end, L'\0') - buffer.begin())));
    }
    return std::string(defaultValue);
}

void RegistrySettingsStore::WriteInt(std::string_view section, std::string_view name, int value) {
    UniqueHKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(SectionKeyPath(section)).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Put(),
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    const auto data = static_cast<DWORD>(value);
    RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

void RegistrySettingsStore::WriteText(std::string_view section, std::string_view name,
                                      std::string_view value) {
    const std::wstring data = Widen(value);
    // The stored size includes the terminating NUL and must fit a DWORD.
    if (data.size() >= std::numeric_limits<DWORD>::max() / sizeof(wchar_t)) {
        return;
    }
    UniqueHKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(SectionKeyPath(section)).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Put(),
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExW(key.Get(), Widen(name).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}
