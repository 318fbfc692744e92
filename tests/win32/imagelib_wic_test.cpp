// The image library on Windows: files made here with WIC's encoders decode through our WIC
// decoder, and WIC, as an independent reader, decodes the bitmaps the library saves.
#include "imagelib/win32/process_image_library.h"

#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "base/win32/com_ptr.h"
#include "imagelib/image_header.h"
#include "tests/win32/wic_test_files.h"

namespace {

using namespace wictest;

TEST_F(WicImageTest, SavedBitmapsDecodeThroughWicToTheSamePixels) {
    const Frame color = ColorFrame(37, 23);
    const Frame gray = GrayFrame(13, 5);
    const std::string colorPng = Encode("color.png", GUID_ContainerFormatPng, {color});
    const std::string grayPng = Encode("gray.png", GUID_ContainerFormatPng, {gray});
    const int s = library.cNewSession();
    ASSERT_NE(s, 0);

    const std::string saved = PathOf("saved.bmp");
    Frame read{};
    ASSERT_EQ(library.cLoadImage(s, colorPng.c_str(), 0, 0, 0), 1);
    ASSERT_EQ(library.cSave(s, saved.c_str(), 2, 0, 0, 0), 1);
    ASSERT_TRUE(ReadWithWic(saved, &read));
    EXPECT_EQ(read.width, 37u);
    EXPECT_EQ(read.height, 23u);
    EXPECT_EQ(read.pixels, color.pixels);

    // 8-bit gray and 8-bit palette bitmaps.
    ASSERT_EQ(library.cLoadImage(s, grayPng.c_str(), 0, 0, 0), 1);
    ASSERT_EQ(library.cSave(s, saved.c_str(), 2, 0, 0, 0), 1);
    ASSERT_TRUE(ReadWithWic(saved, &read));
    for (size_t i = 0; i < gray.pixels.size(); ++i) {
        ASSERT_EQ(read.pixels[3 * i], gray.pixels[i]) << i;
        ASSERT_EQ(read.pixels[3 * i + 2], gray.pixels[i]) << i;
    }
    ASSERT_EQ(library.cOpReduceColors(s, 248, 8, 1), 1);  // 13 x 5 grays: few enough to stay exact
    ASSERT_EQ(library.cSave(s, saved.c_str(), 2, 0, 0, 0), 1);
    Frame palette{};
    ASSERT_TRUE(ReadWithWic(saved, &palette));
    EXPECT_EQ(palette.pixels, read.pixels);
    library.cDestroySession(s);
}

TEST_F(WicImageTest, DecodesPngJpegAndGif) {
    const Frame color = ColorFrame(20, 10);
    const Frame smooth = SmoothFrame(64, 48);
    Frame indexed{6, 2, GUID_WICPixelFormat8bppIndexed, {0, 1, 2, 3, 2, 1, 3, 3, 0, 0, 1, 2}};
    indexed.palette = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF123456};
    const std::string png = Encode("c.png", GUID_ContainerFormatPng, {color});
    const std::string jpeg = Encode("s.jpg", GUID_ContainerFormatJpeg, {smooth});
    const std::string gif = Encode("p.gif", GUID_ContainerFormatGif, {indexed});
    const int s = library.cNewSession();

    ASSERT_EQ(library.cLoadImage(s, png.c_str(), 0, 0, 0), 1);
    EXPECT_EQ(PixelsOf(s), color.pixels);

    ASSERT_EQ(library.cLoadImage(s, jpeg.c_str(), 0, 0, 0), 1);
    ExpectSize(s, 64, 48);
    const Buffer decoded = PixelsOf(s);
    ASSERT_EQ(decoded.size(), smooth.pixels.size());
    for (size_t i = 0; i < decoded.size(); ++i) {
        ASSERT_NEAR(decoded[i], smooth.pixels[i], 12) << i;
    }

