#include "platform/ClockRandom.h"

#include <chrono>

void ClockRandom::reseedFromClock()
{
    const auto wall = std::chrono::system_clock::now().time_since_epoch().count();
    const auto mono = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seq{static_cast<uint64_t>(wall), static_cast<uint64_t>(mono), ++m_reseeds};
    m_engine.seed(seq);
}

float ClockRandom::next()
{
    // 24 random bits fill a float's mantissa exactly, so the value never rounds up to 1.
    return static_cast<float>(m_engine() >> 40) * (1.0f / 16777216.0f);
}
