// A decoder for the benches that hands out one picture in memory as every file's only page, so
// that what is timed or drawn starts from decoded pixels.
#pragma once

#include <utility>

#include "imagelib/image_decoder.h"

class OnePictureDecoder final : public ImageDecoder {
public:
    explicit OnePictureDecoder(PixelImage picture) : picture(std::move(picture)) {}

    std::optional<DecodedPage> DecodePage(const std::string&, int) override {
        return DecodedPage{picture.Clone(), 1};
    }
    std::optional<DecodedPage> DecodeThumbnail(const std::string&, std::uint32_t, std::uint32_t,
                                               std::stop_token) override {
        return std::nullopt;
    }
    std::optional<ImageFileInfo> ReadFileInfo(const std::string&) override { return std::nullopt; }

    const PixelImage picture;
};
