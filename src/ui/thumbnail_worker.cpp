// The thumbnail pane's loader thread and its rules.
#include "ui/thumbnail_worker.h"

#include <utility>

std::vector<std::uint8_t> LibraryThumbnailLoader::Load(const ThumbnailRequest& request,
                                                       std::stop_token cancel) {
    // The session is freed however the load ends.
    struct Session {
        ImageLibrary& library;
        int id;
        ~Session() {
            if (id != 0) {
                library.cDestroySession(id);
            }
        }
    } session{library, library.cNewSession()};
    const ByteArray* dib = nullptr;
    if (session.id == 0 ||
        !library.cLoadThumbnailCancellable(session.id, request.path.c_str(), request.maxWidth,
                                           request.maxHeight, std::move(cancel)) ||
        !library.cGetDIB(session.id, &dib, 0) || dib == nullptr) {
        return {};
    }
    return *dib;
}

ThumbnailWorker::ThumbnailWorker(ThumbnailLoader& loader, std::function<void()> ready)
    : loader(loader), ready(std::move(ready)) {
    // Only a failed allocation can end the loop early; the thread then just stops serving.
    thread = std::thread([this] {
        try {
            Run();
        } catch (...) {
        }
    });
}

ThumbnailWorker::~ThumbnailWorker() {
    {
        std::lock_guard guard(lock);
        quitting = true;
        cancelLoad.request_stop();
    }
    wake.notify_all();
    thread.join();
}

void ThumbnailWorker::Request(const ThumbnailRequest& request) {
    {
        std::lock_guard guard(lock);
        if (newest == request) {
            return;
        }
        newest = request;
        waiting = true;
        if (loading) {
            cancelLoad.request_stop();
        }
        result.reset();
    }
    wake.notify_all();
}

void ThumbnailWorker::Clear() {
    std::lock_guard guard(lock);
    newest.reset();
    waiting = false;
    if (loading) {
        cancelLoad.request_stop();
    }
    result.reset();
}

std::optional<Thumbnail> ThumbnailWorker::TakeResult() {
    std::lock_guard guard(lock);
    return std::exchange(result, std::nullopt);
}

bool ThumbnailWorker::Busy() const {
    std::lock_guard guard(lock);
    return waiting || loading;
}

void ThumbnailWorker::Run() {
    std::unique_lock guard(lock);
    while (true) {
        wake.wait(guard, [this] { return quitting || waiting; });
        if (quitting) {
            return;
        }
        ThumbnailRequest request = *newest;
        waiting = false;
        loading = true;
        cancelLoad = std::stop_source();
        const std::stop_token cancel = cancelLoad.get_token();
        guard.unlock();
        // No exception leaves the thread: a load that throws gives no thumbnail.
        std::vector<std::uint8_t> dib;
        try {
            dib = loader.Load(request, cancel);
        } catch (...) {
            dib.clear();
        }
        guard.lock();
        loading = false;
        // A load that was cancelled belongs to a request that was replaced or cleared.
        if (cancel.stop_requested()) {
            continue;
        }
        result = Thumbnail{std::move(request), std::move(dib)};
        guard.unlock();
        try {
            ready();
        } catch (...) {
            // The result stays for the next TakeResult.
        }
        guard.lock();
    }
}
