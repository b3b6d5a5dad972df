// Frame costs of the off-screen buffer on a 1000 x 800 window with buffering on, beside a
// plain copy of a buffer that size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Vuderiv.h"

namespace {

constexpr uint32_t kWidth = 1000;
constexpr uint32_t kHeight = 800;
constexpr uint32_t kInk = 0x3399CC;

void BM_MemcpyWholeBuffer(benchmark::State& state) {
    const std::vector<uint32_t> from(size_t{kWidth} * kHeight, kInk);
    std::vector<uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyWholeBuffer);

void BM_UpdateWindow(benchmark::State& state) {
    for (auto _ : state)
        Vuderiv::UpdateWindow();
}
BENCHMARK(BM_UpdateWindow);

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
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    Vuderiv::Window("Zarvok", kWidth, kHeight);
    if (!Vuderiv::WindowIsOpen()) {
        std::fprintf(stderr, "The window could not be opened.\n");
        return 1;
    }
    Vuderiv::SetBuffering(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Vuderiv::KillWindow();
    return 0;
}
