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

// A random index into n items from a draw; 64-bit arithmetic keeps it in 0 to n - 1 for any n.
inline int RandomIndex(int draw, int n) {
    if (n <= 1) {
        return 0;
    }
    return static_cast<int>(static_cast<std::int64_t>(draw) * (n - 1) / kRandomMax);
}
