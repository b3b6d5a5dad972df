// The frame pacer: frames on a fixed grid at a steady rate.
#include "Pacer.h"

#include <thread>

#include "Vuderiv.h"

namespace Vuderiv {

namespace detail {

Pacer::Clock::time_point Pacer::Next(Clock::time_point now, uint32_t hz) {
    using std::chrono::nanoseconds;
    const auto due = [&](uint64_t frame) {
        const uint64_t whole = frame / hz_, part = frame % hz_;
        return start_ + nanoseconds(static_cast<int64_t>(whole * 1000000000ull +
                                                         part * 1000000000ull / hz_));
    };
    if (hz_ == hz && hz != 0) {
        ++frames_;
        if (now <= due(frames_ + 1)) return due(frames_);
    }
    start_ = now;
    frames_ = 0;
    hz_ = hz;
    return now;
}

namespace {

using Clock = Pacer::Clock;

Pacer gPacer;
bool gStarted = false;
Clock::time_point gLastFrame;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Sleeps until the frame's time. In the browser the wait is a pause that hands the thread
// to the page, in whole milliseconds rounded up; the grid itself keeps its exact times.
void SleepUntil(Clock::time_point at) {
#ifdef __EMSCRIPTEN__
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(at - Clock::now());
    if (left.count() > 0) Pause(static_cast<uint32_t>(left.count()));
#else
    std::this_thread::sleep_until(at);
#endif
}

}  // namespace

}  // namespace detail

double WaitFrame(uint32_t hz) {
    using namespace detail;
    const Clock::time_point now = Clock::now();
    if (hz != 0) SleepUntil(gPacer.Next(now, hz));
    const Clock::time_point frame = Clock::now();
    const double seconds = gStarted ? Seconds(frame - gLastFrame) : 0.0;
    gStarted = true;
    gLastFrame = frame;
    return seconds;
}

double SecondsSinceFrame() {
    using namespace detail;
    return gStarted ? Seconds(Clock::now() - gLastFrame) : 0.0;
}

}  // namespace Vuderiv
