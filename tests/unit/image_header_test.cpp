// The image header readers: what a file holds, read without decoding, and whether its data is
// complete.
#include <gtest/gtest.h>

#include <string>

#include "imagelib/image_header.h"
#include "imagelib/pixel_image.h"

namespace {

std::string Be(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) {
        out += static_cast<char>(v >> (8 * i));
    }
    return out;
}

std::string Le(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>(v >> (8 * i));
    }
    return out;
}

std::string PngChunk(const std::string& type, const std::string& data) {
    return Be(static_cast<std::uint32_t>(data.size()), 4) + type + data + "CRC!";
}

std::string Png(std::uint32_t w, std::uint32_t h, int depth, int colorType,
                const std::string& extra = "") {
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           PngChunk("IHDR", Be(w, 4) + Be(h, 4) + static_cast<char>(depth) +
                                static_cast<char>(colorType) + std::string(3, '\0')) +
           extra + PngChunk("IDAT", "pixels") + PngChunk("IEND", "");
}

// Start of image, an APP1 holding a thumbnail's end marker, a frame header, a scan, the end.
std::string Jpeg(std::uint16_t w, std::uint16_t h, int components) {
    const std::string app1 = std::string("\xFF\xE1", 2) + Be(6, 2) + "Ex" + "\xFF\xD9";
    const std::string sof = std::string("\xFF\xC2", 2) + Be(8 + 3 * components, 2) + '\x08' +
                            Be(h, 2) + Be(w, 2) + static_cast<char>(components) +
                            std::string(3 * components, '\x01');
    const std::string sos =
        std::string("\xFF\xDA", 2) + Be(6, 2) + "scan" + std::string("\x12\xFF\x00\x34", 4);
    return std::string("\xFF\xD8", 2) + app1 + sof + sos + "\xFF\xD9";
}

std::string Gif(const std::string& globalTable, const std::string& frames) {
    const char flags = globalTable.empty() ? '\0' : static_cast<char>(0x80);
    return "GIF89a" + Le(30, 2) + Le(20, 2) + flags + std::string(2, '\0') + globalTable + frames +
           ";";
}

std::string GifFrame(std::uint16_t w, std::uint16_t h, const std::string& localTable = "") {
    const char flags = localTable.empty() ? '\0' : static_cast<char>(0x80);
    return std::string("!\xF9\x04", 3) + std::string(4, '\0') + '\0' + "," + Le(0, 4) + Le(w, 2) +
           Le(h, 2) + flags + localTable +
           "\x02\x03"
           "abc" +
           '\0';
}

// A bitmap file with an information header of headerBytes: 40, or 108 and 124 as many editors
// write them, whose further fields (colour masks, then the colour space, sRGB) follow the 40.
std::string Bmp(std::int32_t w, std::int32_t h, int bits, int compression, const std::string& table,
                std::uint32_t headerBytes = 40) {
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * bits + 31) / 32 * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(h < 0 ? -h : h);
    const auto offset = static_cast<std::uint32_t>(14 + headerBytes + table.size());
    const std::string longer =
        headerBytes > 40 ? std::string(16, '\0') + "BGRs" + std::string(headerBytes - 60, '\0')
                         : "";
    return "BM" + Le(0, 4) + Le(0, 4) + Le(offset, 4) + Le(headerBytes, 4) +
           Le(static_cast<std::uint32_t>(w), 4) + Le(static_cast<std::uint32_t>(h), 4) + Le(1, 2) +
           Le(static_cast<std::uint32_t>(bits), 2) +
           Le(static_cast<std::uint32_t>(compression), 4) + std::string(20, '\0') + longer + table +
           std::string(compression == 0 ? rowBytes * rows : 0, '\x55');
}

