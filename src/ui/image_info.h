// What the image library tells of an image file, for the information boxes.
#pragma once

#include <optional>
#include <string>

#include "imagelib/image_library.h"
#include "ui/main_window_controls.h"

// Width, height, page count and description, or nothing when the library cannot describe the
// file (or fails in any way).
std::optional<ImageInfo> GetImageInfo(ImageLibrary& library, const std::string& path);
