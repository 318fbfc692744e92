// The next wallpaper, rendered ahead on a worker thread.
#include "render/prepared_wallpaper.h"

#include <utility>

RenderInputs MakeRenderInputs(const std::string& path, int page, int rotation,
                              const RenderSettings& settings, const DesktopShape& desktop,
                              const StampOf& stampOf) {
    RenderInputs in;
    in.path = path;
    in.page = page;
    in.rotation = rotation;
    in.file = stampOf(path);
    in.desktop = desktop;
    in.settings = settings.Normalized();
    if (settings.maskMode == 1) {
        in.mask = stampOf(settings.maskFile);
    }
    return in;
}

WallpaperPreparer::WallpaperPreparer(Render render, Discard discard)
    : render(std::move(render)), discard(std::move(discard)) {
    worker = std::thread([this] { WorkerMain(); });
}

WallpaperPreparer::~WallpaperPreparer() {
    std::optional<std::string> leftover;
    {
        const std::lock_guard guard(lock);
        stopping = true;
        leftover = DropLocked();
    }
    changed.notify_all();
    worker.join();
    if (leftover) {
        discard(*leftover);
    }
}

std::optional<std::string> WallpaperPreparer::DropLocked() {
    std::optional<std::string> leftover;
    if (state == State::Ready && result) {
        leftover = result->prepared;
    }
    result.reset();
    state = State::Idle;
    ++generation;
    return leftover;
}

void WallpaperPreparer::Prepare(const RenderInputs& inputs) {
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

std::optional<PreparedFile> WallpaperPreparer::Take(const RenderInputs& inputs) {
    std::optional<std::string> leftover;
    std::optional<PreparedFile> taken;
    {
        std::unique_lock guard(lock);
        if (state != State::Idle && job == inputs) {
            changed.wait(guard,
                         [this] { return state != State::Pending && state != State::Running; });
        }
        if (state == State::Ready && job == inputs) {
            taken = std::move(result);
            result.reset();
            state = State::Idle;
            ++generation;
        } else {
            leftover = DropLocked();
        }
    }
    if (leftover) {
        discard(*leftover);
    }
    return taken;
}

void WallpaperPreparer::Drop() {
    std::optional<std::string> leftover;
    {
        const std::lock_guard guard(lock);
        leftover = DropLocked();
    }
    if (leftover) {
        discard(*leftover);
    }
}

void WallpaperPreparer::WorkerMain() {
    std::unique_lock guard(lock);
    while (true) {
        changed.wait(guard, [this] { return stopping || state == State::Pending; });
        if (stopping) {
            return;
        }
        const RenderInputs inputs = job;
        const std::uint64_t mine = generation;
        state = State::Running;
        guard.unlock();
        const auto cancelled = [this, mine] {
            const std::lock_guard check(lock);
            return stopping || generation != mine;
        };
        std::optional<PreparedFile> prepared;
        try {
            prepared = render(inputs, cancelled);
        } catch (...) {
            prepared.reset();
        }
        guard.lock();
        if (generation == mine && !stopping) {
            result = std::move(prepared);
            state = result ? State::Ready : State::Failed;
            changed.notify_all();
        } else if (prepared) {
            // Dropped while it was rendered: nobody will take it.
            guard.unlock();
            discard(prepared->prepared);
            guard.lock();
        }
    }
}
