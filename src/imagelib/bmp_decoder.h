// A portable ImageDecoder for Windows bitmap files: uncompressed 1, 4, 8, 24 and 32 bits per
// pixel, bottom-up or top-down. It reads what the library writes without Windows.
#pragma once

#include "imagelib/image_decoder.h"

class BmpDecoder final : public ImageDecoder {
public:
    std::optional<DecodedPage> DecodePage(const std::string& path, int page) override;
    std::optional<DecodedPage> DecodeThumbnail(const std::string& path, std::uint32_t maxWidth,
                                               std::uint32_t maxHeight,
                                               std::stop_token cancel) override;
    std::optional<ImageFileInfo> ReadFileInfo(const std::string& path) override;
};
