// Sessions and the library operations over them.
#include "imagelib/session_image_library.h"

#include <climits>
#include <optional>
#include <vector>

#include "imagelib/alpha_merge.h"
#include "imagelib/attention.h"
#include "imagelib/color_reduction.h"
#include "imagelib/compose.h"
#include "imagelib/dib.h"
#include "imagelib/frame.h"
#include "imagelib/pixel_convert.h"
#include "imagelib/resize.h"
#include "imagelib/rotate.h"

struct SessionImageLibrary::Session {
    std::optional<PixelImage> image;
    int page = 0;
    int pageCount = 0;
    // The mask given by cLoadAlphaMask, for an image of exactly this size.
    const std::uint8_t* mask = nullptr;
    ImageSize maskSize;
    // The colour limit a palette image is reduced to again after blending.
    int colorLimit = 256;
    std::vector<std::unique_ptr<ByteArray>> arrays;

    void Replace(PixelImage next) {
        image = std::move(next);
        mask = nullptr;
    }
};

namespace {

// Runs a body that may throw; any exception is a failure.
template <typename Body>
int Guarded(Body body) noexcept {
    try {
        return body() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

Bgr FromColorRef(ColorRef color) {
    return {static_cast<std::uint8_t>(color >> 16), static_cast<std::uint8_t>(color >> 8),
            static_cast<std::uint8_t>(color)};
}

template <typename T, typename V>
void Put(T* out, V value) {
    if (out != nullptr) {
        *out = static_cast<T>(value);
    }
}

int ClampToInt(std::size_t value) {
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

}  // namespace

SessionImageLibrary::SessionImageLibrary(ImageDecoder& decoder) : decoder(decoder) {}

SessionImageLibrary::~SessionImageLibrary() = default;

std::shared_ptr<SessionImageLibrary::Session> SessionImageLibrary::Find(int session) const {
    const std::lock_guard lock(mutex);
    const auto it = sessions.find(session);
    return it == sessions.end() ? nullptr : it->second;
}

template <typename Operation>
int SessionImageLibrary::OnImage(int session, Operation operation) noexcept {
    return Guarded([&] {
        const std::shared_ptr<Session> s = Find(session);
        return s && s->image && operation(*s, *s->image);
    });
}

int SessionImageLibrary::cNewSession() {
    try {
        auto session = std::make_shared<Session>();
        const std::lock_guard lock(mutex);
        // Handles are not reused while the counter lasts; after wrapping, live ones are skipped.
        while (nextHandle <= 0 || sessions.contains(nextHandle)) {
            nextHandle = nextHandle == INT_MAX || nextHandle <= 0 ? 1 : nextHandle + 1;
        }
        const int handle = nextHandle;
        sessions.emplace(handle, std::move(session));
        nextHandle = handle == INT_MAX ? 1 : handle + 1;
        return handle;
    } catch (...) {
        return 0;
    }
}

int SessionImageLibrary::cDestroySession(int session) {
    return Guarded([&] {
        std::shared_ptr<Session> removed;
        {
            const std::lock_guard lock(mutex);
            const auto it = sessions.find(session);
            if (it == sessions.end()) {
                return false;
            }
            removed = std::move(it->second);
            sessions.erase(it);
        }
        // The image and the arrays are freed here, outside the lock.
        return true;
    });
}

std::size_t SessionImageLibrary::SessionCount() const {
    const std::lock_guard lock(mutex);
    return sessions.size();
}

template <typename Decode>
int SessionImageLibrary::Load(int session, const char* path, int page, Decode decode) noexcept {
    return Guarded([&] {
        const std::shared_ptr<Session> s = Find(session);
        if (!s) {
            return false;
        }
        s->image.reset();
        s->mask = nullptr;
        if (path == nullptr || page < 0) {
            return false;
        }
        std::optional<DecodedPage> decoded = decode();
        if (!decoded) {
            return false;
        }
        s->image = std::move(decoded->image);
        s->page = page;
        s->pageCount = decoded->pageCount;
        return true;
    });
}

int SessionImageLibrary::cLoadImage(int session, const char* path, int page, int, int) {
    return Load(session, path, page, [&] { return decoder.DecodePage(path, page); });
}

int SessionImageLibrary::cLoadImageAtLeast(int session, const char* path, int page, int minWidth,
                                           int minHeight) {
    return Load(session, path, page, [&]() -> std::optional<DecodedPage> {
        if (minWidth <= 0 || minHeight <= 0) {
            return std::nullopt;
        }
        return decoder.DecodePageAtLeast(
            path, page,
            {static_cast<std::uint32_t>(minWidth), static_cast<std::uint32_t>(minHeight)});
    });
}

int SessionImageLibrary::cLoadThumbnail(int session, const char* path, int maxWidth,
                                        int maxHeight) {
    return cLoadThumbnailCancellable(session, path, maxWidth, maxHeight, {});
}

int SessionImageLibrary::cLoadThumbnailCancellable(int session, const char* path, int maxWidth,
                                                   int maxHeight, std::stop_token cancel) {
    return Guarded([&] {
        const std::shared_ptr<Session> s = Find(session);
        if (!s) {
            return false;
        }
        s->image.reset();
        s->mask = nullptr;
        if (path == nullptr || maxWidth <= 0 || maxHeight <= 0) {
            return false;
        }
        const ImageSize box{static_cast<std::uint32_t>(maxWidth),
                            static_cast<std::uint32_t>(maxHeight)};
        std::optional<DecodedPage> decoded =
            decoder.DecodeThumbnail(path, box.width, box.height, cancel);
        if (!decoded || cancel.stop_requested()) {
            return false;
        }
        PixelImage& image = decoded->image;
        if (image.Width() > box.width || image.Height() > box.height) {
            const ImageSize fit = pixelops::FitInside({image.Width(), image.Height()}, box);
            std::optional<PixelImage> reduced =
                pixelops::Resize(image, fit, ResizeMethod::AverageColors);
            if (!reduced) {
                return false;
            }
            image = std::move(*reduced);
        }
        s->image = std::move(image);
        s->page = 0;
        s->pageCount = decoded->pageCount;
        return true;
    });
}

int SessionImageLibrary::cGetImageInfo(int session, std::uint32_t* width, std::uint32_t* height,
                                       std::uint8_t* bitsPerPixel, int* rowBytes,
                                       int* paletteColors, int* page, int* outline, int* grayScale,
                                       int* pageCount, int* dibBytes) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        Put(width, image.Width());
        Put(height, image.Height());
        Put(bitsPerPixel, BitsPerPixel(image.Format()));
        Put(rowBytes, ClampToInt(dib::StoredRowBytes(image.Width(), BitsPerPixel(image.Format()))));
        Put(paletteColors, image.Palette().size());
        Put(page, s.page);
        // Every image's outline is its own rectangle, so a mask may always follow it.
        Put(outline, 1);
        Put(grayScale, image.Format() == PixelFormat::Gray8 ? 1 : 0);
        Put(pageCount, s.pageCount);
        Put(dibBytes, ClampToInt(dib::PackedSize(image)));
        return true;
    });
}

