// The settings that shape a rendered wallpaper's pixels. The renderer reads only these, and a
// bitmap prepared ahead is used only while they are unchanged, so a field added here takes part
// in both.
#pragma once

#include <string>

// The resize modes that cover the display whatever the picture's shape: cropped around what
// matters, and fitted inside a blurred copy of the picture. Both keep the aspect ratio, and the
// picture is turned by its rotation before it is resized.
inline constexpr int kResizeCrop = 4;
inline constexpr int kResizeFrame = 5;

struct RenderSettings {
    // Resizing page. resizeMode 0 reduces large images, 1 fills the display, 2 and 3 resize to
    // a standard or custom size, 4 covers the display cropped around what matters, 5 fits inside
    // it framed by a blurred copy.
    int resizeMode = 0;
    int standardSizeIndex = 1;
    int customWidth = 800;
    int customHeight = 600;
    bool retainAspectRatio = true;
    int reductionMethod = 0;
    // Bars, masks and the uncovered desktop take the colour of the picture's edges instead of
    // the desktop colour.
    bool pictureColor = false;

    // Masking page: maskMode 0 edge mask, 1 file mask, 2 none; edges in percent.
    int maskMode = 2;
    int maskLeft = 0;
    int maskTop = 0;
    int maskRight = 0;
    int maskBottom = 0;
    std::string maskFile;
    bool maskImageOutline = false;

    // General page; a tiled wallpaper is never masked.
    bool tileWallpaper = false;
    // Photos are turned upright as the camera recorded (their EXIF or container orientation).
    bool uprightPhotos = true;

    // 0 one image for the whole desktop, 1 the same image on every monitor, 2 an image per
    // monitor, 3 one image spanning all monitors.
    int monitorMode = 0;

    // The same settings with the mask file cleared unless the mask comes from a file, so that
    // settings which render alike compare equal.
    RenderSettings Normalized() const {
        RenderSettings normalized = *this;
        if (maskMode != 1) {
            normalized.maskFile.clear();
        }
        return normalized;
    }

    bool operator==(const RenderSettings&) const = default;
};