// A little-endian TIFF whose pages have width, height and bits per sample of one gray sample,
// and the first page an orientation tag unless it is 0.
std::string Tiff(const std::vector<std::uint32_t>& widths, bool loop = false, int orientation = 0) {
    std::string out = "II*" + std::string(1, '\0') + Le(8, 4);
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const std::uint32_t entries = i == 0 && orientation != 0 ? 5 : 4;
        const auto here = static_cast<std::uint32_t>(out.size());
        const auto next = i + 1 < widths.size() ? here + 2 + entries * 12 + 4 : (loop ? 8u : 0u);
        out += Le(entries, 2);
        out += Le(256, 2) + Le(4, 2) + Le(1, 4) + Le(widths[i], 4);
        out += Le(257, 2) + Le(3, 2) + Le(1, 4) + Le(10, 4);
        out += Le(258, 2) + Le(3, 2) + Le(1, 4) + Le(8, 4);
        out += Le(262, 2) + Le(3, 2) + Le(1, 4) + Le(1, 4);
        if (entries == 5) {
            out +=
                Le(274, 2) + Le(3, 2) + Le(1, 4) + Le(static_cast<std::uint32_t>(orientation), 4);
        }
        out += Le(next, 4);
    }
    return out;
}

// EXIF data: a TIFF structure whose first IFD holds a maker's name and the orientation.
std::string Exif(bool bigEndian, int orientation) {
    const auto n = [bigEndian](std::uint32_t v, int bytes) {
        return bigEndian ? Be(v, bytes) : Le(v, bytes);
    };
    return (bigEndian ? "MM" : "II") + n(42, 2) + n(8, 4) + n(2, 2) + n(0x010F, 2) + n(2, 2) +
           n(4, 4) + "Cam" + '\0' + n(0x0112, 2) + n(3, 2) + n(1, 4) +
           n(static_cast<std::uint32_t>(orientation), 2) + n(0, 2) + n(0, 4);
}

std::string JpegWithExif(int orientation, bool bigEndian) {
    const std::string exif = "Exif" + std::string(2, '\0') + Exif(bigEndian, orientation);
    return Jpeg(300, 200, 3)
        .insert(2, "\xFF\xE1" + Be(static_cast<std::uint32_t>(2 + exif.size()), 2) + exif);
}

std::string RiffChunk(const std::string& type, const std::string& data) {
    return type + Le(static_cast<std::uint32_t>(data.size()), 4) + data +
           (data.size() % 2 != 0 ? std::string(1, '\0') : "");
}

std::string WebP(const std::string& chunks) {
    return "RIFF" + Le(static_cast<std::uint32_t>(4 + chunks.size()), 4) + "WEBP" + chunks;
}

// A lossy key frame: frame tag, start code, 14-bit sides.
std::string Vp8(std::uint16_t w, std::uint16_t h) {
    return RiffChunk("VP8 ",
                     std::string("\x50\x01\x00\x9D\x01\x2A", 6) + Le(w, 2) + Le(h, 2) + "data");
}

std::string Vp8L(std::uint32_t w, std::uint32_t h, bool alpha) {
    std::string data(1, '\x2F');
    data += Le((w - 1) | (h - 1) << 14 | (alpha ? 1u : 0u) << 28, 4);
    return RiffChunk("VP8L", data + "data");
}

std::string Vp8X(std::uint32_t w, std::uint32_t h, int flags) {
    return RiffChunk("VP8X",
                     static_cast<char>(flags) + std::string(3, '\0') + Le(w - 1, 3) + Le(h - 1, 3));
}

std::string Box(const std::string& type, const std::string& data) {
    return Be(static_cast<std::uint32_t>(8 + data.size()), 4) + type + data;
}

std::string FullBox(const std::string& type, int version, std::uint32_t flags,
                    const std::string& data) {
    return Box(type, static_cast<char>(version) + Be(flags, 3) + data);
}

std::string Ispe(std::uint32_t w, std::uint32_t h) {
    return FullBox("ispe", 0, 0, Be(w, 4) + Be(h, 4));
}

std::string Irot(int anticlockwiseTurns) {
    return Box("irot", std::string(1, static_cast<char>(anticlockwiseTurns)));
}

std::string Imir(int axis) {
    return Box("imir", std::string(1, static_cast<char>(axis)));
}

struct HeifItems {
    std::string primaryType = "hvc1";
    std::vector<std::string> primaryProperties;
    bool alpha = false;           // an alpha item refers to the primary
    bool wideIndices = false;     // ipma's 15-bit property indices
    std::uint16_t primaryId = 1;  // what pitm names
};

