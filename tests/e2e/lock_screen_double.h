// Sets up the lock-screen double (tests/e2e/tools/lock_screen_double.cpp) for a test: registers
// it as the two Windows Runtime classes Wine's combase activates, tells it where to record and
// whether to refuse, and reads back what it recorded.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/win32/module_path.h"
#include "base/win32/wide_text.h"
#include "desktop/win32/lock_screen_abi.h"
#include "tests/e2e/registry_probe.h"

namespace e2e {

inline constexpr char kLockScreenDoubleKey[] = "Software\\Velumar tests\\Lock screen double";

inline std::wstring ActivatableClassKey(const wchar_t* runtimeClass) {
    return std::wstring(L"Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\") +
           runtimeClass;
}

// The double lies beside the test program.
inline std::string LockScreenDoublePath() {
    const std::string exe = ModuleFilePath();
    return exe.substr(0, exe.find_last_of('\\') + 1) + "lock_screen_double.dll";
}

// Combase reads only DllPath; ActivationType 0 (in-process) and Threading 0 (both apartments)
// are what Windows registers for such classes.
inline void RegisterLockScreenDouble(const std::string& dllWindowsPath = LockScreenDoublePath()) {
    const std::wstring path = Widen(dllWindowsPath);
    const DWORD zero = 0;
    for (const wchar_t* runtimeClass :
         {lockscreen_abi::kLockScreenClass, lockscreen_abi::kStorageFileClass}) {
        const std::wstring key = ActivatableClassKey(runtimeClass);
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"DllPath", REG_SZ, path.c_str(),
                        static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"ActivationType", REG_DWORD, &zero,
                        sizeof(zero));
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"Threading", REG_DWORD, &zero,
                        sizeof(zero));
    }
}

inline void UnregisterLockScreenDouble() {
    for (const wchar_t* runtimeClass :
         {lockscreen_abi::kLockScreenClass, lockscreen_abi::kStorageFileClass}) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, ActivatableClassKey(runtimeClass).c_str());
    }
}

// The double copies each picture it is given there as <k>.jpg and writes its path as line k of
// calls.txt there; a refused one only gets the line "refused <path>".
inline void UseLockScreenRecordFolder(const std::string& folder) {
    WriteText(kLockScreenDoubleKey, "RecordFolder", folder);
}

inline void SetLockScreenDoubleFailing(bool failing) {
    WriteDword(kLockScreenDoubleKey, "Fail", failing ? 1 : 0);
}

inline std::vector<std::string> LockScreenCalls(const std::string& folder) {
    std::ifstream file(Widen(folder + "\\calls.txt").c_str());
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace e2e
