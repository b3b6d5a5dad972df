// The cost of a frame's drawing: 2000 tiles of 20 x 20 covering the 1000 x 800 buffer,
// one 60 x 60 masked sprite, and a 40-character text line, each beside a plain memcpy of
// the whole buffer measured in the same run; and 2000 draws of a 1 x 1 bitmap, the cost of
// the calls themselves.
#include <benchmark/benchmark.h>

#include "BenchWindow.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace {

using BenchWindow::kHeight;
using BenchWindow::kWidth;
constexpr int32_t kTile = 20;

// Fills a bitmap with a pattern; the mask pattern is half light, half dark.
void Paint(uint32_t bitmap, uint32_t (*color)(int32_t x, int32_t y)) {
    Vuderiv::detail::Canvas canvas;
    Vuderiv::detail::Surface& surface = canvas.Bitmaps()[bitmap - 1].surface;
    for (int32_t y = 0; y < surface.height; ++y) {
        for (int32_t x = 0; x < surface.width; ++x)
            surface.Row(y)[x] = color(x, y);
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

// What a draw costs apart from its pixels: the lock, the handle, the clipping.
void TinyDraws(benchmark::State& state) {
    const uint32_t tile = Vuderiv::CreateBitmap(1, 1);
    for (auto _ : state) {
        for (int32_t i = 0; i < 2000; ++i)
            Vuderiv::DrawBitmap(tile, i % 1000, i / 1000);
    }
    Vuderiv::DestroyBitmap(tile);
}

}  // namespace

BENCHMARK(TilesFullScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(MaskedSprite)->Unit(benchmark::kMicrosecond);
BENCHMARK(TextLine)->Unit(benchmark::kMicrosecond);
BENCHMARK(TinyDraws)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return BenchWindow::Run(argc, argv);
}
