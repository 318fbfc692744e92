// The thread that renders wallpapers.
#include "render/wallpaper_worker.h"

#include <utility>

#include "render/publish.h"

WallpaperWorker::WallpaperWorker(Render render, Publish publish, Discard discard, Finished finished)
    : render(std::move(render)),
      publish(std::move(publish)),
      discard(std::move(discard)),
      finished(std::move(finished)) {
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
        finished(replaced, ShowResult::Cancelled);
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
        finished(cancelled, ShowResult::Cancelled);
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
    const RenderInputs inputs = showJob;
    const std::uint64_t mine = showTicket;
    showWaiting = false;
    std::optional<PreparedFile> file;
    if (state == State::Ready && job == inputs) {
        file = std::move(result);
        result.reset();
        state = State::Idle;
        ++generation;
    } else if (state == State::Pending && job == inputs) {
        // Not started yet: the show renders it now.
        DropLocked();
    }
    guard.unlock();
    const pixelops::CancelCheck cancelled = [this, mine] {
        const std::lock_guard check(lock);
        return stopping || showTicket != mine;
    };
    if (!file) {
        try {
            file = render(inputs, NextSuffix(), cancelled);
        } catch (...) {
            file.reset();
        }
    }
    ShowResult outcome = ShowResult::Failed;
    if (cancelled()) {
        outcome = ShowResult::Cancelled;
    } else if (file && publish(*file, inputs)) {
        outcome = ShowResult::Shown;
        file.reset();
    }
    if (file) {
        discard(file->prepared);
    }
    finished(mine, outcome);
    guard.lock();
}

void WallpaperWorker::RunPrepare(std::unique_lock<std::mutex>& guard) {
    const RenderInputs inputs = job;
    const std::uint64_t mine = generation;
    state = State::Running;
    guard.unlock();
    const pixelops::CancelCheck cancelled = [this, mine] {
        const std::lock_guard check(lock);
        return stopping || generation != mine;
    };
    std::optional<PreparedFile> prepared;
    try {
        prepared = render(inputs, NextSuffix(), cancelled);
    } catch (...) {
        prepared.reset();
    }
    guard.lock();
    if (generation == mine && !stopping) {
        result = std::move(prepared);
        state = result ? State::Ready : State::Failed;
    } else if (prepared) {
        // Dropped while it was rendered: nobody will take it.
        guard.unlock();
        discard(prepared->prepared);
        guard.lock();
    }
}
