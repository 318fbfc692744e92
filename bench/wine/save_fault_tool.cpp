// Saves a wallpaper list over and over, alternating between two lists, for the fault benchmark
// that kills it at random moments. With "reference", writes the two lists once each to
// <list>.a and <list>.b, which a killed save must leave one of.
// Usage: save_fault_tool LIST (reference | SAVES)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/win32/text_case.h"
#include "list/list_file.h"
#include "list/win32/win32_code_page.h"
#include "list/win32/win32_file_system.h"

namespace {

void Fill(WallpaperRows& rows, int count, const char* name) {
    for (int i = 0; i < count; ++i) {
        rows.AddEntry("C:\\Pictures\\" + std::string(name) + "\\photo " + std::to_string(i) +
                      ".jpg");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: save_fault_tool LIST (reference | SAVES)\n");
        return 2;
    }
    const std::string list = argv[1];
    AppSettings settings;
    Win32FileSystem files;
    WallpaperRows a(settings, files, PathCase{mbcs::NoLeadBytes, FoldCaseOrdinal});
    WallpaperRows b(settings, files, PathCase{mbcs::NoLeadBytes, FoldCaseOrdinal});
    // Large enough that a save takes a while, different enough that a mix shows.
    Fill(a, 20000, "Summer");
    Fill(b, 30000, "Winter holidays");
    if (std::string(argv[2]) == "reference") {
        return SaveListFile(list + ".a", a, files, SystemAnsiCodePage()) &&
                       SaveListFile(list + ".b", b, files, SystemAnsiCodePage())
                   ? 0
                   : 1;
    }
    const int saves = std::max(1, std::atoi(argv[2]));
    for (int i = 0; i < saves; ++i) {
        if (!SaveListFile(list, i % 2 == 0 ? a : b, files, SystemAnsiCodePage())) {
            return 1;
        }
    }
    return 0;
}
