#include "imagelib/photo_decoder.h"

#include <utility>
#include <vector>

#include "imagelib/codecs/codecs.h"
#include "imagelib/image_header.h"
#include "imagelib/orientation.h"
#include "imagelib/resize.h"

namespace {

// Larger files are not read into memory; no picture within the pixel limit needs more.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 30;

ImageSize Swapped(ImageSize size) {
    return {size.height, size.width};
}

struct FormatFacts {
    ImageFileFormat format;
    const char* mimeTypes;
    const char* extensions;
    std::string (*codecName)();
};

constexpr FormatFacts kBundled[] = {
    {ImageFileFormat::Jpeg, "image/jpeg", ".jpeg,.jpe,.jpg,.jfif", JpegCodecName},
    {ImageFileFormat::WebP, "image/webp", ".webp", WebPCodecName},
    {ImageFileFormat::Avif, "image/avif", ".avif", HeifCodecName},
    {ImageFileFormat::Heif, "image/heic,image/heif", ".heic,.heif,.hif", HeifCodecName},
    {ImageFileFormat::Jxl, "image/jxl", ".jxl", JxlCodecName},
};

const FormatFacts* Bundled(ImageFileFormat format) {
    for (const FormatFacts& facts : kBundled) {
        if (facts.format == format) {
            return &facts;
        }
    }
    return nullptr;
}

// What the file's headers tell, or nothing for a file that cannot be opened or has no header
// the library knows.
std::optional<ImageHeader> HeaderOf(const std::string& path) {
    FileBytes file(path);
    return file.IsOpen() ? ReadImageHeader(file) : std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadAll(const std::string& path) {
    FileBytes file(path);
    if (!file.IsOpen() || file.Size() == 0 || file.Size() > kMaxFileBytes) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.Size()));
    if (file.ReadAt(0, bytes.data(), bytes.size()) != bytes.size()) {
        return std::nullopt;
    }
    return bytes;
}

// One bundled decode: the file read whole, its header checked again on the bytes read (a file
// may change between the looks), refused when it claims too many pixels or its data is cut
// short, then handed to the format's decoder.
std::optional<PixelImage> DecodeBundled(const std::string& path, ImageSize atLeast,
                                        const std::stop_token& cancel) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadAll(path);
    if (!bytes || cancel.stop_requested()) {
        return std::nullopt;
    }
    MemoryBytes memory(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    const std::optional<ImageHeader> header = ReadImageHeader(memory);
    if (!header || header->largestPixels > kMaxPixels || !DataIsComplete(memory, *header)) {
        return std::nullopt;
    }
    switch (header->format) {
        case ImageFileFormat::Jpeg:
            return DecodeJpeg(*bytes, atLeast, cancel);
        case ImageFileFormat::WebP:
            return DecodeWebP(*bytes, cancel);
        case ImageFileFormat::Avif:
        case ImageFileFormat::Heif:
            return DecodeHeif(*bytes, cancel);
        case ImageFileFormat::Jxl:
            return DecodeJxl(*bytes, cancel);
        default:
            return std::nullopt;
    }
}

ImageFileInfo InfoFromHeader(const ImageHeader& header, const FormatFacts& facts) {
    ImageFileInfo info;
    info.format = header.format;
    info.width = header.width;
    info.height = header.height;
    info.bitsPerPixel = header.bitsPerPixel != 0 ? header.bitsPerPixel : 24;
    info.pageCount = header.pageCount;
    info.formatName = FormatName(header.format);
    info.description =
        DescribeImage(info.formatName, info.bitsPerPixel, header.kind, header.pageCount);
    info.mimeTypes = facts.mimeTypes;
    info.extensions = facts.extensions;
    info.codecName = facts.codecName();
    return info;
}

}  // namespace

// What a decode asks for, in upright terms: a page, the size it must at least have (UINT32_MAX
// sides for the full size) or, for a thumbnail, the box it is for.
struct PhotoDecoder::Request {
    int page = 0;
    ImageSize atLeast{UINT32_MAX, UINT32_MAX};
    std::optional<ImageSize> thumbnailBox;
    std::stop_token cancel;
};

PhotoDecoder::PhotoDecoder(ImageDecoder& system) : system(system) {}

std::optional<DecodedPage> PhotoDecoder::Decode(const std::string& path, const Request& request) {
    const std::optional<ImageHeader> header = HeaderOf(path);
    // Only the first page's orientation is known; further pages show as stored.
    const int orientation = header && Upright() && request.page == 0 ? header->orientation : 1;
    const bool swap = pixelops::SwapsSides(orientation);
    const ImageSize atLeast = swap ? Swapped(request.atLeast) : request.atLeast;
    const std::optional<ImageSize> box =
        request.thumbnailBox && swap ? Swapped(*request.thumbnailBox) : request.thumbnailBox;

    std::optional<DecodedPage> decoded;
    if (header && Bundled(header->format) != nullptr && request.page == 0) {
        const ImageSize wanted =
            box ? pixelops::FitInside({header->width, header->height}, *box) : atLeast;
        if (std::optional<PixelImage> image = DecodeBundled(path, wanted, request.cancel)) {
            decoded = DecodedPage{std::move(*image), 1};
        }
    }
    if (!decoded && !request.cancel.stop_requested()) {
        decoded = box ? system.DecodeThumbnail(path, box->width, box->height, request.cancel)
                      : system.DecodePageAtLeast(path, request.page, atLeast);
    }
    if (decoded && orientation != 1) {
        decoded->image = pixelops::Orient(std::move(decoded->image), orientation);
    }
    return decoded;
}

std::optional<DecodedPage> PhotoDecoder::DecodePage(const std::string& path, int page) {
    Request request;
    request.page = page;
    return Decode(path, request);
}

std::optional<DecodedPage> PhotoDecoder::DecodePageAtLeast(const std::string& path, int page,
                                                           ImageSize atLeast) {
    Request request;
    request.page = page;
    request.atLeast = atLeast;
    return Decode(path, request);
}

std::optional<DecodedPage> PhotoDecoder::DecodeThumbnail(const std::string& path,
                                                         std::uint32_t maxWidth,
                                                         std::uint32_t maxHeight,
                                                         std::stop_token cancel) {
    if (maxWidth == 0 || maxHeight == 0) {
        return std::nullopt;
    }
    Request request;
    request.thumbnailBox = ImageSize{maxWidth, maxHeight};
    request.cancel = std::move(cancel);
    return Decode(path, request);
}

std::optional<ImageFileInfo> PhotoDecoder::ReadFileInfo(const std::string& path) {
    const std::optional<ImageHeader> header = HeaderOf(path);
    if (header && header->largestPixels > kMaxPixels) {
        return std::nullopt;  // no decode takes such a file
    }
    // The bundled decoders' formats are described from their headers: the system may not know
    // them, and may decode a whole picture just to open it. The rest the system describes.
    const FormatFacts* bundled = header ? Bundled(header->format) : nullptr;
    std::optional<ImageFileInfo> info =
        bundled != nullptr ? InfoFromHeader(*header, *bundled) : system.ReadFileInfo(path);
    if (info && header && Upright() && pixelops::SwapsSides(header->orientation)) {
        std::swap(info->width, info->height);
    }
    return info;
}
