// JPEG through libjpeg-turbo. Errors leave libjpeg by longjmp, so everything that owns memory
// lives outside the function that calls setjmp and is reached through a reference.
#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "imagelib/codecs/codecs.h"

namespace {

struct ErrorExit {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void LeaveOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorExit*>(info->err)->jump, 1);
}

void Silent(j_common_ptr, int) {}

// A CMYK sample pair to one colour channel. Adobe's files store the inks inverted (255 is no
// ink), which is what libjpeg hands out for them; other files store the ink itself.
std::uint8_t FromInk(unsigned ink, unsigned black, bool inverted) {
    if (!inverted) {
        ink = 255 - ink;
        black = 255 - black;
    }
    return static_cast<std::uint8_t>((ink * black + 127) / 255);
}

struct JpegRun {
    jpeg_decompress_struct info{};
    ErrorExit error{};
    std::optional<PixelImage> image;
    std::vector<std::uint8_t> inkRow;
};

// Decodes into run.image; false when the data is refused or cancelled.
bool Decode(JpegRun& run, EncodedBytes bytes, ImageSize atLeast, const std::stop_token& cancel) {
    jpeg_decompress_struct& info = run.info;
    if (setjmp(run.error.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
        !IsAllowedSize(info.image_width, info.image_height)) {
        return false;
    }
    const bool gray = info.jpeg_color_space == JCS_GRAYSCALE;
    const bool ink = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = gray ? JCS_GRAYSCALE : ink ? JCS_CMYK : JCS_EXT_BGR;
    info.scale_num =
        static_cast<unsigned>(JpegScaleEighths({info.image_width, info.image_height}, atLeast));
    info.scale_denom = 8;
    info.dct_method = JDCT_ISLOW;
    jpeg_calc_output_dimensions(&info);
    run.image = PixelImage::Create(info.output_width, info.output_height,
                                   gray ? PixelFormat::Gray8 : PixelFormat::Bgr24);
    if (!run.image) {
        return false;
    }
    if (ink) {
        run.inkRow.resize(std::size_t{info.output_width} * 4);
    }
    jpeg_start_decompress(&info);
    const bool inverted = info.saw_Adobe_marker != 0;
    while (info.output_scanline < info.output_height) {
        if (cancel.stop_requested()) {
            return false;
        }
        std::uint8_t* out = run.image->Row(info.output_scanline);
        JSAMPROW row = ink ? run.inkRow.data() : out;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            return false;
        }
        if (ink) {
            for (std::uint32_t x = 0; x < info.output_width; ++x) {
                const std::uint8_t* c = &run.inkRow[std::size_t{x} * 4];
                out[3 * x] = FromInk(c[2], c[3], inverted);
                out[3 * x + 1] = FromInk(c[1], c[3], inverted);
                out[3 * x + 2] = FromInk(c[0], c[3], inverted);
            }
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

int JpegScaleEighths(ImageSize stored, ImageSize atLeast) {
    for (const int eighths : {1, 2, 4}) {
        // libjpeg rounds a scaled side up.
        const auto scaled = [eighths](std::uint32_t side) {
            return (std::uint64_t{side} * eighths + 7) / 8;
        };
        if (scaled(stored.width) >= atLeast.width && scaled(stored.height) >= atLeast.height) {
            return eighths;
        }
    }
    return 8;
}

std::optional<PixelImage> DecodeJpeg(EncodedBytes bytes, ImageSize atLeast,
                                     const std::stop_token& cancel) {
    JpegRun run;
    run.info.err = jpeg_std_error(&run.error.manager);
    run.error.manager.error_exit = LeaveOnError;
    run.error.manager.emit_message = Silent;
    const bool decoded = Decode(run, bytes, atLeast, cancel);
    jpeg_destroy_decompress(&run.info);
    if (!decoded) {
        return std::nullopt;
    }
    return std::move(run.image);
}

std::string JpegCodecName() {
    constexpr int kVersion = LIBJPEG_TURBO_VERSION_NUMBER;
    return "libjpeg-turbo " + std::to_string(kVersion / 1000000) + "." +
           std::to_string(kVersion / 1000 % 1000) + "." + std::to_string(kVersion % 1000);
}
