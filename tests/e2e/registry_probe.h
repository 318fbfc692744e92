// Reads and writes the per-user registry the way another program would, for the tests.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::string data;  // the raw bytes

    std::optional<DWORD> AsDword() const;
    // A REG_SZ value without its terminating NUL.
    std::optional<std::string> AsText() const;
};

std::optional<RegistryValue> ReadValue(const std::string& key, const std::string& name);
bool KeyExists(const std::string& key);
void WriteDword(const std::string& key, const std::string& name, DWORD value);
// Text is UTF-8, written with the wide API as the program writes it.
void WriteText(const std::string& key, const std::string& name, const std::string& value);
void DeleteTree(const std::string& key);

}  // namespace e2e
