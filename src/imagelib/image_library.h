// The port through which Velumar calls the image library: one method per library operation,
// with the operation's name and argument list, in portable types: byte arrays as ByteArray,
// texts as LibraryString, colours as ColorRef. Every method returns nonzero on success and 0 on
// failure, and never throws.
#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

// A byte array handed out by cGetDIB; it belongs to the session and lives until the session is
// destroyed.
using ByteArray = std::vector<std::uint8_t>;
// A text handed out by cGetImageFileInfo, in the narrow code page of paths.
using LibraryString = std::string;
// A colour as 0x00BBGGRR.
using ColorRef = std::uint32_t;

// Methods of cOpResize.
inline constexpr int kResizeEliminatePixels = 0;
inline constexpr int kResizeFavorBlack = 1;
inline constexpr int kResizeFavorWhite = 2;
inline constexpr int kResizeAverageColors = 3;

// The file type of cSave that writes a Windows bitmap file.
inline constexpr int kSaveBitmap = 2;

class ImageLibrary {
public:
    virtual ~ImageLibrary() = default;

    // A new session holding no image: its handle, or 0.
    virtual int cNewSession() = 0;
    // Frees the session, its image and every array cGetDIB handed out for it.
    virtual int cDestroySession(int session) = 0;

    // Decodes that page of the file (0 is the first) as the session's image. The last two
    // arguments are unused (0). A failed load leaves the session without an image.
    virtual int cLoadImage(int session, const char* path, int page, int reserved1,
                           int reserved2) = 0;
    // As cLoadImage, but the codec may decode at a reduced scale that is still at least
    // minWidth x minHeight, where it offers one.
    virtual int cLoadImageAtLeast(int session, const char* path, int page, int minWidth,
                                  int minHeight) = 0;

    // The current image. Any pointer may be null. The four integers are: bytes of one stored
    // row of the packed bitmap, palette colours (0 without a palette), the page that was
    // decoded, and the outline flag, which is always 1 because every image's outline is its own
    // rectangle. Then the gray flag (nonzero when pixel values are gray levels), the page count
    // of the file and the size in bytes of the packed bitmap cGetDIB would hand out.
    virtual int cGetImageInfo(int session, std::uint32_t* width, std::uint32_t* height,
                              std::uint8_t* bitsPerPixel, int* rowBytes, int* paletteColors,
                              int* page, int* outline, int* grayScale, int* pageCount,
                              int* dibBytes) = 0;

    // What a file holds, without a session: its format (ImageFileFormat), the size and bits per
    // pixel of its first page as stored, its page count, a description for the user, the
    // format's short name, MIME types and file extensions, the resolution in dots per inch and
    // the decoder's name. Any pointer may be null.
    virtual int cGetImageFileInfo(const char* path, int reserved, int* format, std::uint32_t* width,
                                  std::uint32_t* height, std::uint8_t* bitsPerPixel, int* pageCount,
                                  LibraryString* description, LibraryString* formatName,
                                  LibraryString* mimeTypes, LibraryString* extensions, int* dpiX,
                                  int* dpiY, LibraryString* codecName) = 0;

    // Decodes the first page reduced to fit inside maxWidth x maxHeight with its aspect ratio;
    // a smaller image keeps its size.
    virtual int cLoadThumbnail(int session, const char* path, int maxWidth, int maxHeight) = 0;
    // As cLoadThumbnail, but fails once cancel is requested, as early as the decode can stop.
    virtual int cLoadThumbnailCancellable(int session, const char* path, int maxWidth,
                                          int maxHeight, std::stop_token cancel) {
        return cancel.stop_requested() ? 0 : cLoadThumbnail(session, path, maxWidth, maxHeight);
    }

    // The current image as a packed bitmap: a 40-byte info header, clrUsed colour entries (256
    // when clrUsed is 0 at 8 bits), then the rows bottom-up, each padded to 4 bytes. The array
    // belongs to the session.
    virtual int cGetDIB(int session, const ByteArray** array, int reserved) = 0;

    // Resizes to width x height (keepAspect 0) or to the largest size of the image's aspect
    // ratio inside that box (keepAspect 1), by a kResize... method. The fourth argument is
    // unused (1).
    virtual int cOpResize(int session, int width, int height, int keepAspect, int reserved,
                          int method) = 0;
    // Scales to cover width x height with the image's aspect ratio and cuts off what overflows,
    // keeping the part where the picture's interest lies, by a kResize... method.
    virtual int cOpResizeToCover(int session, int width, int height, int method) = 0;
    // Makes the image a 24-bit width x height image: the image fitted inside it as cOpResize
    // with keepAspect 1 fits it, centred, on a blurred and darkened copy of itself that covers
    // the rest.
    virtual int cOpResizeFramed(int session, int width, int height, int method) = 0;
    // Turns by the angle in degrees, clockwise when positive. Only whole quarter turns are
    // done; any other angle fails and leaves the image as it was.
    virtual int cOpRotateFine(int session, double angle) = 0;
    // At most maxColors colours (1 to 256) in an 8-bit palette image; bitsPerPixel must be 8.
    // The mode is unused (1).
    virtual int cOpReduceColors(int session, int maxColors, int bitsPerPixel, int mode) = 0;
    // Gives at least that many bits per pixel: 8 or fewer leave the image as it is (it never
    // has fewer than 8), 24 makes it 24-bit colour; other values fail.
    virtual int cOpIncreaseBitsPerPixel(int session, int bitsPerPixel) = 0;
    // Makes the image 8 bits per pixel whose values are gray levels.
    virtual int cOpGrayScale(int session) = 0;

    // The opacity mask of the current image: one byte per pixel, rows from the top, no
    // padding; 255 opaque, 0 transparent. The buffer is read, not copied, until
    // cMergeTransparency returns.
    virtual int cLoadAlphaMask(int session, const std::uint8_t* mask) = 0;
    // Blends the image over the colour by the loaded mask. A palette image is reduced again to
    // its colour limit afterwards, so it stays 8 bits per pixel.
    virtual int cMergeTransparency(int session, ColorRef color) = 0;

    // The average colour of the image's outermost rows and columns.
    virtual int cGetEdgeColor(int session, ColorRef* color) = 0;
    // Makes the image a 24-bit width x height image of the colour with the image centred on it
    // (its left edge at (width - its width) / 2 rounded towards zero, and so its top edge); what
    // lies outside is cut off.
    virtual int cOpPlaceOnColor(int session, int width, int height, ColorRef color) = 0;

    // Makes the session's image a 24-bit image of that size in one colour.
    virtual int cNewImage(int session, int width, int height, ColorRef color) = 0;
    // Copies a width x height area of the source session's image into the target session's
    // 24-bit image at (targetX, targetY). The area's pixel (x, y) is the source's pixel
    // ((sourceX + x) mod its width, (sourceY + y) mod its height): a smaller source repeats.
    // Fails, copying nothing, when the area does not lie inside the target.
    virtual int cPasteImage(int target, int source, int sourceX, int sourceY, int width, int height,
                            int targetX, int targetY) = 0;

    // Writes the image to the file in a format; only kSaveBitmap is known. The last three
    // arguments are unused (0).
    virtual int cSave(int session, const char* path, int format, int reserved1, int reserved2,
                      int reserved3) = 0;

protected:
    ImageLibrary() = default;
    ImageLibrary(const ImageLibrary&) = default;
    ImageLibrary& operator=(const ImageLibrary&) = default;
};
