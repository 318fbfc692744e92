// Owner of one image-library session: destroyed on every path out of a render.
#pragma once

#include "imagelib/image_library.h"

class ImageSession {
public:
    explicit ImageSession(ImageLibrary& library)
        : library(library), handle(library.cNewSession()) {}
    ~ImageSession() {
        if (handle != 0) {
            library.cDestroySession(handle);
        }
    }
    ImageSession(const ImageSession&) = delete;
    ImageSession& operator=(const ImageSession&) = delete;

    int Handle() const { return handle; }
    explicit operator bool() const { return handle != 0; }

private:
    ImageLibrary& library;
    int handle;
};
