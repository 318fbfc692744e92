// Decoding through WIC. Every frame is converted to 24-bit BGR, or 8-bit gray for gray images,
// straight into the library's buffer, after its size was checked against the pixel limit.
#include "imagelib/win32/wic_decoder.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "imagelib/resize.h"
#include "base/win32/com_ptr.h"
#include "base/win32/wide_text.h"
#include "imagelib/cancellation.h"
#include "imagelib/image_header.h"

namespace {

// IWICBitmapSourceTransform, the scaled decode some codecs offer; mingw-w64's wincodec.h does
// not declare it.
class BitmapSourceTransform : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride,
                                                 UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                           BOOL* supported) = 0;
};

constexpr IID kIidBitmapSourceTransform = {
    0x3B16811B, 0x6A43, 0x4ec9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// False when the file's header claims more pixels than the library takes or, when its pixels
// are wanted, its data ends early: such a file is refused before WIC is asked, since a WIC
// decoder may allocate the whole image, or decode it, as soon as it is made, and may show
// missing data as garbage.
bool HeaderAllows(const std::string& path, bool pixelsWanted) {
    FileBytes file(path);
    return MayDecode(file, pixelsWanted);
}

// One open image file: COM for this thread, the factory, the decoder and its frame count.
// Members are released in reverse order, COM last.
struct OpenImage {
    ScopedComInit com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    UINT frameCount = 0;

    bool Open(const std::string& path) {
        if (!com.Usable() || FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr,
                                                     CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                                     reinterpret_cast<void**>(factory.Put())))) {
            return false;
        }
        const std::wstring widePath = Widen(path);
        return SUCCEEDED(factory.Get()->CreateDecoderFromFilename(
                   widePath.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                   decoder.Put())) &&
               SUCCEEDED(decoder.Get()->GetFrameCount(&frameCount)) && frameCount > 0;
    }

    ComPtr<IWICBitmapFrameDecode> Frame(int page) {
        ComPtr<IWICBitmapFrameDecode> frame;
        if (page >= 0 && static_cast<UINT>(page) < frameCount) {
            decoder.Get()->GetFrame(static_cast<UINT>(page), frame.Put());
        }
        return frame;
    }
};

bool IsGrayFormat(const WICPixelFormatGUID& f) {
    return f == GUID_WICPixelFormatBlackWhite || f == GUID_WICPixelFormat2bppGray ||
           f == GUID_WICPixelFormat4bppGray || f == GUID_WICPixelFormat8bppGray ||
           f == GUID_WICPixelFormat16bppGray || f == GUID_WICPixelFormat16bppGrayFixedPoint ||
           f == GUID_WICPixelFormat16bppGrayHalf || f == GUID_WICPixelFormat32bppGrayFloat ||
           f == GUID_WICPixelFormat32bppGrayFixedPoint;
}

bool IsIndexedFormat(const WICPixelFormatGUID& f) {
    return f == GUID_WICPixelFormat1bppIndexed || f == GUID_WICPixelFormat2bppIndexed ||
           f == GUID_WICPixelFormat4bppIndexed || f == GUID_WICPixelFormat8bppIndexed;
}

// True when the frame's palette (or the file's) holds only grays.
bool HasGrayPalette(OpenImage& file, IWICBitmapFrameDecode* frame) {
    ComPtr<IWICPalette> palette;
    if (FAILED(file.factory.Get()->CreatePalette(palette.Put())) ||
        (FAILED(frame->CopyPalette(palette.Get())) &&
         FAILED(file.decoder.Get()->CopyPalette(palette.Get())))) {
        return false;
    }
    UINT count = 0;
    if (FAILED(palette.Get()->GetColorCount(&count)) || count == 0 || count > 256) {
        return false;
    }
    std::array<WICColor, 256> colors{};
    if (FAILED(palette.Get()->GetColors(count, colors.data(), &count))) {
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        const WICColor c = colors[i];
        if ((c & 0xFF) != ((c >> 8) & 0xFF) || (c & 0xFF) != ((c >> 16) & 0xFF)) {
            return false;
        }
    }
    return true;
}

