// The user-facing description of an image file.
#include "imagelib/image_decoder.h"

std::string DescribeImage(std::string_view formatName, int bitsPerPixel, ColorKind kind,
                          int pageCount) {
    const char* kindText = kind == ColorKind::Gray      ? "gray"
                           : kind == ColorKind::Palette ? "palette"
                                                        : "colour";
    std::string text(formatName);
    text += " image, " + std::to_string(bitsPerPixel) + "-bit " + kindText + ", " +
            std::to_string(pageCount) + (pageCount == 1 ? " page" : " pages");
    return text;
}

const char* FormatName(ImageFileFormat format) {
    switch (format) {
        case ImageFileFormat::Bmp:
            return "BMP";
        case ImageFileFormat::Png:
            return "PNG";
        case ImageFileFormat::Jpeg:
            return "JPEG";
        case ImageFileFormat::Gif:
            return "GIF";
        case ImageFileFormat::Tiff:
            return "TIFF";
        case ImageFileFormat::Ico:
            return "ICO";
        case ImageFileFormat::WebP:
            return "WebP";
        case ImageFileFormat::Avif:
            return "AVIF";
        case ImageFileFormat::Heif:
            return "HEIF";
        case ImageFileFormat::Jxl:
            return "JPEG XL";
        case ImageFileFormat::Other:
            break;
    }
    return "";
}
