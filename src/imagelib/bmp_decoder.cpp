// Reading Windows bitmap files. Every size in the headers is checked against the file's real
// length and the pixel limit before anything is allocated.
#include "imagelib/bmp_decoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "base/utf8.h"
#include "imagelib/dib.h"

namespace {

struct BmpLayout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool topDown = false;
    unsigned bitCount = 0;
    std::uint64_t rowBytes = 0;
    std::uint64_t pixelOffset = 0;
    std::vector<Bgr> palette;
    bool gray = false;
    dib::BitmapInfoHeader header;
};

class BmpFile {
public:
    explicit BmpFile(const std::string& path) : file(OpenFileUtf8(path, "rb")) {
        if (file && std::fseek(file.get(), 0, SEEK_END) == 0) {
            const long end = std::ftell(file.get());
            size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
        }
    }

    bool Read(std::uint64_t offset, std::uint8_t* out, std::size_t count) {
        return file && offset <= size && count <= size - offset &&
               offset <= static_cast<std::uint64_t>(LONG_MAX) &&
               std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) == 0 &&
               std::fread(out, 1, count, file.get()) == count;
    }

    std::uint64_t Size() const { return size; }

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file;
    std::uint64_t size = 0;
};

std::optional<BmpLayout> ReadLayout(BmpFile& file) {
    std::array<std::uint8_t, dib::kFileHeaderBytes + dib::kInfoHeaderBytes + 12> head{};
    if (!file.Read(0, head.data(), dib::kFileHeaderBytes + dib::kInfoHeaderBytes)) {
        return std::nullopt;
    }
    const dib::BitmapFileHeader fileHeader = dib::ReadFileHeader(head.data());
    BmpLayout layout;
    const dib::BitmapInfoHeader& h = layout.header =
        dib::ReadInfoHeader(head.data() + dib::kFileHeaderBytes);
    const unsigned bits = h.bitCount;
    if (fileHeader.type != dib::kBitmapFileType || h.size < dib::kInfoHeaderBytes ||
        h.size > 1024 || h.planes != 1 || h.width <= 0 || h.height == 0 || h.height == INT32_MIN ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
        return std::nullopt;
    }
    if (h.compression == dib::kBiBitfields && bits == 32) {
        // Only the ordinary 8-8-8 masks, which store blue, green, red, unused.
        std::array<std::uint8_t, 12> masks{};
        if (!file.Read(dib::kFileHeaderBytes + dib::kInfoHeaderBytes, masks.data(), 12) ||
            dib::GetLe32(masks.data()) != 0xFF0000u || dib::GetLe32(masks.data() + 4) != 0xFF00u ||
            dib::GetLe32(masks.data() + 8) != 0xFFu) {
            return std::nullopt;
        }
    } else if (h.compression != dib::kBiRgb) {
        return std::nullopt;
    }
    layout.width = static_cast<std::uint32_t>(h.width);
    layout.topDown = h.height < 0;
    layout.height = static_cast<std::uint32_t>(layout.topDown ? -std::int64_t{h.height} : h.height);
    if (!IsAllowedSize(layout.width, layout.height)) {
        return std::nullopt;
    }
    layout.bitCount = bits;
    layout.rowBytes = dib::StoredRowBytes(layout.width, bits);
    layout.pixelOffset = fileHeader.offBits;
    if (layout.pixelOffset + layout.rowBytes * layout.height > file.Size()) {
        return std::nullopt;
    }
    if (bits <= 8) {
        const std::uint32_t most = 1u << bits;
        const std::uint32_t count = h.clrUsed == 0 ? most : h.clrUsed;
        const std::uint64_t tableOffset = dib::kFileHeaderBytes + h.size;
        if (count > most || tableOffset + 4 * std::uint64_t{count} > layout.pixelOffset) {
            return std::nullopt;
        }
        std::vector<std::uint8_t> table(4 * std::size_t{count});
        if (!file.Read(tableOffset, table.data(), table.size())) {
            return std::nullopt;
        }
        layout.gray = true;
        for (std::uint32_t i = 0; i < count; ++i) {
            const Bgr c{table[4 * i], table[4 * i + 1], table[4 * i + 2]};
            layout.palette.push_back(c);
            layout.gray = layout.gray && c.b == c.g && c.g == c.r;
        }
    }
    return layout;
}

// The value of pixel x of a stored row with less than 8 bits per pixel: the leftmost pixel is in
// the high bits of the first byte.
std::uint8_t PackedIndex(const std::uint8_t* row, std::uint32_t x, unsigned bits) {
    const unsigned perByte = 8 / bits;
    const unsigned shift = 8 - bits * (x % perByte + 1);
    return static_cast<std::uint8_t>((row[x / perByte] >> shift) & ((1u << bits) - 1));
}

