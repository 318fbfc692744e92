// The decoder Velumar reads pictures with: its bundled decoders for the formats they serve
// (JPEG, WebP, AVIF, HEIF, JPEG XL), chosen by the file's first bytes whatever its name, and the
// system's decoder for every other format and whenever a bundled one fails. What comes out is
// turned upright as the file records (EXIF orientation, HEIF rotation and mirroring, the JPEG XL
// header) unless that is turned off; sizes it reports are the upright ones too.
#pragma once

#include <atomic>

#include "imagelib/image_decoder.h"

class PhotoDecoder final : public ImageDecoder {
public:
    explicit PhotoDecoder(ImageDecoder& system);

    // Whether recorded orientations are applied (on unless turned off).
    void SetUpright(bool on) { upright.store(on); }
    bool Upright() const { return upright.load(); }

    std::optional<DecodedPage> DecodePage(const std::string& path, int page) override;
    std::optional<DecodedPage> DecodePageAtLeast(const std::string& path, int page,
                                                 ImageSize atLeast) override;
    std::optional<DecodedPage> DecodeThumbnail(const std::string& path, std::uint32_t maxWidth,
                                               std::uint32_t maxHeight,
                                               std::stop_token cancel) override;
    std::optional<ImageFileInfo> ReadFileInfo(const std::string& path) override;

private:
    struct Request;
    std::optional<DecodedPage> Decode(const std::string& path, const Request& request);

    ImageDecoder& system;
    std::atomic<bool> upright{true};
};
