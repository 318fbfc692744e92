// The thread that renders wallpapers, so the window's thread never decodes: it shows an item
// (from the bitmap prepared ahead for exactly its inputs, else rendered now) and prepares the
// next one in the time between. Each bitmap it writes has a name of its own job.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "imagelib/cancellation.h"
#include "render/prepared_wallpaper.h"

class WallpaperWorker {
public:
    // Renders the inputs into a bitmap beside the wallpaper file's place (its name followed by
    // the suffix); the render may stop early once cancelled() turns true. Without a bitmap, the
    // report tells a picture the filter left out, or the system's reason when the picture
    // rendered but no place took the bitmap, from a picture that could not be read.
    using Render = std::function<std::optional<PreparedFile>(
        const RenderInputs& inputs, std::string_view suffix, const pixelops::CancelCheck& cancelled,
        RenderReport& report)>;
    // Moves a rendered bitmap over the wallpaper file and makes it the wallpaper; false, with the
    // system's reason, when it could not.
    using Publish =
        std::function<bool(const PreparedFile& file, const RenderInputs& inputs, std::string& why)>;
    // Removes a bitmap that was rendered but not used.
    using Discard = std::function<void(const std::string& path)>;
    // Hears, on the worker's thread, how the show of a ticket ended; for NotSet, why.
    using Finished =
        std::function<void(std::uint64_t ticket, ShowResult result, const std::string& why)>;
    // Fills in what the inputs read from the files (their stamps), on the worker's thread, so
    // the caller's thread never waits on a slow disk or share.
    using Stamp = std::function<void(RenderInputs& inputs)>;
    // Takes the wallpaper off the desktop.
    using Remove = std::function<void()>;

    WallpaperWorker(Render render, Publish publish, Discard discard, Finished finished,
                    Stamp stamp = {}, Remove remove = {});
    // Cancels what runs, waits for it to stop and removes what was prepared.
    ~WallpaperWorker();
    WallpaperWorker(const WallpaperWorker&) = delete;
    WallpaperWorker& operator=(const WallpaperWorker&) = delete;

    // Shows the inputs as the wallpaper; a show not yet finished is cancelled. The ticket that
    // Finished reports.
    std::uint64_t Show(const RenderInputs& inputs);
    // Cancels the show under way or waiting; its ticket ends as Cancelled.
    void CancelShow();
    // Cancels any show and removes the wallpaper now, after a publish under way if there is one.
    void RemoveWallpaper();
    // Starts preparing these inputs, dropping any other preparation; nothing when they are
    // already prepared or being prepared.
    void Prepare(const RenderInputs& inputs);
    // Drops the preparation: a render under way is cancelled, a prepared bitmap removed.
    void Drop();

private:
    enum class State { Idle, Pending, Running, Ready, Failed };
    void WorkerMain();
    void RunShow(std::unique_lock<std::mutex>& guard);
    void RunPrepare(std::unique_lock<std::mutex>& guard);
    // Drops the preparation under the lock; the bitmap to remove, if any.
    std::optional<std::string> DropLocked();
    // A new file suffix for a job (worker thread only).
    std::string NextSuffix();

    Render render;
    Publish publish;
    Discard discard;
    Finished finished;
    Stamp stamp;
    Remove remove;
    std::mutex lock;
    std::condition_variable changed;
    bool stopping = false;
    // The show asked for: its ticket (0 when none) and whether the worker has yet to start it.
    std::uint64_t showTicket = 0;
    std::uint64_t lastTicket = 0;
    bool showWaiting = false;
    RenderInputs showJob;
    // Held while a bitmap is made the wallpaper, and while the wallpaper is removed.
    std::mutex publishing;
    // The preparation: the inputs asked for, and once stamped on the worker, the stamped ones.
    State state = State::Idle;
    RenderInputs job;
    RenderInputs stampedJob;
    std::optional<PreparedFile> result;
    // Counts preparations, so the worker can tell that the one it renders was dropped.
    std::uint64_t generation = 0;
    std::uint64_t filesWritten = 0;
    std::thread worker;
};
