#include "imagelib/win32/process_image_library.h"

#include "imagelib/session_image_library.h"
#include "imagelib/win32/wic_decoder.h"

ImageLibrary& ProcessImageLibrary() {
    static WicDecoder decoder;
    static SessionImageLibrary library(decoder);
    return library;
}
