// The orientation tag of EXIF data: one TIFF-structure reader for JPEG, TIFF, PNG and WebP.
#include <algorithm>

#include "imagelib/header_reader.h"

namespace headers {

int ExifOrientation(Reader& r, std::uint64_t at, std::uint64_t length) {
    if (!r.Has(at, length)) {
        return 1;
    }
    if (length >= 6 && r.Text(at, 6) == std::string("Exif\0\0", 6)) {
        at += 6;
        length -= 6;
    }
    if (length < 8) {
        return 1;
    }
    const std::string order = r.Text(at, 2);
    if (order != "II" && order != "MM") {
        return 1;
    }
    const bool big = order == "MM";
    const std::uint64_t ifd = r.U32(at + 4, big);
    if (r.U16(at + 2, big) != 42 || ifd < 8 || ifd > length - 2) {
        return 1;
    }
    // Only entries wholly inside the EXIF data count.
    const std::uint64_t entries =
        std::min<std::uint64_t>(r.U16(at + ifd, big), (length - ifd - 2) / 12);
    for (std::uint64_t i = 0; i < entries && r.Ok(); ++i) {
        const std::uint64_t e = at + ifd + 2 + i * 12;
        if (r.U16(e, big) != 0x0112) {
            continue;
        }
        const std::uint32_t type = r.U16(e + 2, big);
        const std::uint32_t count = r.U32(e + 4, big);
        const std::uint32_t value = r.U16(e + 8, big);
        return r.Ok() && type == 3 && count == 1 && value >= 1 && value <= 8
                   ? static_cast<int>(value)
                   : 1;
    }
    return 1;
}

}  // namespace headers
