// What an image file holds, read from its headers without decoding a pixel.
#include "imagelib/image_header.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <set>

#include "base/utf8.h"
#include "imagelib/header_reader.h"
#include "imagelib/pixel_image.h"

namespace {

using headers::kBig;
using headers::kLittle;
using headers::Page;
using headers::Reader;

std::uint64_t Pixels(std::uint32_t width, std::uint32_t height) {
    return std::uint64_t{width} * height;
}

bool AllGray(const std::vector<Bgr>& colors) {
    return std::all_of(colors.begin(), colors.end(),
                       [](const Bgr& c) { return c.b == c.g && c.g == c.r; });
}

// A palette of count entries of entryBytes each, blue first, or red first when rgb.
std::vector<Bgr> ReadColors(Reader& r, std::uint64_t at, std::uint32_t count, int entryBytes,
                            bool rgb) {
    std::vector<Bgr> colors;
    if (!r.Has(at, std::uint64_t{count} * entryBytes)) {
        r.Fail();
        return colors;
    }
    const std::string bytes = r.Text(at, std::size_t{count} * entryBytes);
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto* e = reinterpret_cast<const std::uint8_t*>(bytes.data()) + i * entryBytes;
        colors.push_back(rgb ? Bgr{e[2], e[1], e[0]} : Bgr{e[0], e[1], e[2]});
    }
    return colors;
}

// --- JPEG -----------------------------------------------------------------------------------

struct JpegMarker {
    unsigned code = 0;
    std::uint64_t at = 0;      // of the 0xFF
    std::uint32_t length = 0;  // of the segment after the marker, 0 for markers without one
};

