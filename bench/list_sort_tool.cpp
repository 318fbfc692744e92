// Sorts the wallpaper list's rows by each column, natively, and prints the best time of the
// runs in milliseconds. It writes the names it sorts to a file, one per line, so the same names
// can be sorted by `sort -f` for comparison. Usage: list_sort_tool NAMES-FILE ROWS RUNS
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "list/wallpaper_rows.h"
#include "tests/unit/fake_file_system.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: list_sort_tool NAMES-FILE ROWS RUNS\n");
        return 2;
    }
    const int count = std::max(1, std::atoi(argv[2]));
    const int runs = std::max(1, std::atoi(argv[3]));
    AppSettings settings;
    // An empty file system: no path is a folder, names are shown as they are.
    FakeFileSystem files;
    WallpaperRows rows(settings, files, PathCase{});
    std::ofstream names(argv[1]);
    // Names of camera files, holiday folders and mixed case, in a scrambled order.
    unsigned seed = 12345;
    {
        RowsUpdateScope update(rows);
        for (int i = 0; i < count; ++i) {
            seed = seed * 1103515245u + 12345u;
            char path[128];
            std::snprintf(path, sizeof(path), "D:\\Photos\\Trip %03u\\%s_%05u.%s",
                          (seed >> 8) % 400, (seed & 1) != 0 ? "IMG" : "img", (seed >> 12) % 60000,
                          (seed & 2) != 0 ? "JPG" : "png");
            rows.AddEntry(path);
            names << rows.RowAt(i).name << '\n';
        }
    }
    for (int column = 0; column < 2; ++column) {
        double best = 1e30;
        for (int run = 0; run < runs; ++run) {
            auto start = std::chrono::steady_clock::now();
            rows.SortBy(column, run % 2 == 0);
            auto end = std::chrono::steady_clock::now();
            best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
        }
        std::printf("%s %.1f ms\n", column == 0 ? "filename" : "folder", best);
    }
    return 0;
}
