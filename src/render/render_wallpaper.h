// Turns one image file into the desktop wallpaper: decode a page, resize by the resizing
// policy, rotate, reduce colours for a palette display, mask, publish.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/render_settings.h"
#include "imagelib/cancellation.h"
#include "imagelib/image_library.h"
#include "imagelib/pixel_image.h"
#include "render/desktop.h"
#include "render/opacity_mask.h"
#include "render/prepared_wallpaper.h"
#include "render/show_picture.h"

// Size of a standard-size index; unknown indexes give 800 x 600.
ScreenSize StandardSize(int index);

// The custom size as the pipeline makes it: each side at most 16384 pixels and never more
// pixels than four desktops hold, the aspect kept when it must shrink. Zero stays zero.
ScreenSize ClampCustomSize(ScreenSize custom, ScreenSize desktop);
// The smallest size an image of that full size may be decoded at so that the resize step still
// reduces it to what it would make of the full image: nothing when the policy keeps, enlarges
// or stretches it beyond the full size in a side, or when the reduction method favours black
// or white (the full decode is needed then).
std::optional<ImageSize> DecodeSizeFor(ImageSize full, const RenderSettings& settings,
                                       ScreenSize desktop);
// The resize method the library is given for a reduction method setting.
int ResizeMethodFor(int reductionMethod);
// Degrees clockwise for a rotation code; 0 for codes that turn nothing.
double RotationAngleFor(int rotation);

struct RenderRequest {
    std::string path;
    int rotation = 0;
    int page = 0;
    // The cached desktop-size edge mask, or null; read only.
    const OpacityMask* desktopEdgeMask = nullptr;
};

// True when the wallpaper bitmap was written. Every failure, and every exception from the
// library, gives false; the session is destroyed on every path.
bool RenderWallpaper(const RenderRequest& request, const RenderSettings& settings,
                     const std::string& wallpaperFileSuffix, ImageLibrary& library,
                     Desktop& desktop);

// The display's size, depth and background colour, read now.
DesktopShape ReadDesktopShape(Desktop& desktop);

// Renders the inputs as RenderWallpaper renders a request, but leaves the bitmap beside the
// first of the places that takes it (its name followed by the suffix) instead of publishing it.
// Stops early, between bands of rows, when cancelled() turns true. Nothing on any failure; the
// report (when given) says when the picture rendered but no place took the bitmap, and when the
// inputs' filter left a picture out (judged against the size it is rendered for: the desktop,
// each monitor with a picture per monitor, the first monitor when every monitor shows the same
// picture, the bounding rectangle when it spans them).
std::optional<PreparedFile> RenderPreparedFile(const RenderInputs& inputs, std::string_view suffix,
                                               ImageLibrary& library, Desktop& desktop,
                                               const pixelops::CancelCheck& cancelled,
                                               RenderReport* report = nullptr);

// Renders the picture into the session as the lock screen shows it: for the primary monitor's
// full size (primary.size), resized as the policy says, unmasked and untiled, on a bitmap of
// exactly that size (what the picture leaves uncovered in the desktop colour, or with the
// picture's colour in its colour). False when the picture could not be read.
bool RenderForLockScreen(const ShowPicture& picture, const RenderSettings& settings,
                         const DesktopShape& primary, ImageLibrary& library, int session);
