// WebP through libwebp; an animated file through its demuxer, for the first frame.
#include <memory>

#include <webp/decode.h>
#include <webp/demux.h>

#include "imagelib/codecs/codecs.h"

namespace {

std::optional<PixelImage> FirstFrame(EncodedBytes bytes) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) {
        return std::nullopt;
    }
    options.color_mode = MODE_BGRA;
    options.use_threads = 0;
    const WebPData data{bytes.data(), bytes.size()};
    const std::unique_ptr<WebPAnimDecoder, void (*)(WebPAnimDecoder*)> decoder(
        WebPAnimDecoderNew(&data, &options), WebPAnimDecoderDelete);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info) ||
        !IsAllowedSize(info.canvas_width, info.canvas_height)) {
        return std::nullopt;
    }
    std::uint8_t* canvas = nullptr;
    int timestamp = 0;
    std::optional<PixelImage> image =
        PixelImage::Create(info.canvas_width, info.canvas_height, PixelFormat::Bgr24);
    if (!image || !WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp)) {
        return std::nullopt;
    }
    for (std::uint32_t y = 0; y < image->Height(); ++y) {
        const std::uint8_t* in = canvas + std::size_t{y} * image->Width() * 4;
        std::uint8_t* out = image->Row(y);
        for (std::uint32_t x = 0; x < image->Width(); ++x) {
            out[3 * x] = in[4 * x];
            out[3 * x + 1] = in[4 * x + 1];
            out[3 * x + 2] = in[4 * x + 2];
        }
    }
    return image;
}

}  // namespace

std::optional<PixelImage> DecodeWebP(EncodedBytes bytes, const std::stop_token& cancel) {
    WebPBitstreamFeatures features;
    if (cancel.stop_requested() ||
        WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK ||
        !IsAllowedSize(static_cast<std::uint32_t>(features.width),
                       static_cast<std::uint32_t>(features.height))) {
        return std::nullopt;
    }
    if (features.has_animation) {
        return FirstFrame(bytes);
    }
    std::optional<PixelImage> image =
        PixelImage::Create(static_cast<std::uint32_t>(features.width),
                           static_cast<std::uint32_t>(features.height), PixelFormat::Bgr24);
    if (!image || WebPDecodeBGRInto(bytes.data(), bytes.size(), image->Data(), image->SizeBytes(),
                                    static_cast<int>(image->RowBytes())) == nullptr) {
        return std::nullopt;
    }
    return image;
}

std::string WebPCodecName() {
    const int version = WebPGetDecoderVersion();
    return "libwebp " + std::to_string(version >> 16) + "." + std::to_string((version >> 8) & 255) +
           "." + std::to_string(version & 255);
}
