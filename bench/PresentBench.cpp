// What a frame costs the window thread: UpdateWindow followed by the wait until the
// window thread has presented the picture. Run it under a real X server (Xvfb) to see
// the presentation itself; under the offscreen driver it shows the event round trip.
#include <benchmark/benchmark.h>

#include "BenchWindow.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace {

void BM_UpdateWindowAndPresent(benchmark::State& state) {
    for (auto _ : state) {
        Vuderiv::UpdateWindow();
        Vuderiv::detail::Sync();  // the present request is answered before the sync
    }
}
BENCHMARK(BM_UpdateWindowAndPresent)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return BenchWindow::Run(argc, argv, true);
}