int SessionImageLibrary::cGetImageFileInfo(const char* path, int, int* format, std::uint32_t* width,
                                           std::uint32_t* height, std::uint8_t* bitsPerPixel,
                                           int* pageCount, LibraryString* description,
                                           LibraryString* formatName, LibraryString* mimeTypes,
                                           LibraryString* extensions, int* dpiX, int* dpiY,
                                           LibraryString* codecName) {
    return Guarded([&] {
        if (path == nullptr) {
            return false;
        }
        std::optional<ImageFileInfo> info = decoder.ReadFileInfo(path);
        if (!info) {
            return false;
        }
        Put(format, static_cast<int>(info->format));
        Put(width, info->width);
        Put(height, info->height);
        Put(bitsPerPixel, info->bitsPerPixel);
        Put(pageCount, info->pageCount);
        const auto text = [](LibraryString* out, std::string& value) {
            if (out != nullptr) {
                *out = std::move(value);
            }
        };
        text(description, info->description);
        text(formatName, info->formatName);
        text(mimeTypes, info->mimeTypes);
        text(extensions, info->extensions);
        Put(dpiX, info->dpiX);
        Put(dpiY, info->dpiY);
        text(codecName, info->codecName);
        return true;
    });
}

int SessionImageLibrary::cGetDIB(int session, const ByteArray** array, int) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        if (array == nullptr) {
            return false;
        }
        s.arrays.push_back(std::make_unique<ByteArray>(dib::Pack(image)));
        *array = s.arrays.back().get();
        return true;
    });
}

