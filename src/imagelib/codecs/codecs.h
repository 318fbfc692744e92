// The bundled decoders: each decodes one format from the file's bytes in memory into the
// library's pixel forms (Gray8 for gray pictures, Bgr24 for the others; an alpha channel is
// dropped, as the system's decoder does). The pixels come as stored: a recorded orientation is
// not applied here. Each refuses a picture of more than kMaxPixels before allocating for it, and
// gives nothing for data it cannot decode, or once cancel is requested.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stop_token>
#include <string>

#include "imagelib/pixel_image.h"

using EncodedBytes = std::span<const std::uint8_t>;

// The scale in eighths (1, 2, 4 or 8) a JPEG of that size is decoded at: the smallest whose
// result is still at least atLeast in both sides, and 8 (full size) when none is smaller.
int JpegScaleEighths(ImageSize stored, ImageSize atLeast);

// A JPEG, decoded in the DCT at the scale JpegScaleEighths gives for atLeast (a size of
// UINT32_MAX sides asks for the full size). CMYK and YCCK pictures, Adobe's inverted form
// included, are converted to colour.
std::optional<PixelImage> DecodeJpeg(EncodedBytes bytes, ImageSize atLeast,
                                     const std::stop_token& cancel);

// A WebP picture; the first frame of an animated one.
std::optional<PixelImage> DecodeWebP(EncodedBytes bytes, const std::stop_token& cancel);

// The primary picture of a HEIF file (HEIC, AVIF and the other brands).
std::optional<PixelImage> DecodeHeif(EncodedBytes bytes, const std::stop_token& cancel);

// A JPEG XL picture.
std::optional<PixelImage> DecodeJxl(EncodedBytes bytes, const std::stop_token& cancel);

// The decoding libraries and their versions, as "libjpeg-turbo 2.1.5", for the user.
std::string JpegCodecName();
std::string WebPCodecName();
std::string HeifCodecName();
std::string JxlCodecName();
