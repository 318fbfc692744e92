// Reads and writes the per-user registry the way another program would, for the tests.
#include "tests/e2e/registry_probe.h"

#include <cstring>
#include <vector>

#include "base/win32/unique_hkey.h"
#include "base/win32/wide_text.h"

namespace e2e {

std::optional<DWORD> RegistryValue::AsDword() const {
    if (type != REG_DWORD || data.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof(value));
    return value;
}

std::optional<std::string> RegistryValue::AsText() const {
    if (type != REG_SZ) {
        return std::nullopt;
    }
    std::string text = data;
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

std::optional<RegistryValue> ReadValue(const std::string& key, const std::string& name) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    UniqueHKey owner(raw);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(raw, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::vector<BYTE> bytes(size + 1);
    if (RegQueryValueExA(raw, name.c_str(), nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return RegistryValue{type, std::string(reinterpret_cast<const char*>(bytes.data()), size)};
}

bool KeyExists(const std::string& key) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(raw);
    return true;
}

void WriteDword(const std::string& key, const std::string& name, DWORD value) {
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_DWORD, &value, sizeof(value));
}

void WriteText(const std::string& key, const std::string& name, const std::string& value) {
    const std::wstring wide = Widen(value);
    RegSetKeyValueW(HKEY_CURRENT_USER, Widen(key).c_str(), Widen(name).c_str(), REG_SZ,
                    wide.c_str(), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

void DeleteTree(const std::string& key) {
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
}

}  // namespace e2e
