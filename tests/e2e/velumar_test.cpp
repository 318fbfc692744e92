// The fixture of every end-to-end test: a clean settings key and a folder of the test's own.
#include "tests/e2e/velumar_test.h"

#include <shellapi.h>
#include <shlobj.h>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"

namespace e2e {

namespace {

void RemoveFolder(const std::string& path) {
    // SHFileOperation wants a list ending in two NULs.
    std::string from = path + '\0';
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationA(&operation);
}

}  // namespace

void VelumarTest::SetUp() {
    DeleteTree(kCompanyKey);
    // The welcome dialog would come up over every test; its own tests turn it back on.
    WriteDword(kSettingsKey, "SW", 0);
    // The wallpapers shown, the random deck dealt and the pictures marked in earlier tests.
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    for (const char* kept : {"history.txt", "deck.txt", "hidden.txt", "favourites.txt"}) {
        DeleteFileA((std::string(local) + "\\Quorwick\\Velumar\\" + kept).c_str());
    }
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof(temp), temp);
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::string(temp) + "velumar-e2e-" + info->test_suite_name() + "-" + info->name();
    RemoveFolder(folder);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
}

std::string VelumarTest::UseListOf(const std::vector<std::string>& names) const {
    std::string text = "\r\n";
    for (const std::string& name : names) {
        text += InFolder(name) + " 0 \"\"\r\n";
    }
    const std::string list = InFolder("list.vlt");
    WriteFileBytes(list, text);
    WriteText(kSettingsKey, "CF", list);
    return list;
}

void VelumarTest::StartWithoutWallpaper() {
    DeleteFileA(WallpaperFile().c_str());
    WriteDword(kSettingsKey, "SA", 0);
    WriteDword(kSettingsKey, "WH", 1);
}

void VelumarTest::StoreWindowRect(const RECT& rect) {
    WriteDword(kSettingsKey, "PL", static_cast<DWORD>(rect.left));
    WriteDword(kSettingsKey, "PT", static_cast<DWORD>(rect.top));
    WriteDword(kSettingsKey, "PR", static_cast<DWORD>(rect.right));
    WriteDword(kSettingsKey, "PB", static_cast<DWORD>(rect.bottom));
}

void VelumarTest::TearDown() {
    DeleteTree(kCompanyKey);
    RemoveFolder(folder);
}

}  // namespace e2e
