// The image library of the whole process: one session table that decodes through WIC.
#pragma once

#include "imagelib/image_library.h"

ImageLibrary& ProcessImageLibrary();
