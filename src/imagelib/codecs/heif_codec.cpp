// HEIF through libheif, which hands HEVC pictures to libde265 and AV1 ones (AVIF) to dav1d.
// The container's rotation and mirroring are left to the caller, with the other orientations.
#include <memory>

#include <libheif/heif.h>

#include "imagelib/codecs/codecs.h"

namespace {

template <typename T, void (*Free)(T*)>
struct Freed {
    void operator()(T* p) const { Free(p); }
};

using Context = std::unique_ptr<heif_context, Freed<heif_context, heif_context_free>>;
using Handle =
    std::unique_ptr<heif_image_handle, Freed<const heif_image_handle, heif_image_handle_release>>;
using Image = std::unique_ptr<heif_image, Freed<const heif_image, heif_image_release>>;
using Options = std::unique_ptr<heif_decoding_options,
                                Freed<heif_decoding_options, heif_decoding_options_free>>;

}  // namespace

std::optional<PixelImage> DecodeHeif(EncodedBytes bytes, const std::stop_token& cancel) {
    const Context context(heif_context_alloc());
    if (!context || cancel.stop_requested() ||
        heif_context_read_from_memory_without_copy(context.get(), bytes.data(), bytes.size(),
                                                   nullptr)
                .code != heif_error_Ok) {
        return std::nullopt;
    }
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok) {
        return std::nullopt;
    }
    const Handle handle(primary);
    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    const Options options(heif_decoding_options_alloc());
    if (width <= 0 || height <= 0 ||
        !IsAllowedSize(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)) ||
        !options || cancel.stop_requested()) {
        return std::nullopt;
    }
    options->ignore_transformations = 1;
    heif_image* decoded = nullptr;
    if (heif_decode_image(handle.get(), &decoded, heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                          options.get())
            .code != heif_error_Ok) {
        return std::nullopt;
    }
    const Image picture(decoded);
    int stride = 0;
    const std::uint8_t* pixels =
        heif_image_get_plane_readonly(picture.get(), heif_channel_interleaved, &stride);
    const int planeWidth = heif_image_get_width(picture.get(), heif_channel_interleaved);
    const int planeHeight = heif_image_get_height(picture.get(), heif_channel_interleaved);
    if (pixels == nullptr || planeWidth <= 0 || planeHeight <= 0 || stride < planeWidth * 3 ||
        !IsAllowedSize(static_cast<std::uint32_t>(planeWidth),
                       static_cast<std::uint32_t>(planeHeight))) {
        return std::nullopt;
    }
    std::optional<PixelImage> image =
        PixelImage::Create(static_cast<std::uint32_t>(planeWidth),
                           static_cast<std::uint32_t>(planeHeight), PixelFormat::Bgr24);
    if (!image) {
        return std::nullopt;
    }
    for (std::uint32_t y = 0; y < image->Height(); ++y) {
        const std::uint8_t* in = pixels + std::size_t{y} * static_cast<std::size_t>(stride);
        std::uint8_t* out = image->Row(y);
        for (std::uint32_t x = 0; x < image->Width(); ++x) {
            out[3 * x] = in[3 * x + 2];
            out[3 * x + 1] = in[3 * x + 1];
            out[3 * x + 2] = in[3 * x];
        }
    }
    return image;
}

std::string HeifCodecName() {
    return std::string("libheif ") + heif_get_version();
}