ColorKind KindOf(OpenImage& file, IWICBitmapFrameDecode* frame, const WICPixelFormatGUID& f) {
    if (IsGrayFormat(f)) {
        return ColorKind::Gray;
    }
    if (IsIndexedFormat(f)) {
        return HasGrayPalette(file, frame) ? ColorKind::Gray : ColorKind::Palette;
    }
    return ColorKind::Color;
}

// Copies a source of the given WIC format into a new image of the matching pixel form.
std::optional<PixelImage> CopyFrom(IWICBitmapSource* source, UINT width, UINT height,
                                   PixelFormat format) {
    std::optional<PixelImage> image = PixelImage::Create(width, height, format);
    if (!image || image->RowBytes() > UINT_MAX || image->SizeBytes() > UINT_MAX) {
        return std::nullopt;
    }
    // In bands of rows, so a render that is no longer wanted stops between them.
    const auto stride = static_cast<UINT>(image->RowBytes());
    const UINT bandRows = std::max<UINT>(1, (1u << 20) / std::max<UINT>(1, stride));
    for (UINT y = 0; y < height; y += bandRows) {
        pixelops::ThrowIfCancelled();
        const UINT rows = std::min(bandRows, height - y);
        const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(rows)};
        if (FAILED(source->CopyPixels(&rect, stride, stride * rows, image->Row(y)))) {
            return std::nullopt;
        }
    }
    return image;
}

// The source through 32-bit BGRA, copied in bands of rows with the alpha dropped. Wine's
// converter reaches 24-bit BGR from few formats (not from palette ones), but BGRA from all.
std::optional<PixelImage> CopyThroughBgra(IWICBitmapSource* frame, UINT width, UINT height) {
    ComPtr<IWICBitmapSource> bgra;
    std::optional<PixelImage> image = PixelImage::Create(width, height, PixelFormat::Bgr24);
    if (!image || std::uint64_t{width} * 4 > UINT_MAX ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, bgra.Put()))) {
        return std::nullopt;
    }
    const UINT stride = width * 4;
    const UINT bandRows = std::max<UINT>(1, (1u << 20) / stride);
    std::vector<BYTE> band(std::size_t{stride} * bandRows);
    for (UINT y = 0; y < height; y += bandRows) {
        pixelops::ThrowIfCancelled();
        const UINT rows = std::min(bandRows, height - y);
        const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(rows)};
        if (FAILED(bgra.Get()->CopyPixels(&rect, stride, stride * rows, band.data()))) {
            return std::nullopt;
        }
        std::uint8_t* out = image->Row(y);
        for (std::size_t i = 0; i < std::size_t{width} * rows; ++i) {
            out[3 * i] = band[4 * i];
            out[3 * i + 1] = band[4 * i + 1];
            out[3 * i + 2] = band[4 * i + 2];
        }
    }
    return image;
}

// A 24-bit image whose pixels are all gray as an 8-bit gray image.
PixelImage CollapseToGray(const PixelImage& color) {
    PixelImage gray = *PixelImage::Create(color.Width(), color.Height(), PixelFormat::Gray8);
    const std::size_t count = std::size_t{color.Width()} * color.Height();
    for (std::size_t i = 0; i < count; ++i) {
        gray.Data()[i] = color.Data()[3 * i + 1];
    }
    return gray;
}

std::optional<PixelImage> DecodeFrame(OpenImage& file, IWICBitmapFrameDecode* frame) {
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetSize(&width, &height)) || !IsAllowedSize(width, height) ||
        FAILED(frame->GetPixelFormat(&format))) {
        return std::nullopt;
    }
    const ColorKind kind = KindOf(file, frame, format);
    if (kind == ColorKind::Gray && IsGrayFormat(format)) {
        ComPtr<IWICBitmapSource> gray;
        if (SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat8bppGray, frame, gray.Put()))) {
            if (std::optional<PixelImage> image =
                    CopyFrom(gray.Get(), width, height, PixelFormat::Gray8)) {
                return image;
            }
        }
    }
    // Everything else, gray palettes included, as colour: a gray palette then gives equal
    // channels, so its levels stay exact.
    ComPtr<IWICBitmapSource> color;
    std::optional<PixelImage> image;
    if (SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame, color.Put()))) {
        image = CopyFrom(color.Get(), width, height, PixelFormat::Bgr24);
    }
    if (!image) {
        image = CopyThroughBgra(frame, width, height);
    }
    if (image && kind == ColorKind::Gray) {
        return CollapseToGray(*image);
    }
    return image;
}

