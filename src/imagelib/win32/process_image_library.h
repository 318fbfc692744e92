// The image library of the whole process: one session table that decodes through the bundled
// decoders and WIC.
#pragma once

#include "imagelib/image_library.h"

ImageLibrary& ProcessImageLibrary();

// Whether the process's decodes turn photos upright as their files record.
void SetPhotosUpright(bool on);
