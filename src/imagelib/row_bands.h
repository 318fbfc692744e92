// Splits row loops of the pixel operations across the machine's cores.
#pragma once

#include <algorithm>
#include <cstdint>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

#include "imagelib/cancellation.h"

namespace pixelops {

// Runs work(begin, end) over [begin, end) in pieces of about kCostPerCheck pixels, asking the
// calling thread's cancel check (check) before each piece.
template <typename Work>
void RunCancellable(std::uint32_t begin, std::uint32_t end, std::uint64_t costPerRow,
                    const CancelCheck* check, Work& work) {
    constexpr std::uint64_t kCostPerCheck = std::uint64_t{1} << 18;
    const auto step = static_cast<std::uint32_t>(
        std::max<std::uint64_t>(1, kCostPerCheck / std::max<std::uint64_t>(1, costPerRow)));
    const CancelScope scope(check);
    for (std::uint32_t y = begin; y < end; y += std::min(step, end - y)) {
        ThrowIfCancelled();
        work(y, y + std::min(step, end - y));
    }
}

// Runs work(begin, end) over bands of [0, rows) on up to four threads when the work is large
// enough to pay for them (cost is the total, in pixels touched); otherwise on this thread. The
// calling thread's cancel check is asked between pieces of every band. An exception in any band
// (Cancelled among them) is rethrown here after all bands have ended.
template <typename Work>
void ForRowBands(std::uint32_t rows, std::uint64_t cost, Work work) {
    constexpr std::uint64_t kCostPerThread = std::uint64_t{1} << 21;
    const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    const auto bands = static_cast<std::uint32_t>(
        std::min<std::uint64_t>({cores, rows, std::max<std::uint64_t>(1, cost / kCostPerThread)}));
    const std::uint64_t costPerRow = rows == 0 ? cost : cost / rows;
    const CancelCheck* check = CurrentCancelCheck();
    if (bands <= 1) {
        RunCancellable(0, rows, costPerRow, check, work);
        return;
    }
    std::vector<std::exception_ptr> errors(bands);
    std::vector<std::thread> threads;
    const auto band = [&](std::uint32_t i) {
        try {
            RunCancellable(static_cast<std::uint32_t>(std::uint64_t{rows} * i / bands),
                           static_cast<std::uint32_t>(std::uint64_t{rows} * (i + 1) / bands),
                           costPerRow, check, work);
        } catch (...) {
            errors[i] = std::current_exception();
        }
    };
    std::uint32_t started = 1;
    try {
        for (; started < bands; ++started) {
            threads.emplace_back(band, started);
        }
    } catch (const std::system_error&) {
        // No more threads to be had: the remaining bands run here.
    }
    band(0);
    for (std::uint32_t i = started; i < bands; ++i) {
        band(i);
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (const std::exception_ptr& e : errors) {
        if (e) {
            std::rethrow_exception(e);
        }
    }
}

}  // namespace pixelops
