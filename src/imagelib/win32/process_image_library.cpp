#include "imagelib/win32/process_image_library.h"

#include "imagelib/photo_decoder.h"
#include "imagelib/session_image_library.h"
#include "imagelib/win32/wic_decoder.h"

namespace {

PhotoDecoder& ProcessDecoder() {
    static WicDecoder system;
    static PhotoDecoder decoder(system);
    return decoder;
}

}  // namespace

ImageLibrary& ProcessImageLibrary() {
    static SessionImageLibrary library(ProcessDecoder());
    return library;
}

void SetPhotosUpright(bool on) {
    ProcessDecoder().SetUpright(on);
}
