// Reads the rows of a packed bitmap handed out by the image library.
#include "render/dib_rows.h"

#include "imagelib/dib.h"

std::optional<DibRows> ReadDibRows(const ByteArray& dib) {
    if (dib.size() < dib::kInfoHeaderBytes) {
        return std::nullopt;
    }
    dib::BitmapInfoHeader header = dib::ReadInfoHeader(dib.data());
    if (header.size != dib::kInfoHeaderBytes || header.width <= 0 || header.height <= 0 ||
        header.bitCount == 0 || header.bitCount > 32 || header.compression != dib::kBiRgb) {
        return std::nullopt;
    }
    // The colour table: none from 24 bits on, otherwise clrUsed entries, or all the bit depth
    // can address when clrUsed is 0.
    std::uint64_t colors = header.bitCount >= 24 ? 0 : header.clrUsed;
    if (colors == 0 && header.bitCount <= 8) {
        colors = std::uint64_t{1} << header.bitCount;
    }
    std::uint64_t stride =
        dib::StoredRowBytes(static_cast<std::uint64_t>(header.width), header.bitCount);
    std::uint64_t offset = dib::kInfoHeaderBytes + 4 * colors;
    std::uint64_t needed = offset + stride * static_cast<std::uint64_t>(header.height);
    if (colors > 256 || needed > dib.size()) {
        return std::nullopt;
    }
    return DibRows{header.width, header.height, header.bitCount, dib.data() + offset,
                   static_cast<std::size_t>(stride)};
}
