// The thumbnail worker's rules: the newest request wins, clearing cancels, results are handed
// over once. Each load waits for the test to release it, so the order is the test's.
#include "ui/thumbnail_worker.h"

#include <gtest/gtest.h>

#include "tests/unit/wait_or_fail.h"

namespace {

using Loads = std::vector<std::string>;  // the paths loaded, "~" after a cancelled one

class ThumbnailWorkerTest : public testing::Test, public ThumbnailLoader {
protected:
    // A load ignores cancellation, as a decode that cannot stop does; its thumbnail is its path.
    std::vector<std::uint8_t> Load(const ThumbnailRequest& request,
                                   std::stop_token cancel) override {
        std::unique_lock guard(lock);
        tokens.push_back(cancel);
        started.push_back(request.path);
        changed.notify_all();
        // A load the test never releases ends at the deadline, so the worker can stop.
        if (!changed.wait_for(guard, kWaitDeadline, [&] { return released >= tokens.size(); })) {
            ADD_FAILURE() << "the load of " << request.path << " was never released";
        }
        return {request.path.begin(), request.path.end()};
    }
    // Waits for that many loads started and results announced.
    Loads WaitFor(std::size_t starts, int announced = 0) {
        std::unique_lock guard(lock);
        WaitOrFail(
            changed, guard, [&] { return tokens.size() >= starts && readies >= announced; },
            std::to_string(starts) + " loads started and " + std::to_string(announced) +
                " results announced");
        Loads loads = started;
        for (std::size_t i = 0; i < loads.size(); ++i) {
            loads[i] += tokens[i].stop_requested() ? "~" : "";
        }
        return loads;
    }
    void Release(std::size_t count = 1) {
        std::lock_guard guard(lock);
        released += count;
        changed.notify_all();
    }
    void Ask(const std::string& path) { worker.Request({path, 92, 84}); }
    std::string Taken() {
        std::optional<Thumbnail> taken = worker.TakeResult();
        return taken ? std::string(taken->dib.begin(), taken->dib.end()) : "(none)";
    }
    // A load still held would keep the worker's thread from ending.
    ~ThumbnailWorkerTest() override { Release(1000); }

    std::mutex lock;
    std::condition_variable changed;
    std::vector<std::stop_token> tokens;
    Loads started;
    std::size_t released = 0;
    int readies = 0;
    ThumbnailWorker worker{*this, [this] {
                               std::lock_guard guard(lock);
                               ++readies;
                               changed.notify_all();
                           }};
};

TEST_F(ThumbnailWorkerTest, RequestsDuringALoadCancelItAndOnlyTheNewestLoadsNext) {
    Ask("a");
    WaitFor(1);
    Ask("b");
    Ask("c");
    EXPECT_TRUE(worker.Busy());
    Release();
    // The cancelled load ended, unannounced, before the next began.
    EXPECT_EQ(WaitFor(2), (Loads{"a~", "c"}));
    EXPECT_EQ(Taken(), "(none)");
    Release();
    WaitFor(2, 1);
    EXPECT_FALSE(worker.Busy());
    EXPECT_EQ(Taken(), "c");
    EXPECT_EQ(Taken(), "(none)");
    Ask("c");  // the newest request, done: not loaded again
    Ask("d");
    EXPECT_EQ(WaitFor(3), (Loads{"a~", "c", "d"}));
}

TEST_F(ThumbnailWorkerTest, ClearCancelsTheLoadForgetsTheWaitingRequestAndDropsTheResult) {
    Ask("a");
    WaitFor(1);
    Ask("b");
    worker.Clear();
    Release();
    Ask("a");  // forgotten by Clear: loaded again
    EXPECT_EQ(WaitFor(2), (Loads{"a~", "a"}));
    EXPECT_EQ(readies, 0);
    Release();
    WaitFor(2, 1);
    worker.Clear();
    EXPECT_EQ(Taken(), "(none)");
}

}  // namespace