std::optional<DecodedPage> Decode(const std::string& path) {
    BmpFile file(path);
    std::optional<BmpLayout> layout = ReadLayout(file);
    if (!layout) {
        return std::nullopt;
    }
    const PixelFormat format = layout->gray ? PixelFormat::Gray8 : PixelFormat::Bgr24;
    std::optional<PixelImage> image = PixelImage::Create(layout->width, layout->height, format);
    if (!image) {
        return std::nullopt;
    }
    std::array<Bgr, 256> colors{};
    std::copy(layout->palette.begin(), layout->palette.end(), colors.begin());
    // Stored rows are read in batches of about 1 MiB.
    const std::size_t rowBytes = layout->rowBytes;
    const std::uint32_t batchRows =
        static_cast<std::uint32_t>(std::max<std::size_t>(1, (std::size_t{1} << 20) / rowBytes));
    std::vector<std::uint8_t> batch(rowBytes * batchRows);
    if (layout->bitCount == 24 && rowBytes == image->RowBytes()) {
        // Unpadded rows go straight into place.
        for (std::uint32_t r = 0; r < layout->height; ++r) {
            std::uint8_t* out = image->Row(layout->topDown ? r : layout->height - 1 - r);
            if (!file.Read(layout->pixelOffset + rowBytes * r, out, rowBytes)) {
                return std::nullopt;
            }
        }
        return DecodedPage{std::move(*image), 1};
    }
    for (std::uint32_t r0 = 0; r0 < layout->height; r0 += batchRows) {
        const std::uint32_t rows = std::min(batchRows, layout->height - r0);
        if (!file.Read(layout->pixelOffset + rowBytes * r0, batch.data(), rowBytes * rows)) {
            return std::nullopt;
        }
        for (std::uint32_t k = 0; k < rows; ++k) {
            const std::uint32_t r = r0 + k;
            const std::uint8_t* stored = batch.data() + rowBytes * k;
            std::uint8_t* out = image->Row(layout->topDown ? r : layout->height - 1 - r);
            if (layout->bitCount == 24) {
                std::memcpy(out, stored, image->RowBytes());
                continue;
            }
            for (std::uint32_t x = 0; x < layout->width; ++x) {
                const Bgr c = layout->bitCount == 32
                                  ? Bgr{stored[4 * x], stored[4 * x + 1], stored[4 * x + 2]}
                              : layout->bitCount == 8
                                  ? colors[stored[x]]
                                  : colors[PackedIndex(stored, x, layout->bitCount)];
                if (format == PixelFormat::Gray8) {
                    out[x] = c.g;
                } else {
                    out[3 * x] = c.b;
                    out[3 * x + 1] = c.g;
                    out[3 * x + 2] = c.r;
                }
            }
        }
    }
    return DecodedPage{std::move(*image), 1};
}

int Dpi(std::int32_t pelsPerMeter) {
    return pelsPerMeter > 0 ? static_cast<int>(std::lround(pelsPerMeter * 0.0254)) : 0;
}

}  // namespace

std::optional<DecodedPage> BmpDecoder::DecodePage(const std::string& path, int page) {
    if (page != 0) {
        return std::nullopt;
    }
    return Decode(path);
}

std::optional<DecodedPage> BmpDecoder::DecodeThumbnail(const std::string& path, std::uint32_t,
                                                       std::uint32_t, std::stop_token cancel) {
    if (cancel.stop_requested()) {
        return std::nullopt;
    }
    return Decode(path);
}

std::optional<ImageFileInfo> BmpDecoder::ReadFileInfo(const std::string& path) {
    BmpFile file(path);
    const std::optional<BmpLayout> layout = ReadLayout(file);
    if (!layout) {
        return std::nullopt;
    }
    ImageFileInfo info;
    info.format = ImageFileFormat::Bmp;
    info.width = layout->width;
    info.height = layout->height;
    info.bitsPerPixel = static_cast<std::uint8_t>(layout->bitCount);
    info.pageCount = 1;
    const ColorKind kind = layout->gray            ? ColorKind::Gray
                           : layout->bitCount <= 8 ? ColorKind::Palette
                                                   : ColorKind::Color;
    info.description = DescribeImage("BMP", layout->bitCount, kind, 1);
    info.formatName = "BMP";
    info.mimeTypes = "image/bmp";
    info.extensions = ".bmp,.dib";
    info.dpiX = Dpi(layout->header.xPelsPerMeter);
    info.dpiY = Dpi(layout->header.yPelsPerMeter);
    info.codecName = "Velumar bitmap reader";
    return info;
}
