// Sets the lock-screen picture after each show, on a thread of its own so that a slow or
// refusing system never holds the desktop wallpaper back: the picture is rendered again for the
// primary monitor's full size, written as a JPEG of a new name, and handed to the system; the
// previous file is removed only once the new one is set.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/render_settings.h"
#include "desktop/lock_screen.h"
#include "imagelib/image_library.h"
#include "render/monitor_layout.h"
#include "render/prepared_wallpaper.h"
#include "render/show_picture.h"

// How long the system may take to set the picture.
inline constexpr std::chrono::milliseconds kLockScreenLimit{10000};
inline constexpr int kLockScreenJpegQuality = 95;

// The picture of a show the lock screen takes: with a picture per monitor the primary
// monitor's (the monitors in OrderMonitors' order, as the pictures are), else the show's one.
ShowPicture LockScreenPicture(const std::vector<ShowPicture>& pictures,
                              const std::vector<MonitorRect>& monitors, int monitorMode);
// The file name for number n, and the number after the highest of those names.
std::string LockScreenFileName(unsigned n);
unsigned NextLockScreenNumber(const std::vector<std::string>& names);

// What the window shows of the lock screen: the last failure, until a picture is set or the
// option is turned off. The same failure again changes nothing, so it is told once.
class LockScreenStatus {
public:
    // A job's outcome, heard while the option is on or not; true when the failure shown changed.
    bool Report(const std::optional<std::string>& failure, bool optionOn);
    // The option was turned off: nothing is shown any more.
    void TurnedOff() { failure.clear(); }
    const std::string& Failure() const { return failure; }

private:
    std::string failure;
};

struct LockScreenJob {
    ShowPicture picture;
    RenderSettings settings;
    // The primary monitor's size, and the desktop colour.
    DesktopShape primary;
};

class LockScreenWorker {
public:
    // Hears, on the worker's thread, how each job ended: nothing when the picture was set, else
    // why not.
    using Finished = std::function<void(const std::optional<std::string>& failure)>;

    LockScreenWorker(ImageLibrary& library, LockScreen& lockScreen, Finished finished);
    // Stops the job under way (its render, or the wait for the system) and drops a waiting one.
    ~LockScreenWorker();
    LockScreenWorker(const LockScreenWorker&) = delete;
    LockScreenWorker& operator=(const LockScreenWorker&) = delete;

    // Sets the picture of the job; a job still waiting is replaced by it.
    void Set(LockScreenJob job);

    // One job, on the calling thread; it ends early, failed, once stopped() turns true.
    static std::optional<std::string> Run(const LockScreenJob& job, ImageLibrary& library,
                                          LockScreen& lockScreen,
                                          const std::function<bool()>& stopped = {});

private:
    void WorkerMain();

    ImageLibrary& library;
    LockScreen& lockScreen;
    Finished finished;
    std::mutex lock;
    std::condition_variable changed;
    std::atomic<bool> stopping{false};
    std::optional<LockScreenJob> waiting;
    std::thread worker;
};
