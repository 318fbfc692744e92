// The ImageDecoder of Windows: WIC, with every codec installed on the system.
#pragma once

#include <string>
#include <vector>

#include "imagelib/image_decoder.h"

// Safe to use on several threads at once: each call makes its own WIC objects.
// The file extensions of every WIC decoder installed, one list per decoder as WIC gives them
// (".bmp,.dib,.rle").
std::vector<std::string> WicDecoderExtensions();

class WicDecoder final : public ImageDecoder {
public:
    std::optional<DecodedPage> DecodePage(const std::string& path, int page) override;
    std::optional<DecodedPage> DecodePageAtLeast(const std::string& path, int page,
                                                 ImageSize atLeast) override;
    std::optional<DecodedPage> DecodeThumbnail(const std::string& path, std::uint32_t maxWidth,
                                               std::uint32_t maxHeight,
                                               std::stop_token cancel) override;
    std::optional<ImageFileInfo> ReadFileInfo(const std::string& path) override;
};
