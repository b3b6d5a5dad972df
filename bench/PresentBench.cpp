// What a frame costs the window thread: UpdateWindow followed by the wait until the
// window thread has presented the picture, at scale 1 and at scale 2, for three kinds of
// frame: the same picture again, every pixel changed, and a game-like frame in which a
// 40 x 40 figure moved; and fitted in fullscreen. Run it under a real X server (Xvfb) of at least
// 2000 x 1600 to see the presentation itself; under the offscreen driver it shows the event round
// trip.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "BenchWindow.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace {

enum Change : int64_t { SAME = 0, ALL = 1, FIGURE = 2 };

// Draws the next frame's change into the buffer (not timed).
void Change(int64_t change, int64_t frame) {
    const bool odd = frame % 2 != 0;
    if (change == ALL) {
        Vuderiv::Rectangle(0, 0, BenchWindow::kWidth - 1, BenchWindow::kHeight - 1,
                           odd ? 0x3399CC : 0xCC9933, true);
    } else if (change == FIGURE) {
        const int32_t x = 100 + static_cast<int32_t>(frame % 200) * 4;
        Vuderiv::Rectangle(x - 4, 400, x + 39, 439, 0x202020, true);  // where it was
        Vuderiv::Rectangle(x, 400, x + 39, 439, 0x00FF00, true);
    }
}

void BM_UpdateWindowAndPresent(benchmark::State& state) {
    Vuderiv::SetWindowScale(static_cast<uint32_t>(state.range(0)));
    state.counters["scale"] = Vuderiv::WindowScale();
    int64_t frame = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Change(state.range(1), frame++);
        state.ResumeTiming();
        Vuderiv::UpdateWindow();
        Vuderiv::detail::Sync();  // the present request is answered before the sync
    }
    Vuderiv::SetWindowScale(1);
}
BENCHMARK(BM_UpdateWindowAndPresent)
    ->ArgNames({"scale", "change"})
    ->ArgsProduct({{1, 2}, {SAME, ALL, FIGURE}})
    ->Unit(benchmark::kMicrosecond);

// The same in fullscreen with the picture fitted to the screen (1350 x 1080 on a 1920 x 1080
// screen): the blend of what changed, and its presentation. Needs a window manager.
void BM_FittedFullscreenAndPresent(benchmark::State& state) {
    Vuderiv::SetWindowScale(Vuderiv::FitScale);
    Vuderiv::SetFullscreen(true);
    int32_t left = 0, top = 0;
    uint32_t width = 0, height = 0;
    Vuderiv::WindowPicture(left, top, width, height);
    state.counters["width"] = width;
    state.counters["height"] = height;
    int64_t frame = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Change(state.range(0), frame++);
        state.ResumeTiming();
        Vuderiv::UpdateWindow();
        Vuderiv::detail::Sync();
    }
    Vuderiv::SetFullscreen(false);
    Vuderiv::SetWindowScale(1);
}
BENCHMARK(BM_FittedFullscreenAndPresent)
    ->ArgNames({"change"})
    ->DenseRange(SAME, FIGURE)
    ->Unit(benchmark::kMicrosecond);

// The measuring's own share of the figures above: the wait for the window thread alone.
void BM_SyncAlone(benchmark::State& state) {
    for (auto _ : state)
        Vuderiv::detail::Sync();
}
BENCHMARK(BM_SyncAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return BenchWindow::Run(argc, argv, true);
}
