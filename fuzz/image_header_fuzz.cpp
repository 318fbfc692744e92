// Fuzzes the image header readers: never read past the bytes they are given, and agree with
// themselves (a header read is described, its orientation is one of the eight, and its
// completeness can be asked).
#include <cstddef>
#include <cstdint>
#include <string>

#include "imagelib/image_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input, so any read past its end is caught.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoryBytes source(bytes);
    if (std::optional<ImageHeader> header = ReadImageHeader(source)) {
        if (header->width == 0 || header->height == 0 || header->pageCount < 1 ||
            header->orientation < 1 || header->orientation > 8) {
            __builtin_trap();
        }
        DataIsComplete(source, *header);
        if (header->bitsPerPixel != 0) {
            DescribeHeader(*header);
        }
    }
    MayDecode(source, true);
    SniffFormat(bytes);
    return 0;
}
