// JPEG XL through libjxl, where the build has it. The pixels come as stored: the orientation in
// the header is applied by the caller with the others.
#include "imagelib/codecs/codecs.h"

#ifdef VELUMAR_HAVE_JXL

#include <memory>

#include <jxl/decode.h>

std::optional<PixelImage> DecodeJxl(EncodedBytes bytes, const std::stop_token& cancel) {
    const std::unique_ptr<JxlDecoder, void (*)(JxlDecoder*)> decoder(JxlDecoderCreate(nullptr),
                                                                     JxlDecoderDestroy);
    if (!decoder || cancel.stop_requested() ||
        JxlDecoderSubscribeEvents(decoder.get(), JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetKeepOrientation(decoder.get(), JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder.get(), bytes.data(), bytes.size()) != JXL_DEC_SUCCESS) {
        return std::nullopt;
    }
    JxlDecoderCloseInput(decoder.get());
    std::optional<PixelImage> image;
    JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    for (;;) {
        if (cancel.stop_requested()) {
            return std::nullopt;
        }
        switch (JxlDecoderProcessInput(decoder.get())) {
            case JXL_DEC_BASIC_INFO: {
                JxlBasicInfo info;
                if (JxlDecoderGetBasicInfo(decoder.get(), &info) != JXL_DEC_SUCCESS ||
                    !IsAllowedSize(info.xsize, info.ysize)) {
                    return std::nullopt;
                }
                const bool gray = info.num_color_channels == 1;
                format.num_channels = gray ? 1 : 3;
                image = PixelImage::Create(info.xsize, info.ysize,
                                           gray ? PixelFormat::Gray8 : PixelFormat::Bgr24);
                if (!image) {
                    return std::nullopt;
                }
                break;
            }
            case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
                std::size_t size = 0;
                if (!image ||
                    JxlDecoderImageOutBufferSize(decoder.get(), &format, &size) !=
                        JXL_DEC_SUCCESS ||
                    size != image->SizeBytes() ||
                    JxlDecoderSetImageOutBuffer(decoder.get(), &format, image->Data(), size) !=
                        JXL_DEC_SUCCESS) {
                    return std::nullopt;
                }
                break;
            }
            case JXL_DEC_FULL_IMAGE:
                if (image && image->Format() == PixelFormat::Bgr24) {
                    // libjxl gives red first.
                    std::uint8_t* p = image->Data();
                    for (std::size_t i = 0; i < image->SizeBytes(); i += 3) {
                        std::swap(p[i], p[i + 2]);
                    }
                }
                return image;
            default:
                return std::nullopt;
        }
    }
}

std::string JxlCodecName() {
    const std::uint32_t version = JxlDecoderVersion();
    return "libjxl " + std::to_string(version / 1000000) + "." +
           std::to_string(version / 1000 % 1000) + "." + std::to_string(version % 1000);
}

#else

std::optional<PixelImage> DecodeJxl(EncodedBytes, const std::stop_token&) {
    return std::nullopt;
}

std::string JxlCodecName() {
    return {};
}

#endif