// An ISOBMFF file: ftyp of the brands, a meta box of item 1 (and alpha item 2), the data.
std::string Heif(const std::string& brands, const HeifItems& items) {
    const std::string alphaUrn = "urn:mpeg:mpegB:cicp:systems:auxiliary:alpha";
    std::string properties;
    std::string indices;
    const auto index = [&](std::size_t i) {
        return items.wideIndices ? Be(static_cast<std::uint32_t>(0x8000 | i), 2)
                                 : std::string(1, static_cast<char>(0x80 | i));
    };
    for (std::size_t i = 0; i < items.primaryProperties.size(); ++i) {
        properties += items.primaryProperties[i];
        indices += index(i + 1);
    }
    std::string itemInfo = FullBox("infe", 2, 0, Be(1, 2) + Be(0, 2) + items.primaryType + '\0');
    std::string references;
    std::string associations =
        Be(1, 2) + static_cast<char>(items.primaryProperties.size()) + indices;
    if (items.alpha) {
        properties += FullBox("auxC", 0, 0, alphaUrn + '\0');
        itemInfo += FullBox("infe", 2, 0, Be(2, 2) + Be(0, 2) + "hvc1" + '\0');
        references = FullBox("iref", 0, 0, Box("auxl", Be(2, 2) + Be(1, 2) + Be(1, 2)));
        associations += Be(2, 2) + '\x01' + index(items.primaryProperties.size() + 1);
    }
    const std::string meta =
        FullBox("meta", 0, 0,
                FullBox("hdlr", 0, 0, Be(0, 4) + "pict" + std::string(13, '\0')) +
                    FullBox("pitm", 0, 0, Be(items.primaryId, 2)) +
                    FullBox("iinf", 0, 0, Be(items.alpha ? 2 : 1, 2) + itemInfo) + references +
                    Box("iprp", Box("ipco", properties) +
                                    FullBox("ipma", 0, items.wideIndices ? 1 : 0,
                                            Be(items.alpha ? 2 : 1, 4) + associations)));
    return Box("ftyp", brands.substr(0, 4) + Be(0, 4) + brands.substr(4)) + meta +
           Box("mdat", "pixels");
}

// JPEG XL codestream fields, each a value and its bit count, least significant bit first.
std::string JxlCodestream(const std::vector<std::pair<std::uint32_t, int>>& fields) {
    std::string out("\xFF\x0A", 2);
    int used = 8;
    for (const auto& [value, bits] : fields) {
        for (int i = 0; i < bits; ++i, ++used) {
            if (used == 8) {
                out += '\0';
                used = 0;
            }
            out.back() = static_cast<char>(out.back() | ((value >> i & 1) << used));
        }
    }
    return out + "rest of the codestream";
}

// A 300 x 200 codestream: sides of 9 bits after their selectors, then the orientation.
std::string Jxl300x200(int orientation) {
    return JxlCodestream({{0, 1},
                          {0, 2},
                          {199, 9},
                          {0, 3},
                          {0, 2},
                          {299, 9},
                          {0, 1},
                          {1, 1},
                          {static_cast<std::uint32_t>(orientation - 1), 3}});
}

std::string JxlContainer(const std::string& boxes) {
    return std::string("\0\0\0\x0CJXL \r\n\x87\n", 12) + Box("ftyp", "jxl " + Be(0, 4) + "jxl ") +
           boxes;
}

std::string Ico(const std::string& image, int count) {
    std::string out = std::string("\0\0\1\0", 4) + Le(static_cast<std::uint32_t>(count), 2);
    const auto offset = static_cast<std::uint32_t>(6 + 16 * count);
    for (int i = 0; i < count; ++i) {
        out +=
            std::string(8, '\0') + Le(static_cast<std::uint32_t>(image.size()), 4) + Le(offset, 4);
    }
    return out + image;
}

std::string Rgb(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) {
        out += static_cast<char>(b);
    }
    return out;
}

