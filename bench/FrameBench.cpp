// The cost of one frame of the game with a full scene (15 living enemies, 30 bullets in
// flight): its logic from KeyControle to CheckKogel, its drawing, and both together,
// beside a copy of the whole 1000 x 800 buffer in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchWindow.h"
#include "Level.h"
#include "MainLoop.h"
#include "Scene.h"
#include "Shared.h"
#include "State.h"

namespace {

using namespace Zarvok;

// The scene every iteration starts from, with the counters that a frame changes.
struct Scene {
    MANNEKE_RC manneke;
    VIJANDEN_AR vijanden;
    KOGELS_AR kogels;
    uint32_t resterend, score, teller, meter;
};
Scene gScene;

// Level 1 with the player on the floor, 15 enemies walking the floor and the platforms
// away from him, and 30 bullets flying through the sky.
void BuildScene() {
    Levelvar = LEVEL1;
    Settings();
    Manneke.Huidigepos_x = 460;
    Manneke.Huidigepos_y = 640;
    for (uint32_t i = 1; i <= kAantalVijanden; ++i) {
        VIJAND_RC& e = Vijanden_ar[i];
        e = VIJAND_RC{};
        e.Huidigepos_x = static_cast<int32_t>(20 + 60 * (i % 15));
        e.Huidigepos_y = i % 2 == 0 ? 640 : 40 + static_cast<int32_t>(20 * i);
        e.Levens = 30;
        e.Beginwaarde_levens = 30;
        e.Damage = 10;
        e.V_x = 20;
        e.V_y = 20;
        e.Status = LEVEND;
        e.Beweging = i % 3 == 0 ? V_VAL : (i % 2 == 0 ? V_LINKS : V_RECHTS);
        e.Richting = e.Beweging == V_LINKS ? KIJKLINKS : KIJKRECHTS;
        e.Score = 100;
    }
    Array_index_vijanden = kAantalVijanden;  // no more generation
    for (int64_t i = 1; i <= 30; ++i) {
        Kogels[i] = KOGEL_RC{static_cast<int32_t>(40 + 30 * i), static_cast<int32_t>(48 + 20 * i),
                             ALIVE, i % 2 == 0 ? KIJKLINKS : KIJKRECHTS};
    }
    gScene = {Manneke,   Vijanden_ar,   Kogels,          Resterende_vijanden,
              Highscore, Teller_spring, Meter_vijand_app};
}

void RestoreScene() {
    Manneke = gScene.manneke;
    Vijanden_ar = gScene.vijanden;
    Kogels = gScene.kogels;
    Resterende_vijanden = gScene.resterend;
    Highscore = gScene.score;
    Teller_spring = gScene.teller;
    Meter_vijand_app = gScene.meter;
}

void BM_FrameLogic(benchmark::State& state) {
    for (auto _ : state) {
        RestoreScene();
        FrameLogica();
        benchmark::DoNotOptimize(Kogels);
    }
}
BENCHMARK(BM_FrameLogic);

// Draw's cost to the game's thread. Between frames the window thread presents the last
// one, as it does during the game's pause; that presentation is not counted here.
void BM_Draw(benchmark::State& state) {
    RestoreScene();
    for (auto _ : state) {
        Draw();
        state.PauseTiming();
        Vuderiv::detail::Sync();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Draw);

// A whole frame as the game's thread pays for it: the logic, then Draw with its
// UpdateWindow, the copy of the buffer into the window's picture.
void BM_FullFrame(benchmark::State& state) {
    for (auto _ : state) {
        RestoreScene();
        FrameLogica();
        Draw();
        state.PauseTiming();
        Vuderiv::detail::Sync();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FullFrame);

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::current_path(ZARVOK_DATA_DIR);
    return BenchWindow::Run(argc, argv, false, [] {
        ResetState();
        BuildScene();
    });
}
