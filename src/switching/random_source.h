// Random numbers for the random order: draws of 0 to 32767 from a generator seeded once.
#pragma once

#include <cstdint>

class RandomSource {
public:
    // A draw uniformly in 0 to 32767.
    virtual int Next() = 0;

protected:
    RandomSource() = default;
    ~RandomSource() = default;
};

// The C library's classic linear congruential generator, seeded with the tick count.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed = 1) : state(seed) {}
    void Seed(std::uint32_t seed) { state = seed; }
    int Next() override {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }

private:
    std::uint32_t state;
};

inline constexpr int kRandomMax = 32767;

// A random index into n items, every one equally likely. Two draws make a 30-bit number;
// numbers beyond the last whole multiple of n are drawn again, so no index is favoured and
// every index of a long sequence can come up.
inline int RandomIndex(RandomSource& random, int n) {
    if (n <= 1) {
        return 0;
    }
    constexpr std::uint32_t kRange = std::uint32_t{1} << 30;
    const auto count = static_cast<std::uint32_t>(n);
    for (;;) {
        const std::uint32_t value = (static_cast<std::uint32_t>(random.Next() & kRandomMax) << 15) |
                                    static_cast<std::uint32_t>(random.Next() & kRandomMax);
        if (count >= kRange) {
            // Longer than any list can be; scaled, still in range.
            return static_cast<int>((static_cast<std::uint64_t>(value) * count) >> 30);
        }
        if (value < kRange - kRange % count) {
            return static_cast<int>(value % count);
        }
    }
}