// Walks the segments from the start of image, handing each to visit until it returns false;
// false when the walk ran off the data or met something that is not a marker.
template <typename Visit>
bool WalkJpeg(Reader& r, Visit visit) {
    std::uint64_t at = 2;
    while (true) {
        // Stray bytes before a marker are passed over, as decoders do.
        while (r.Has(at, 1) && r.U8(at) != 0xFF) {
            ++at;
        }
        if (!r.Has(at, 2)) {
            return false;
        }
        const unsigned code = r.U8(at + 1);
        if (code == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        JpegMarker marker{code, at, 0};
        if (code != 0x01 && !(code >= 0xD0 && code <= 0xD9)) {
            marker.length = r.U16(at + 2, kBig);
            if (marker.length < 2) {
                return false;
            }
        }
        if (!r.Ok() || !visit(marker)) {
            return r.Ok();
        }
        at += 2 + marker.length;
    }
}

bool IsJpegFrame(unsigned code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

std::optional<ImageHeader> ReadJpeg(Reader& r) {
    std::optional<ImageHeader> header;
    std::optional<int> orientation;
    WalkJpeg(r, [&](const JpegMarker& m) {
        // The first APP1 segment holding EXIF data; it comes before the frame.
        if (m.code == 0xE1 && !orientation && m.length >= 8 &&
            r.Text(m.at + 4, 6) == std::string_view("Exif\0\0", 6)) {
            orientation = headers::ExifOrientation(r, m.at + 4, m.length - 2);
        }
        if (IsJpegFrame(m.code)) {
            if (m.length >= 8) {
                const std::uint32_t height = r.U16(m.at + 5, kBig);
                const std::uint32_t width = r.U16(m.at + 7, kBig);
                const unsigned components = r.U8(m.at + 9);
                const int bits = components == 1   ? 8
                                 : components == 3 ? 24
                                 : components == 4 ? 32
                                                   : 0;
                if (r.Ok() && width != 0 && height != 0) {
                    header = Page(ImageFileFormat::Jpeg, width, height, bits,
                                  components == 1 ? ColorKind::Gray : ColorKind::Color);
                }
            }
            return false;
        }
        return m.code != 0xD9 && m.code != 0xDA;
    });
    if (header) {
        header->orientation = orientation.value_or(1);
    }
    return header;
}

// An end-of-image marker after the start of the first scan's data. Inside entropy-coded data a
// 0xFF is always followed by 0x00 or a restart marker, so a 0xFF 0xD9 there is the image's end
// (the end marker of an embedded thumbnail comes before the scan). The search runs from the end
// of the file backwards, so a whole file is known at once and only a cut one is read through.
bool JpegIsComplete(ByteSource& source, Reader& r) {
    std::uint64_t scan = 0;
    WalkJpeg(r, [&](const JpegMarker& m) {
        if (m.code == 0xDA) {
            scan = m.at + 2 + m.length;
        }
        return m.code != 0xDA && m.code != 0xD9;
    });
    if (scan == 0 || !r.Ok()) {
        return false;
    }
    std::vector<char> block(256 * 1024);
    std::uint64_t end = source.Size();
    while (end > scan + 1) {
        // Blocks overlap by one byte, so a marker across two of them is seen.
        const std::uint64_t begin =
            std::max(scan, end - std::min<std::uint64_t>(end, block.size()));
        const std::size_t n =
            source.ReadAt(begin, block.data(), static_cast<std::size_t>(end - begin));
        if (n != end - begin) {
            return false;
        }
        for (std::size_t i = n - 1; i > 0; --i) {
            if (static_cast<std::uint8_t>(block[i]) == 0xD9 &&
                static_cast<std::uint8_t>(block[i - 1]) == 0xFF) {
                return true;
            }
        }
        end = begin + 1;
    }
    return false;
}

// --- PNG ------------------------------------------------------------------------------------

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

// Walks the chunks after the signature, handing each type and the offset of its data to visit
// until it returns false; true when IEND was reached whole.
template <typename Visit>
bool WalkPng(Reader& r, Visit visit) {
    std::uint64_t at = 8;
    while (r.Has(at, 12)) {
        const std::uint32_t length = r.U32(at, kBig);
        const std::string type = r.Text(at + 4, 4);
        if (!r.Ok() || length > 0x7FFFFFFF || !r.Has(at + 8, std::uint64_t{length} + 4)) {
            return false;
        }
        if (type == "IEND") {
            return true;
        }
        if (!visit(type, at + 8, length)) {
            return false;
        }
        at += 12 + std::uint64_t{length};
    }
    return false;
}

std::optional<ImageHeader> ReadPng(Reader& r) {
    if (r.Text(12, 4) != "IHDR" || r.U32(8, kBig) < 13) {
        return std::nullopt;
    }
    const std::uint32_t width = r.U32(16, kBig);
    const std::uint32_t height = r.U32(20, kBig);
    const unsigned depth = r.U8(24);
    const unsigned colorType = r.U8(25);
    if (!r.Ok() || width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
        return std::nullopt;
    }
    bool transparency = false;
    int orientation = 1;
    std::vector<Bgr> palette;
    WalkPng(r, [&](const std::string& type, std::uint64_t data, std::uint32_t length) {
        if (type == "PLTE" && length % 3 == 0 && length <= 768) {
            palette = ReadColors(r, data, length / 3, 3, true);
        }
        transparency = transparency || type == "tRNS";
        if (type == "eXIf") {
            orientation = headers::ExifOrientation(r, data, length);
        }
        return type != "IDAT";
    });
    const auto depthIs = [depth](std::initializer_list<unsigned> allowed) {
        return std::find(allowed.begin(), allowed.end(), depth) != allowed.end();
    };
    // The forms WIC's decoder gives; a gray or colour image with a transparent colour is left
    // to the decoder, which turns it into forms that differ between versions.
    int bits = 0;
    ColorKind kind = ColorKind::Color;
    switch (colorType) {
        case 0:
            if (!depthIs({1, 2, 4, 8, 16})) {
                return std::nullopt;
            }
            bits = transparency ? 0 : static_cast<int>(depth);
            kind = ColorKind::Gray;
            break;
        case 2:
            if (!depthIs({8, 16})) {
                return std::nullopt;
            }
            bits = transparency ? 0 : static_cast<int>(depth) * 3;
            break;
        case 3:
            if (!depthIs({1, 2, 4, 8})) {
                return std::nullopt;
            }
            bits = palette.empty() ? 0 : static_cast<int>(depth);
            kind = AllGray(palette) ? ColorKind::Gray : ColorKind::Palette;
            break;
        case 4:
        case 6:
            if (!depthIs({8, 16})) {
                return std::nullopt;
            }
            bits = static_cast<int>(depth) * 4;
            break;
        default:
            return std::nullopt;
    }
    ImageHeader h = Page(ImageFileFormat::Png, width, height, bits, kind);
    h.orientation = orientation;
    return h;
}

// --- GIF ------------------------------------------------------------------------------------

struct GifWalk {
    int frames = 0;
    std::uint32_t firstWidth = 0;
    std::uint32_t firstHeight = 0;
    std::uint64_t largestPixels = 0;
    std::vector<Bgr> firstPalette;
    // The data ended at the trailer or between blocks, not inside one.
    bool whole = false;
};

// Skips a chain of data sub-blocks; the offset after its terminator, or 0 when it runs off
// the data.
std::uint64_t SkipSubBlocks(Reader& r, std::uint64_t at) {
    while (r.Has(at, 1)) {
        const unsigned length = r.U8(at);
        if (length == 0) {
            return at + 1;
        }
        at += 1 + length;
    }
    return 0;
}

std::optional<GifWalk> WalkGif(Reader& r) {
    GifWalk walk;
    const std::uint32_t screenWidth = r.U16(6, kLittle);
    const std::uint32_t screenHeight = r.U16(8, kLittle);
    const unsigned flags = r.U8(10);
    if (!r.Ok()) {
        return std::nullopt;
    }
    walk.largestPixels = Pixels(screenWidth, screenHeight);
    std::uint64_t at = 13;
    std::vector<Bgr> global;
    if ((flags & 0x80) != 0) {
        const std::uint32_t count = 2u << (flags & 7);
        global = ReadColors(r, at, count, 3, true);
        at += 3 * count;
    }
    while (true) {
        if (!r.Has(at, 1)) {
            walk.whole = true;  // ends between blocks, without its trailer
            return walk;
        }
        const unsigned block = r.U8(at);
        if (block == 0x3B) {
            walk.whole = true;
            return walk;
        }
        if (block == 0x21) {
            at = r.Has(at, 2) ? SkipSubBlocks(r, at + 2) : 0;
        } else if (block == 0x2C) {
            const std::uint32_t width = r.U16(at + 5, kLittle);
            const std::uint32_t height = r.U16(at + 7, kLittle);
            const unsigned frameFlags = r.U8(at + 9);
            if (!r.Ok()) {
                return walk;
            }
            at += 10;
            std::vector<Bgr> local;
            if ((frameFlags & 0x80) != 0) {
                const std::uint32_t count = 2u << (frameFlags & 7);
                local = ReadColors(r, at, count, 3, true);
                at += 3 * count;
            }
            if (walk.frames++ == 0) {
                walk.firstWidth = width;
                walk.firstHeight = height;
                walk.firstPalette = local.empty() ? global : local;
            }
            walk.largestPixels = std::max(walk.largestPixels, Pixels(width, height));
            // The code size byte, then the image data.
            at = r.Has(at, 1) ? SkipSubBlocks(r, at + 1) : 0;
        } else {
            return std::nullopt;
        }
        if (at == 0 || !r.Ok()) {
            return walk;
        }
    }
}

std::optional<ImageHeader> ReadGif(Reader& r) {
    std::optional<GifWalk> walk = WalkGif(r);
    if (!walk || walk->frames == 0 || walk->firstWidth == 0 || walk->firstHeight == 0) {
        return std::nullopt;
    }
    ImageHeader h = Page(ImageFileFormat::Gif, walk->firstWidth, walk->firstHeight,
                         walk->firstPalette.empty() ? 0 : 8,
                         AllGray(walk->firstPalette) ? ColorKind::Gray : ColorKind::Palette);
    h.pageCount = walk->frames;
    h.largestPixels = walk->largestPixels;
    return h;
}

// --- BMP ------------------------------------------------------------------------------------

struct BmpLayout {
    std::uint32_t headerSize = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    unsigned bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
};

std::optional<BmpLayout> ReadBmpLayout(Reader& r) {
    BmpLayout l;
    l.headerSize = r.U32(14, kLittle);
    if (l.headerSize == 12) {
        l.width = r.U16(18, kLittle);
        l.height = r.U16(20, kLittle);
        l.bitCount = r.U16(24, kLittle);
    } else if (l.headerSize >= 40 && l.headerSize <= 124) {
        const auto width = static_cast<std::int32_t>(r.U32(18, kLittle));
        const auto height = static_cast<std::int32_t>(r.U32(22, kLittle));
        if (width <= 0 || height == 0 || height == INT32_MIN) {
            return std::nullopt;
        }
        l.width = static_cast<std::uint32_t>(width);
        l.height = static_cast<std::uint32_t>(height < 0 ? -height : height);
        l.bitCount = r.U16(28, kLittle);
        l.compression = r.U32(30, kLittle);
        l.colorsUsed = r.U32(46, kLittle);
    } else {
        return std::nullopt;
    }
    if (!r.Ok() || l.width == 0 || l.height == 0) {
        return std::nullopt;
    }
    return l;
}

std::optional<ImageHeader> ReadBmp(Reader& r) {
    std::optional<BmpLayout> l = ReadBmpLayout(r);
    if (!l) {
        return std::nullopt;
    }
    // Uncompressed forms only; bit fields, run lengths and embedded images are left to the
    // decoder, whose forms for them differ between versions.
    int bits = 0;
    ColorKind kind = ColorKind::Color;
    if (l->compression == 0) {
        if (l->bitCount == 1 || l->bitCount == 4 || l->bitCount == 8) {
            const std::uint32_t entries = 1u << l->bitCount;
            const std::uint32_t count =
                l->colorsUsed == 0 || l->headerSize == 12 ? entries : l->colorsUsed;
            if (count <= entries) {
                const std::vector<Bgr> colors =
                    ReadColors(r, 14 + std::uint64_t{l->headerSize}, count,
                               l->headerSize == 12 ? 3 : 4, false);
                bits = r.Ok() ? static_cast<int>(l->bitCount) : 0;
                kind = AllGray(colors) ? ColorKind::Gray : ColorKind::Palette;
            }
        } else if (l->bitCount == 24 || (l->bitCount == 32 && l->headerSize == 40)) {
            bits = static_cast<int>(l->bitCount);
        }
    }
    if (!r.Ok()) {
        return std::nullopt;
    }
    return Page(ImageFileFormat::Bmp, l->width, l->height, bits, kind);
}

bool BmpIsComplete(Reader& r) {
    std::optional<BmpLayout> l = ReadBmpLayout(r);
    const std::uint32_t pixelsAt = r.U32(10, kLittle);
    if (!l || !r.Ok()) {
        return false;
    }
    if (l->compression != 0 || l->bitCount == 0 || l->bitCount > 32) {
        return true;
    }
    const std::uint64_t rowBytes = (std::uint64_t{l->width} * l->bitCount + 31) / 32 * 4;
    return r.Has(pixelsAt, rowBytes * l->height);
}

// --- TIFF -----------------------------------------------------------------------------------

struct TiffPage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerSample = 1;
    std::uint32_t samples = 1;
    std::uint32_t photometric = 0xFFFF;
    std::uint32_t planar = 1;
    bool extraSamples = false;
    std::uint64_t colorMap = 0;  // offset of the colour map, 0 for none
    std::uint32_t colorMapCount = 0;
};

// The value of an entry of type SHORT or LONG (its first one when there are several).
std::uint32_t TiffValue(Reader& r, std::uint64_t entry, bool big) {
    const std::uint32_t type = r.U16(entry + 2, big);
    const std::uint32_t count = r.U32(entry + 4, big);
    if (type == 3) {
        return count <= 2 ? r.U16(entry + 8, big) : r.U16(r.U32(entry + 8, big), big);
    }
    return type == 4 && count == 1 ? r.U32(entry + 8, big) : 0;
}

std::optional<ImageHeader> ReadTiff(Reader& r) {
    const bool big = r.Text(0, 2) == "MM";
    std::uint64_t ifd = r.U32(4, big);
    std::set<std::uint64_t> seen;
    std::optional<ImageHeader> header;
    constexpr int kMaxPages = 65536;
    while (ifd != 0) {
        if (!seen.insert(ifd).second || seen.size() > kMaxPages) {
            return std::nullopt;  // a loop, or more pages than any decoder takes
        }
        const std::uint32_t entries = r.U16(ifd, big);
        if (!r.Ok() || !r.Has(ifd + 2, std::uint64_t{entries} * 12 + 4)) {
            return std::nullopt;
        }
        TiffPage page;
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::uint64_t e = ifd + 2 + std::uint64_t{i} * 12;
            switch (r.U16(e, big)) {
                case 256:
                    page.width = TiffValue(r, e, big);
                    break;
                case 257:
                    page.height = TiffValue(r, e, big);
                    break;
                case 258:
                    page.bitsPerSample = TiffValue(r, e, big);
                    break;
                case 262:
                    page.photometric = TiffValue(r, e, big);
                    break;
                case 277:
                    page.samples = TiffValue(r, e, big);
                    break;
                case 284:
                    page.planar = TiffValue(r, e, big);
                    break;
                case 338:
                    page.extraSamples = true;
                    break;
                case 320:
                    page.colorMap = r.U32(e + 8, big);
                    page.colorMapCount = r.U32(e + 4, big);
                    break;
                default:
                    break;
            }
        }
        if (!r.Ok() || page.width == 0 || page.height == 0) {
            return std::nullopt;
        }
        if (!header) {
            header = Page(ImageFileFormat::Tiff, page.width, page.height, 0, ColorKind::Color);
            header->orientation = headers::ExifOrientation(r, 0, r.Size());
            const bool plain = page.planar == 1 && !page.extraSamples;
            const std::uint32_t bps = page.bitsPerSample;
            if (plain && page.photometric == 1 && page.samples == 1 && (bps == 1 || bps == 8)) {
                header->bitsPerPixel = static_cast<std::uint8_t>(bps);
                header->kind = ColorKind::Gray;
            } else if (plain && page.photometric == 2 && page.samples == 3 && bps == 8) {
                header->bitsPerPixel = 24;
            } else if (plain && page.photometric == 3 && page.samples == 1 &&
                       (bps == 4 || bps == 8) && page.colorMapCount == 3u << bps) {
                // Three planes of 16-bit levels: all red, then green, then blue.
                const std::uint32_t n = 1u << bps;
                bool gray = r.Has(page.colorMap, std::uint64_t{n} * 6);
                for (std::uint32_t i = 0; gray && i < n; ++i) {
                    const std::uint32_t red = r.U16(page.colorMap + 2 * i, big) >> 8;
                    gray = red == r.U16(page.colorMap + 2 * (n + i), big) >> 8 &&
                           red == r.U16(page.colorMap + 2 * (2 * n + i), big) >> 8;
                }
                header->bitsPerPixel =
                    r.Has(page.colorMap, std::uint64_t{n} * 6) ? static_cast<std::uint8_t>(bps) : 0;
                header->kind = gray ? ColorKind::Gray : ColorKind::Palette;
            }
        } else {
            ++header->pageCount;
            header->largestPixels =
                std::max(header->largestPixels, Pixels(page.width, page.height));
        }
        ifd = r.U32(ifd + 2 + std::uint64_t{entries} * 12, big);
        if (!r.Ok()) {
            return std::nullopt;
        }
    }
    return header;
}

