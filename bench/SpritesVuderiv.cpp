// The sprite scene drawn with Vuderiv: the background as one filled rectangle, each
// sprite with DrawMaskBitmap, the frame shown with UpdateWindow.
//
// Usage: bench_sprites [SECONDS]
#include <cstdio>
#include <cstdlib>

#include "Shared.h"
#include "SpriteScene.h"
#include "Vuderiv.h"

namespace {

using namespace SpriteScene;

uint32_t gPicture = 0, gMask = 0;

// 0x00RRGGBB as Vuderiv's 0x00BBGGRR, and back.
uint32_t SwapRedBlue(uint32_t p) {
    return (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
}

// A 32 x 32 bitmap filled by colour(x, y) (given 0x00RRGGBB).
uint32_t MakeBitmap(uint32_t (*colour)(int32_t x, int32_t y)) {
    const uint32_t bitmap = Vuderiv::CreateBitmap(kSprite, kSprite);
    Vuderiv::detail::Canvas canvas;
    Vuderiv::detail::Surface& surface = canvas.Bitmaps()[bitmap - 1].surface;
    for (int32_t y = 0; y < kSprite; ++y) {
        for (int32_t x = 0; x < kSprite; ++x)
            surface.Row(y)[x] = SwapRedBlue(colour(x, y));
    }
    return bitmap;
}

void Draw(int64_t frame) {
    Vuderiv::Rectangle(0, 0, kWidth - 1, kHeight - 1, SwapRedBlue(kBackground), true);
    for (int32_t i = 0; i < kSprites; ++i) {
        const Place p = Position(i, frame);
        Vuderiv::DrawMaskBitmap(gPicture, gMask, p.x, p.y);
    }
}

void Show() {
    Vuderiv::UpdateWindow();
}

uint64_t Picture() {
    Vuderiv::detail::Sync();  // the last frame is on the window
    Checksum sum;
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x)
            sum.Add(SwapRedBlue(Vuderiv::WindowPixel(x, y)));
    }
    return sum.Value();
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    Vuderiv::Window("Sprites", kWidth, kHeight);
    if (!Vuderiv::WindowIsOpen()) {
        std::fprintf(stderr, "The sprite window could not be opened.\n");
        return 1;
    }
    Vuderiv::SetBuffering(true);
    gPicture = MakeBitmap(SpritePixel);
    gMask = MakeBitmap([](int32_t x, int32_t y) { return SpriteShows(x, y) ? 0xFFFFFFu : 0u; });
    Run("vuderiv", seconds, Draw, Show, Picture);
    Vuderiv::KillWindow();
    return 0;
}