    ASSERT_EQ(library.cLoadImage(s, gif.c_str(), 0, 0, 0), 1);
    BYTE bits = 0;
    ASSERT_TRUE(library.cGetImageInfo(s, nullptr, nullptr, &bits, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(bits, 24);
    Buffer expected;
    for (const BYTE index : indexed.pixels) {
        const WICColor c = indexed.palette[index];
        expected.insert(expected.end(), {static_cast<BYTE>(c), static_cast<BYTE>(c >> 8),
                                         static_cast<BYTE>(c >> 16)});
    }
    EXPECT_EQ(PixelsOf(s), expected);
    library.cDestroySession(s);
}

TEST_F(WicImageTest, DecodesIconsHoldingAPng) {
    const Frame color = ColorFrame(16, 16);
    const std::string png = Encode("icon.png", GUID_ContainerFormatPng, {color});
    std::ifstream in(png, std::ios::binary);
    const Buffer image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto size = static_cast<DWORD>(image.size());
    // One directory entry: 16 x 16, 1 plane, 32 bits, then the PNG at offset 22.
    Buffer icon = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
    for (const DWORD v : {size, DWORD{22}}) {
        icon.insert(icon.end(), {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8),
                                 static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)});
    }
    icon.insert(icon.end(), image.begin(), image.end());
    const std::string path = PathOf("icon.ico");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(icon.data()),
               static_cast<std::streamsize>(icon.size()));

    const int s = library.cNewSession();
    ASSERT_EQ(library.cLoadImage(s, path.c_str(), 0, 0, 0), 1);
    EXPECT_EQ(PixelsOf(s), color.pixels);
    int format = 0;
    EXPECT_EQ(
        library.cGetImageFileInfo(path.c_str(), 0, &format, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
        1);
    EXPECT_EQ(format, 6);
    library.cDestroySession(s);
}

TEST_F(WicImageTest, HeaderReadersTellWhatWicTells) {
    Frame grayPalette{4, 2, GUID_WICPixelFormat8bppIndexed, {0, 1, 2, 3, 3, 2, 1, 0}};
    grayPalette.palette = {0xFF000000, 0xFF101010, 0xFF808080, 0xFFFFFFFF};
    Frame colorPalette = grayPalette;
    colorPalette.palette[1] = 0xFF102030;
    Frame alpha{3, 2, GUID_WICPixelFormat32bppBGRA, Buffer(24, 0x7F)};
    const struct {
        const char* name;
        const GUID& container;
        std::vector<Frame> frames;
    } files[] = {
        {"c.png", GUID_ContainerFormatPng, {ColorFrame(20, 10)}},
        {"g.png", GUID_ContainerFormatPng, {GrayFrame(9, 4)}},
        {"a.png", GUID_ContainerFormatPng, {alpha}},
        {"p.png", GUID_ContainerFormatPng, {colorPalette}},
        {"q.png", GUID_ContainerFormatPng, {grayPalette}},
        {"c.jpg", GUID_ContainerFormatJpeg, {SmoothFrame(64, 48)}},
        {"g.jpg", GUID_ContainerFormatJpeg, {GrayFrame(17, 9)}},
        {"two.gif", GUID_ContainerFormatGif, {colorPalette, grayPalette}},
        {"g.gif", GUID_ContainerFormatGif, {grayPalette}},
        {"c.bmp", GUID_ContainerFormatBmp, {ColorFrame(5, 3)}},
        {"p.bmp", GUID_ContainerFormatBmp, {colorPalette}},
        {"three.tif",
         GUID_ContainerFormatTiff,
         {GrayFrame(7, 3), ColorFrame(4, 4), GrayFrame(2, 2)}},
        {"c.tif", GUID_ContainerFormatTiff, {ColorFrame(6, 5)}},
        {"p.tif", GUID_ContainerFormatTiff, {colorPalette}},
    };
    std::vector<std::string> paths;
    for (const auto& file : files) {
        paths.push_back(Encode(file.name, file.container, file.frames));
    }
    paths.push_back(PathOf("library.bmp"));
    const int s = library.cNewSession();
    ASSERT_EQ(library.cLoadImage(s, paths[0].c_str(), 0, 0, 0), 1);
    ASSERT_EQ(library.cOpReduceColors(s, 16, 8, 1), 1);
    ASSERT_EQ(library.cSave(s, paths.back().c_str(), 2, 0, 0, 0), 1);
    library.cDestroySession(s);

    for (const std::string& path : paths) {
        FileBytes bytes(path);
        const std::optional<ImageHeader> header = ReadImageHeader(bytes);
        ASSERT_TRUE(header && header->bitsPerPixel != 0) << path;
        UINT width = 0;
        UINT height = 0;
        int pages = 0;
        LibraryString description;
        ASSERT_EQ(library.cGetImageFileInfo(path.c_str(), 0, nullptr, &width, &height, nullptr,
                                            &pages, &description, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr),
                  1)
            << path;
        EXPECT_EQ(header->width, width) << path;
        EXPECT_EQ(header->height, height) << path;
        EXPECT_EQ(header->pageCount, pages) << path;
        EXPECT_EQ(DescribeHeader(*header), description) << path;
    }
}

