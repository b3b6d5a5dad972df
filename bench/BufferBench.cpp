// Frame costs of the off-screen buffer on a 1000 x 800 window with buffering on, beside a
// plain copy of a buffer that size.
#include <benchmark/benchmark.h>

#include "BenchWindow.h"
#include "Vuderiv.h"

namespace {

using BenchWindow::kHeight;
using BenchWindow::kWidth;
constexpr uint32_t kInk = 0x3399CC;

// With nothing drawn since the last one: the whole buffer is copied into the window.
void BM_UpdateWindow(benchmark::State& state) {
    for (auto _ : state)
        Vuderiv::UpdateWindow();
}
BENCHMARK(BM_UpdateWindow);

// After a draw that changed the buffer's last pixel: copied the same way.
void BM_UpdateWindowAfterADraw(benchmark::State& state) {
    uint32_t ink = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Vuderiv::Rectangle(kWidth - 1, kHeight - 1, kWidth - 1, kHeight - 1, ink ^= kInk, true);
        state.ResumeTiming();
        Vuderiv::UpdateWindow();
    }
}
BENCHMARK(BM_UpdateWindowAfterADraw);

void BM_ClearScreen(benchmark::State& state) {
    for (auto _ : state)
        Vuderiv::ClearScreen();
}
BENCHMARK(BM_ClearScreen);

// Length 100, thickness 10: along a row, and along a 3-4-5 slope.
void BM_ThickLineHorizontal(benchmark::State& state) {
    for (auto _ : state)
        Vuderiv::ThickLine(450, 400, 550, 400, kInk, 10);
}
BENCHMARK(BM_ThickLineHorizontal);

void BM_ThickLineSloped(benchmark::State& state) {
    for (auto _ : state)
        Vuderiv::ThickLine(450, 400, 510, 480, kInk, 10);
}
BENCHMARK(BM_ThickLineSloped);

}  // namespace

int main(int argc, char** argv) {
    return BenchWindow::Run(argc, argv);
}
