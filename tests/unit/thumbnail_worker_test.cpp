// The thumbnail worker's rules: the newest request wins, clearing cancels, results are handed
// over once. The loader blocks until the test releases it, so the order is the test's.
#include "ui/thumbnail_worker.h"

#include <gtest/gtest.h>

namespace {

using Paths = std::vector<std::string>;

// Each load waits for its release, and gives the path's bytes as its thumbnail whether or not
// it was cancelled, as a decode that cannot stop does.
class GatedLoader final : public ThumbnailLoader {
public:
    std::vector<std::uint8_t> Load(const ThumbnailRequest& request,
                                   std::stop_token cancel) override {
        std::unique_lock guard(lock);
        started.push_back(request.path);
        tokens.push_back(cancel);
        changed.notify_all();
        changed.wait(guard, [&] { return released >= started.size(); });
        return {request.path.begin(), request.path.end()};
    }

    Paths WaitForStarts(std::size_t count) {
        std::unique_lock guard(lock);
        changed.wait(guard, [&] { return started.size() >= count; });
        return started;
    }
    bool Cancelled(std::size_t load) {
        std::lock_guard guard(lock);
        return tokens.at(load).stop_requested();
    }
    void Release(std::size_t count) {
        std::lock_guard guard(lock);
        released += count;
        changed.notify_all();
    }
    void ReadyCalled() {
        std::lock_guard guard(lock);
        ++readies;
        changed.notify_all();
    }
    void WaitForReadies(int count) {
        std::unique_lock guard(lock);
        changed.wait(guard, [&] { return readies >= count; });
    }
    int Readies() {
        std::lock_guard guard(lock);
        return readies;
    }

private:
    std::mutex lock;
    std::condition_variable changed;
    Paths started;
    std::vector<std::stop_token> tokens;
    std::size_t released = 0;
    int readies = 0;
};

class ThumbnailWorkerTest : public testing::Test {
protected:
    // A load still held would keep the worker's thread from ending.
    ~ThumbnailWorkerTest() override { loader.Release(1000); }

    void Ask(const std::string& path) { worker.Request({path, 92, 84}); }
    std::string TakenPath() {
        std::optional<Thumbnail> taken = worker.TakeResult();
        if (!taken) {
            return "(none)";
        }
        EXPECT_EQ(std::string(taken->dib.begin(), taken->dib.end()), taken->request.path);
        return taken->request.path;
    }

    GatedLoader loader;
    ThumbnailWorker worker{loader, [this] { loader.ReadyCalled(); }};
};

TEST_F(ThumbnailWorkerTest, RequestsDuringALoadCancelItAndOnlyTheNewestLoadsNext) {
    Ask("a.jpg");
    ASSERT_EQ(loader.WaitForStarts(1), Paths{"a.jpg"});
    Ask("b.jpg");
    Ask("c.jpg");
    EXPECT_TRUE(loader.Cancelled(0));
    EXPECT_TRUE(worker.Busy());
    loader.Release(1);
    ASSERT_EQ(loader.WaitForStarts(2), (Paths{"a.jpg", "c.jpg"}));
    // The cancelled load finished before the next one started, and was never handed over.
    EXPECT_EQ(TakenPath(), "(none)");
    EXPECT_EQ(loader.Readies(), 0);
    loader.Release(1);
    loader.WaitForReadies(1);
    EXPECT_FALSE(worker.Busy());
    EXPECT_EQ(TakenPath(), "c.jpg");
    EXPECT_EQ(TakenPath(), "(none)");
}

TEST_F(ThumbnailWorkerTest, ClearCancelsTheLoadAndForgetsTheWaitingRequest) {
    Ask("a.jpg");
    ASSERT_EQ(loader.WaitForStarts(1), Paths{"a.jpg"});
    Ask("b.jpg");
    worker.Clear();
    EXPECT_TRUE(loader.Cancelled(0));
    loader.Release(1);
    Ask("d.jpg");
    ASSERT_EQ(loader.WaitForStarts(2), (Paths{"a.jpg", "d.jpg"}));
    loader.Release(1);
    loader.WaitForReadies(1);
    EXPECT_EQ(TakenPath(), "d.jpg");
    EXPECT_EQ(loader.Readies(), 1);
}

TEST_F(ThumbnailWorkerTest, TheNewestRequestIsNotLoadedTwiceUntilClearDropsItsResult) {
    Ask("a.jpg");
    loader.Release(1);
    loader.WaitForReadies(1);
    Ask("a.jpg");
    Ask("b.jpg");
    ASSERT_EQ(loader.WaitForStarts(2), (Paths{"a.jpg", "b.jpg"}));
    loader.Release(1);
    loader.WaitForReadies(2);
    worker.Clear();
    EXPECT_EQ(TakenPath(), "(none)");
    Ask("b.jpg");
    ASSERT_EQ(loader.WaitForStarts(3), (Paths{"a.jpg", "b.jpg", "b.jpg"}));
    EXPECT_FALSE(loader.Cancelled(2));
}

}  // namespace
