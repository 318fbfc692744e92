// Fuzzes the list file reader and its tokenizer: any bytes give rows, never a crash, and the
// rows written back read again to the same paths.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "list/line_tokenizer.h"
#include "list/list_file.h"
#include "tests/unit/fake_file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (bool unique : {false, true}) {
        AppSettings settings;
        settings.enforceUniqueness = unique;
        FakeFileSystem files;
        WallpaperRows rows{settings, files, PathCase{}};
        ParseListFile(text, rows);
        if (!SaveListFile("C:\\l.vlt", rows, files, mbcs::NoLeadBytes)) {
            __builtin_trap();
        }
        WallpaperRows again{settings, files, PathCase{}};
        if (!LoadListFile("C:\\l.vlt", again, files) || again.Count() != rows.Count()) {
            __builtin_trap();
        }
    }
    LineTokenizer tokenizer(text);
    for (int i = 0; i < 64 && !tokenizer.NextToken().empty(); ++i) {
        tokenizer.NextNumber();
    }
    return 0;
}
