// The cost of sprites: 500 draws of a 32 x 32 cell of a sprite sheet, as a plain part, a
// mirrored part, a colour-keyed part and a part blended from a PNG's opacity, beside the
// plain DrawBitmap of a 32 x 32 bitmap.
#include <benchmark/benchmark.h>

#include "BenchWindow.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace {

constexpr int32_t kCell = 32, kSprites = 500;

// A 4-cell sheet: a disc on a magenta ground, opaque inside, half transparent around.
uint32_t MakeSheet(bool withOpacity) {
    const uint32_t sheet = Vuderiv::CreateBitmap(4 * kCell, kCell);
    Vuderiv::detail::Canvas canvas;
    Vuderiv::detail::BitStruct& slot = canvas.Bitmaps()[sheet - 1];
    for (int32_t y = 0; y < kCell; ++y) {
        for (int32_t x = 0; x < 4 * kCell; ++x) {
            const int32_t dx = x % kCell - 16, dy = y - 16;
            const bool inside = dx * dx + dy * dy < 200;
            slot.surface.Row(y)[x] = inside ? static_cast<uint32_t>(x * 2000 + y) : 0xFF00FF;
            if (withOpacity) slot.alpha.push_back(inside ? 255 : 128);
        }
    }
    return sheet;
}

void Draw(benchmark::State& state, uint32_t sheet, uint32_t flip, bool part) {
    for (auto _ : state) {
        for (int32_t i = 0; i < kSprites; ++i) {
            const int32_t x = i * 37 % 960, y = i * 53 % 760;
            if (part) {
                Vuderiv::DrawBitmapPart(sheet, i % 4 * kCell, 0, kCell, kCell, x, y, flip);
            } else {
                Vuderiv::DrawBitmap(sheet, x, y);
            }
        }
    }
    Vuderiv::DestroyBitmap(sheet);
}

void WholeBitmaps(benchmark::State& state) {
    Draw(state, Vuderiv::CreateBitmap(kCell, kCell), Vuderiv::FlipNone, false);
}

void PlainParts(benchmark::State& state) {
    Draw(state, MakeSheet(false), Vuderiv::FlipNone, true);
}

void MirroredParts(benchmark::State& state) {
    Draw(state, MakeSheet(false), Vuderiv::FlipHorizontal, true);
}

void KeyedParts(benchmark::State& state) {
    const uint32_t sheet = MakeSheet(false);
    Vuderiv::SetColorKey(sheet, 0xFF00FF);
    Draw(state, sheet, Vuderiv::FlipNone, true);
}

void BlendedParts(benchmark::State& state) {
    Draw(state, MakeSheet(true), Vuderiv::FlipNone, true);
}

}  // namespace

BENCHMARK(WholeBitmaps)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainParts)->Unit(benchmark::kMicrosecond);
BENCHMARK(MirroredParts)->Unit(benchmark::kMicrosecond);
BENCHMARK(KeyedParts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BlendedParts)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    return BenchWindow::Run(argc, argv);
}