// --- ICO ------------------------------------------------------------------------------------

std::optional<ImageHeader> ReadIco(Reader& r) {
    const std::uint32_t count = r.U16(4, kLittle);
    if (!r.Ok() || count == 0 || !r.Has(6, std::uint64_t{count} * 16)) {
        return std::nullopt;
    }
    std::optional<ImageHeader> header;
    std::uint64_t largest = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t entry = 6 + std::uint64_t{i} * 16;
        const std::uint64_t at = r.U32(entry + 12, kLittle);
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        if (r.Text(at, 8) == kPngSignature) {
            width = r.U32(at + 16, kBig);
            height = r.U32(at + 20, kBig);
        } else {
            // A bitmap without its file header, twice as high for its AND mask.
            width = r.U32(at + 4, kLittle);
            height = r.U32(at + 8, kLittle) / 2;
        }
        if (!r.Ok() || width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
            return std::nullopt;
        }
        largest = std::max(largest, Pixels(width, height));
        if (!header) {
            // WIC gives every icon as 32-bit colour with alpha.
            header = Page(ImageFileFormat::Ico, width, height, 32, ColorKind::Color);
        }
    }
    header->pageCount = static_cast<int>(count);
    header->largestPixels = largest;
    return header;
}

// The format an ISOBMFF file's brands name: a specific major brand decides, otherwise any
// AVIF brand among the compatible ones makes AVIF (an AVIF file may carry the general HEIF
// brand mif1 as its major one), and any HEIF brand makes HEIF.
ImageFileFormat BrandsFormat(std::string_view ftyp) {
    const auto bigEndian = [ftyp](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<std::uint8_t>(ftyp[at])) << 24 |
               static_cast<std::uint32_t>(static_cast<std::uint8_t>(ftyp[at + 1])) << 16 |
               static_cast<std::uint32_t>(static_cast<std::uint8_t>(ftyp[at + 2])) << 8 |
               static_cast<std::uint32_t>(static_cast<std::uint8_t>(ftyp[at + 3]));
    };
    const std::uint32_t boxSize = bigEndian(0);
    const std::size_t end =
        boxSize < 16 ? ftyp.size() : std::min<std::size_t>(ftyp.size(), boxSize);
    const auto isAvif = [](std::string_view b) { return b == "avif" || b == "avis"; };
    const auto isHeif = [](std::string_view b) {
        for (std::string_view brand : {"heic", "heix", "heim", "heis", "hevc", "hevx"}) {
            if (b == brand) {
                return true;
            }
        }
        return false;
    };
    const std::string_view major = ftyp.substr(8, 4);
    if (isAvif(major)) {
        return ImageFileFormat::Avif;
    }
    if (isHeif(major)) {
        return ImageFileFormat::Heif;
    }
    bool heif = major == "mif1" || major == "msf1";
    for (std::size_t at = 16; at + 4 <= end; at += 4) {
        const std::string_view brand = ftyp.substr(at, 4);
        if (isAvif(brand)) {
            return ImageFileFormat::Avif;
        }
        heif = heif || isHeif(brand) || brand == "mif1" || brand == "msf1";
    }
    return heif ? ImageFileFormat::Heif : ImageFileFormat::Other;
}

