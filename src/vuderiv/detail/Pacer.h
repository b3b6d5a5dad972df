// The frame pacer's grid: when each frame is due. Private to Vuderiv; program thread only.
#pragma once

#include <chrono>
#include <cstdint>

namespace Vuderiv::detail {

class Pacer {
public:
    using Clock = std::chrono::steady_clock;

    // The time the next frame at hz is due, asked at `now`. Frame n of a grid is due at
    // its start + n / hz seconds exactly, so rounding never adds up. The first call, a new
    // rate, or a caller late by more than a frame start a new grid at `now` (due at once).
    Clock::time_point Next(Clock::time_point now, uint32_t hz);

private:
    Clock::time_point start_{};
    uint64_t frames_ = 0;
    uint32_t hz_ = 0;
};

}  // namespace Vuderiv::detail
