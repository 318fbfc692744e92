// The Windows-typed operations: each forwards to the process's SessionImageLibrary and turns
// its portable results into OLE Automation strings and arrays.
#include "imagelib/win32/image_library_api.h"

#include <climits>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "imagelib/session_image_library.h"
#include "imagelib/win32/wic_decoder.h"

namespace {

SessionImageLibrary& Library() {
    static WicDecoder decoder;
    static SessionImageLibrary library(decoder);
    return library;
}

BSTR ToBstr(const std::string& text) {
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(n));
    if (result != nullptr) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result, n);
    }
    return result;
}

}  // namespace

ImageLibrary& ProcessImageLibrary() {
    return Library();
}

int cNewSession() {
    return Library().cNewSession();
}

int cDestroySession(int session) {
    return Library().cDestroySession(session);
}

int cLoadImage(int session, const char* path, int page, int reserved1, int reserved2) {
    return Library().cLoadImage(session, path, page, reserved1, reserved2);
}

int cGetImageInfo(int session, UINT* width, UINT* height, BYTE* bitsPerPixel, int* rowBytes,
                  int* paletteColors, int* page, int* outline, int* grayScale, int* pageCount,
                  int* dibBytes) {
    static_assert(sizeof(UINT) == sizeof(std::uint32_t) && sizeof(BYTE) == 1);
    return Library().cGetImageInfo(session, width, height, bitsPerPixel, rowBytes, paletteColors,
                                   page, outline, grayScale, pageCount, dibBytes);
}

int cGetImageFileInfo(const char* path, int reserved, int* format, UINT* width, UINT* height,
                      BYTE* bitsPerPixel, int* pageCount, BSTR* description, BSTR* formatName,
                      BSTR* mimeTypes, BSTR* extensions, int* dpiX, int* dpiY, BSTR* codecName) {
    const std::initializer_list<BSTR*> outs = {description, formatName, mimeTypes, extensions,
                                               codecName};
    for (BSTR* out : outs) {
        if (out != nullptr) {
            *out = nullptr;
        }
    }
    try {
        LibraryString texts[5];
        if (!Library().cGetImageFileInfo(path, reserved, format, width, height, bitsPerPixel,
                                         pageCount, &texts[0], &texts[1], &texts[2], &texts[3],
                                         dpiX, dpiY, &texts[4])) {
            return 0;
        }
        int i = 0;
        bool ok = true;
        for (BSTR* out : outs) {
            const std::string& text = texts[i++];
            if (out != nullptr) {
                *out = ToBstr(text);
                ok = ok && *out != nullptr;
            }
        }
        if (ok) {
            return 1;
        }
    } catch (...) {
    }
    for (BSTR* out : outs) {
        if (out != nullptr) {
            SysFreeString(*out);
            *out = nullptr;
        }
    }
    return 0;
}

int cLoadThumbnail(int session, const char* path, int maxWidth, int maxHeight) {
    return Library().cLoadThumbnail(session, path, maxWidth, maxHeight);
}

int cGetDIB(int session, SAFEARRAY** array, int reserved) {
    try {
        if (array == nullptr) {
            return 0;
        }
        const ByteArray* bytes = nullptr;
        if (!Library().cGetDIB(session, &bytes, reserved) || bytes->size() > ULONG_MAX) {
            return 0;
        }
        SAFEARRAY* created = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes->size()));
        if (created == nullptr) {
            return 0;
        }
        // Owned from here on; the session frees it when it is destroyed.
        std::shared_ptr<void> owner(created,
                                    [](void* p) { SafeArrayDestroy(static_cast<SAFEARRAY*>(p)); });
        void* data = nullptr;
        if (FAILED(SafeArrayAccessData(created, &data))) {
            return 0;
        }
        std::memcpy(data, bytes->data(), bytes->size());
        SafeArrayUnaccessData(created);
        if (!Library().KeepUntilDestroyed(session, std::move(owner))) {
            return 0;
        }
        *array = created;
        return 1;
    } catch (...) {
        return 0;
    }
}

int cOpResize(int session, int width, int height, int keepAspect, int reserved, int method) {
    return Library().cOpResize(session, width, height, keepAspect, reserved, method);
}

int cOpRotateFine(int session, double angle) {
    return Library().cOpRotateFine(session, angle);
}

int cOpReduceColors(int session, int maxColors, int bitsPerPixel, int mode) {
    return Library().cOpReduceColors(session, maxColors, bitsPerPixel, mode);
}

int cOpIncreaseBitsPerPixel(int session, int bitsPerPixel) {
    return Library().cOpIncreaseBitsPerPixel(session, bitsPerPixel);
}

int cOpGrayScale(int session) {
    return Library().cOpGrayScale(session);
}

int cLoadAlphaMask(int session, const BYTE* mask) {
    return Library().cLoadAlphaMask(session, mask);
}

int cMergeTransparency(int session, COLORREF color) {
    return Library().cMergeTransparency(session, color);
}

int cSave(int session, const char* path, int format, int reserved1, int reserved2, int reserved3) {
    return Library().cSave(session, path, format, reserved1, reserved2, reserved3);
}