// The ftyp box is read whole up to this size, for its brands.
constexpr std::uint64_t kMaxFtypBytes = 4096;

ImageFileFormat Sniff(Reader& r) {
    std::string head = r.Text(0, static_cast<std::size_t>(std::min<std::uint64_t>(r.Size(), 16)));
    if (head.size() >= 8 && head.compare(4, 4, "ftyp") == 0) {
        const std::uint64_t boxSize = r.U32(0, kBig);
        head = r.Text(0, static_cast<std::size_t>(std::min(
                             {r.Size(), boxSize == 0 ? r.Size() : boxSize, kMaxFtypBytes})));
    }
    return r.Ok() ? SniffFormat(head) : ImageFileFormat::Other;
}

}  // namespace

ImageFileFormat SniffFormat(std::string_view firstBytes) {
    const auto starts = [firstBytes](std::string_view prefix) {
        return firstBytes.substr(0, prefix.size()) == prefix;
    };
    if (starts(kPngSignature)) {
        return ImageFileFormat::Png;
    }
    if (starts(std::string_view("\xFF\xD8\xFF", 3))) {
        return ImageFileFormat::Jpeg;
    }
    if (starts("GIF87a") || starts("GIF89a")) {
        return ImageFileFormat::Gif;
    }
    if (starts("BM")) {
        return ImageFileFormat::Bmp;
    }
    if (starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4))) {
        return ImageFileFormat::Tiff;
    }
    if (starts(std::string_view("\0\0\1\0", 4))) {
        return ImageFileFormat::Ico;
    }
    if (starts("RIFF") && firstBytes.size() >= 12 && firstBytes.substr(8, 4) == "WEBP") {
        return ImageFileFormat::WebP;
    }
    if (starts("\xFF\x0A") || starts(std::string_view("\0\0\0\x0CJXL \r\n\x87\n", 12))) {
        return ImageFileFormat::Jxl;
    }
    if (firstBytes.size() >= 16 && firstBytes.substr(4, 4) == "ftyp") {
        return BrandsFormat(firstBytes);
    }
    return ImageFileFormat::Other;
}

