// The port through which the image library decodes files: WIC on Windows, a bitmap reader or a
// fake in tests. Decoded pages come in the library's canonical forms.
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "imagelib/pixel_image.h"

enum class ImageFileFormat {
    Other = 0,
    Bmp = 1,
    Png = 2,
    Jpeg = 3,
    Gif = 4,
    Tiff = 5,
    Ico = 6,
    WebP = 7,
    Avif = 8,
    Heif = 9,  // HEIC and the other HEIF brands
    Jxl = 10,
};

// The format's short name, as "JPEG"; empty for Other.
const char* FormatName(ImageFileFormat format);

// What a file holds, without decoding its pixels. Texts are in the narrow code page of paths.
struct ImageFileInfo {
    ImageFileFormat format = ImageFileFormat::Other;
    std::uint32_t width = 0;  // of the first page
    std::uint32_t height = 0;
    std::uint8_t bitsPerPixel = 0;  // as stored in the file
    int pageCount = 0;
    std::string description;  // for the user, e.g. "JPEG image, 24-bit colour, 1 page"
    std::string formatName;   // e.g. "JPEG"
    std::string mimeTypes;    // e.g. "image/jpeg"
    std::string extensions;   // e.g. ".jpeg,.jpe,.jpg"
    int dpiX = 0;
    int dpiY = 0;
    std::string codecName;  // the decoder's own name
};

struct DecodedPage {
    PixelImage image;  // Gray8 for gray images, Bgr24 for all others
    int pageCount = 1;
};

class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;

    // One page (0 is the first). Empty when the file is missing or does not decode, the page
    // does not exist, or the page is beyond the pixel limit. May throw std::bad_alloc.
    virtual std::optional<DecodedPage> DecodePage(const std::string& path, int page) = 0;

    // One page decoded at a reduced scale where the codec offers one that is still at least
    // atLeast in both sides (the smallest such); otherwise at full size.
    virtual std::optional<DecodedPage> DecodePageAtLeast(const std::string& path, int page,
                                                         ImageSize atLeast) {
        static_cast<void>(atLeast);
        return DecodePage(path, page);
    }

    // The first page, decoded at a reduced size near the fit of the box where the codec can
    // (it may still be larger than the box); otherwise at full size. Empty once cancel is
    // requested, where the decode can stop.
    virtual std::optional<DecodedPage> DecodeThumbnail(const std::string& path,
                                                       std::uint32_t maxWidth,
                                                       std::uint32_t maxHeight,
                                                       std::stop_token cancel) = 0;

    virtual std::optional<ImageFileInfo> ReadFileInfo(const std::string& path) = 0;

protected:
    ImageDecoder() = default;
    ImageDecoder(const ImageDecoder&) = default;
    ImageDecoder& operator=(const ImageDecoder&) = default;
};

enum class ColorKind {
    Color,
    Gray,
    Palette,
};

// The description shown to the user: "<format> image, <n>-bit <kind>, <k> page(s)".
std::string DescribeImage(std::string_view formatName, int bitsPerPixel, ColorKind kind,
                          int pageCount);
