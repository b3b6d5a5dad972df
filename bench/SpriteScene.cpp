#include "SpriteScene.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <thread>

namespace SpriteScene {

namespace {

double Seconds(const timespec& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double ThreadCpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return Seconds(t);
}

// User and system time of the whole process, every thread included.
double ProcessCpu() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto total = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return total(usage.ru_utime) + total(usage.ru_stime);
}

// Back and forth over [0, room].
int32_t Bounce(int64_t travelled, int32_t room) {
    const int64_t p = travelled % (2 * int64_t{room});
    return static_cast<int32_t>(p <= room ? p : 2 * int64_t{room} - p);
}

}  // namespace

uint32_t SpritePixel(int32_t x, int32_t y) {
    return static_cast<uint32_t>(0x30 + x * 6) << 16 | static_cast<uint32_t>(0x40 + y * 5) << 8 |
           0x80u;
}

bool SpriteShows(int32_t x, int32_t y) {
    const int32_t dx = 2 * x - (kSprite - 1), dy = 2 * y - (kSprite - 1);
    const int32_t d = dx * dx + dy * dy;
    return d < kSprite * kSprite && d >= 12 * 12;
}

Place Position(int32_t i, int64_t frame) {
    const int64_t vx = 1 + i % 7, vy = 1 + i % 5;
    return {Bounce(i * 97 + vx * frame, kWidth - kSprite),
            Bounce(i * 61 + vy * frame, kHeight - kSprite)};
}

void Run(const char* name, double seconds, void (*draw)(int64_t frame), void (*show)(),
         uint64_t (*picture)()) {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::nanoseconds(1'000'000'000 / kFramesPerSecond);
    const auto frames = static_cast<int64_t>(seconds * kFramesPerSecond);
    std::vector<double> drawing;
    drawing.reserve(static_cast<size_t>(frames));
    const double cpu = ProcessCpu();
    const Clock::time_point start = Clock::now();
    for (int64_t f = 0; f < frames; ++f) {
        const double before = ThreadCpu();
        draw(f);
        drawing.push_back(ThreadCpu() - before);
        show();
        std::this_thread::sleep_until(start + period * (f + 1));
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double share = 100.0 * (ProcessCpu() - cpu) / wall;
    std::nth_element(drawing.begin(), drawing.begin() + frames / 2, drawing.end());
    std::printf("sprites: %s cpu_share=%.2f draw_us=%.1f frames=%" PRId64 " picture=%016" PRIx64
                "\n",
                name, share, drawing[static_cast<size_t>(frames / 2)] * 1e6, frames, picture());
}

}  // namespace SpriteScene
