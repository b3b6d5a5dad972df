#include "BenchWindow.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Vuderiv.h"

namespace BenchWindow {

namespace {

// The yardstick of every drawing figure: memcpy of a whole 1000 x 800 x 4-byte buffer.
void BM_MemcpyWholeBuffer(benchmark::State& state) {
    const std::vector<uint32_t> from(static_cast<size_t>(kWidth) * kHeight, 0x3399CC);
    std::vector<uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyWholeBuffer)->Unit(benchmark::kMicrosecond);

}  // namespace

int Run(int argc, char** argv, bool useDisplay, void (*prepare)()) {
    if (!useDisplay || std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 1);
    Vuderiv::Window("Zarvok", kWidth, kHeight);
    if (!Vuderiv::WindowIsOpen()) {
        std::fprintf(stderr, "The benchmark window could not be opened.\n");
        return 1;
    }
    Vuderiv::SetBuffering(true);
    if (prepare != nullptr) prepare();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Vuderiv::KillWindow();
    return 0;
}

}  // namespace BenchWindow