std::size_t MemoryBytes::ReadAt(std::uint64_t offset, void* out, std::size_t count) {
    if (offset >= bytes.size()) {
        return 0;
    }
    const std::size_t n = std::min<std::uint64_t>(count, bytes.size() - offset);
    std::memcpy(out, bytes.data() + offset, n);
    return n;
}

namespace {

constexpr std::size_t kWindowBytes = 64 * 1024;

bool SeekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace

FileBytes::FileBytes(const std::string& path) : file(OpenFileUtf8(path, "rb"), std::fclose) {
    if (!file) {
        return;
    }
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
#ifdef _WIN32
        const __int64 end = _ftelli64(file.get());
#else
        const off_t end = ftello(file.get());
#endif
        size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    }
}

std::size_t FileBytes::ReadAt(std::uint64_t offset, void* out, std::size_t count) {
    if (!file || offset >= size) {
        return 0;
    }
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset));
    const bool inWindow = offset >= windowStart && offset - windowStart + count <= window.size();
    if (!inWindow) {
        if (count > kWindowBytes) {
            // Large reads go straight to the caller.
            return SeekTo(file.get(), offset) ? std::fread(out, 1, count, file.get()) : 0;
        }
        window.resize(kWindowBytes);
        if (!SeekTo(file.get(), offset)) {
            window.clear();
            return 0;
        }
        window.resize(std::fread(window.data(), 1, kWindowBytes, file.get()));
        windowStart = offset;
        count = std::min(count, window.size());
    }
    std::memcpy(out, window.data() + (offset - windowStart), count);
    return count;
}

