// Sets the lock-screen picture after each show.
#include "render/lock_screen_worker.h"

#include <algorithm>
#include <charconv>

#include "render/image_session.h"
#include "render/render_wallpaper.h"

namespace {

constexpr std::string_view kPrefix = "lock-";
constexpr std::string_view kSuffix = ".jpg";

// The number of a lock-screen file name, or nothing for any other name.
std::optional<unsigned> NumberOf(std::string_view name) {
    if (name.size() <= kPrefix.size() + kSuffix.size() || !name.starts_with(kPrefix) ||
        !name.ends_with(kSuffix)) {
        return std::nullopt;
    }
    const std::string_view digits =
        name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    unsigned n = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return n;
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

}  // namespace

ShowPicture LockScreenPicture(const std::vector<ShowPicture>& pictures,
                              const std::vector<MonitorRect>& monitors, int monitorMode) {
    if (monitorMode == 2 && pictures.size() == monitors.size()) {
        const std::vector<MonitorRect> ordered = OrderMonitors(monitors);
        for (std::size_t i = 0; i < ordered.size(); ++i) {
            if (ordered[i].primary) {
                return pictures[i];
            }
        }
    }
    return pictures.empty() ? ShowPicture{} : pictures.front();
}

std::string LockScreenFileName(unsigned n) {
    return std::string(kPrefix) + std::to_string(n) + std::string(kSuffix);
}

unsigned NextLockScreenNumber(const std::vector<std::string>& names) {
    unsigned highest = 0;
    for (const std::string& name : names) {
        highest = std::max(highest, NumberOf(name).value_or(0));
    }
    // A new name every time: the system ignores a file name it has set before.
    return highest + 1;
}

bool LockScreenStatus::Report(const std::optional<std::string>& outcome, bool optionOn) {
    // A job that ends after the option was turned off is no news.
    const std::string now = optionOn ? outcome.value_or(std::string()) : failure;
    if (now == failure) {
        return false;
    }
    failure = now;
    return true;
}

LockScreenWorker::LockScreenWorker(ImageLibrary& library, LockScreen& lockScreen, Finished finished)
    : library(library),
      lockScreen(lockScreen),
      finished(std::move(finished)),
      worker([this] { WorkerMain(); }) {}

LockScreenWorker::~LockScreenWorker() {
    {
        const std::lock_guard guard(lock);
        stopping = true;
        waiting.reset();
    }
    changed.notify_all();
    worker.join();
}

void LockScreenWorker::Set(LockScreenJob job) {
    {
        const std::lock_guard guard(lock);
        waiting = std::move(job);
    }
    changed.notify_all();
}

void LockScreenWorker::WorkerMain() {
    std::unique_lock guard(lock);
    while (true) {
        changed.wait(guard, [this] { return stopping || waiting.has_value(); });
        if (stopping) {
            return;
        }
        const LockScreenJob job = std::move(*waiting);
        waiting.reset();
        guard.unlock();
        const std::optional<std::string> failure =
            Run(job, library, lockScreen, [this] { return stopping.load(); });
        if (finished) {
            finished(failure);
        }
        guard.lock();
    }
}

std::optional<std::string> LockScreenWorker::Run(const LockScreenJob& job, ImageLibrary& library,
                                                 LockScreen& lockScreen,
                                                 const std::function<bool()>& stopped) {
    const std::string folder = lockScreen.Folder();
    if (folder.empty()) {
        return "There is no folder to write the picture to.";
    }
    const std::vector<std::string> before = lockScreen.FileNames();
    const std::string path = InFolder(folder, LockScreenFileName(NextLockScreenNumber(before)));
    {
        // The library's row loops on this thread stop early once the job is no longer wanted.
        const pixelops::CancelCheck cancelled = stopped ? stopped : [] { return false; };
        const pixelops::CancelScope scope(&cancelled);
        ImageSession session(library);
        const ByteArray* dib = nullptr;
        if (!session ||
            !RenderForLockScreen(job.picture, job.settings, job.primary, library,
                                 session.Handle()) ||
            !library.cGetDIB(session.Handle(), &dib, 0) || dib == nullptr) {
            return "The picture could not be prepared.";
        }
        if (!lockScreen.WriteJpeg(*dib, path, kLockScreenJpegQuality)) {
            lockScreen.RemoveFile(path);
            return "The picture could not be written to " + folder + ".";
        }
    }
    if (std::optional<std::string> failure = lockScreen.SetImage(path, kLockScreenLimit, stopped)) {
        lockScreen.RemoveFile(path);
        return failure;
    }
    // The earlier pictures only now: the lock screen may show one of them until the new one is
    // set.
    for (const std::string& name : before) {
        if (NumberOf(name)) {
            lockScreen.RemoveFile(InFolder(folder, name));
        }
    }
    return std::nullopt;
}
