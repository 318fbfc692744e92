// Image files made and read with WIC's own encoders and decoders, for the Windows tests of
// the image library and the wallpaper pipeline.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/win32/com_ptr.h"
#include "base/win32/wide_text.h"
#include "imagelib/win32/process_image_library.h"

namespace wictest {

using Buffer = std::vector<BYTE>;

struct Frame {
    UINT width;
    UINT height;
    WICPixelFormatGUID format;
    Buffer pixels;  // rows from the top, tightly packed
    std::vector<WICColor> palette = {};
};

inline UINT BytesPerPixel(const WICPixelFormatGUID& format) {
    return format == GUID_WICPixelFormat24bppBGR    ? 3
           : format == GUID_WICPixelFormat32bppBGRA ? 4
                                                    : 1;
}

// Colours that differ from pixel to pixel, as BGR rows.
inline Frame ColorFrame(UINT width, UINT height) {
    Frame f{width, height, GUID_WICPixelFormat24bppBGR, {}};
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            f.pixels.insert(f.pixels.end(), {static_cast<BYTE>(x * 5), static_cast<BYTE>(y * 9),
                                             static_cast<BYTE>((x + y) * 3)});
        }
    }
    return f;
}

// A gentle gradient that survives JPEG compression closely.
inline Frame SmoothFrame(UINT width, UINT height) {
    Frame f{width, height, GUID_WICPixelFormat24bppBGR, {}};
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            f.pixels.insert(f.pixels.end(),
                            {static_cast<BYTE>(40 + x * 100 / width), static_cast<BYTE>(120),
                             static_cast<BYTE>(200 - y * 100 / height)});
        }
    }
    return f;
}

inline Frame GrayFrame(UINT width, UINT height) {
    Frame f{width, height, GUID_WICPixelFormat8bppGray, {}};
    for (UINT i = 0; i < width * height; ++i) {
        f.pixels.push_back(static_cast<BYTE>(i * 7));
    }
    return f;
}

// Writes the frames to a file with WIC's encoder for the container.
inline bool EncodeFrames(IWICImagingFactory* factory, const std::string& path,
                         const GUID& container, const std::vector<Frame>& frames) {
    const std::wstring widePath = Widen(path);
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    bool ok = SUCCEEDED(factory->CreateStream(stream.Put())) &&
              SUCCEEDED(stream.Get()->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) &&
              SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.Put())) &&
              SUCCEEDED(encoder.Get()->Initialize(stream.Get(), WICBitmapEncoderNoCache));
    for (const Frame& f : frames) {
        ComPtr<IWICBitmapFrameEncode> frame;
        ComPtr<IPropertyBag2> options;
        WICPixelFormatGUID format = f.format;
        ok = ok && SUCCEEDED(encoder.Get()->CreateNewFrame(frame.Put(), options.Put())) &&
             SUCCEEDED(frame.Get()->Initialize(options.Get())) &&
             SUCCEEDED(frame.Get()->SetSize(f.width, f.height)) &&
             SUCCEEDED(frame.Get()->SetPixelFormat(&format)) && format == f.format;
        if (ok && !f.palette.empty()) {
            ComPtr<IWICPalette> palette;
            ok = SUCCEEDED(factory->CreatePalette(palette.Put())) &&
                 SUCCEEDED(palette.Get()->InitializeCustom(const_cast<WICColor*>(f.palette.data()),
                                                           static_cast<UINT>(f.palette.size()))) &&
                 SUCCEEDED(frame.Get()->SetPalette(palette.Get()));
        }
        const UINT stride = f.width * BytesPerPixel(f.format);
        ok =
            ok &&
            SUCCEEDED(frame.Get()->WritePixels(f.height, stride, static_cast<UINT>(f.pixels.size()),
                                               const_cast<BYTE*>(f.pixels.data()))) &&
            SUCCEEDED(frame.Get()->Commit());
    }
    return ok && SUCCEEDED(encoder.Get()->Commit());
}

