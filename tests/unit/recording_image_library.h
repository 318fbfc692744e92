// An image library for the render tests: it records every call with its arguments and keeps
// a pretend image whose size follows the operations.
#pragma once

#include <cstdio>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "imagelib/image_library.h"

class RecordingImageLibrary final : public ImageLibrary {
public:
    // The image cLoadImage pretends to decode.
    std::uint32_t loadWidth = 800;
    std::uint32_t loadHeight = 600;
    std::uint8_t loadBits = 24;
    int loadGray = 0;
    bool loadFails = false;
    bool saveFails = false;
    bool newSessionFails = false;
    // A call whose name starts with this throws.
    std::string throwOn;
    // What cGetDIB hands out, and cGetEdgeColor.
    ByteArray dib;
    ColorRef edgeColor = 0x123456;

    std::vector<std::string> calls;
    // The loads and resizes of each session, in order (sessions may work on several threads).
    std::map<int, std::vector<std::string>> sessionCalls;
    // Calls come from the window's thread and the preparing worker at once.
    std::recursive_mutex lock;
    int liveSessions = 0;
    std::vector<std::uint8_t> loadedMask;

    int cNewSession() override {
        const std::lock_guard guard(lock);
        Record("cNewSession()");
        if (newSessionFails) {
            return 0;
        }
        ++liveSessions;
        return nextSession++;
    }
    int cDestroySession(int session) override {
        const std::lock_guard guard(lock);
        Record("cDestroySession(" + std::to_string(session) + ")");
        --liveSessions;
        return 1;
    }
    int cLoadImage(int session, const char* path, int page, int, int) override {
        const std::lock_guard guard(lock);
        Record("cLoadImage(" + std::string(path) + "," + std::to_string(page) + ")", session);
        images[session] = {loadWidth, loadHeight, loadBits, loadGray};
        return loadFails ? 0 : 1;
    }
    int cLoadImageAtLeast(int session, const char* path, int page, int w, int h) override {
        const std::lock_guard guard(lock);
        Record("cLoadImageAtLeast(" + std::string(path) + "," + std::to_string(page) + "," +
                   std::to_string(w) + "," + std::to_string(h) + ")",
               session);
        images[session] = {loadWidth, loadHeight, loadBits, loadGray};
        return loadFails ? 0 : 1;
    }
    int cGetImageInfo(int session, std::uint32_t* w, std::uint32_t* h, std::uint8_t* b, int*, int*,
                      int*, int* outline, int* g, int*, int*) override {
        const std::lock_guard guard(lock);
        Image& image = images[session];
        if (w)
            *w = image.width;
        if (h)
            *h = image.height;
        if (b)
            *b = image.bits;
        if (outline)
            *outline = 1;
        if (g)
            *g = image.gray;
        return 1;
    }
    int cGetImageFileInfo(const char*, int, int*, std::uint32_t*, std::uint32_t*, std::uint8_t*,
                          int*, LibraryString*, LibraryString*, LibraryString*, LibraryString*,
                          int*, int*, LibraryString*) override {
        const std::lock_guard guard(lock);
        return 0;
    }
    int cLoadThumbnail(int, const char*, int, int) override { return 0; }
    int cGetDIB(int, const ByteArray** array, int) override {
        const std::lock_guard guard(lock);
        Record("cGetDIB()");
        *array = &dib;
        return 1;
    }
    int cOpResize(int session, int w, int h, int keepAspect, int reserved, int method) override {
        const std::lock_guard guard(lock);
        Image& image = images[session];
        Record("cOpResize(" + std::to_string(w) + "," + std::to_string(h) + "," +
                   std::to_string(keepAspect) + "," + std::to_string(reserved) + "," +
                   std::to_string(method) + ")",
               session);
        image.width = static_cast<std::uint32_t>(w);
        image.height = static_cast<std::uint32_t>(h);
        return 1;
    }
    int cOpResizeToCover(int session, int w, int h, int method) override {
        return Placed(session, "cOpResizeToCover", w, h, std::to_string(method));
    }
    int cOpResizeFramed(int session, int w, int h, int method) override {
        return Placed(session, "cOpResizeFramed", w, h, std::to_string(method));
    }
    int cGetEdgeColor(int, ColorRef* color) override {
        const std::lock_guard guard(lock);
        Record("cGetEdgeColor()");
        *color = edgeColor;
        return 1;
    }
    int cOpPlaceOnColor(int session, int w, int h, ColorRef color) override {
        char hex[16];
        std::snprintf(hex, sizeof(hex), "%06X", color);
        return Placed(session, "cOpPlaceOnColor", w, h, hex);
    }
    int cOpRotateFine(int session, double angle) override {
        const std::lock_guard guard(lock);
        Image& image = images[session];
        char text[32];
        std::snprintf(text, sizeof(text), "cOpRotateFine(%.1f)", angle);
        Record(text);
        if (angle == 90.0 || angle == -90.0) {
            std::swap(image.width, image.height);
        }
        return 1;
    }
    int cOpReduceColors(int session, int colors, int b, int mode) override {
        const std::lock_guard guard(lock);
        Image& image = images[session];
        Record("cOpReduceColors(" + std::to_string(colors) + "," + std::to_string(b) + "," +
               std::to_string(mode) + ")");
        image.bits = 8;
        return 1;
    }
    int cOpIncreaseBitsPerPixel(int session, int b) override {
        const std::lock_guard guard(lock);
        Image& image = images[session];
        Record("cOpIncreaseBitsPerPixel(" + std::to_string(b) + ")");
        image.bits = 8;
        return 1;
    }
    int cOpGrayScale(int session) override {
        const std::lock_guard guard(lock);
        Image& image = images[session];
        Record("cOpGrayScale()");
        image.bits = 8;
        image.gray = 1;
        return 1;
    }
    int cLoadAlphaMask(int session, const std::uint8_t* mask) override {
        const std::lock_guard guard(lock);
        Image& image = images[session];
        Record("cLoadAlphaMask()");
        loadedMask.assign(mask, mask + static_cast<size_t>(image.width) * image.height);
        return 1;
    }
    int cMergeTransparency(int, ColorRef color) override {
        const std::lock_guard guard(lock);
        char text[48];
        std::snprintf(text, sizeof(text), "cMergeTransparency(%06X)", color);
        Record(text);
        return 1;
    }
    int cNewImage(int session, int w, int h, ColorRef color) override {
        const std::lock_guard guard(lock);
        char text[64];
        std::snprintf(text, sizeof(text), "cNewImage(%d,%d,%06X)", w, h, color);
        Record(text);
        images[session] = {static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), 24, 0};
        return 1;
    }
    int cPasteImage(int target, int source, int sx, int sy, int w, int h, int tx, int ty) override {
        const std::lock_guard guard(lock);
        char text[96];
        std::snprintf(text, sizeof(text), "cPasteImage(%d,%d,%d,%d,%d,%d,%d,%d)", target, source,
                      sx, sy, w, h, tx, ty);
        Record(text);
        return 1;
    }
    int cSave(int, const char* path, int format, int, int, int) override {
        const std::lock_guard guard(lock);
        Record("cSave(" + std::string(path) + "," + std::to_string(format) + ")");
        return saveFails ? 0 : 1;
    }

private:
    struct Image {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::uint8_t bits = 0;
        int gray = 0;
    };

    // An operation that leaves a 24-bit image of w x h, recorded with its last argument.
    int Placed(int session, const char* name, int w, int h, const std::string& last) {
        const std::lock_guard guard(lock);
        Record(std::string(name) + "(" + std::to_string(w) + "," + std::to_string(h) + "," + last +
                   ")",
               session);
        images[session] = {static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), 24, 0};
        return 1;
    }

    void Record(const std::string& call, int session = 0) {
        calls.push_back(call);
        if (session != 0) {
            sessionCalls[session].push_back(call);
        }
        if (!throwOn.empty() && call.rfind(throwOn, 0) == 0) {
            throw std::runtime_error("library failure");
        }
    }

    std::map<int, Image> images;
    int nextSession = 7;
};
