// Shows an item as the wallpaper and prepares the next one, on the render worker.
#include "render/wallpaper_renderer.h"

#include <utility>

#include "render/publish.h"
#include "render/render_wallpaper.h"

WallpaperRenderer::WallpaperRenderer(ImageLibrary& library, Desktop& desktop, StampOf stampOf,
                                     std::string wallpaperFileSuffix,
                                     WallpaperWorker::Finished finished)
    : library(library),
      desktop(desktop),
      stampOf(std::move(stampOf)),
      wallpaperFileSuffix(std::move(wallpaperFileSuffix)),
      worker(
          [this](const RenderInputs& inputs, std::string_view suffix,
                 const pixelops::CancelCheck& cancelled, RenderReport& report) {
              return RenderPreparedFile(inputs, suffix, this->library, this->desktop, cancelled,
                                        &report);
          },
          [this](const PreparedFile& file, const RenderInputs& inputs, std::string& why) {
              if (PublishRendered(file, inputs, this->desktop)) {
                  return true;
              }
              why = FailureText(this->desktop);
              return false;
          },
          [this](const std::string& path) { this->desktop.RemoveFile(path); }, std::move(finished),
          [this](RenderInputs& inputs) { StampInputs(inputs, this->stampOf); },
          [this] { ::RemoveWallpaper(this->desktop); }) {}

RenderInputs WallpaperRenderer::InputsFor(const std::vector<ShowPicture>& pictures,
                                          const RenderSettings& settings,
                                          const PictureFilter& filter) {
    // The monitors are read only for a monitor mode, so the one-desktop wallpaper depends on
    // nothing new.
    std::vector<MonitorRect> monitors =
        settings.monitorMode == 0 ? std::vector<MonitorRect>{} : desktop.Monitors();
    if (!monitors.empty() && !ComposedBitmapFits(monitors)) {
        RenderSettings whole = settings;
        whole.monitorMode = 0;
        return InputsFor({pictures.front()}, whole, filter);
    }
    // The files' stamps are read on the worker, which may wait on a slow disk.
    const StampOf noStamps = [](const std::string&) { return std::optional<FileStamp>(); };
    RenderInputs inputs =
        MakeShowInputs(pictures, settings, ReadDesktopShape(desktop), monitors, noStamps);
    inputs.places = WallpaperFileCandidates(desktop, wallpaperFileSuffix);
    inputs.outputFolder = desktop.OutputFolder();
    inputs.filter = filter;
    return inputs;
}

std::uint64_t WallpaperRenderer::Show(const std::string& path, int rotation, int page,
                                      const RenderSettings& settings) {
    return Show(std::vector<ShowPicture>{{path, rotation, page}}, settings);
}

void WallpaperRenderer::Prepare(const std::string& path, int rotation, int page,
                                const RenderSettings& settings) {
    Prepare(std::vector<ShowPicture>{{path, rotation, page}}, settings);
}

std::uint64_t WallpaperRenderer::Show(const std::vector<ShowPicture>& pictures,
                                      const RenderSettings& settings, const PictureFilter& filter) {
    return worker.Show(InputsFor(pictures, settings, filter));
}

void WallpaperRenderer::Prepare(const std::vector<ShowPicture>& pictures,
                                const RenderSettings& settings, const PictureFilter& filter) {
    worker.Prepare(InputsFor(pictures, settings, filter));
}
