// The downloads a Windows user installs: the per-user installer built by scripts/package.sh
// installs without an administrator, the installed program runs, a second install replaces a
// running copy after closing it, and the uninstaller removes the program but keeps the user's
// list and settings.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"
#include "tests/e2e/velumar_test.h"

namespace e2e {
namespace {

constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velumar";

std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs a program with a command line and waits for it to end; its exit code.
DWORD RunAndWait(const std::string& exe, const std::string& arguments) {
    std::string command = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return 0xFFFFFFFF;
    }
    WaitForSingleObject(info.hProcess, Deadline(30000));
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

// The installer that scripts/package.sh made, beside this program's build.
std::string SetupPath() {
    std::string exe = VelumarExePath();
    std::string bin = exe.substr(0, exe.find_last_of('\\'));
    std::string build = bin.substr(0, bin.find_last_of('\\'));
    build = build.substr(0, build.find_last_of('\\'));
    return build + "\\release\\package\\Velumar-1.32-setup.exe";
}

// The names of the sections of a program file.
std::vector<std::string> SectionNames(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    std::vector<std::string> names;
    if (bytes.size() < 0x40) {
        return names;
    }
    auto read32 = [&](size_t at) { return *reinterpret_cast<const DWORD*>(bytes.data() + at); };
    auto read16 = [&](size_t at) { return *reinterpret_cast<const WORD*>(bytes.data() + at); };
    size_t header = read32(0x3C);
    WORD sections = read16(header + 6);
    size_t table = header + 24 + read16(header + 20);
    for (WORD i = 0; i < sections && table + 40 * (i + 1) <= bytes.size(); ++i) {
        names.emplace_back(bytes.data() + table + 40 * i,
                           strnlen(bytes.data() + table + 40 * i, 8));
    }
    return names;
}

std::string VersionText(const std::string& path, const char* name) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::string data(size, '\0');
    char* text = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueA(data.data(), (std::string("\\StringFileInfo\\040904E4\\") + name).c_str(),
                        reinterpret_cast<void**>(&text), &length)) {
        return {};
    }
    return text;
}

}  // namespace

using InstallerTest = VelumarTest;

TEST_F(InstallerTest, InstallsPerUserRunsReplacesARunningCopyAndUninstallsKeepingTheUsersData) {
    const std::string setup = SetupPath();
    ASSERT_TRUE(Exists(setup)) << setup << " (made by scripts/package.sh)";
    const std::string dir = Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Velumar";
    const std::string exe = dir + "\\Velumar.exe";
    const std::string menu = Folder(CSIDL_PROGRAMS) + "\\Velumar.lnk";
    const std::string startup = Folder(CSIDL_STARTUP) + "\\Shortcut to Velumar.exe.lnk";
    // Installed beside the program and removed with it.
    const char* const files[] = {"Velumar.chm", "LICENSE", "THIRD-PARTY-NOTICES.txt"};
    const std::string list = InFolder("kept.vlt");
    WriteFileBytes(list, "\r\n" + InFolder("kept.vlt") + " 0 \"\"\r\n");
    WriteText(kSettingsKey, "CF", list);
    WriteDword(kSettingsKey, "SA", 0);

    ASSERT_EQ(RunAndWait(setup, "/S"), 0u);
    EXPECT_TRUE(Exists(exe));
    for (const char* file : files) {
        EXPECT_TRUE(Exists(dir + "\\" + file)) << file;
    }
    EXPECT_TRUE(Exists(menu));
    EXPECT_EQ(ReadValue(kUninstallKey, "DisplayVersion")->AsText(), "1.32");
    EXPECT_EQ(ReadValue(kUninstallKey, "Publisher")->AsText(), "Quorwick");
    EXPECT_TRUE(ReadValue(kUninstallKey, "UninstallString"));
    // What users download: the version in the file, and no debug sections.
    EXPECT_EQ(VersionText(exe, "FileVersion"), "1.32");
    EXPECT_EQ(VersionText(exe, "CompanyName"), "Quorwick");
    EXPECT_EQ(VersionText(exe, "ProductName"), "Velumar");
    for (const std::string& section : SectionNames(exe)) {
        EXPECT_EQ(section.rfind(".debug", 0), std::string::npos) << section;
    }

    // The installed program runs and makes its startup shortcut; installing again while it
    // runs closes it first (it saves as at Exit) and replaces it.
    VelumarProcess velumar;
    ASSERT_TRUE(velumar.Start(exe));
    ASSERT_NE(velumar.WaitForMainWindow(), nullptr);
    velumar.SendCommand(kStartupShortcutCommand);
    EXPECT_TRUE(Exists(startup));
    ASSERT_EQ(RunAndWait(setup, "/S"), 0u);
    EXPECT_TRUE(velumar.WaitForExit(10000));
    EXPECT_TRUE(Exists(exe));
    EXPECT_TRUE(Exists(list));

    const std::string uninstaller = dir + "\\Uninstall.exe";
    ASSERT_TRUE(Exists(uninstaller));
    RunAndWait(uninstaller, "/S");
    // The uninstaller goes on from a copy of itself; its last step removes its entry.
    EXPECT_TRUE(WaitUntil([&] { return !KeyExists(kUninstallKey); }, 30000));
    EXPECT_FALSE(Exists(exe));
    EXPECT_FALSE(Exists(uninstaller));
    for (const char* file : files) {
        EXPECT_FALSE(Exists(dir + "\\" + file)) << file;
    }
    EXPECT_FALSE(Exists(menu));
    EXPECT_FALSE(Exists(startup));
    EXPECT_TRUE(Exists(list));
    EXPECT_EQ(ReadValue(kSettingsKey, "CF")->AsText(), list);
}

}  // namespace e2e
