// The next wallpaper, rendered ahead on a worker thread into a bitmap beside the wallpaper
// file, so that a switch to it only moves that bitmap into place. A prepared bitmap is used only
// when every input that shapes its pixels is unchanged; otherwise the switch renders as usual.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/render_settings.h"
#include "render/desktop.h"
#include "render/opacity_mask.h"

// A file's size and last write time; two stamps differ when the file was changed.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    bool operator==(const FileStamp&) const = default;
};

// The display as a render sees it.
struct DesktopShape {
    ScreenSize size;
    int bitsPerPixel = 0;
    ColorRef background = 0;
    bool operator==(const DesktopShape& other) const {
        return size.width == other.size.width && size.height == other.size.height &&
               bitsPerPixel == other.bitsPerPixel && background == other.background;
    }
};

// Everything the pixels of a rendered wallpaper depend on.
struct RenderInputs {
    std::string path;
    int page = 0;
    int rotation = 0;
    std::optional<FileStamp> file;
    DesktopShape desktop;
    // Normalized, so a mask file that is not used does not count.
    RenderSettings settings;
    std::optional<FileStamp> mask;
    // Where the bitmap may go, best first, and the local application-data folder.
    std::vector<std::string> places;
    std::string appData;
    bool operator==(const RenderInputs&) const = default;
};

using StampOf = std::function<std::optional<FileStamp>(const std::string& path)>;

// The inputs of a render of that page of the file; the mask file's stamp only when the mask
// comes from a file.
RenderInputs MakeRenderInputs(const std::string& path, int page, int rotation,
                              const RenderSettings& settings, const DesktopShape& desktop,
                              const StampOf& stampOf);

// A bitmap written beside the wallpaper file's place, ready to be moved over it.
struct PreparedFile {
    std::string prepared;
    std::string target;
};

// Renders ahead, one item at a time, on its own thread. All methods are for one thread (the
// window's); the render function runs on the worker.
class WallpaperPreparer {
public:
    // Renders the inputs into a bitmap file and says where; cancelled() turns true when the
    // result is no longer wanted, and the render may then stop early.
    using Render = std::function<std::optional<PreparedFile>(
        const RenderInputs& inputs, const std::function<bool()>& cancelled)>;
    // Removes a bitmap that was prepared but not used.
    using Discard = std::function<void(const std::string& path)>;

    WallpaperPreparer(Render render, Discard discard);
    // Cancels the render under way, waits for it to stop and discards what was prepared.
    ~WallpaperPreparer();
    WallpaperPreparer(const WallpaperPreparer&) = delete;
    WallpaperPreparer& operator=(const WallpaperPreparer&) = delete;

    // Starts preparing these inputs, dropping any other preparation; nothing when they are
    // already prepared or being prepared.
    void Prepare(const RenderInputs& inputs);
    // The bitmap prepared for exactly these inputs, waiting while the worker is still preparing
    // them; it is handed over and no longer the preparer's. Nothing when another item was
    // prepared (it is dropped) or the render failed.
    std::optional<PreparedFile> Take(const RenderInputs& inputs);
    // Drops the preparation: a render under way is cancelled, a prepared bitmap removed.
    void Drop();

private:
    enum class State { Idle, Pending, Running, Ready, Failed };
    void WorkerMain();
    // Drops the job under the lock; the bitmap to remove, if any.
    std::optional<std::string> DropLocked();

    Render render;
    Discard discard;
    std::mutex lock;
    std::condition_variable changed;
    State state = State::Idle;
    RenderInputs job;
    std::optional<PreparedFile> result;
    // Counts jobs, so the worker can tell that the one it renders was dropped.
    std::uint64_t generation = 0;
    bool stopping = false;
    std::thread worker;
};