TEST_F(WicImageTest, GrayImagesAreReportedGray) {
    const std::string png = Encode("g.png", GUID_ContainerFormatPng, {GrayFrame(9, 4)});
    const int s = library.cNewSession();
    ASSERT_EQ(library.cLoadImage(s, png.c_str(), 0, 0, 0), 1);
    BYTE bits = 0;
    int gray = 0;
    ASSERT_TRUE(library.cGetImageInfo(s, nullptr, nullptr, &bits, nullptr, nullptr, nullptr,
                                      nullptr, &gray, nullptr, nullptr));
    EXPECT_EQ(bits, 8);
    EXPECT_NE(gray, 0);
    EXPECT_EQ(PixelsOf(s), GrayFrame(9, 4).pixels);
    library.cDestroySession(s);
}

TEST_F(WicImageTest, MultiPageTiffPagesAreSelectedAndCounted) {
    const std::string tiff = Encode("pages.tif", GUID_ContainerFormatTiff,
                                    {ColorFrame(30, 20), ColorFrame(40, 10), ColorFrame(5, 5)});
    const int s = library.cNewSession();
    const UINT sizes[][2] = {{30, 20}, {40, 10}, {5, 5}};
    for (int page = 0; page < 3; ++page) {
        ASSERT_EQ(library.cLoadImage(s, tiff.c_str(), page, 0, 0), 1) << page;
        ExpectSize(s, sizes[page][0], sizes[page][1]);
        int pages = 0;
        int loadedPage = -1;
        library.cGetImageInfo(s, nullptr, nullptr, nullptr, nullptr, nullptr, &loadedPage, nullptr,
                              nullptr, &pages, nullptr);
        EXPECT_EQ(pages, 3);
        EXPECT_EQ(loadedPage, page);
    }
    EXPECT_EQ(PixelsOf(s), ColorFrame(5, 5).pixels);
    EXPECT_EQ(library.cLoadImage(s, tiff.c_str(), 3, 0, 0), 0);
    library.cDestroySession(s);

    int format = 0;
    int pages = 0;
    UINT width = 0;
    UINT height = 0;
    BYTE bits = 0;
    LibraryString texts[5];
    ASSERT_EQ(library.cGetImageFileInfo(tiff.c_str(), 0, &format, &width, &height, &bits, &pages,
                                        &texts[0], &texts[1], &texts[2], &texts[3], nullptr,
                                        nullptr, &texts[4]),
              1);
    EXPECT_EQ(format, 5);
    EXPECT_EQ(width, 30u);
    EXPECT_EQ(height, 20u);
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(texts[0], "TIFF image, 24-bit colour, 3 pages");
    EXPECT_EQ(texts[1], "TIFF");
    // The MIME types, extensions and decoder name come from WIC's decoder.
    for (const LibraryString& text : texts) {
        EXPECT_FALSE(text.empty());
    }
}

TEST_F(WicImageTest, ThumbnailsFitTheBox) {
    const std::string png = Encode("big.png", GUID_ContainerFormatPng, {ColorFrame(400, 300)});
    const std::string jpeg = Encode("big.jpg", GUID_ContainerFormatJpeg, {SmoothFrame(640, 480)});
    const int s = library.cNewSession();
    ASSERT_EQ(library.cLoadThumbnail(s, png.c_str(), 100, 100), 1);
    ExpectSize(s, 100, 75);
    ASSERT_EQ(library.cLoadThumbnail(s, jpeg.c_str(), 160, 200), 1);
    ExpectSize(s, 160, 120);
    ASSERT_EQ(library.cLoadThumbnail(s, png.c_str(), 1000, 1000), 1);
    ExpectSize(s, 400, 300);
    // Far larger than the box: sampled, each pixel near the gradient at its area's centre.
    const std::string large = Encode("l.png", GUID_ContainerFormatPng, {SmoothFrame(2000, 1000)});
    ASSERT_EQ(library.cLoadThumbnail(s, large.c_str(), 100, 100), 1);
    const Buffer pixels = PixelsOf(s);
    ASSERT_EQ(pixels.size(), 100u * 50 * 3);
    for (size_t i = 0; i < 100 * 50; ++i) {
        ASSERT_NEAR(pixels[3 * i], 40.5 + i % 100, 2) << i;
        ASSERT_NEAR(pixels[3 * i + 1], 120, 1) << i;
        ASSERT_NEAR(pixels[3 * i + 2], 199.0 - 2 * (i / 100), 2) << i;
    }
    library.cDestroySession(s);
}