// A decode at reduced size through the codec's own scaling, when it offers one in our pixel
// form near the size the request asks for (the request from the full size) and no smaller than
// the minimum; empty otherwise.
std::optional<PixelImage> DecodeScaled(OpenImage& file, IWICBitmapFrameDecode* frame,
                                       const std::function<ImageSize(ImageSize)>& request,
                                       ImageSize minimum) {
    UINT fullWidth = 0;
    UINT fullHeight = 0;
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetSize(&fullWidth, &fullHeight)) || fullWidth == 0 || fullHeight == 0 ||
        FAILED(frame->GetPixelFormat(&format))) {
        return std::nullopt;
    }
    const ImageSize size = request({fullWidth, fullHeight});
    if (size.width >= fullWidth && size.height >= fullHeight) {
        return std::nullopt;
    }
    ComPtr<BitmapSourceTransform> transform;
    if (FAILED(frame->QueryInterface(kIidBitmapSourceTransform,
                                     reinterpret_cast<void**>(transform.Put())))) {
        return std::nullopt;
    }
    const bool gray = KindOf(file, frame, format) == ColorKind::Gray && IsGrayFormat(format);
    const WICPixelFormatGUID wanted =
        gray ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat24bppBGR;
    WICPixelFormatGUID offered = wanted;
    if (FAILED(transform.Get()->GetClosestPixelFormat(&offered)) || offered != wanted) {
        return std::nullopt;
    }
    UINT width = size.width;
    UINT height = size.height;
    if (FAILED(transform.Get()->GetClosestSize(&width, &height)) || width == 0 || height == 0 ||
        width >= fullWidth || height > fullHeight || width < minimum.width ||
        height < minimum.height) {
        return std::nullopt;
    }
    std::optional<PixelImage> image =
        PixelImage::Create(width, height, gray ? PixelFormat::Gray8 : PixelFormat::Bgr24);
    if (!image || image->SizeBytes() > UINT_MAX ||
        FAILED(transform.Get()->CopyPixels(nullptr, width, height, &offered,
                                           WICBitmapTransformRotate0,
                                           static_cast<UINT>(image->RowBytes()),
                                           static_cast<UINT>(image->SizeBytes()), image->Data()))) {
        return std::nullopt;
    }
    return image;
}

// Without a codec scaling, a colour image far larger than the box is sampled to a few times the
// box: only the rows nearest the sample grid are copied from the frame, one at a time, and each
// is averaged over the columns a sample covers; the reduction that follows averages the
// samples. So the full image is never copied (WIC's scaler under Wine copies the whole frame
// before it picks its nearest pixels). Empty otherwise, or when cancelled.
std::optional<PixelImage> DecodeSampled(OpenImage& file, IWICBitmapFrameDecode* frame,
                                        ImageSize box, const std::stop_token& cancel) {
    constexpr std::uint32_t kSamplesPerPixel = 4;
    UINT fullWidth = 0;
    UINT fullHeight = 0;
    WICPixelFormatGUID format{};
    if (FAILED(frame->GetSize(&fullWidth, &fullHeight)) || FAILED(frame->GetPixelFormat(&format)) ||
        KindOf(file, frame, format) != ColorKind::Color ||
        std::uint64_t{fullWidth} * 3 > UINT_MAX) {
        return std::nullopt;
    }
    const ImageSize sampled = pixelops::FitInside(
        {fullWidth, fullHeight}, {box.width * kSamplesPerPixel, box.height * kSamplesPerPixel});
    if (sampled.width >= fullWidth || sampled.height >= fullHeight) {
        return std::nullopt;
    }
    ComPtr<IWICBitmapSource> color;
    std::optional<PixelImage> image =
        PixelImage::Create(sampled.width, sampled.height, PixelFormat::Bgr24);
    if (!image || FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame, color.Put()))) {
        return std::nullopt;
    }
    const UINT stride = fullWidth * 3;
    std::vector<BYTE> row(stride);
    for (std::uint32_t y = 0; y < sampled.height; ++y) {
        if (cancel.stop_requested()) {
            return std::nullopt;
        }
        // The row at the centre of the sample's band; rows are asked for in increasing order,
        // which decoders that read the file as they go serve without starting again.
        const auto source = static_cast<INT>((std::uint64_t{2} * y + 1) * fullHeight /
                                             (std::uint64_t{2} * sampled.height));
        const WICRect rect{0, source, static_cast<INT>(fullWidth), 1};
        if (FAILED(color.Get()->CopyPixels(&rect, stride, stride, row.data()))) {
            return std::nullopt;
        }
        std::uint8_t* out = image->Row(y);
        for (std::uint32_t x = 0; x < sampled.width; ++x) {
            const std::uint64_t first = std::uint64_t{x} * fullWidth / sampled.width;
            const std::uint64_t last = std::uint64_t{x + 1} * fullWidth / sampled.width;
            std::array<std::uint64_t, 3> sum{};
            for (std::uint64_t i = first; i < last; ++i) {
                for (std::size_t c = 0; c < 3; ++c) {
                    sum[c] += row[3 * i + c];
                }
            }
            const std::uint64_t count = last - first;
            for (std::size_t c = 0; c < 3; ++c) {
                out[3 * x + c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
            }
        }
    }
    return image;
}

