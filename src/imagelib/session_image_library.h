// The image library over sessions: a table of independent sessions, each holding one current
// image, decoded through an ImageDecoder and changed by the portable pixel operations.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "imagelib/image_decoder.h"
#include "imagelib/image_library.h"

// Sessions may be used on different threads at once; one session is used by one thread at a
// time. No exception leaves any method: every failure, bad_alloc included, returns 0.
class SessionImageLibrary final : public ImageLibrary {
public:
    // The decoder must outlive the library and may be called on several threads at once.
    explicit SessionImageLibrary(ImageDecoder& decoder);
    ~SessionImageLibrary() override;

    int cNewSession() override;
    int cDestroySession(int session) override;
    int cLoadImage(int session, const char* path, int page, int reserved1, int reserved2) override;
    int cLoadImageAtLeast(int session, const char* path, int page, int minWidth,
                          int minHeight) override;
    int cGetImageInfo(int session, std::uint32_t* width, std::uint32_t* height,
                      std::uint8_t* bitsPerPixel, int* rowBytes, int* paletteColors, int* page,
                      int* outline, int* grayScale, int* pageCount, int* dibBytes) override;
    int cGetImageFileInfo(const char* path, int reserved, int* format, std::uint32_t* width,
                          std::uint32_t* height, std::uint8_t* bitsPerPixel, int* pageCount,
                          LibraryString* description, LibraryString* formatName,
                          LibraryString* mimeTypes, LibraryString* extensions, int* dpiX, int* dpiY,
                          LibraryString* codecName) override;
    int cLoadThumbnail(int session, const char* path, int maxWidth, int maxHeight) override;
    int cLoadThumbnailCancellable(int session, const char* path, int maxWidth, int maxHeight,
                                  std::stop_token cancel) override;
    int cGetDIB(int session, const ByteArray** array, int reserved) override;
    int cOpResize(int session, int width, int height, int keepAspect, int reserved,
                  int method) override;
    int cOpResizeToCover(int session, int width, int height, int method) override;
    int cOpResizeFramed(int session, int width, int height, int method) override;
    int cOpRotateFine(int session, double angle) override;
    int cOpReduceColors(int session, int maxColors, int bitsPerPixel, int mode) override;
    int cOpIncreaseBitsPerPixel(int session, int bitsPerPixel) override;
    int cOpGrayScale(int session) override;
    int cLoadAlphaMask(int session, const std::uint8_t* mask) override;
    int cMergeTransparency(int session, ColorRef color) override;
    int cGetEdgeColor(int session, ColorRef* color) override;
    int cOpPlaceOnColor(int session, int width, int height, ColorRef color) override;
    int cNewImage(int session, int width, int height, ColorRef color) override;
    int cPasteImage(int target, int source, int sourceX, int sourceY, int width, int height,
                    int targetX, int targetY) override;
    int cSave(int session, const char* path, int format, int reserved1, int reserved2,
              int reserved3) override;

    std::size_t SessionCount() const;

private:
    struct Session;

    std::shared_ptr<Session> Find(int session) const;
    // Runs the operation on the session's current image; 0 without a session or an image.
    template <typename Operation>
    int OnImage(int session, Operation operation) noexcept;
    // Loads the page the decode gives as the session's image.
    template <typename Decode>
    int Load(int session, const char* path, int page, Decode decode) noexcept;

    ImageDecoder& decoder;
    mutable std::mutex mutex;
    std::unordered_map<int, std::shared_ptr<Session>> sessions;
    int nextHandle = 1;
};
