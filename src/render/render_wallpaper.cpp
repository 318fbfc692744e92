// Turns one image file into the desktop wallpaper.
#include "render/render_wallpaper.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <memory>
#include <thread>

#include "imagelib/image_header.h"
#include "imagelib/orientation.h"
#include "imagelib/resize.h"
#include "render/image_session.h"
#include "render/masking.h"
#include "render/publish.h"

namespace {

struct ImageShape {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint8_t bitsPerPixel = 0;
};

ImageShape ReadShape(ImageLibrary& library, int session) {
    ImageShape shape;
    library.cGetImageInfo(session, &shape.width, &shape.height, &shape.bitsPerPixel, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    return shape;
}

// The box the resizing policy scales an image of the given size to, or nothing when it keeps
// its size (the default policy only reduces images larger than the desktop).
std::optional<ScreenSize> ResizeBox(const RenderSettings& settings, ScreenSize desktop,
                                    std::uint32_t width, std::uint32_t height) {
    switch (settings.resizeMode) {
        case 0:
            if (width <= static_cast<std::uint32_t>(desktop.width) &&
                height <= static_cast<std::uint32_t>(desktop.height)) {
                return std::nullopt;
            }
            return desktop;
        case 2:
            return StandardSize(settings.standardSizeIndex);
        case 3:
            return ClampCustomSize({settings.customWidth, settings.customHeight}, desktop);
        default:
            return desktop;
    }
}

// The resize step: the image changes only when it is not already the policy's box.
void Resize(ImageLibrary& library, int session, const RenderSettings& settings, ScreenSize desktop,
            const ImageShape& shape) {
    const auto box = ResizeBox(settings, desktop, shape.width, shape.height);
    if (!box || (shape.width == static_cast<std::uint32_t>(box->width) &&
                 shape.height == static_cast<std::uint32_t>(box->height))) {
        return;
    }
    const int method = ResizeMethodFor(settings.reductionMethod);
    switch (settings.resizeMode) {
        case kResizeCrop:
            library.cOpResizeToCover(session, box->width, box->height, method);
            break;
        case kResizeFrame:
            library.cOpResizeFramed(session, box->width, box->height, method);
            break;
        default:
            library.cOpResize(session, box->width, box->height, settings.retainAspectRatio ? 1 : 0,
                              1, method);
    }
}

// The modes that cover the display turn the picture first, so that it covers the display as
// the user sees it.
bool TurnsBeforeResizing(const RenderSettings& settings) {
    return settings.resizeMode == kResizeCrop || settings.resizeMode == kResizeFrame;
}

bool TurnsAQuarter(int rotation) {
    const double angle = RotationAngleFor(rotation);
    return angle == 90.0 || angle == -90.0;
}

}  // namespace

ScreenSize StandardSize(int index) {
    // New sizes go at the end: a stored index keeps its size.
    static constexpr ScreenSize kSizes[] = {{640, 480},  {800, 600},   {1024, 768},  {1152, 864},
                                            {1152, 882}, {1280, 1024}, {1600, 1200}, {1280, 720},
                                            {1366, 768}, {1920, 1080}, {2560, 1440}, {3840, 2160}};
    if (index < 0 || index >= static_cast<int>(std::size(kSizes))) {
        return {800, 600};
    }
    return kSizes[index];
}

ScreenSize ClampCustomSize(ScreenSize custom, ScreenSize desktop) {
    constexpr double kMaxSide = 16384;
    double width = custom.width;
    double height = custom.height;
    if (width <= 0 || height <= 0) {
        return custom;
    }
    const double maxPixels =
        4.0 * std::max(desktop.width, 1) * static_cast<double>(std::max(desktop.height, 1));
    double scale = std::min({1.0, kMaxSide / width, kMaxSide / height});
    if (width * scale * height * scale > maxPixels) {
        scale = std::sqrt(maxPixels / (width * height));
    }
    return {std::max(1, static_cast<int>(width * scale)),
            std::max(1, static_cast<int>(height * scale))};
}

std::optional<ImageSize> DecodeSizeFor(ImageSize full, const RenderSettings& settings,
                                       ScreenSize desktop) {
    // "Favor Black" and "Favor White" keep thin dark or light detail, which a codec's averaging
    // scale-down would already have blurred away: they need the full image.
    const int method = ResizeMethodFor(settings.reductionMethod);
    if (method == kResizeFavorBlack || method == kResizeFavorWhite) {
        return std::nullopt;
    }
    const auto resized = ResizeBox(settings, desktop, full.width, full.height);
    if (!resized) {
        return std::nullopt;
    }
    const ScreenSize box = *resized;
    if (full.width == 0 || full.height == 0 || box.width <= 0 || box.height <= 0) {
        return std::nullopt;
    }
    const ImageSize target{static_cast<std::uint32_t>(box.width),
                           static_cast<std::uint32_t>(box.height)};
    ImageSize needed = target;
    if (settings.resizeMode == kResizeCrop) {
        // Covering: the side that overflows keeps the image's shape, rounded up.
        const std::uint64_t w = full.width;
        const std::uint64_t h = full.height;
        if (w * target.height > h * target.width) {
            needed.width = static_cast<std::uint32_t>((w * target.height + h - 1) / h);
        } else {
            needed.height = static_cast<std::uint32_t>((h * target.width + w - 1) / w);
        }
    } else if (settings.retainAspectRatio || settings.resizeMode == kResizeFrame) {
        needed = pixelops::FitInside(full, target);
    }
    if (needed.width >= full.width || needed.height >= full.height) {
        return std::nullopt;
    }
    return needed;
}

int ResizeMethodFor(int reductionMethod) {
    return reductionMethod >= 0 && reductionMethod <= 2 ? reductionMethod : kResizeAverageColors;
}

double RotationAngleFor(int rotation) {
    switch (rotation) {
        case 1:
            return -90.0;
        case 2:
            return 90.0;
        case 3:
            return 180.0;
        default:
            return 0.0;
    }
}

namespace {

enum class Outcome { Done, Failed, Filtered };

// Whether the filter leaves out a picture of that upright size once the entry's rotation turns
// it.
bool LeftOut(const PictureFilter& filter, ImageSize upright, int rotation, ScreenSize target) {
    if (TurnsAQuarter(rotation)) {
        std::swap(upright.width, upright.height);
    }
    return FilteredOut(filter, upright.width, upright.height, target);
}

// Loads the request's page into the session, at a reduced scale where the codec offers one and
// the resize step would reduce the image to no more than that anyway. Only the first page's
// size is known before decoding: a picture the filter leaves out for the target is given up
// there, and only when no header tells the size is the decoded picture judged.
Outcome LoadForRender(const RenderRequest& request, const RenderSettings& settings,
                      ScreenSize desktop, ImageLibrary& library, int handle,
                      const PictureFilter& filter = {}, ScreenSize filterTarget = {}) {
    std::optional<ImageSize> atLeast;
    bool judged = filter.Off();
    if (request.page == 0) {
        FileBytes file(request.path);
        if (std::optional<ImageHeader> header = ReadImageHeader(file)) {
            // The size asked for is the upright picture's; the resize step may see it turned.
            ImageSize full{header->width, header->height};
            if (settings.uprightPhotos && pixelops::SwapsSides(header->orientation)) {
                std::swap(full.width, full.height);
            }
            if (LeftOut(filter, full, request.rotation, filterTarget)) {
                return Outcome::Filtered;
            }
            judged = true;
            const bool turned = TurnsBeforeResizing(settings) && TurnsAQuarter(request.rotation);
            if (turned) {
                std::swap(full.width, full.height);
            }
            atLeast = DecodeSizeFor(full, settings, desktop);
            if (atLeast && turned) {
                std::swap(atLeast->width, atLeast->height);
            }
        }
    }
    const bool loaded =
        atLeast ? library.cLoadImageAtLeast(handle, request.path.c_str(), request.page,
                                            static_cast<int>(atLeast->width),
                                            static_cast<int>(atLeast->height)) != 0
                : library.cLoadImage(handle, request.path.c_str(), request.page, 0, 0) != 0;
    if (!loaded) {
        return Outcome::Failed;
    }
    if (!judged) {
        // Loaded whole (no reduced scale without a header), and turned upright by the decoder.
        const ImageShape shape = ReadShape(library, handle);
        if (LeftOut(filter, {shape.width, shape.height}, request.rotation, filterTarget)) {
            return Outcome::Filtered;
        }
    }
    return Outcome::Done;
}

// Resizes, rotates, reduces and masks the page loaded in the session. With the picture's colour,
// the masks fade into the colour of its edges, and a picture that leaves part of the display
// uncovered is placed on a display-sized bitmap of that colour.
void FinishInSession(const RenderRequest& request, const RenderSettings& settings,
                     const DesktopShape& desktop, ImageLibrary& library, int handle) {
    ColorRef background = desktop.background;
    if (settings.pictureColor && !library.cGetEdgeColor(handle, &background)) {
        background = desktop.background;
    }
    const double angle = RotationAngleFor(request.rotation);
    const bool turnFirst = TurnsBeforeResizing(settings);
    if (turnFirst && angle != 0.0) {
        library.cOpRotateFine(handle, angle);
    }
    Resize(library, handle, settings, desktop.size, ReadShape(library, handle));
    ImageShape shape = ReadShape(library, handle);
    if (!turnFirst && angle != 0.0) {
        library.cOpRotateFine(handle, angle);
        shape = ReadShape(library, handle);
    }
    const auto reduceForPalette = [&] {
        if (desktop.bitsPerPixel <= 8 && shape.bitsPerPixel > 8) {
            library.cOpReduceColors(handle, 248, 8, 1);
            shape = ReadShape(library, handle);
        }
    };
    reduceForPalette();
    ApplyMask(library, handle, settings, static_cast<int>(shape.width),
              static_cast<int>(shape.height), desktop.size.width, desktop.size.height, background,
              request.desktopEdgeMask);
    // A tiled picture repeats over the display; it has no bars to paint.
    if (settings.pictureColor && !settings.tileWallpaper &&
        (shape.width != static_cast<std::uint32_t>(desktop.size.width) ||
         shape.height != static_cast<std::uint32_t>(desktop.size.height)) &&
        library.cOpPlaceOnColor(handle, desktop.size.width, desktop.size.height, background)) {
        shape = ReadShape(library, handle);
        reduceForPalette();
    }
}

// Copies the picture in the session (its size given), centred on the monitor or tiled from the
// monitor's top-left corner, into the canvas at the monitor's pieces of the bitmap.
bool PastePicture(ImageLibrary& library, int canvas, int picture, ScreenSize pictureSize,
                  const MonitorRect& monitor, ScreenSize bitmap, bool tiled) {
    if (pictureSize.width <= 0 || pictureSize.height <= 0) {
        return false;
    }
    // The monitor's pixel (x, y) shows the picture's pixel (x - originX, y - originY); the
    // library repeats the picture where a tiled area goes past it.
    const int originX = tiled ? 0 : (monitor.Width() - pictureSize.width) / 2;
    const int originY = tiled ? 0 : (monitor.Height() - pictureSize.height) / 2;
    for (const PlacedPiece& piece : PlaceMonitor(monitor, bitmap)) {
        int left = piece.sourceX;
        int top = piece.sourceY;
        int right = left + piece.width;
        int bottom = top + piece.height;
        if (!tiled) {
            left = std::max(left, originX);
            top = std::max(top, originY);
            right = std::min(right, originX + pictureSize.width);
            bottom = std::min(bottom, originY + pictureSize.height);
        }
        if (left >= right || top >= bottom) {
            continue;
        }
        if (!library.cPasteImage(canvas, picture, left - originX, top - originY, right - left,
                                 bottom - top, piece.targetX + left - piece.sourceX,
                                 piece.targetY + top - piece.sourceY)) {
            return false;
        }
    }
    return true;
}

// Renders the picture for one monitor's size, as the whole desktop is rendered in mode 0, into
// the session; the filter judges it against the target's size.
Outcome RenderForMonitor(const RenderInputs& inputs, const ShowPicture& picture,
                         const MonitorRect& monitor, ScreenSize filterTarget, int session,
                         ImageLibrary& library, const pixelops::CancelCheck& cancelled) {
    const RenderSettings& settings = inputs.settings;
    const DesktopShape shape{{monitor.Width(), monitor.Height()},
                             inputs.desktop.bitsPerPixel,
                             inputs.desktop.background};
    DesktopEdgeMask edgeMask;
    edgeMask.Ensure(settings, shape.size.width, shape.size.height);
    const RenderRequest request{picture.path, picture.rotation, picture.page,
                                edgeMask.For(shape.size.width, shape.size.height)};
    const Outcome loaded =
        LoadForRender(request, settings, shape.size, library, session, inputs.filter, filterTarget);
    if (loaded != Outcome::Done || cancelled()) {
        return loaded == Outcome::Done ? Outcome::Failed : loaded;
    }
    FinishInSession(request, settings, shape, library, session);
    return cancelled() ? Outcome::Failed : Outcome::Done;
}

// Renders the monitors' pictures, each in its own session, as many at a time as the machine
// has cores (the decodes then run side by side); Filtered when the filter left any of them out,
// else Failed when any of them fails. Every thread has ended when this returns.
Outcome RenderForMonitors(const RenderInputs& inputs, const std::vector<MonitorRect>& areas,
                          std::size_t first, const std::vector<std::unique_ptr<ImageSession>>& into,
                          ImageLibrary& library, const pixelops::CancelCheck& cancelled) {
    // The same picture on every monitor is judged against the first; a spanning picture against
    // the whole rectangle, its one area.
    const MonitorRect& sameTarget = areas.front();
    const auto render = [&](std::size_t k) {
        const std::size_t i = first + k;
        const ShowPicture picture = inputs.settings.monitorMode == 2
                                        ? PictureForMonitor(inputs, i)
                                        : ShowPicture{inputs.path, inputs.rotation, inputs.page};
        const MonitorRect& target = inputs.settings.monitorMode == 1 ? sameTarget : areas[i];
        try {
            const pixelops::CancelScope scope(&cancelled);
            return RenderForMonitor(inputs, picture, areas[i], {target.Width(), target.Height()},
                                    into[k]->Handle(), library, cancelled);
        } catch (...) {
            return Outcome::Failed;
        }
    };
    std::vector<std::future<Outcome>> others;
    for (std::size_t k = 1; k < into.size(); ++k) {
        others.push_back(std::async(std::launch::async | std::launch::deferred, render, k));
    }
    Outcome rendered = render(0);
    for (std::future<Outcome>& other : others) {
        const Outcome one = other.get();
        if (one == Outcome::Filtered || (one == Outcome::Failed && rendered == Outcome::Done)) {
            rendered = one;
        }
    }
    return rendered;
}

// One bitmap of the monitors' bounding rectangle in the desktop colour, each monitor's picture
// at its place (in the spanning mode one picture for the whole rectangle). Any picture that
// fails fails the whole; so does one the filter leaves out, which the report then tells.
std::optional<PreparedFile> RenderComposition(const RenderInputs& inputs, std::string_view suffix,
                                              ImageLibrary& library, Desktop& desktop,
                                              const pixelops::CancelCheck& cancelled,
                                              RenderReport* report) {
    const MonitorRect bounds = BoundingRect(inputs.monitors);
    const ScreenSize bitmap{bounds.Width(), bounds.Height()};
    const bool spanning = inputs.settings.monitorMode == 3;
    const std::vector<MonitorRect> areas =
        spanning ? std::vector<MonitorRect>{bounds} : inputs.monitors;
    ImageSession canvas(library);
    if (!canvas || inputs.places.empty() ||
        !library.cNewImage(canvas.Handle(), bitmap.width, bitmap.height,
                           inputs.desktop.background)) {
        return std::nullopt;
    }
    // A monitor's picture lives only until it is copied into the canvas.
    const std::size_t atOnce = std::max(1u, std::thread::hardware_concurrency());
    for (std::size_t first = 0; first < areas.size(); first += atOnce) {
        std::vector<std::unique_ptr<ImageSession>> sessions;
        for (std::size_t i = first; i < std::min(areas.size(), first + atOnce); ++i) {
            sessions.push_back(std::make_unique<ImageSession>(library));
            if (!*sessions.back()) {
                return std::nullopt;
            }
        }
        const Outcome rendered =
            RenderForMonitors(inputs, areas, first, sessions, library, cancelled);
        if (rendered != Outcome::Done) {
            if (report != nullptr && rendered == Outcome::Filtered) {
                report->filtered = true;
            }
            return std::nullopt;
        }
        for (std::size_t k = 0; k < sessions.size(); ++k) {
            const ImageShape done = ReadShape(library, sessions[k]->Handle());
            if (!PastePicture(library, canvas.Handle(), sessions[k]->Handle(),
                              {static_cast<int>(done.width), static_cast<int>(done.height)},
                              areas[first + k], bitmap, inputs.settings.tileWallpaper)) {
                return std::nullopt;
            }
        }
    }
    // A bitmap file has one palette: the pictures reduced each for itself are reduced together.
    if (inputs.desktop.bitsPerPixel <= 8) {
        library.cOpReduceColors(canvas.Handle(), 248, 8, 1);
    }
    if (cancelled()) {
        return std::nullopt;
    }
    return SaveBeside(library, canvas.Handle(), inputs.places, suffix, inputs.outputFolder, desktop,
                      report != nullptr ? &report->saveFailure : nullptr);
}

}  // namespace

DesktopShape ReadDesktopShape(Desktop& desktop) {
    return {desktop.DesktopSize(), desktop.BitsPerPixel(), desktop.BackgroundColor()};
}

bool RenderWallpaper(const RenderRequest& request, const RenderSettings& settings,
                     const std::string& wallpaperFileSuffix, ImageLibrary& library,
                     Desktop& desktop) {
    try {
        ImageSession session(library);
        if (!session) {
            return false;
        }
        if (LoadForRender(request, settings, desktop.DesktopSize(), library, session.Handle()) !=
            Outcome::Done) {
            return false;
        }
        const std::vector<std::string> files =
            WallpaperFileCandidates(desktop, wallpaperFileSuffix);
        if (files.empty()) {
            return false;
        }
        FinishInSession(request, settings, ReadDesktopShape(desktop), library, session.Handle());
        // Saved and published as the program publishes a prepared bitmap.
        RenderInputs inputs;
        inputs.settings = settings;
        inputs.places = files;
        inputs.outputFolder = desktop.OutputFolder();
        const std::optional<PreparedFile> file = SaveBeside(
            library, session.Handle(), files, kTemporarySuffix, inputs.outputFolder, desktop);
        if (!file) {
            return false;
        }
        if (PublishRendered(*file, inputs, desktop)) {
            return true;
        }
        desktop.RemoveFile(file->prepared);
        return false;
    } catch (...) {
        // The session's owner has destroyed it on the way out.
        return false;
    }
}

std::optional<PreparedFile> RenderPreparedFile(const RenderInputs& inputs, std::string_view suffix,
                                               ImageLibrary& library, Desktop& desktop,
                                               const pixelops::CancelCheck& cancelled,
                                               RenderReport* report) {
    // The library's row loops on this thread stop early once the render is no longer wanted.
    const pixelops::CancelScope scope(&cancelled);
    try {
        if (!inputs.monitors.empty()) {
            return RenderComposition(inputs, suffix, library, desktop, cancelled, report);
        }
        const RenderSettings& settings = inputs.settings;
        const ScreenSize size = inputs.desktop.size;
        DesktopEdgeMask edgeMask;
        edgeMask.Ensure(settings, size.width, size.height);
        const RenderRequest request{inputs.path, inputs.rotation, inputs.page,
                                    edgeMask.For(size.width, size.height)};
        ImageSession session(library);
        if (!session || inputs.places.empty()) {
            return std::nullopt;
        }
        const Outcome loaded =
            LoadForRender(request, settings, size, library, session.Handle(), inputs.filter, size);
        if (loaded != Outcome::Done || cancelled()) {
            if (report != nullptr && loaded == Outcome::Filtered) {
                report->filtered = true;
            }
            return std::nullopt;
        }
        FinishInSession(request, settings, inputs.desktop, library, session.Handle());
        if (cancelled()) {
            return std::nullopt;
        }
        return SaveBeside(library, session.Handle(), inputs.places, suffix, inputs.outputFolder,
                          desktop, report != nullptr ? &report->saveFailure : nullptr);
    } catch (...) {
        return std::nullopt;
    }
}

bool RenderForLockScreen(const ShowPicture& picture, const RenderSettings& settings,
                         const DesktopShape& primary, ImageLibrary& library, int session) {
    RenderSettings unmasked = settings;
    unmasked.maskMode = 2;
    unmasked.tileWallpaper = false;
    unmasked.monitorMode = 0;
    // Written as a JPEG: never reduced to a palette.
    DesktopShape shape = primary;
    shape.bitsPerPixel = 32;
    const RenderRequest request{picture.path, picture.rotation, picture.page, nullptr};
    try {
        if (shape.size.width <= 0 || shape.size.height <= 0 ||
            LoadForRender(request, unmasked, shape.size, library, session) != Outcome::Done) {
            return false;
        }
        FinishInSession(request, unmasked, shape, library, session);
        const ImageShape done = ReadShape(library, session);
        if (done.width != static_cast<std::uint32_t>(shape.size.width) ||
            done.height != static_cast<std::uint32_t>(shape.size.height)) {
            library.cOpPlaceOnColor(session, shape.size.width, shape.size.height, shape.background);
        }
        // A JPEG takes colour pixels, whatever form the picture came in.
        return library.cOpIncreaseBitsPerPixel(session, 24) != 0;
    } catch (...) {
        return false;
    }
}
