// The cost of a frame's drawing: 2000 tiles of 20 x 20 covering the 1000 x 800 buffer,
// one 60 x 60 masked sprite, and a 40-character text line, each beside a plain memcpy of
// the whole buffer measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "Shared.h"
#include "Vuderiv.h"

namespace {

constexpr int32_t kWidth = 1000, kHeight = 800, kTile = 20;

// Fills a bitmap with a pattern; the mask pattern is half light, half dark.
void Paint(uint32_t bitmap, uint32_t (*color)(int32_t x, int32_t y)) {
    Vuderiv::detail::Canvas canvas;
    Vuderiv::detail::Surface& surface = canvas.Bitmaps()[bitmap - 1].surface;
    for (int32_t y = 0; y < surface.height; ++y) {
        for (int32_t x = 0; x < surface.width; ++x)
            surface.Row(y)[x] = color(x, y);
    }
}

void BufferMemcpy(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(kWidth) * kHeight * sizeof(uint32_t);
    std::vector<uint8_t> from(bytes, 1), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

void TilesFullScreen(benchmark::State& state) {
    const uint32_t tile = Vuderiv::CreateBitmap(kTile, kTile);
    Paint(tile, [](int32_t x, int32_t y) { return static_cast<uint32_t>(x * 12 + y * 3000); });
    for (auto _ : state) {
        for (int32_t y = 0; y < kHeight; y += kTile) {
            for (int32_t x = 0; x < kWidth; x += kTile)
                Vuderiv::DrawBitmap(tile, x, y);
        }
    }
    Vuderiv::DestroyBitmap(tile);
}

void MaskedSprite(benchmark::State& state) {
    const uint32_t picture = Vuderiv::CreateBitmap(60, 60);
    const uint32_t mask = Vuderiv::CreateBitmap(60, 60);
    Paint(picture, [](int32_t x, int32_t y) { return static_cast<uint32_t>(x * 4 + y * 1024); });
    Paint(mask, [](int32_t x, int32_t y) {
        return (x - 30) * (x - 30) + (y - 30) * (y - 30) < 700 ? 0xFFFFFFu : 0u;
    });
    for (auto _ : state)
        Vuderiv::DrawMaskBitmap(picture, mask, 470, 370);
    Vuderiv::DestroyBitmap(mask);
    Vuderiv::DestroyBitmap(picture);
}

void TextLine(benchmark::State& state) {
    Vuderiv::SetFont(0, 0xFFFFFF);
    const char* line = "Score 000120  Health 100  Level 2  Enemy";  // 40 characters
    for (auto _ : state)
        Vuderiv::Text(line, 20, 760);
}

}  // namespace

BENCHMARK(BufferMemcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(TilesFullScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(MaskedSprite)->Unit(benchmark::kMicrosecond);
BENCHMARK(TextLine)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    Vuderiv::Window("Bench", kWidth, kHeight);
    if (!Vuderiv::WindowIsOpen()) return 1;
    Vuderiv::SetBuffering(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Vuderiv::KillWindow();
    return 0;
}
