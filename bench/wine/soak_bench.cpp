// Switches the real program's wallpaper many times through "Switch wallpaper now" sent from
// another process, as a soak: the list file must be the same at the end, and the driving
// script watches the program's memory meanwhile. The program's handle and GDI object counts
// are printed where the system reports them (Wine reports none for another process).
// Usage: soak_bench <folder for the images and the list> <switches>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"

namespace {

// "handles N, GDI objects N, USER objects N", each only where the system reports it.
std::string ObjectCounts(HANDLE process) {
    std::string counts;
    DWORD handles = 0;
    if (GetProcessHandleCount(process, &handles) && handles != 0) {
        counts += "handles " + std::to_string(handles);
    }
    const struct {
        DWORD flag;
        const char* name;
    } kinds[] = {{GR_GDIOBJECTS, "GDI objects"}, {GR_USEROBJECTS, "USER objects"}};
    for (const auto& kind : kinds) {
        if (const DWORD count = GetGuiResources(process, kind.flag); count != 0) {
            counts +=
                (counts.empty() ? "" : ", ") + std::string(kind.name) + " " + std::to_string(count);
        }
    }
    return counts.empty() ? "no object counts reported" : counts;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace e2e;
    if (argc != 3) {
        std::fprintf(stderr, "usage: soak_bench FOLDER SWITCHES\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int switches = std::max(1, std::atoi(argv[2]));
    std::string list = "\r\n";
    for (int i = 0; i < 8; ++i) {
        const std::string image = folder + "\\soak" + std::to_string(i) + ".bmp";
        WriteFileBytes(image, SolidBitmap(64 + 8 * i, 48 + 6 * i, static_cast<BYTE>(30 * i), 90,
                                          static_cast<BYTE>(200 - 20 * i)));
        list += image + " 0 \"\"\r\n";
    }
    const std::string listFile = folder + "\\soak.vlt";
    WriteFileBytes(listFile, list);
    DeleteTree(kCompanyKey);
    WriteDword(kSettingsKey, "SW", 0);
    WriteDword(kSettingsKey, "SA", 0);
    WriteDword(kSettingsKey, "WH", 1);
    WriteText(kSettingsKey, "CF", listFile);

    VelumarProcess velumar;
    if (!velumar.Start() || velumar.WaitForMainWindow() == nullptr) {
        std::fprintf(stderr, "Velumar did not start\n");
        return 1;
    }
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, velumar.ProcessId()));
    std::printf("list at start: %zu bytes; %s\n", ReadFileBytes(listFile).size(),
                ObjectCounts(process.Get()).c_str());
    std::fflush(stdout);
    DWORD start = GetTickCount();
    for (int i = 1; i <= switches; ++i) {
        // Each switch runs on the program's worker: the next is asked for once it is stored.
        const std::optional<RegistryValue> before = ReadValue(kSettingsKey, "II");
        velumar.SendCommand(kSwitchNowCommand);
        WaitUntil([&] {
            const std::optional<RegistryValue> now = ReadValue(kSettingsKey, "II");
            return now && (!before || now->data != before->data);
        });
        if (i % 1000 == 0) {
            std::printf("%d switches, %.1f s; %s\n", i, (GetTickCount() - start) / 1000.0,
                        ObjectCounts(process.Get()).c_str());
            std::fflush(stdout);
        }
    }
    velumar.Exit();
    const std::string after = ReadFileBytes(listFile);
    // Only the selection line may differ: the last switch selected its row.
    std::printf(
        "list at end: %zu bytes, entries %s\n", after.size(),
        after.substr(after.find('\n')) == list.substr(list.find('\n')) ? "unchanged" : "CHANGED");
    return 0;
}
