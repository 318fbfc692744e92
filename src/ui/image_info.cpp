// What the image library tells of an image file, for the information boxes.
#include "ui/image_info.h"

#include "imagelib/image_header.h"
#include "imagelib/orientation.h"
#include "imagelib/pixel_image.h"

std::optional<ImageInfo> GetImageInfo(ImageLibrary& library, const std::string& path) {
    // The headers of the common formats tell everything without decoding a pixel; a decoder
    // may decode the whole image just to be made, so the library is asked only for others, and
    // for a picture recorded as turned, whose size as shown depends on the library's setting.
    FileBytes file(path);
    if (std::optional<ImageHeader> header = ReadImageHeader(file)) {
        if (header->largestPixels > kMaxPixels) {
            return std::nullopt;  // the library refuses such a file
        }
        if (header->bitsPerPixel != 0 && !pixelops::SwapsSides(header->orientation)) {
            return ImageInfo{static_cast<int>(header->width), static_cast<int>(header->height),
                             header->pageCount, DescribeHeader(*header)};
        }
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int pages = 0;
    LibraryString description;
    if (!library.cGetImageFileInfo(path.c_str(), 0, nullptr, &width, &height, nullptr, &pages,
                                   &description, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr)) {
        return std::nullopt;
    }
    return ImageInfo{static_cast<int>(width), static_cast<int>(height), pages, description};
}
