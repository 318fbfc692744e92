// Masks that fade the wallpaper into the desktop background colour: edge masks from four
// percentages, file masks from a grayscale image, and the window of a mask under the image.
#pragma once

#include <optional>
#include <string>

#include "app/render_settings.h"
#include "imagelib/image_library.h"
#include "render/opacity_mask.h"

// The integer nearest to the square root of n (n >= 0).
int RoundedSqrt(int n);

// The edge mask of a width x height area from the settings' four band percentages, or nothing
// when edge masking is off, all bands are 0, the wallpaper is tiled, or the size is unusable.
std::optional<OpacityMask> BuildEdgeMask(const RenderSettings& settings, int width, int height);

// The mask file scaled to exactly width x height, its gray levels as opacities; nothing when
// the file is missing, does not decode, or the library fails.
std::optional<OpacityMask> LoadMaskFile(ImageLibrary& library, const std::string& maskFile,
                                        int width, int height);

// The part of a mask under a width x height picture centred on the mask's area. Pixels of the
// picture outside the mask's area stay fully opaque.
OpacityMask CutMaskWindow(const OpacityMask& mask, int width, int height);

// The desktop-size edge mask kept between renders. It remembers the size it was built for,
// so a mask of one size is never read as another.
class DesktopEdgeMask {
public:
    // Builds the mask for the desktop size when edge masking from the desktop edges is on and
    // no mask of that size is held.
    void Ensure(const RenderSettings& settings, int desktopWidth, int desktopHeight);
    // Forgets the mask (the settings changed).
    void Drop() { mask.reset(); }
    // The mask when it was built for exactly this size.
    const OpacityMask* For(int desktopWidth, int desktopHeight) const;

private:
    std::optional<OpacityMask> mask;
};

// The mask stage of a render: chooses the mask by the settings and blends the session's image
// (width x height) over the background colour by it. Never fails the render.
void ApplyMask(ImageLibrary& library, int session, const RenderSettings& settings, int width,
               int height, int desktopWidth, int desktopHeight, ColorRef background,
               const OpacityMask* desktopEdgeMask);
