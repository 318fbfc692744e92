// How long the real program's window is kept from answering while it switches: another thread
// asks the main window for its title (WM_GETTEXT, as any program may) over and over while
// "Switch wallpaper now" shows 6000 x 4000 photographs, forward and at random, each switch
// either prepared ahead (time left for the preparation) or not (the next switch at once).
// Usage: busy_bench <6000 x 4000 JPEG> <folder for the copies and the list> <switches>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"

namespace {

using namespace e2e;

// The longest a WM_GETTEXT to the window took, in milliseconds, while the probe ran.
class AnswerProbe {
public:
    explicit AnswerProbe(HWND window)
        : thread([this, window] {
              while (!stop) {
                  char title[256] = {};
                  DWORD_PTR copied = 0;
                  const DWORD start = GetTickCount();
                  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(title),
                                      reinterpret_cast<LPARAM>(title), SMTO_BLOCK, 10000, &copied);
                  longest = std::max<DWORD>(longest, GetTickCount() - start);
                  Sleep(2);
              }
          }) {}
    DWORD Finish() {
        stop = true;
        thread.join();
        return longest;
    }

private:
    std::atomic<bool> stop{false};
    std::atomic<DWORD> longest{0};
    std::thread thread;
};

std::optional<DWORD> NextIndex() {
    std::optional<RegistryValue> value = ReadValue(kSettingsKey, "II");
    return value ? value->AsDword() : std::nullopt;
}

// One run of the program: the longest wait for an answer, or -1 when it did not start.
long Scenario(const std::string& listFile, bool random, bool prepared, int switches) {
    DeleteTree(kCompanyKey);
    WriteDword(kSettingsKey, "SW", 0);
    WriteDword(kSettingsKey, "SA", 0);
    WriteDword(kSettingsKey, "WH", 1);
    WriteDword(kSettingsKey, "RA", random ? 1 : 0);
    WriteText(kSettingsKey, "CF", listFile);
    VelumarProcess velumar;
    if (!velumar.Start() || velumar.WaitForMainWindow() == nullptr) {
        return -1;
    }
    // The start switch and the window's first showing are not timed.
    WaitUntil([] { return NextIndex().has_value(); }, 30000);
    Sleep(2000);
    AnswerProbe probe(velumar.MainWindow());
    for (int i = 0; i < switches; ++i) {
        if (prepared) {
            // Time for the worker to render the next photograph ahead.
            Sleep(1500);
        }
        const std::optional<DWORD> before = NextIndex();
        velumar.SendCommand(kSwitchNowCommand);
        WaitUntil([&] { return NextIndex() != before; }, 30000);
    }
    const DWORD longest = probe.Finish();
    velumar.Exit();
    return static_cast<long>(longest);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: busy_bench PHOTO FOLDER SWITCHES\n");
        return 2;
    }
    const std::string photo = argv[1];
    const std::string folder = argv[2];
    const int switches = std::max(1, std::atoi(argv[3]));
    // Four files, so the random order draws.
    std::string list = "\r\n";
    for (const char* name : {"a", "b", "c", "d"}) {
        const std::string copy = folder + "\\" + name + ".jpg";
        CopyFileA(photo.c_str(), copy.c_str(), FALSE);
        list += copy + " 0 \"\"\r\n";
    }
    const std::string listFile = folder + "\\busy.vlt";
    WriteFileBytes(listFile, list);
    bool failed = false;
    for (const bool random : {false, true}) {
        for (const bool prepared : {true, false}) {
            const long longest = Scenario(listFile, random, prepared, switches);
            failed = failed || longest < 0;
            std::printf("%-7s %-10s longest wait for an answer %5ld ms over %d switches\n",
                        random ? "random" : "forward", prepared ? "prepared" : "unprepared",
                        longest, switches);
            std::fflush(stdout);
        }
    }
    return failed ? 1 : 0;
}
