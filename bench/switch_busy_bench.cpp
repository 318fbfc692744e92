// How long the switching loop keeps its caller (the window's thread) busy per switch, natively:
// 20 switches of a 100,000-item list in random order without repeats (the deck and the history
// saved through the file writer each time), and a show with a picture per monitor on two monitors
// whose files answer slowly (every file call sleeps), against the 50 ms a window may take before
// it feels stuck. The reads and writes themselves happen on the writer's thread.
// Usage: switch_busy_bench [milliseconds each slow file call sleeps, default 30]
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

#include "switching/file_writer.h"
#include "switching/switching_loop.h"

namespace {

using Clock = std::chrono::steady_clock;

// Files in memory; every call sleeps as a slow share would.
class SlowFiles final : public FileSystem {
public:
    explicit SlowFiles(int sleepMs) : sleepMs(sleepMs) {}
    std::optional<uint32_t> Attributes(const std::string&) override {
        Wait();
        return 0;
    }
    bool Enumerate(const std::string&,
                   const std::function<void(std::string_view, uint32_t)>&) override {
        return false;
    }
    std::optional<FolderIdentity> Identity(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ReadFile(const std::string&) override {
        Wait();
        return std::nullopt;
    }
    std::optional<FilePart> ReadFilePart(const std::string&, uint64_t, size_t) override {
        Wait();
        return std::nullopt;
    }
    bool SaveFile(const std::string&, std::string_view) override {
        Wait();
        return true;
    }
    bool AppendToFile(const std::string&, std::string_view) override {
        Wait();
        return true;
    }

private:
    void Wait() const { std::this_thread::sleep_for(std::chrono::milliseconds(sleepMs)); }
    int sleepMs;
};

class Environment final : public ScheduleEnvironment {
public:
    std::uint32_t TickCount() override { return 1000; }
    LocalTime LocalNow() override { return {2026, 12, 9, 8, 0}; }
    bool IsScreenSaverRunning() override { return false; }
    bool IsPauseRequested() override { return false; }
    bool IsForegroundFullscreen() override { return false; }
    bool IsOnBattery() override { return false; }
};

// The loop's ports as the program wires them: shows end when the bench says so, the files go
// through a writer, the shapes are read on its thread and handed back on this one.
class Host final : public SwitchRendering, public SwitchingView, public SwitchingStore {
public:
    Host(FileSystem& files, std::vector<WallpaperEntry> items, int monitors)
        : files(files),
          items(std::move(items)),
          writer(files, [](const std::string& name) { return "C:\\L\\" + name; }) {
        for (int i = 0; i < monitors; ++i) {
            monitorRects.push_back({1920 * i, 0, 1920 * (i + 1), 1080, i == 0});
        }
    }
    std::uint64_t BeginShow(const std::vector<ShowPicture>&, bool) override { return ++ticket; }
    void CancelShow() override {}
    void Prepare(const std::vector<ShowPicture>&) override {}
    void DropPrepared() override {}
    void ReadShapes(const std::vector<ShowPicture>& pictures) override {
        writer.Run([this, pictures] {
            std::vector<std::pair<ShowPicture, PictureShape>> read;
            for (const ShowPicture& picture : pictures) {
                read.emplace_back(
                    picture, ReadPictureShape(files, picture.path, picture.page, picture.rotation));
            }
            const std::lock_guard guard(lock);
            shapesRead.insert(shapesRead.end(), read.begin(), read.end());
            arrived.notify_all();
        });
    }
    std::vector<WallpaperEntry> BuildSwitchingSequence() override { return items; }
    void ShowSourceRow(int) override {}
    void OnItemFailed() override {}
    void SetPublishFailure(const std::string&) override {}
    void SetBusy(bool) override {}
    void SetStartStopText(const std::string&) override {}
    void UpdateControls() override {}
    std::vector<MonitorRect> Monitors() override { return monitorRects; }
    void StoreNextIndex(int) override {}
    void SaveDeck(std::string text) override { writer.Save("deck.txt", std::move(text)); }
    void AppendDeck(std::string lines) override { writer.Append("deck.txt", std::move(lines)); }
    void SaveHistory(std::string text) override { writer.Save("history.txt", std::move(text)); }

    // Waits (not busy) for shapes read on the writer's thread; empty after the timeout.
    std::vector<std::pair<ShowPicture, PictureShape>> WaitForShapes() {
        std::unique_lock guard(lock);
        arrived.wait_for(guard, std::chrono::seconds(30), [this] { return !shapesRead.empty(); });
        return std::exchange(shapesRead, {});
    }

    FileSystem& files;
    std::vector<WallpaperEntry> items;
    std::vector<MonitorRect> monitorRects;
    std::uint64_t ticket = 0;
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<std::pair<ShowPicture, PictureShape>> shapesRead;
    FileWriter writer;
};

std::vector<WallpaperEntry> Items(int count) {
    std::vector<WallpaperEntry> items;
    items.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        items.push_back(
            {i, 0, "0", "\\\\share\\photos\\2026\\holiday\\IMG_" + std::to_string(i) + ".jpg"});
    }
    return items;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The longest time one switch after the first kept this thread busy, and the first's.
double LongestSwitch(Host& host, AppSettings& settings, int switches, double& first) {
    SeededRandom random(7);
    Environment environment;
    SwitchingLoop loop(settings, random, environment, host, host, host);
    double longest = 0;
    for (int i = 0; i < switches; ++i) {
        auto start = Clock::now();
        loop.SwitchNow();
        double busy = Ms(Clock::now() - start);
        while (loop.Busy() && host.ticket == 0) {
            const auto read = host.WaitForShapes();
            start = Clock::now();
            loop.ShapesRead(read);
            busy += Ms(Clock::now() - start);
        }
        start = Clock::now();
        loop.ShowFinished(host.ticket, ShowResult::Shown);
        busy += Ms(Clock::now() - start);
        // The next set's shapes, read ahead for the preparation.
        if (settings.render.monitorMode == 2) {
            const auto read = host.WaitForShapes();
            start = Clock::now();
            loop.ShapesRead(read);
            busy += Ms(Clock::now() - start);
        }
        // The first switch builds the sequence and, without a deck yet, deals a new one: a
        // start-up cost, told apart.
        if (i == 0) {
            first = busy;
        } else {
            longest = std::max(longest, busy);
        }
        host.ticket = 0;
    }
    return longest;
}

}  // namespace

int main(int argc, char** argv) {
    const int sleepMs = argc > 1 ? std::max(0, std::atoi(argv[1])) : 30;
    std::printf("Longest time a switch keeps the window's thread busy (limit 50 ms):\n");
    {
        SlowFiles files(0);
        Host host(files, Items(100000), 1);
        AppSettings settings;
        settings.randomOrder = settings.noRepeats = true;
        double first = 0;
        const double longest = LongestSwitch(host, settings, 21, first);
        std::printf(
            "  100,000 items, no repeats, 20 switches: %7.2f ms (the first switch, "
            "which makes the sequence and a new deck: %.2f ms)\n",
            longest, first);
    }
    {
        SlowFiles files(sleepMs);
        Host host(files, Items(1000), 2);
        AppSettings settings;
        settings.render.monitorMode = 2;
        double first = 0;
        const double longest = std::max(LongestSwitch(host, settings, 4, first), first);
        std::printf("  a picture per monitor, files answering in %d ms: %7.2f ms\n", sleepMs,
                    longest);
    }
    return 0;
}
