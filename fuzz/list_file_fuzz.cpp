// Fuzzes the list file reader and its tokenizer: any bytes, read as ANSI and again after a
// UTF-8 byte-order mark, give rows, never a crash, and the rows written back read again to the
// same paths.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "list/line_tokenizer.h"
#include "list/list_file.h"
#include "tests/unit/fake_code_page.h"
#include "tests/unit/fake_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Latin1CodePage codePage;
    for (int run = 0; run < 4; ++run) {
        AppSettings settings;
        settings.enforceUniqueness = run % 2 == 1;
        FakeFileSystem files;
        files.AddFile("C:\\in.vlt", (run < 2 ? "" : "\xEF\xBB\xBF") + std::string(text));
        WallpaperRows rows{settings, files, PathCase{}};
        WallpaperRows again{settings, files, PathCase{}};
        if (!LoadListFile("C:\\in.vlt", rows, files, codePage) ||
            !SaveListFile("C:\\l.vlt", rows, files, codePage) ||
            !LoadListFile("C:\\l.vlt", again, files, codePage) || again.Count() != rows.Count()) {
            __builtin_trap();
        }
        for (int i = 0; i < rows.Count(); ++i) {
            if (again.EntryAt(i).path != rows.EntryAt(i).path) {
                __builtin_trap();
            }
        }
    }
    LineTokenizer tokenizer(text);
    for (int i = 0; i < 64 && !tokenizer.NextToken().empty(); ++i) {
        tokenizer.NextNumber();
    }
    return 0;
}
