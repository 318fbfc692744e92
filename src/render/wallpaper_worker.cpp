// The thread that renders wallpapers.
#include "render/wallpaper_worker.h"

#include <utility>

#include "render/publish.h"

WallpaperWorker::WallpaperWorker(Render render, Publish publish, Discard discard, Finished finished,
                                 Stamp stamp, Remove remove)
    : render(std::move(render)),
      publish(std::move(publish)),
      discard(std::move(discard)),
      finished(std::move(finished)),
      stamp(std::move(stamp)),
      remove(std::move(remove)) {
    worker = std::thread([this] { WorkerMain(); });
}

WallpaperWorker::~WallpaperWorker() {
    std::optional<std::string> leftover;
    {
        const std::lock_guard guard(lock);
        stopping = true;
        showTicket = 0;
        showWaiting = false;
        leftover = DropLocked();
    }
    changed.notify_all();
    worker.join();
    if (leftover) {
        discard(*leftover);
    }
}

std::optional<std::string> WallpaperWorker::DropLocked() {
    std::optional<std::string> leftover;
    if (state == State::Ready && result) {
        leftover = result->prepared;
    }
    result.reset();
    state = State::Idle;
    ++generation;
    return leftover;
}

std::uint64_t WallpaperWorker::Show(const RenderInputs& inputs) {
    std::optional<std::string> leftover;
    std::uint64_t ticket = 0;
    std::uint64_t replaced = 0;
    {
        const std::lock_guard guard(lock);
        if (showWaiting) {
            replaced = showTicket;
        }
        // Another item's preparation is of no use now and would only delay this one.
        if (state != State::Idle && !(job == inputs)) {
            leftover = DropLocked();
        }
        ticket = showTicket = ++lastTicket;
        showJob = inputs;
        showWaiting = true;
    }
    changed.notify_all();
    if (replaced != 0) {
        finished(replaced, ShowResult::Cancelled, {});
    }
    if (leftover) {
        discard(*leftover);
    }
    return ticket;
}

void WallpaperWorker::CancelShow() {
    std::uint64_t cancelled = 0;
    {
        const std::lock_guard guard(lock);
        if (showWaiting) {
            cancelled = showTicket;
        }
        showTicket = 0;
        showWaiting = false;
    }
    // A show the worker had not started ends here; one under way ends on the worker.
    if (cancelled != 0) {
        finished(cancelled, ShowResult::Cancelled, {});
    }
}

void WallpaperWorker::RemoveWallpaper() {
    CancelShow();
    // After a publish under way; a show cancelled above publishes nothing after this.
    const std::lock_guard guard(publishing);
    if (remove) {
        remove();
    }
}

void WallpaperWorker::Prepare(const RenderInputs& inputs) {
    std::optional<std::string> leftover;
    {
        const std::lock_guard guard(lock);
        if (state != State::Idle && state != State::Failed && job == inputs) {
            return;
        }
        leftover = DropLocked();
        job = inputs;
        state = State::Pending;
    }
    changed.notify_all();
    if (leftover) {
        discard(*leftover);
    }
}

void WallpaperWorker::Drop() {
    std::optional<std::string> leftover;
    {
        const std::lock_guard guard(lock);
        leftover = DropLocked();
    }
    if (leftover) {
        discard(*leftover);
    }
}

std::string WallpaperWorker::NextSuffix() {
    return std::string(kPreparedSuffix) + std::to_string(++filesWritten);
}

void WallpaperWorker::WorkerMain() {
    std::unique_lock guard(lock);
    while (true) {
        changed.wait(guard, [this] { return stopping || showWaiting || state == State::Pending; });
        if (stopping) {
            return;
        }
        if (showWaiting) {
            RunShow(guard);
        } else {
            RunPrepare(guard);
        }
    }
}

void WallpaperWorker::RunShow(std::unique_lock<std::mutex>& guard) {
    const RenderInputs asked = showJob;
    const std::uint64_t mine = showTicket;
    showWaiting = false;
    if (state == State::Pending && job == asked) {
        // Not started yet: the show renders it now.
        DropLocked();
    }
    RenderInputs inputs = asked;
    guard.unlock();
    if (stamp) {
        stamp(inputs);
    }
    guard.lock();
    std::optional<PreparedFile> file;
    if (state == State::Ready && job == asked && stampedJob == inputs) {
        file = std::move(result);
        result.reset();
        state = State::Idle;
        ++generation;
    }
    guard.unlock();
    const pixelops::CancelCheck cancelled = [this, mine] {
        const std::lock_guard check(lock);
        return stopping || showTicket != mine;
    };
    RenderReport report;
    if (!file) {
        try {
            file = render(inputs, NextSuffix(), cancelled, report);
        } catch (...) {
            file.reset();
        }
    }
    std::string why = std::move(report.saveFailure);
    ShowResult outcome = report.filtered ? ShowResult::Filtered
                         : why.empty()   ? ShowResult::Unreadable
                                         : ShowResult::NotSet;
    {
        // A removal of the wallpaper waits for a publish, and a publish after it sees the
        // cancellation that came with it.
        const std::lock_guard published(publishing);
        if (cancelled()) {
            outcome = ShowResult::Cancelled;
        } else if (file) {
            outcome = publish(*file, inputs, why) ? ShowResult::Shown : ShowResult::NotSet;
            if (outcome == ShowResult::Shown) {
                file.reset();
            }
        }
    }
    if (file) {
        discard(file->prepared);
    }
    finished(mine, outcome, outcome == ShowResult::NotSet ? why : std::string());
    guard.lock();
}

void WallpaperWorker::RunPrepare(std::unique_lock<std::mutex>& guard) {
    RenderInputs inputs = job;
    const std::uint64_t mine = generation;
    state = State::Running;
    guard.unlock();
    const pixelops::CancelCheck cancelled = [this, mine] {
        const std::lock_guard check(lock);
        return stopping || generation != mine;
    };
    if (stamp) {
        stamp(inputs);
    }
    std::optional<PreparedFile> prepared;
    try {
        RenderReport unused;
        prepared = render(inputs, NextSuffix(), cancelled, unused);
    } catch (...) {
        prepared.reset();
    }
    guard.lock();
    if (generation == mine && !stopping) {
        result = std::move(prepared);
        stampedJob = std::move(inputs);
        state = result ? State::Ready : State::Failed;
    } else if (prepared) {
        // Dropped while it was rendered: nobody will take it.
        guard.unlock();
        discard(prepared->prepared);
        guard.lock();
    }
}
