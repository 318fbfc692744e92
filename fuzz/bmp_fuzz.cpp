// Fuzzes our bitmap reader on a file of arbitrary bytes and the check of a packed bitmap's
// rows against its array: nothing is read past the data, and nothing huge is allocated for a
// small file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "imagelib/bmp_decoder.h"
#include "render/dib_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // In memory where the machine has it: the file is written and read several times per input.
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/velumar-bmp-fuzz-" +
        std::to_string(getpid()) + ".bmp";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    BmpDecoder decoder;
    if (std::optional<DecodedPage> page = decoder.DecodePage(path, 0)) {
        // A decoded image holds no more pixels than the file could describe.
        if (static_cast<std::uint64_t>(page->image.Width()) * page->image.Height() > 8 * size) {
            __builtin_trap();
        }
    }
    decoder.ReadFileInfo(path);
    decoder.DecodeThumbnail(path, 64, 48, {});
    ByteArray array(data, data + size);
    if (std::optional<DibRows> rows = ReadDibRows(array)) {
        const std::uint8_t* end = array.data() + array.size();
        if (rows->TopDownRow(0) + rows->stride > end) {
            __builtin_trap();
        }
    }
    return 0;
}
