// The size an image file claims in its header, read from its first bytes without decoding, so
// that a file claiming more pixels than the library takes is refused before a decoder is made
// (some decoders allocate, or decode everything, as soon as they are created).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "imagelib/pixel_image.h"

// How many bytes from the start of a file the reader looks at.
inline constexpr std::size_t kImageHeaderBytes = 64 * 1024;

// The width and height a PNG, GIF, BMP or JPEG file claims; nothing for other formats or when
// the header is cut short. For a GIF the logical screen, for a JPEG the first frame header.
std::optional<ImageSize> ReadClaimedSize(std::string_view head);

// Whether a file whose first bytes are head may be handed to a decoder: true unless its header
// claims more pixels than the library takes.
bool ClaimedSizeIsAllowed(std::string_view head);
