#pragma once

#include <cstdint>
#include <random>

// An even random generator for the deal, seeded anew from the clock on demand.
class ClockRandom
{
public:
    explicit ClockRandom(uint64_t seed = 0) : m_engine(seed) {}

    // Seeds from the clocks and a count of this generator's re-seeds, so two
    // deals in the same clock tick still differ.
    void reseedFromClock();

    // 0 <= r < 1 in steps of 2^-24, every single-precision step equally likely.
    float next();

private:
    std::mt19937_64 m_engine;
    uint64_t m_reseeds = 0;
};