std::optional<ImageHeader> ReadImageHeader(ByteSource& file) {
    Reader r(file);
    std::optional<ImageHeader> header;
    const ImageFileFormat format = Sniff(r);
    switch (format) {
        case ImageFileFormat::Png:
            header = ReadPng(r);
            break;
        case ImageFileFormat::Jpeg:
            header = ReadJpeg(r);
            break;
        case ImageFileFormat::Gif:
            header = ReadGif(r);
            break;
        case ImageFileFormat::Bmp:
            header = ReadBmp(r);
            break;
        case ImageFileFormat::Tiff:
            header = ReadTiff(r);
            break;
        case ImageFileFormat::Ico:
            header = ReadIco(r);
            break;
        case ImageFileFormat::WebP:
            header = headers::ReadWebP(r);
            break;
        case ImageFileFormat::Avif:
        case ImageFileFormat::Heif:
            header = headers::ReadIsobmff(r, format);
            break;
        case ImageFileFormat::Jxl:
            header = headers::ReadJxl(r);
            break;
        case ImageFileFormat::Other:
            break;
    }
    return header;
}

bool DataIsComplete(ByteSource& file, const ImageHeader& header) {
    Reader r(file);
    switch (header.format) {
        case ImageFileFormat::Jpeg:
            return JpegIsComplete(file, r);
        case ImageFileFormat::Png:
            return WalkPng(r, [](auto&&...) { return true; });
        case ImageFileFormat::Gif: {
            std::optional<GifWalk> walk = WalkGif(r);
            return walk && walk->whole && walk->frames > 0;
        }
        case ImageFileFormat::Bmp:
            return BmpIsComplete(r);
        default:
            return true;
    }
}

std::string DescribeHeader(const ImageHeader& header) {
    return DescribeImage(FormatName(header.format), header.bitsPerPixel, header.kind,
                         header.pageCount);
}

bool MayDecode(ByteSource& file, bool pixelsWanted) {
    Reader r(file);
    if (Sniff(r) == ImageFileFormat::Other) {
        return true;
    }
    std::optional<ImageHeader> header = ReadImageHeader(file);
    return header && header->largestPixels <= kMaxPixels &&
           (!pixelsWanted || DataIsComplete(file, *header));
}