std::optional<ImageHeader> Read(const std::string& bytes) {
    MemoryBytes source(bytes);
    return ReadImageHeader(source);
}

}  // namespace

TEST(ImageHeader, ReadsWhatEachFormatHolds) {
    const std::string grayBmpTable = Rgb({0, 0, 0, 0, 9, 9, 9, 0});
    const std::string colorBmpTable = Rgb({0, 0, 0, 0, 9, 8, 9, 0});
    const std::string bmpHeader40 = Bmp(16, 16, 32, 0, "").substr(14, 40);
    struct Case {
        const char* what;
        std::string file;
        ImageFileFormat format;
        ImageSize size;
        int bits;
        ColorKind kind;
        int pages;
    };
    using F = ImageFileFormat;
    using K = ColorKind;
    const Case cases[] = {
        {"png colour", Png(640, 480, 8, 2), F::Png, {640, 480}, 24, K::Color, 1},
        {"png 16-bit gray", Png(3, 2, 16, 0), F::Png, {3, 2}, 16, K::Gray, 1},
        {"png 1-bit gray", Png(3, 2, 1, 0), F::Png, {3, 2}, 1, K::Gray, 1},
        {"png gray alpha", Png(3, 2, 8, 4), F::Png, {3, 2}, 32, K::Color, 1},
        {"png 16-bit alpha", Png(3, 2, 16, 6), F::Png, {3, 2}, 64, K::Color, 1},
        {"png gray palette",
         Png(3, 2, 4, 3, PngChunk("PLTE", Rgb({1, 1, 1, 7, 7, 7}))),
         F::Png,
         {3, 2},
         4,
         K::Gray,
         1},
        {"png colour palette",
         Png(3, 2, 8, 3, PngChunk("PLTE", Rgb({1, 2, 3}))),
         F::Png,
         {3, 2},
         8,
         K::Palette,
         1},
        {"png colour with a transparent colour",
         Png(3, 2, 8, 2, PngChunk("tRNS", Rgb({0, 1, 0, 1, 0, 1}))),
         F::Png,
         {3, 2},
         0,
         K::Color,
         1},
        {"jpeg colour", Jpeg(6000, 4000, 3), F::Jpeg, {6000, 4000}, 24, K::Color, 1},
        {"jpeg gray", Jpeg(5, 7, 1), F::Jpeg, {5, 7}, 8, K::Gray, 1},
        {"jpeg cmyk", Jpeg(5, 7, 4), F::Jpeg, {5, 7}, 32, K::Color, 1},
        {"jpeg with stray bytes",
         Jpeg(5, 7, 3).insert(10, std::string(2, '\0')),
         F::Jpeg,
         {5, 7},
         24,
         K::Color,
         1},
        {"gif of two frames, local gray table",
         Gif(Rgb({1, 2, 3, 4, 5, 6}), GifFrame(5, 4, Rgb({8, 8, 8, 9, 9, 9})) + GifFrame(30, 20)),
         F::Gif,
         {5, 4},
         8,
         K::Gray,
         2},
        {"gif with a colour global table",
         Gif(Rgb({1, 2, 3, 4, 5, 6}), GifFrame(5, 4)),
         F::Gif,
         {5, 4},
         8,
         K::Palette,
         1},
        {"gif without a table", Gif("", GifFrame(5, 4)), F::Gif, {5, 4}, 0, K::Gray, 1},
        {"bmp 24-bit", Bmp(40, 30, 24, 0, ""), F::Bmp, {40, 30}, 24, K::Color, 1},
        {"bmp top-down 32-bit", Bmp(4, -3, 32, 0, ""), F::Bmp, {4, 3}, 32, K::Color, 1},
        {"bmp gray table", Bmp(4, 3, 1, 0, grayBmpTable), F::Bmp, {4, 3}, 1, K::Gray, 1},
        {"bmp colour table", Bmp(4, 3, 1, 0, colorBmpTable), F::Bmp, {4, 3}, 1, K::Palette, 1},
        {"bmp run lengths", Bmp(4, 3, 8, 1, ""), F::Bmp, {4, 3}, 0, K::Color, 1},
        {"bmp 108-byte header", Bmp(40, 30, 24, 0, "", 108), F::Bmp, {40, 30}, 24, K::Color, 1},
        {"bmp 124-byte header, colour table",
         Bmp(4, 3, 1, 0, colorBmpTable, 124),
         F::Bmp,
         {4, 3},
         1,
         K::Palette,
         1},
        {"tiff of three pages", Tiff({7, 8, 9}), F::Tiff, {7, 10}, 8, K::Gray, 3},
        {"ico of a png", Ico(Png(48, 32, 8, 6), 2), F::Ico, {48, 32}, 32, K::Color, 2},
        {"ico of a bitmap", Ico(bmpHeader40, 1), F::Ico, {16, 8}, 32, K::Color, 1},
        {"webp lossy", WebP(Vp8(300, 200)), F::WebP, {300, 200}, 24, K::Color, 1},
        {"webp lossless with alpha",
         WebP(Vp8L(16384, 3, true)),
         F::WebP,
         {16384, 3},
         32,
         K::Color,
         1},
        {"webp animated, its canvas",
         WebP(Vp8X(640, 480, 0x02) + RiffChunk("ANIM", std::string(6, '\0')) +
              RiffChunk("ANMF", "frame")),
         F::WebP,
         {640, 480},
         24,
         K::Color,
         1},
        {"webp extended with alpha",
         WebP(Vp8X(5, 7, 0x10) + Vp8L(5, 7, true)),
         F::WebP,
         {5, 7},
         32,
         K::Color,
         1},
        {"heic",
         Heif("mif1heic", {.primaryProperties = {Ispe(4032, 3024)}}),
         F::Heif,
         {4032, 3024},
         24,
         K::Color,
         1},
        {"heic grid",
         Heif("heicmif1", {"grid", {Ispe(8000, 6000)}}),
         F::Heif,
         {8000, 6000},
         24,
         K::Color,
         1},
        {"avif with alpha, 15-bit property indices",
         Heif("avifmif1miaf", {"av01", {Ispe(64, 48)}, true, true}),
         F::Avif,
         {64, 48},
         32,
         K::Color,
         1},
        {"jxl codestream", Jxl300x200(1), F::Jxl, {300, 200}, 24, K::Color, 1},
        {"jxl small sides, 16:9",
         JxlCodestream({{1, 1}, {3, 5}, {5, 3}, {1, 1}}),
         F::Jxl,
         {56, 32},
         24,
         K::Color,
         1},
        {"jxl container, codestream split over jxlp boxes",
         JxlContainer(Box("jxlp", Be(0, 4) + Jxl300x200(1).substr(0, 3)) +
                      Box("jxlp", Be(0x80000001, 4) + Jxl300x200(1).substr(3))),
         F::Jxl,
         {300, 200},
         24,
         K::Color,
         1},
    };
    for (const Case& c : cases) {
        std::optional<ImageHeader> h = Read(c.file);
        ASSERT_TRUE(h.has_value()) << c.what;
        EXPECT_EQ(h->format, c.format) << c.what;
        EXPECT_EQ(ImageSize(h->width, h->height), c.size) << c.what;
        EXPECT_EQ(h->bitsPerPixel, c.bits) << c.what;
        if (c.bits != 0) {
            EXPECT_EQ(h->kind, c.kind) << c.what;
        }
        EXPECT_EQ(h->pageCount, c.pages) << c.what;
        MemoryBytes source(c.file);
        EXPECT_TRUE(DataIsComplete(source, *h)) << c.what;
        // Every file cut short is refused or, where the format marks its end or its size (an
        // uncompressed bitmap), known to be incomplete.
        const bool endKnown =
            c.format == F::Png || c.format == F::Jpeg || (c.format == F::Bmp && c.bits != 0);
        for (std::size_t n = 0; n < c.file.size(); ++n) {
            const std::string cut = c.file.substr(0, n);
            MemoryBytes part(cut);
            std::optional<ImageHeader> partial = ReadImageHeader(part);
            if (partial && endKnown) {
                EXPECT_FALSE(DataIsComplete(part, *partial)) << c.what << " cut at " << n;
            }
        }
    }
    EXPECT_EQ(DescribeHeader(*Read(Tiff({7, 8, 9}))), "TIFF image, 8-bit gray, 3 pages");
    EXPECT_EQ(DescribeHeader(*Read(WebP(Vp8(3, 2)))), "WebP image, 24-bit colour, 1 page");
}