TEST_F(WicImageTest, CorruptTruncatedAndEnormousFilesFailCleanly) {
    const auto writeBytes = [this](const std::string& name, const Buffer& bytes) {
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    };
    const auto readBytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Buffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const Buffer png =
        readBytes(Encode("whole.png", GUID_ContainerFormatPng, {ColorFrame(64, 64)}));
    const Buffer tiff =
        readBytes(Encode("whole.tif", GUID_ContainerFormatTiff, {ColorFrame(64, 64)}));
    const Buffer jpeg =
        readBytes(Encode("whole.jpg", GUID_ContainerFormatJpeg, {ColorFrame(64, 64)}));
    Buffer noise(5000);
    for (size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<BYTE>(i * 2654435761u >> 13);
    }
    // A bitmap header claiming 100000 x 100000 pixels of 24 bits, with no pixels after it.
    Buffer huge(54, 0);
    const BYTE header[] = {'B', 'M', 0, 0,    0,    0,    0, 0,    0,    0,    54, 0, 0, 0,  40,
                           0,   0,   0, 0xA0, 0x86, 0x01, 0, 0xA0, 0x86, 0x01, 0,  1, 0, 24, 0};
    std::copy(std::begin(header), std::end(header), huge.begin());

    const struct {
        const char* name;
        Buffer bytes;
        bool headerReadable;  // whether file information may still be read
    } cases[] = {
        {"empty.png", {}, false},
        {"noise.png", noise, false},
        {"half.png", Buffer(png.begin(), png.begin() + png.size() / 2), true},
        {"cut.tif", Buffer(tiff.begin(), tiff.begin() + tiff.size() / 3), true},
        // WIC shows the missing rest of a JPEG as garbage; it is refused before.
        {"cut.jpg", Buffer(jpeg.begin(), jpeg.end() - 200), true},
        {"huge.bmp", huge, true},
    };
    const int s = library.cNewSession();
    for (const auto& c : cases) {
        const std::string path = writeBytes(c.name, c.bytes);
        EXPECT_EQ(library.cLoadImage(s, path.c_str(), 0, 0, 0), 0) << c.name;
        EXPECT_EQ(library.cLoadThumbnail(s, path.c_str(), 50, 50), 0) << c.name;
        LibraryString description;
        const int info = library.cGetImageFileInfo(path.c_str(), 0, nullptr, nullptr, nullptr,
                                                   nullptr, nullptr, &description, nullptr, nullptr,
                                                   nullptr, nullptr, nullptr, nullptr);
        if (!c.headerReadable) {
            EXPECT_EQ(info, 0) << c.name;
        }
        EXPECT_EQ(info != 0, !description.empty()) << c.name;
    }
    EXPECT_EQ(library.cLoadImage(s, (dir + "\\absent.png").c_str(), 0, 0, 0), 0);
    library.cDestroySession(s);
}

TEST_F(WicImageTest, EachDibIsANewArrayOfTheSizeTheInfoTellsAndDiesWithTheSession) {
    const std::string png = Encode("d.png", GUID_ContainerFormatPng, {ColorFrame(7, 3)});
    const int s = library.cNewSession();
    ASSERT_EQ(library.cLoadImage(s, png.c_str(), 0, 0, 0), 1);
    const ByteArray* first = nullptr;
    const ByteArray* second = nullptr;
    ASSERT_EQ(library.cGetDIB(s, &first, 0), 1);
    ASSERT_EQ(library.cGetDIB(s, &second, 0), 1);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->size(), 40u + 24 * 3);  // 21 bytes a row, stored as 24
    EXPECT_EQ(*first, *second);
    int dibBytes = 0;
    library.cGetImageInfo(s, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, &dibBytes);
    EXPECT_EQ(static_cast<size_t>(dibBytes), first->size());
    EXPECT_EQ(library.cDestroySession(s), 1);
    EXPECT_EQ(library.cGetDIB(s, &first, 0), 0);
}

TEST_F(WicImageTest, TwoThreadsDecodeInTheirOwnSessions) {
    const std::string png = Encode("t.png", GUID_ContainerFormatPng, {ColorFrame(300, 200)});
    const auto work = [this, &png](int* failures) {
        for (int i = 0; i < 10; ++i) {
            const int s = library.cNewSession();
            const bool ok = library.cLoadImage(s, png.c_str(), 0, 0, 0) == 1 &&
                            library.cOpResize(s, 100, 100, 1, 1, 3) == 1 &&
                            library.cDestroySession(s) == 1;
            *failures += ok ? 0 : 1;
        }
    };
    int a = 0;
    int b = 0;
    std::thread first(work, &a);
    std::thread second(work, &b);
    first.join();
    second.join();
    EXPECT_EQ(a + b, 0);
}

}  // namespace
