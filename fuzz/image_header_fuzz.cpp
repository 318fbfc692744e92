// Fuzzes the reader of the size an image file claims: never reads past the bytes it is given.
#include <cstddef>
#include <cstdint>
#include <string>

#include "imagelib/image_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the input, so any read past its end is caught.
    const std::string head(reinterpret_cast<const char*>(data), size);
    ReadClaimedSize(head);
    ClaimedSizeIsAllowed(head);
    return 0;
}
