// Times the real program on a list of 100,000 existing files: start-up with the list loaded
// and shown, a save of the whole list, and exit; then the folder scan over the same tree.
// Usage: list_bench <tree folder> <list file>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "list/folder_scan.h"
#include "list/win32/win32_file_system.h"
#include "bench/wine/bench_clock.h"
#include "tests/e2e/registry_probe.h"
#include "tests/e2e/resource_ids.h"
#include "tests/e2e/velumar_driver.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: list_bench <tree folder> <list file>\n");
        return 2;
    }
    const std::string tree = argv[1];
    const std::string listFile = argv[2];

    Win32FileSystem fileSystem;
    std::vector<std::string> files;
    LARGE_INTEGER scanStart = Now();
    ScanFolder(tree, files, true, fileSystem, mbcs::NoLeadBytes);
    double scanSeconds = Seconds(scanStart, Now());

    std::string contents = "\r\n";
    for (const std::string& file : files) {
        contents +=
            (file.find(' ') != std::string::npos ? "\"" + file + "\"" : file) + " 0 \"\"\r\n";
    }
    e2e::WriteFileBytes(listFile, contents);

    e2e::DeleteTree(e2e::kCompanyKey);
    e2e::WriteText(e2e::kSettingsKey, "CF", listFile);
    e2e::WriteDword(e2e::kSettingsKey, "SA", 0);
    e2e::WriteDword(e2e::kSettingsKey, "WH", 1);

    e2e::VelumarProcess velumar;
    LARGE_INTEGER start = Now();
    if (!velumar.Start() || velumar.WaitForMainWindow(120000) == nullptr) {
        std::fprintf(stderr, "Velumar did not start\n");
        return 1;
    }
    HWND list = velumar.Control(e2e::kListView);
    UpdateWindow(velumar.MainWindow());
    int rows = velumar.ListRowCount(e2e::kListView);
    std::string lastRow = velumar.ListText(e2e::kListView, rows - 1, 0);
    LARGE_INTEGER shown = Now();
    // "Remove Selection(s)" with nothing selected writes the whole list.
    velumar.SendCommand(e2e::kRemoveButton);
    LARGE_INTEGER saved = Now();
    velumar.Exit(120000);
    LARGE_INTEGER ended = Now();
    (void)list;

    std::string written = e2e::ReadFileBytes(listFile);
    std::printf("files found by the scan:       %zu\n", files.size());
    std::printf("folder scan (Win32, in-process): %.3f s\n", scanSeconds);
    std::printf("rows shown:                     %d (last: %s)\n", rows, lastRow.c_str());
    std::printf("start, load and show:           %.3f s\n", Seconds(start, shown));
    std::printf("save of the whole list:         %.3f s (%s)\n", Seconds(shown, saved),
                written == contents ? "same bytes" : "BYTES DIFFER");
    std::printf("exit:                           %.3f s\n", Seconds(saved, ended));
    std::printf("load, show and save in total:   %.3f s\n", Seconds(start, saved));
    e2e::DeleteTree(e2e::kCompanyKey);
    return written == contents && rows == static_cast<int>(files.size()) ? 0 : 1;
}
