// The packed bitmap and bitmap files byte by byte, and the portable bitmap reader on files it
// should read and files it must refuse.
#include "imagelib/dib.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "imagelib/bmp_decoder.h"
#include "tests/unit/imagelib_test_images.h"

namespace {

using Buffer = std::vector<std::uint8_t>;

Buffer Le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

Buffer Concat(std::initializer_list<Buffer> parts) {
    Buffer out;
    for (const Buffer& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

// The 40 header bytes for a bottom-up bitmap without resolution.
Buffer InfoHeader(std::uint32_t width, std::uint32_t height, std::uint16_t bits,
                  std::uint32_t sizeImage, std::uint32_t clrUsed) {
    return Concat({Le32(40),
                   Le32(width),
                   Le32(height),
                   {1, 0, static_cast<std::uint8_t>(bits), 0},
                   Le32(0),
                   Le32(sizeImage),
                   Le32(0),
                   Le32(0),
                   Le32(clrUsed),
                   Le32(0)});
}

// The 40-byte header lengthened to the 108 or 124 bytes many editors write: colour masks, then
// the colour space (sRGB), the rest zero.
Buffer Lengthened(Buffer header, std::uint32_t size) {
    const Buffer sizeBytes = Le32(size);
    std::copy(sizeBytes.begin(), sizeBytes.end(), header.begin());
    header.resize(size);
    const Buffer srgb = {'B', 'G', 'R', 's'};
    std::copy(srgb.begin(), srgb.end(), header.begin() + 56);
    return header;
}

class TempFiles : public testing::Test {
protected:
    ~TempFiles() override { std::filesystem::remove_all(dir); }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    std::string Write(const std::string& name, const Buffer& bytes) const {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    static Buffer Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    const std::filesystem::path dir = [] {
        static int n = 0;
        auto d = std::filesystem::temp_directory_path() /
                 ("velumar_dib_" + std::to_string(reinterpret_cast<std::uintptr_t>(&n)) + "_" +
                  std::to_string(++n));
        std::filesystem::create_directories(d);
        return d;
    }();
};

const PixelImage kColor = ColorImage(3, 2,
                                     {{1, 2, 3},
                                      {4, 5, 6},
                                      {7, 8, 9},  //
                                      {10, 11, 12},
                                      {13, 14, 15},
                                      {16, 17, 18}});

TEST(PackDib, ColourRowsRunBottomUpPaddedToFourBytes) {
    const Buffer expected = Concat({InfoHeader(3, 2, 24, 24, 0),
                                    {10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0},
                                    {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}});
    EXPECT_EQ(dib::Pack(kColor), expected);
    EXPECT_EQ(dib::PackedSize(kColor), expected.size());
}

TEST(PackDib, GrayImagesCarryAllTwoHundredFiftySixGrays) {
    Buffer grays;
    for (int i = 0; i < 256; ++i) {
        grays.insert(grays.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
                                   static_cast<std::uint8_t>(i), 0});
    }
    const Buffer expected = Concat({InfoHeader(1, 1, 8, 4, 0), grays, {7, 0, 0, 0}});
    EXPECT_EQ(dib::Pack(GrayImage(1, 1, {7})), expected);
}

TEST(PackDib, PaletteImagesCarryExactlyTheirColours) {
    PixelImage image = *PixelImage::Create(2, 1, PixelFormat::Indexed8);
    image.SetPalette({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    image.Data()[0] = 2;
    image.Data()[1] = 0;
    const Buffer expected =
        Concat({InfoHeader(2, 1, 8, 4, 3), {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0}, {2, 0, 0, 0}});
    EXPECT_EQ(dib::Pack(image), expected);
}

using SaveBitmapFile = TempFiles;

TEST_F(SaveBitmapFile, WritesTheFileHeaderThenThePackedBitmap) {
    const std::string path = PathOf("colour.bmp");
    ASSERT_TRUE(dib::SaveBitmapFile(kColor, path));
    const Buffer fileHeader = Concat({{'B', 'M'}, Le32(14 + 64), Le32(0), Le32(54)});
    EXPECT_EQ(Read(path), Concat({fileHeader, dib::Pack(kColor)}));

    ASSERT_TRUE(dib::SaveBitmapFile(GrayImage(1, 1, {7}), path));
    const Buffer gray = Read(path);
    ASSERT_EQ(gray.size(), 14u + 40 + 1024 + 4);
    EXPECT_EQ(Buffer(gray.begin() + 10, gray.begin() + 14), Le32(14 + 40 + 1024));
}

TEST_F(SaveBitmapFile, FailsWhereNoFileCanBeMade) {
    EXPECT_FALSE(dib::SaveBitmapFile(kColor, PathOf("missing/folder/x.bmp")));
}

using BmpReader = TempFiles;

TEST_F(BmpReader, ReadsBackWhatWasSaved) {
    PixelImage indexed = *PixelImage::Create(5, 3, PixelFormat::Indexed8);
    indexed.SetPalette({{0, 0, 255}, {9, 200, 30}});
    for (std::size_t i = 0; i < indexed.SizeBytes(); ++i) {
        indexed.Data()[i] = static_cast<std::uint8_t>(i % 3 == 0);
    }
    const PixelImage gray = GrayImage(3, 3, {0, 1, 2, 50, 60, 70, 253, 254, 255});
    const PixelImage pattern = PatternImage(37, 11);
    BmpDecoder decoder;
    for (const PixelImage* image :
         std::initializer_list<const PixelImage*>{&kColor, &gray, &indexed, &pattern}) {
        const std::string path = PathOf("round.bmp");
        ASSERT_TRUE(dib::SaveBitmapFile(*image, path));
        const std::optional<DecodedPage> page = decoder.DecodePage(path, 0);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->image.Format(),
                  image->Format() == PixelFormat::Gray8 ? PixelFormat::Gray8 : PixelFormat::Bgr24);
        EXPECT_EQ(Colors(page->image), Colors(*image));
        EXPECT_FALSE(decoder.DecodePage(path, 1));
    }
}

TEST_F(BmpReader, ReadsFewerBitsTopDownRowsAndThirtyTwoBits) {
    BmpDecoder decoder;
    // 1 bit, 10 pixels 1011001110 with a black and white palette: a gray image.
    const std::string oneBit = Write("1.bmp", Concat({{'B', 'M'},
                                                      Le32(66),
                                                      Le32(0),
                                                      Le32(62),
                                                      InfoHeader(10, 1, 1, 4, 2),
                                                      {0, 0, 0, 0, 255, 255, 255, 0},
                                                      {0b10110011, 0b10000000, 0, 0}}));
    std::optional<DecodedPage> page = decoder.DecodePage(oneBit, 0);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->image.Format(), PixelFormat::Gray8);
    EXPECT_EQ(Bytes(page->image), (Buffer{255, 0, 255, 255, 0, 0, 255, 255, 255, 0}));

    // 4 bits, 3 x 2, rows stored from the top (negative height), after an information header
    // of 40 bytes and after the longer ones.
    Buffer header = InfoHeader(3, 0, 4, 8, 3);
    const Buffer minusTwo = Le32(static_cast<std::uint32_t>(-2));
    std::copy(minusTwo.begin(), minusTwo.end(), header.begin() + 8);
    for (const std::uint32_t size : {40u, 108u, 124u}) {
        const std::string fourBit =
            Write("4.bmp", Concat({{'B', 'M'},
                                   Le32(34 + size),
                                   Le32(0),
                                   Le32(26 + size),
                                   size == 40 ? header : Lengthened(header, size),
                                   {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0},
                                   {0x01, 0x20, 0, 0, 0x22, 0x10, 0, 0}}));
        page = decoder.DecodePage(fourBit, 0);
        ASSERT_TRUE(page) << size;
        EXPECT_EQ(Colors(page->image), (std::vector<Bgr>{{1, 2, 3},
                                                         {4, 5, 6},
                                                         {7, 8, 9},  //
                                                         {7, 8, 9},
                                                         {7, 8, 9},
                                                         {4, 5, 6}}))
            << size;
    }

    const std::string bgrx = Write("32.bmp", Concat({{'B', 'M'},
                                                     Le32(62),
                                                     Le32(0),
                                                     Le32(54),
                                                     InfoHeader(2, 1, 32, 8, 0),
                                                     {1, 2, 3, 99, 4, 5, 6, 99}}));
    page = decoder.DecodePage(bgrx, 0);
    ASSERT_TRUE(page);
    EXPECT_EQ(Colors(page->image), (std::vector<Bgr>{{1, 2, 3}, {4, 5, 6}}));
}

TEST_F(BmpReader, RefusesTruncatedCorruptAndEnormousFiles) {
    const std::string good = PathOf("good.bmp");
    ASSERT_TRUE(dib::SaveBitmapFile(kColor, good));
    const Buffer bytes = Read(good);
    const auto changed = [&bytes](std::size_t offset, const Buffer& value) {
        Buffer b = bytes;
        std::copy(value.begin(), value.end(), b.begin() + static_cast<std::ptrdiff_t>(offset));
        return b;
    };
    const struct {
        const char* what;
        Buffer file;
    } cases[] = {
        {"empty", {}},
        {"file header only", Buffer(bytes.begin(), bytes.begin() + 14)},
        {"headers only", Buffer(bytes.begin(), bytes.begin() + 54)},
        {"last byte missing", Buffer(bytes.begin(), bytes.end() - 1)},
        {"not BM", changed(0, {'P', 'K'})},
        {"zero width", changed(18, Le32(0))},
        {"zero height", changed(22, Le32(0))},
        {"16 bits", changed(28, {16, 0})},
        {"compressed", changed(30, Le32(1))},
        {"100000 x 100000", changed(18, Concat({Le32(100000), Le32(100000)}))},
        {"width 2^31 - 1", changed(18, Le32(0x7FFFFFFF))},
        {"data offset past the end", changed(10, Le32(0xFFFFFFF0))},
    };
    BmpDecoder decoder;
    for (const auto& c : cases) {
        const std::string path = Write("bad.bmp", c.file);
        EXPECT_FALSE(decoder.DecodePage(path, 0)) << c.what;
        EXPECT_FALSE(decoder.ReadFileInfo(path)) << c.what;
    }
    EXPECT_FALSE(decoder.DecodePage(PathOf("absent.bmp"), 0));
}

TEST_F(BmpReader, FileInfoDescribesTheFile) {
    const std::string path = PathOf("info.bmp");
    ASSERT_TRUE(dib::SaveBitmapFile(kColor, path));
    const std::optional<ImageFileInfo> info = BmpDecoder().ReadFileInfo(path);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->format, ImageFileFormat::Bmp);
    EXPECT_EQ(info->width, 3u);
    EXPECT_EQ(info->height, 2u);
    EXPECT_EQ(info->bitsPerPixel, 24);
    EXPECT_EQ(info->pageCount, 1);
    EXPECT_EQ(info->description, "BMP image, 24-bit colour, 1 page");
}

TEST(DescribeImage, NamesFormatDepthKindAndPages) {
    EXPECT_EQ(DescribeImage("TIFF", 8, ColorKind::Gray, 3), "TIFF image, 8-bit gray, 3 pages");
    EXPECT_EQ(DescribeImage("GIF", 8, ColorKind::Palette, 1), "GIF image, 8-bit palette, 1 page");
}

}  // namespace