TEST(ImageHeader, SniffsTheFormatFromTheFirstBytes) {
    using F = ImageFileFormat;
    const auto ftyp = [](const std::string& brands) {
        return Box("ftyp", brands.substr(0, 4) + Be(0, 4) + brands.substr(4));
    };
    const struct {
        std::string bytes;
        ImageFileFormat format;
    } cases[] = {
        {Png(3, 2, 8, 2), F::Png},
        {Jpeg(3, 2, 3), F::Jpeg},
        {Gif("", GifFrame(1, 1)), F::Gif},
        {Bmp(1, 1, 24, 0, ""), F::Bmp},
        {Tiff({1}), F::Tiff},
        {std::string("MM\0*", 4) + Be(8, 4), F::Tiff},
        {Ico("", 1), F::Ico},
        {WebP(Vp8(3, 2)), F::WebP},
        {ftyp("avif"), F::Avif},
        {ftyp("avis"), F::Avif},
        {ftyp("mif1avifmiaf"), F::Avif},  // the general brand first, AVIF among the others
        {ftyp("heic"), F::Heif},
        {ftyp("mif1heic"), F::Heif},
        {ftyp("msf1hevc"), F::Heif},
        {ftyp("heixmif1avif"), F::Heif},  // a specific major brand decides
        {ftyp("isommp41"), F::Other},     // a video
        {std::string("\xFF\x0A", 2), F::Jxl},
        {JxlContainer(""), F::Jxl},
        {"RIFF" + Le(4, 4) + "WAVE", F::Other},
        {"hello world, no image", F::Other},
        {std::string("\xFF", 1), F::Other},
        {"", F::Other},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SniffFormat(c.bytes), c.format) << c.bytes.substr(0, 12);
    }
}

