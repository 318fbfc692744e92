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

enum class ShowResult { Shown, Failed, Cancelled };

class WallpaperWorker {
public:
    // Renders the inputs into a bitmap beside the wallpaper file's place (its name followed by
    // the suffix); the render may stop early once cancelled() turns true.
    using Render = std::function<std::optional<PreparedFile>(
        const RenderInputs& inputs, std::string_view suffix,
        const pixelops::CancelCheck& cancelled)>;
    // Moves a rendered bitmap over the wallpaper file and makes it the wallpaper.
    using Publish = std::function<bool(const PreparedFile& file, const RenderInputs& inputs)>;
    // Removes a bitmap that was rendered but not used.
    using Discard = std::function<void(const std::string& path)>;
    // Hears, on the worker's thread, how the show of a ticket ended.
    using Finished = std::function<void(std::uint64_t ticket, ShowResult result)>;

    WallpaperWorker(Render render, Publish publish, Discard discard, Finished finished);
    // Cancels what runs, waits for it to stop and removes what was prepared.
    ~WallpaperWorker();
    WallpaperWorker(const WallpaperWorker&) = delete;
    WallpaperWorker& operator=(const WallpaperWorker&) = delete;

    // Shows the inputs as the wallpaper; a show not yet finished is cancelled. The ticket that
    // Finished reports.
    std::uint64_t Show(const RenderInputs& inputs);
    // Cancels the show under way or waiting; its ticket ends as Cancelled.
    void CancelShow();
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
    std::mutex lock;
    std::condition_variable changed;
    bool stopping = false;
    // The show asked for: its ticket (0 when none) and whether the worker has yet to start it.
    std::uint64_t showTicket = 0;
    std::uint64_t lastTicket = 0;
    bool showWaiting = false;
    RenderInputs showJob;
    // The preparation.
    State state = State::Idle;
    RenderInputs job;
    std::optional<PreparedFile> result;
    // Counts preparations, so the worker can tell that the one it renders was dropped.
    std::uint64_t generation = 0;
    std::uint64_t filesWritten = 0;
    std::thread worker;
};