std::uint8_t BitsOf(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
    ComPtr<IWICComponentInfo> component;
    ComPtr<IWICPixelFormatInfo> info;
    UINT bits = 0;
    if (SUCCEEDED(factory->CreateComponentInfo(format, component.Put())) &&
        SUCCEEDED(component.Get()->QueryInterface(IID_IWICPixelFormatInfo,
                                                  reinterpret_cast<void**>(info.Put()))) &&
        SUCCEEDED(info.Get()->GetBitsPerPixel(&bits)) && bits > 0 && bits <= 255) {
        return static_cast<std::uint8_t>(bits);
    }
    return 0;
}

struct ContainerName {
    const GUID* container;
    ImageFileFormat format;
};

const ContainerName kContainers[] = {
    {&GUID_ContainerFormatBmp, ImageFileFormat::Bmp},
    {&GUID_ContainerFormatPng, ImageFileFormat::Png},
    {&GUID_ContainerFormatJpeg, ImageFileFormat::Jpeg},
    {&GUID_ContainerFormatGif, ImageFileFormat::Gif},
    {&GUID_ContainerFormatTiff, ImageFileFormat::Tiff},
    {&GUID_ContainerFormatIco, ImageFileFormat::Ico},
};

// One of the decoder info's texts, read with the usual ask-the-length-first protocol.
template <typename Getter>
std::string InfoText(Getter get) {
    UINT length = 0;
    if (FAILED(get(0, nullptr, &length)) || length == 0) {
        return {};
    }
    std::wstring text(length, L'\0');
    if (FAILED(get(length, text.data(), &length))) {
        return {};
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return Narrow(text);
}

}  // namespace

std::optional<DecodedPage> WicDecoder::DecodePage(const std::string& path, int page) {
    // No scale is at least this large: the full size.
    return DecodePageAtLeast(path, page, {UINT32_MAX, UINT32_MAX});
}

std::optional<DecodedPage> WicDecoder::DecodePageAtLeast(const std::string& path, int page,
                                                         ImageSize atLeast) {
    OpenImage file;
    if (!HeaderAllows(path, true) || !file.Open(path)) {
        return std::nullopt;
    }
    ComPtr<IWICBitmapFrameDecode> frame = file.Frame(page);
    if (!frame) {
        return std::nullopt;
    }
    std::optional<PixelImage> image = DecodeScaled(
        file, frame.Get(), [atLeast](ImageSize) { return atLeast; }, atLeast);
    if (!image) {
        image = DecodeFrame(file, frame.Get());
    }
    if (!image) {
        return std::nullopt;
    }
    return DecodedPage{std::move(*image), static_cast<int>(file.frameCount)};
}

