// The thumbnail pane's loader: one worker thread that makes thumbnails off the window's thread.
// The newest request wins, clearing cancels, and each result is handed over once.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "imagelib/image_library.h"

struct ThumbnailRequest {
    std::string path;
    int maxWidth = 0;
    int maxHeight = 0;

    bool operator==(const ThumbnailRequest&) const = default;
};

struct Thumbnail {
    ThumbnailRequest request;
    // The packed bitmap; empty when the file gave no thumbnail.
    std::vector<std::uint8_t> dib;
};

// Makes one thumbnail on the worker's thread; may stop early, returning nothing, once cancel is
// requested.
class ThumbnailLoader {
public:
    virtual ~ThumbnailLoader() = default;
    virtual std::vector<std::uint8_t> Load(const ThumbnailRequest& request,
                                           std::stop_token cancel) = 0;

protected:
    ThumbnailLoader() = default;
    ThumbnailLoader(const ThumbnailLoader&) = default;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = default;
};

// The loader over the image library: a session of its own per thumbnail.
class LibraryThumbnailLoader final : public ThumbnailLoader {
public:
    explicit LibraryThumbnailLoader(ImageLibrary& library) : library(library) {}
    std::vector<std::uint8_t> Load(const ThumbnailRequest& request,
                                   std::stop_token cancel) override;

private:
    ImageLibrary& library;
};

class ThumbnailWorker {
public:
    // ready is called on the worker's thread each time a result waits to be taken; it must not
    // wait for the thread that takes it (a posted message fits). The loader outlives the worker.
    ThumbnailWorker(ThumbnailLoader& loader, std::function<void()> ready);
    // Cancels the load under way and waits for the thread.
    ~ThumbnailWorker();
    ThumbnailWorker(const ThumbnailWorker&) = delete;
    ThumbnailWorker& operator=(const ThumbnailWorker&) = delete;

    // Asks for a thumbnail. A load under way for another request is cancelled and its result
    // dropped; this request is loaded next, replacing any that waited. Nothing happens when it
    // equals the newest request, whether that is loading, waiting or done.
    void Request(const ThumbnailRequest& request);
    // Cancels the load under way and forgets the waiting request and any result not yet taken.
    void Clear();
    // The newest request's thumbnail once it is made, handed out once.
    std::optional<Thumbnail> TakeResult();
    // True while a request waits or loads.
    bool Busy() const;

private:
    void Run();

    ThumbnailLoader& loader;
    std::function<void()> ready;
    mutable std::mutex lock;
    std::condition_variable wake;
    // The newest request since the last Clear, and whether it still waits for the thread.
    std::optional<ThumbnailRequest> newest;
    bool waiting = false;
    bool loading = false;
    std::stop_source cancelLoad;
    std::optional<Thumbnail> result;
    bool quitting = false;
    std::thread thread;
};
