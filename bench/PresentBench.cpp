// What a frame costs the window thread: UpdateWindow followed by the wait until the
// window thread has presented the picture, at scale 1 and at scale 2. Run it under a real
// X server (Xvfb) of at least 2000 x 1600 to see the presentation itself; under the
// offscreen driver it shows the event round trip.
#include <benchmark/benchmark.h>

#include "BenchWindow.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace {

void BM_UpdateWindowAndPresent(benchmark::State& state) {
    Vuderiv::SetWindowScale(static_cast<uint32_t>(state.range(0)));
    state.counters["scale"] = Vuderiv::WindowScale();
    for (auto _ : state) {
        Vuderiv::UpdateWindow();
        Vuderiv::detail::Sync();  // the present request is answered before the sync
    }
    Vuderiv::SetWindowScale(1);
}
BENCHMARK(BM_UpdateWindowAndPresent)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return BenchWindow::Run(argc, argv, true);
}