TEST(ImageHeader, ReadsTheOrientationEachContainerRecords) {
    const std::string pngExifAfterPixels =
        std::string("\x89PNG\r\n\x1a\n", 8) + Png(3, 2, 8, 2).substr(8, 25) +
        PngChunk("IDAT", "pixels") + PngChunk("eXIf", Exif(true, 6)) + PngChunk("IEND", "");
    const auto heic = [](std::vector<std::string> transforms) {
        transforms.insert(transforms.begin(), Ispe(300, 200));
        return Heif("heic", {.primaryProperties = transforms});
    };
    const struct {
        const char* what;
        std::string file;
        int orientation;
    } cases[] = {
        {"jpeg, little-endian exif", JpegWithExif(6, false), 6},
        {"jpeg, big-endian exif", JpegWithExif(8, true), 8},
        {"jpeg, a value outside 1 to 8", JpegWithExif(9, false), 1},
        {"jpeg without exif", Jpeg(3, 2, 3), 1},
        {"tiff", Tiff({7}, false, 3), 3},
        {"png eXIf", Png(3, 2, 8, 2, PngChunk("eXIf", Exif(true, 5))), 5},
        {"png eXIf after the pixels", pngExifAfterPixels, 1},
        {"webp EXIF with its Exif prefix",
         WebP(Vp8X(300, 200, 0x08) + Vp8(300, 200) +
              RiffChunk("EXIF", "Exif" + std::string(2, '\0') + Exif(false, 7))),
         7},
        {"heif irot a quarter anticlockwise", heic({Irot(1)}), 8},
        {"heif irot three quarters anticlockwise", heic({Irot(3)}), 6},
        {"heif irot half round", heic({Irot(2)}), 3},
        {"heif imir about the vertical axis", heic({Imir(0)}), 2},
        {"heif imir about the horizontal axis", heic({Imir(1)}), 4},
        {"heif irot then imir", heic({Irot(1), Imir(0)}), 7},
        {"heif imir then irot", heic({Imir(0), Irot(1)}), 5},
        {"heif half round then imir", heic({Irot(2), Imir(0)}), 4},
        {"jxl codestream", Jxl300x200(6), 6},
        {"jxl container", JxlContainer(Box("jxlc", Jxl300x200(7))), 7},
    };
    for (const auto& c : cases) {
        std::optional<ImageHeader> h = Read(c.file);
        ASSERT_TRUE(h.has_value()) << c.what;
        EXPECT_EQ(h->orientation, c.orientation) << c.what;
    }
}