int SessionImageLibrary::cOpResize(int session, int width, int height, int keepAspect, int,
                                   int method) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        if (width <= 0 || height <= 0 || method < kResizeEliminatePixels ||
            method > kResizeAverageColors) {
            return false;
        }
        ImageSize size{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
        if (keepAspect != 0) {
            size = pixelops::FitInside({image.Width(), image.Height()}, size);
        }
        std::optional<PixelImage> resized =
            pixelops::Resize(image, size, static_cast<ResizeMethod>(method));
        if (!resized) {
            return false;
        }
        s.Replace(std::move(*resized));
        return true;
    });
}

namespace {

// The size of a resize to width x height by a valid method, or nothing.
std::optional<ImageSize> ResizeTarget(int width, int height, int method) {
    if (width <= 0 || height <= 0 || method < kResizeEliminatePixels ||
        method > kResizeAverageColors) {
        return std::nullopt;
    }
    return ImageSize{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
}

}  // namespace

int SessionImageLibrary::cOpResizeToCover(int session, int width, int height, int method) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        const std::optional<ImageSize> target = ResizeTarget(width, height, method);
        if (!target) {
            return false;
        }
        const pixelops::Area window = pixelops::InterestWindow(image, *target);
        std::optional<PixelImage> resized;
        if (window.width == image.Width() && window.height == image.Height()) {
            resized = pixelops::Resize(image, *target, static_cast<ResizeMethod>(method));
        } else {
            resized = pixelops::Resize(pixelops::Crop(image, window), *target,
                                       static_cast<ResizeMethod>(method));
        }
        if (!resized) {
            return false;
        }
        s.Replace(std::move(*resized));
        return true;
    });
}

int SessionImageLibrary::cOpResizeFramed(int session, int width, int height, int method) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        const std::optional<ImageSize> target = ResizeTarget(width, height, method);
        if (!target) {
            return false;
        }
        std::optional<PixelImage> fitted =
            pixelops::Resize(image, pixelops::FitInside({image.Width(), image.Height()}, *target),
                             static_cast<ResizeMethod>(method));
        std::optional<PixelImage> framed;
        if (fitted) {
            framed = pixelops::BlurredFrame(*fitted, *target);
        }
        if (!framed) {
            return false;
        }
        s.Replace(std::move(*framed));
        return true;
    });
}

int SessionImageLibrary::cOpRotateFine(int session, double angle) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        const std::optional<int> turns = pixelops::QuarterTurns(angle);
        if (!turns) {
            return false;
        }
        if (*turns != 0) {
            s.Replace(pixelops::RotateQuarterTurns(image, *turns));
        }
        return true;
    });
}

int SessionImageLibrary::cOpReduceColors(int session, int maxColors, int bitsPerPixel, int) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        if (maxColors < 1 || maxColors > 256 || bitsPerPixel != 8) {
            return false;
        }
        s.Replace(pixelops::ReduceColors(image, maxColors));
        s.colorLimit = maxColors;
        return true;
    });
}

