// Switches the real program's wallpaper many times through "Switch wallpaper now" sent from
// another process, as a soak: the list file must be the same at the end, and the driving
// script watches the program's memory meanwhile.
// Usage: soak_bench <folder for the images and the list> <switches>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"

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
    std::printf("list at start: %zu bytes\n", ReadFileBytes(listFile).size());
    std::fflush(stdout);
    DWORD start = GetTickCount();
    for (int i = 1; i <= switches; ++i) {
        velumar.SendCommand(kSwitchNowCommand);
        if (i % 1000 == 0) {
            std::printf("%d switches, %.1f s\n", i, (GetTickCount() - start) / 1000.0);
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