TEST(ImageHeader, HostileAndBrokenHeadersAreRefused) {
    const std::string gif = Gif("", GifFrame(5, 4) + GifFrame(6, 4));
    const std::string gifCut = gif.substr(0, gif.size() - 5);
    MemoryBytes cutSource(gifCut);
    std::optional<ImageHeader> cutHeader = ReadImageHeader(cutSource);
    ASSERT_TRUE(cutHeader.has_value());
    EXPECT_FALSE(DataIsComplete(cutSource, *cutHeader)) << "gif ending inside its last frame";

    const char* refused[] = {"", "hello world, no image", "GIF89a\x05", "BM"};
    for (const char* bytes : refused) {
        EXPECT_FALSE(Read(bytes).has_value()) << bytes;
    }
    const std::string broken[] = {
        Tiff({7, 8}, true),  // pages in a loop
        Png(0, 5, 8, 2),     // no width
        Png(5, 5, 3, 2),     // a depth colour images do not have
        Bmp(4, 3, 24, 0, "").replace(22, 4, Le(0x80000000u, 4)),  // height of INT_MIN
        std::string("\xFF\xD8\xFF\xE0\x00\x01", 6),  // a segment shorter than its length field
        Ico("", 3),                                  // entries pointing past the end
        WebP(RiffChunk("VP8 ",
                       std::string("\x50\x01\x00\x9D\x01\x2B", 6) + Le(3, 4))),  // start code
        WebP(RiffChunk("VP8 ",
                       std::string("\x51\x01\x00\x9D\x01\x2A", 6) + Le(3, 4))),  // not a key frame
        WebP(RiffChunk("VP8L", "\x2E" + Le(0, 4))),                              // signature
        WebP(RiffChunk("ALPH", "a") + Vp8(3, 2)),                                // no image first
        Heif("heic", {.primaryProperties = {Ispe(3, 2)}, .primaryId = 7}),       // no such item
        Heif("heic", {.primaryProperties = {Irot(1)}}),                          // no size
        Heif("heic", {.primaryProperties = {Ispe(3, 2)}}).substr(0, 120),        // cut inside meta
        Jxl300x200(6).substr(0, 4),                                              // cut in the sides
        JxlContainer(Box("jxll", "\x05")),                                       // no codestream
    };
    for (const std::string& bytes : broken) {
        EXPECT_FALSE(Read(bytes).has_value()) << bytes.size();
    }

    // Claims beyond the pixel limit, in a page or a GIF's canvas, are not decoded.
    const std::string huge[] = {
        Png(16384, 16384, 8, 2),
        Jpeg(65535, 65535, 3),
        Bmp(16384, -16384, 8, 1, ""),
        "GIF89a" + Le(65535, 2) + Le(65535, 2) + std::string(3, '\0') + GifFrame(1, 1) + ";",
    };
    for (const std::string& bytes : huge) {
        MemoryBytes source(bytes);
        EXPECT_FALSE(MayDecode(source, false)) << bytes.size();
    }
    const std::string jpeg = Jpeg(6000, 4000, 3);
    MemoryBytes fine(jpeg);
    EXPECT_TRUE(MayDecode(fine, true));
    const std::string truncatedJpeg = jpeg.substr(0, 40);
    MemoryBytes truncated(truncatedJpeg);
    EXPECT_TRUE(MayDecode(truncated, false)) << "the header alone is whole";
    EXPECT_FALSE(MayDecode(truncated, true)) << "but not its pixels";
    MemoryBytes other("not an image at all");
    EXPECT_TRUE(MayDecode(other, true)) << "unknown formats are the decoder's to judge";
}
