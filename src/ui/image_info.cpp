// What the image library tells of an image file, for the information boxes.
#include "ui/image_info.h"


std::optional<ImageInfo> GetImageInfo(ImageLibrary& library, const std::string& path) {
    // The library reads the headers of the common formats without decoding a pixel, and gives
    // the size of the picture as it is shown (turned upright where the file says so).
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
