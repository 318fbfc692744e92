// A test's wait for another thread, with a deadline: a fault that never signals fails the test
// instead of hanging it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>

// Far beyond what any of these waits takes on a loaded machine.
inline constexpr std::chrono::seconds kWaitDeadline{30};

// Waits on the condition variable until the state holds; throws, failing the test with what it
// waited for, when the deadline passes first.
template <typename State>
void WaitOrFail(std::condition_variable& changed, std::unique_lock<std::mutex>& guard, State holds,
                const std::string& what) {
    if (!changed.wait_for(guard, kWaitDeadline, holds)) {
        throw std::runtime_error("gave up after " + std::to_string(kWaitDeadline.count()) +
                                 " s waiting for " + what);
    }
}
