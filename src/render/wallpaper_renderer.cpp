// Shows an item as the wallpaper, prepared ahead where it can be.
#include "render/wallpaper_renderer.h"

#include <utility>

#include "render/publish.h"
#include "render/render_wallpaper.h"

WallpaperRenderer::WallpaperRenderer(ImageLibrary& library, Desktop& desktop, StampOf stampOf,
                                     std::string wallpaperFileSuffix)
    : library(library),
      desktop(desktop),
      stampOf(std::move(stampOf)),
      wallpaperFileSuffix(std::move(wallpaperFileSuffix)),
      preparer(
          [this](const RenderInputs& inputs, const std::function<bool()>& cancelled) {
              return RenderPreparedFile(inputs, this->library, this->desktop, cancelled);
          },
          [this](const std::string& path) { this->desktop.RemoveFile(path); }) {}

RenderInputs WallpaperRenderer::InputsFor(const std::string& path, int rotation, int page,
                                          const RenderSettings& settings) {
    RenderInputs inputs =
        MakeRenderInputs(path, page, rotation, settings, ReadDesktopShape(desktop), stampOf);
    inputs.places = WallpaperFileCandidates(desktop, wallpaperFileSuffix);
    inputs.appData = desktop.LocalAppDataFolder();
    return inputs;
}

bool WallpaperRenderer::Show(const std::string& path, int rotation, int page,
                             const RenderSettings& settings) {
    if (std::optional<PreparedFile> prepared =
            preparer.Take(InputsFor(path, rotation, page, settings))) {
        if (PublishPrepared(*prepared, settings.tileWallpaper, desktop)) {
            return true;
        }
        desktop.RemoveFile(prepared->prepared);
    }
    const ScreenSize size = desktop.DesktopSize();
    edgeMask.Ensure(settings, size.width, size.height);
    return RenderWallpaper({path, rotation, page, edgeMask.For(size.width, size.height)}, settings,
                           wallpaperFileSuffix, library, desktop);
}

void WallpaperRenderer::Prepare(const std::string& path, int rotation, int page,
                                const RenderSettings& settings) {
    preparer.Prepare(InputsFor(path, rotation, page, settings));
}

void WallpaperRenderer::Drop() {
    preparer.Drop();
    edgeMask.Drop();
}