int SessionImageLibrary::cOpIncreaseBitsPerPixel(int session, int bitsPerPixel) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        if (bitsPerPixel >= 1 && bitsPerPixel <= 8) {
            return true;
        }
        if (bitsPerPixel != 24) {
            return false;
        }
        if (image.Format() != PixelFormat::Bgr24) {
            s.Replace(pixelops::ToBgr24(image));
        }
        return true;
    });
}

int SessionImageLibrary::cOpGrayScale(int session) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        if (image.Format() != PixelFormat::Gray8) {
            s.Replace(pixelops::ToGray8(image));
        }
        return true;
    });
}

int SessionImageLibrary::cLoadAlphaMask(int session, const std::uint8_t* mask) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        s.mask = mask;
        s.maskSize = {image.Width(), image.Height()};
        return mask != nullptr;
    });
}

int SessionImageLibrary::cMergeTransparency(int session, ColorRef color) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        const std::uint8_t* mask = s.mask;
        // The caller keeps the buffer only until this call returns.
        s.mask = nullptr;
        if (mask == nullptr || s.maskSize != ImageSize{image.Width(), image.Height()}) {
            return false;
        }
        const Bgr background = FromColorRef(color);
        const bool grayBackground = background.b == background.g && background.g == background.r;
        if (image.Format() == PixelFormat::Bgr24 ||
            (image.Format() == PixelFormat::Gray8 && grayBackground)) {
            pixelops::MergeOverColor(image, mask, background);
            return true;
        }
        PixelImage merged = pixelops::ToBgr24(image);
        pixelops::MergeOverColor(merged, mask, background);
        if (image.Format() == PixelFormat::Indexed8) {
            merged = pixelops::ReduceColors(merged, s.colorLimit);
        }
        s.Replace(std::move(merged));
        return true;
    });
}

int SessionImageLibrary::cGetEdgeColor(int session, ColorRef* color) {
    return OnImage(session, [&](Session&, PixelImage& image) {
        const Bgr edge = pixelops::EdgeColor(image);
        Put(color, ColorRef{edge.r} | ColorRef{edge.g} << 8 | ColorRef{edge.b} << 16);
        return true;
    });
}

int SessionImageLibrary::cOpPlaceOnColor(int session, int width, int height, ColorRef color) {
    return OnImage(session, [&](Session& s, PixelImage& image) {
        if (width <= 0 || height <= 0) {
            return false;
        }
        std::optional<PixelImage> placed = pixelops::CentreOnColor(
            image, {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)},
            FromColorRef(color));
        if (!placed) {
            return false;
        }
        s.Replace(std::move(*placed));
        return true;
    });
}

int SessionImageLibrary::cNewImage(int session, int width, int height, ColorRef color) {
    return Guarded([&] {
        const std::shared_ptr<Session> s = Find(session);
        if (!s || width <= 0 || height <= 0) {
            return false;
        }
        std::optional<PixelImage> image =
            pixelops::FilledImage(static_cast<std::uint32_t>(width),
                                  static_cast<std::uint32_t>(height), FromColorRef(color));
        if (!image) {
            return false;
        }
        s->Replace(std::move(*image));
        s->page = 0;
        s->pageCount = 1;
        return true;
    });
}

int SessionImageLibrary::cPasteImage(int target, int source, int sourceX, int sourceY, int width,
                                     int height, int targetX, int targetY) {
    return Guarded([&] {
        const std::shared_ptr<Session> from = Find(source);
        const std::shared_ptr<Session> to = Find(target);
        return from && to && from != to && from->image && to->image &&
               pixelops::CopyArea(*from->image, sourceX, sourceY, width, height, *to->image,
                                  targetX, targetY);
    });
}

int SessionImageLibrary::cSave(int session, const char* path, int format, int, int, int) {
    return OnImage(session, [&](Session&, PixelImage& image) {
        return path != nullptr && format == kSaveBitmap && dib::SaveBitmapFile(image, path);
    });
}