// One colour all over, as BGR rows.
inline Frame SolidFrame(UINT width, UINT height, BYTE b, BYTE g, BYTE r) {
    Frame f{width, height, GUID_WICPixelFormat24bppBGR, {}};
    for (UINT i = 0; i < width * height; ++i) {
        f.pixels.insert(f.pixels.end(), {b, g, r});
    }
    return f;
}

class WicImageTest : public testing::Test {
protected:
    WicImageTest() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int n = 0;
        dir = std::string(temp) + "velumar_wic_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++n);
        CreateDirectoryA(dir.c_str(), nullptr);
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put()));
    }

    ~WicImageTest() override {
        for (const std::string& file : files) {
            DeleteFileW(Widen(file).c_str());
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string PathOf(const std::string& name) {
        files.push_back(dir + "\\" + name);
        return files.back();
    }

    // Writes the frames with WIC's encoder for the container; fails the test when it cannot.
    std::string Encode(const std::string& name, const GUID& container,
                       const std::vector<Frame>& frames) {
        const std::string path = PathOf(name);
        EXPECT_TRUE(factory);
        EXPECT_TRUE(factory && EncodeFrames(factory.Get(), path, container, frames))
            << "encoding " << name;
        return path;
    }

    // The first frame of a file as decoded by WIC itself, in 24-bit BGR rows from the top.
    // It goes through 32-bit BGRA, the form Wine's converter reaches from every format.
    bool ReadWithWic(const std::string& path, Frame* out) {
        const std::wstring widePath = Widen(path);
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICBitmapSource> bgra;
        UINT width = 0;
        UINT height = 0;
        if (FAILED(factory.Get()->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ,
                                                            WICDecodeMetadataCacheOnDemand,
                                                            decoder.Put())) ||
            FAILED(decoder.Get()->GetFrame(0, frame.Put())) ||
            FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.Get(), bgra.Put())) ||
            FAILED(bgra.Get()->GetSize(&width, &height))) {
            return false;
        }
        Buffer pixels(width * height * 4);
        if (FAILED(bgra.Get()->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()),
                                          pixels.data()))) {
            return false;
        }
        *out = Frame{width, height, GUID_WICPixelFormat24bppBGR, {}};
        for (size_t i = 0; i < pixels.size(); i += 4) {
            out->pixels.insert(out->pixels.end(), {pixels[i], pixels[i + 1], pixels[i + 2]});
        }
        return true;
    }

    // The current image's rows from the top, tightly packed, out of the library's DIB.
    Buffer PixelsOf(int session) {
        const ByteArray* dib = nullptr;
        if (!library.cGetDIB(session, &dib, 0)) {
            return {};
        }
        const BYTE* data = dib->data();
        const LONG width = *reinterpret_cast<const LONG*>(data + 4);
        const LONG height = *reinterpret_cast<const LONG*>(data + 8);
        const WORD bits = *reinterpret_cast<const WORD*>(data + 14);
        DWORD colors = *reinterpret_cast<const DWORD*>(data + 32);
        if (bits == 8 && colors == 0) {
            colors = 256;
        }
        const size_t rowBytes = static_cast<size_t>(width) * bits / 8;
        const size_t stored = (rowBytes + 3) & ~size_t{3};
        Buffer pixels;
        for (LONG r = height - 1; r >= 0; --r) {
            const BYTE* row = data + 40 + 4 * colors + stored * r;
            pixels.insert(pixels.end(), row, row + rowBytes);
        }
        return pixels;
    }

    void ExpectSize(int session, UINT width, UINT height) {
        std::uint32_t w = 0;
        std::uint32_t h = 0;
        ASSERT_TRUE(library.cGetImageInfo(session, &w, &h, nullptr, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr));
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
    }

    ScopedComInit com;
    ImageLibrary& library = ProcessImageLibrary();
    ComPtr<IWICImagingFactory> factory;
    std::string dir;
    std::vector<std::string> files;
};

}  // namespace wictest
