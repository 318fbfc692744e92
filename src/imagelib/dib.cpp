// Building packed bitmaps and bitmap files from a PixelImage.
#include "imagelib/dib.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/utf8.h"

namespace dib {

namespace {

// The colour table entries (blue, green, red, 0) of an 8-bit image.
std::vector<std::uint8_t> ColorTable(const PixelImage& image) {
    std::vector<std::uint8_t> table;
    if (image.Format() == PixelFormat::Gray8) {
        table.resize(256 * 4);
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            table[i * 4] = table[i * 4 + 1] = table[i * 4 + 2] = v;
            table[i * 4 + 3] = 0;
        }
    } else if (image.Format() == PixelFormat::Indexed8) {
        for (const Bgr& c : image.Palette()) {
            table.insert(table.end(), {c.b, c.g, c.r, 0});
        }
    }
    return table;
}

// The stored row y (0 at the bottom) of the image, padded: rows run bottom-up in a bitmap.
void CopyStoredRow(const PixelImage& image, std::uint32_t storedRow, std::size_t rowBytes,
                   std::uint8_t* out) {
    const std::uint8_t* in = image.Row(image.Height() - 1 - storedRow);
    std::memcpy(out, in, image.RowBytes());
    std::memset(out + image.RowBytes(), 0, rowBytes - image.RowBytes());
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void WriteInfoHeader(const BitmapInfoHeader& h, std::uint8_t* out) {
    PutLe32(out, h.size);
    PutLe32(out + 4, static_cast<std::uint32_t>(h.width));
    PutLe32(out + 8, static_cast<std::uint32_t>(h.height));
    PutLe16(out + 12, h.planes);
    PutLe16(out + 14, h.bitCount);
    PutLe32(out + 16, h.compression);
    PutLe32(out + 20, h.sizeImage);
    PutLe32(out + 24, static_cast<std::uint32_t>(h.xPelsPerMeter));
    PutLe32(out + 28, static_cast<std::uint32_t>(h.yPelsPerMeter));
    PutLe32(out + 32, h.clrUsed);
    PutLe32(out + 36, h.clrImportant);
}

BitmapInfoHeader ReadInfoHeader(const std::uint8_t* in) {
    BitmapInfoHeader h;
    h.size = GetLe32(in);
    h.width = static_cast<std::int32_t>(GetLe32(in + 4));
    h.height = static_cast<std::int32_t>(GetLe32(in + 8));
    h.planes = GetLe16(in + 12);
    h.bitCount = GetLe16(in + 14);
    h.compression = GetLe32(in + 16);
    h.sizeImage = GetLe32(in + 20);
    h.xPelsPerMeter = static_cast<std::int32_t>(GetLe32(in + 24));
    h.yPelsPerMeter = static_cast<std::int32_t>(GetLe32(in + 28));
    h.clrUsed = GetLe32(in + 32);
    h.clrImportant = GetLe32(in + 36);
    return h;
}

void WriteFileHeader(const BitmapFileHeader& h, std::uint8_t* out) {
    PutLe16(out, h.type);
    PutLe32(out + 2, h.size);
    PutLe16(out + 6, h.reserved1);
    PutLe16(out + 8, h.reserved2);
    PutLe32(out + 10, h.offBits);
}

BitmapFileHeader ReadFileHeader(const std::uint8_t* in) {
    BitmapFileHeader h;
    h.type = GetLe16(in);
    h.size = GetLe32(in + 2);
    h.reserved1 = GetLe16(in + 6);
    h.reserved2 = GetLe16(in + 8);
    h.offBits = GetLe32(in + 10);
    return h;
}

BitmapInfoHeader HeaderFor(const PixelImage& image) {
    BitmapInfoHeader h;
    h.width = static_cast<std::int32_t>(image.Width());
    h.height = static_cast<std::int32_t>(image.Height());
    h.bitCount = static_cast<std::uint16_t>(BitsPerPixel(image.Format()));
    h.sizeImage =
        static_cast<std::uint32_t>(StoredRowBytes(image.Width(), h.bitCount) * image.Height());
    if (image.Format() == PixelFormat::Indexed8) {
        h.clrUsed = static_cast<std::uint32_t>(image.Palette().size());
    }
    return h;
}

std::size_t PackedSize(const PixelImage& image) {
    const BitmapInfoHeader h = HeaderFor(image);
    return kInfoHeaderBytes + ColorTable(image).size() + h.sizeImage;
}

std::vector<std::uint8_t> Pack(const PixelImage& image) {
    const BitmapInfoHeader h = HeaderFor(image);
    const std::vector<std::uint8_t> table = ColorTable(image);
    std::vector<std::uint8_t> out(kInfoHeaderBytes + table.size() + h.sizeImage);
    WriteInfoHeader(h, out.data());
    std::copy(table.begin(), table.end(), out.begin() + kInfoHeaderBytes);
    const std::size_t rowBytes = StoredRowBytes(image.Width(), h.bitCount);
    std::uint8_t* rows = out.data() + kInfoHeaderBytes + table.size();
    for (std::uint32_t y = 0; y < image.Height(); ++y) {
        CopyStoredRow(image, y, rowBytes, rows + rowBytes * y);
    }
    return out;
}

bool SaveBitmapFile(const PixelImage& image, const std::string& path) {
    const BitmapInfoHeader info = HeaderFor(image);
    const std::vector<std::uint8_t> table = ColorTable(image);
    std::vector<std::uint8_t> head(kFileHeaderBytes + kInfoHeaderBytes);
    BitmapFileHeader file;
    file.offBits = static_cast<std::uint32_t>(head.size() + table.size());
    file.size = file.offBits + info.sizeImage;
    WriteFileHeader(file, head.data());
    WriteInfoHeader(info, head.data() + kFileHeaderBytes);
    head.insert(head.end(), table.begin(), table.end());

    std::unique_ptr<std::FILE, FileCloser> f(OpenFileUtf8(path, "wb"));
    if (!f) {
        return false;
    }
    const std::size_t rowBytes = StoredRowBytes(image.Width(), info.bitCount);
    // Rows are written in batches of about 1 MiB.
    const std::size_t batchRows = std::max<std::size_t>(1, (std::size_t{1} << 20) / rowBytes);
    std::vector<std::uint8_t> batch(batchRows * rowBytes);
    bool ok = std::fwrite(head.data(), 1, head.size(), f.get()) == head.size();
    for (std::uint32_t y = 0; ok && y < image.Height();) {
        std::size_t n = 0;
        for (; n < batchRows && y < image.Height(); ++n, ++y) {
            CopyStoredRow(image, y, rowBytes, batch.data() + n * rowBytes);
        }
        ok = std::fwrite(batch.data(), 1, n * rowBytes, f.get()) == n * rowBytes;
    }
    ok = std::fclose(f.release()) == 0 && ok;
    if (!ok) {
        RemoveFileUtf8(path);
    }
    return ok;
}

}  // namespace dib