std::optional<DecodedPage> WicDecoder::DecodeThumbnail(const std::string& path,
                                                       std::uint32_t maxWidth,
                                                       std::uint32_t maxHeight,
                                                       std::stop_token cancel) {
    // Making the decoder may decode the whole image (Wine's JPEG decoder does): cancellation is
    // looked at before and after it, and between the rows of a sampled decode.
    OpenImage file;
    if (cancel.stop_requested() || !HeaderAllows(path, true) || cancel.stop_requested() ||
        !file.Open(path) || cancel.stop_requested()) {
        return std::nullopt;
    }
    ComPtr<IWICBitmapFrameDecode> frame = file.Frame(0);
    if (!frame || maxWidth == 0 || maxHeight == 0) {
        return std::nullopt;
    }
    const ImageSize box{maxWidth, maxHeight};
    std::optional<PixelImage> image =
        DecodeScaled(file, frame.Get(),
                     [box](ImageSize full) { return pixelops::FitInside(full, box); }, {1, 1});
    if (!image) {
        image = DecodeSampled(file, frame.Get(), {maxWidth, maxHeight}, cancel);
    }
    if (!image && !cancel.stop_requested()) {
        image = DecodeFrame(file, frame.Get());
    }
    if (!image) {
        return std::nullopt;
    }
    return DecodedPage{std::move(*image), static_cast<int>(file.frameCount)};
}

std::optional<ImageFileInfo> WicDecoder::ReadFileInfo(const std::string& path) {
    OpenImage file;
    if (!HeaderAllows(path, false) || !file.Open(path)) {
        return std::nullopt;
    }
    ComPtr<IWICBitmapFrameDecode> frame = file.Frame(0);
    ImageFileInfo info;
    WICPixelFormatGUID format{};
    if (!frame || FAILED(frame.Get()->GetSize(&info.width, &info.height)) ||
        FAILED(frame.Get()->GetPixelFormat(&format))) {
        return std::nullopt;
    }
    info.pageCount = static_cast<int>(file.frameCount);
    info.bitsPerPixel = BitsOf(file.factory.Get(), format);
    double dpiX = 0;
    double dpiY = 0;
    if (SUCCEEDED(frame.Get()->GetResolution(&dpiX, &dpiY)) && std::isfinite(dpiX) &&
        std::isfinite(dpiY) && dpiX >= 0 && dpiY >= 0 && dpiX < 1e6 && dpiY < 1e6) {
        info.dpiX = static_cast<int>(std::lround(dpiX));
        info.dpiY = static_cast<int>(std::lround(dpiY));
    }
    GUID container{};
    if (SUCCEEDED(file.decoder.Get()->GetContainerFormat(&container))) {
        for (const ContainerName& known : kContainers) {
            if (container == *known.container) {
                info.format = known.format;
                info.formatName = FormatName(known.format);
            }
        }
    }
    ComPtr<IWICBitmapDecoderInfo> codec;
    if (SUCCEEDED(file.decoder.Get()->GetDecoderInfo(codec.Put()))) {
        IWICBitmapDecoderInfo* c = codec.Get();
        info.codecName =
            InfoText([c](UINT n, WCHAR* s, UINT* len) { return c->GetFriendlyName(n, s, len); });
        info.mimeTypes =
            InfoText([c](UINT n, WCHAR* s, UINT* len) { return c->GetMimeTypes(n, s, len); });
        info.extensions =
            InfoText([c](UINT n, WCHAR* s, UINT* len) { return c->GetFileExtensions(n, s, len); });
    }
    if (info.formatName.empty()) {
        info.formatName = info.codecName.empty() ? "Unknown" : info.codecName;
    }
    info.description = DescribeImage(info.formatName, info.bitsPerPixel,
                                     KindOf(file, frame.Get(), format), info.pageCount);
    return info;
}

std::vector<std::string> WicDecoderExtensions() {
    std::vector<std::string> lists;
    ScopedComInit com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IEnumUnknown> components;
    if (!com.Usable() ||
        FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put()))) ||
        FAILED(factory.Get()->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault,
                                                        components.Put()))) {
        return lists;
    }
    for (;;) {
        ComPtr<IUnknown> component;
        ULONG fetched = 0;
        if (components.Get()->Next(1, component.Put(), &fetched) != S_OK || fetched != 1) {
            return lists;
        }
        ComPtr<IWICBitmapDecoderInfo> info;
        if (SUCCEEDED(component.Get()->QueryInterface(IID_IWICBitmapDecoderInfo,
                                                      reinterpret_cast<void**>(info.Put())))) {
            IWICBitmapDecoderInfo* c = info.Get();
            lists.push_back(InfoText(
                [c](UINT n, WCHAR* s, UINT* len) { return c->GetFileExtensions(n, s, len); }));
        }
    }
}
