// The sprite scene drawn the best way plain SDL2 offers on this machine: the window
// surface without acceleration (X shared memory) and SDL_BlitSurface of a sprite whose
// hidden pixels carry a colour key, run-length encoded (SDL_RLEACCEL).
//
// Usage: bench_sprites_sdl [SECONDS]
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "SpriteScene.h"

namespace {

using namespace SpriteScene;

constexpr uint32_t kKey = 0xFF00FF;  // no sprite pixel has this colour

SDL_Window* gWindow = nullptr;
SDL_Surface* gScreen = nullptr;
SDL_Surface* gSprite = nullptr;

// The sprite in the window surface's own layout, with its key run-length encoded.
SDL_Surface* MakeSprite(const SDL_PixelFormat* format) {
    SDL_Surface* rgb =
        SDL_CreateRGBSurfaceWithFormat(0, kSprite, kSprite, 32, SDL_PIXELFORMAT_RGB888);
    if (rgb == nullptr) return nullptr;
    for (int32_t y = 0; y < kSprite; ++y) {
        auto* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(rgb->pixels) + y * rgb->pitch);
        for (int32_t x = 0; x < kSprite; ++x)
            row[x] = SpriteShows(x, y) ? SpritePixel(x, y) : kKey;
    }
    SDL_Surface* sprite = SDL_ConvertSurface(rgb, format, 0);
    SDL_FreeSurface(rgb);
    if (sprite != nullptr) {
        SDL_SetColorKey(sprite, SDL_TRUE | SDL_RLEACCEL,
                        SDL_MapRGB(sprite->format, 0xFF, 0x00, 0xFF));
    }
    return sprite;
}

void Draw(int64_t frame) {
    SDL_FillRect(gScreen, nullptr,
                 SDL_MapRGB(gScreen->format, kBackground >> 16, (kBackground >> 8) & 0xFF,
                            kBackground & 0xFF));
    for (int32_t i = 0; i < kSprites; ++i) {
        const Place p = Position(i, frame);
        SDL_Rect to{p.x, p.y, kSprite, kSprite};
        SDL_BlitSurface(gSprite, nullptr, gScreen, &to);
    }
}

void Show() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
    }
    SDL_UpdateWindowSurface(gWindow);
}

uint64_t Picture() {
    Checksum sum;
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            uint32_t pixel = 0;
            SDL_memcpy(&pixel,
                       static_cast<uint8_t*>(gScreen->pixels) + y * gScreen->pitch +
                           x * gScreen->format->BytesPerPixel,
                       gScreen->format->BytesPerPixel);
            uint8_t r = 0, g = 0, b = 0;
            SDL_GetRGB(pixel, gScreen->format, &r, &g, &b);
            sum.Add(uint32_t{r} << 16 | uint32_t{g} << 8 | b);
        }
    }
    return sum.Value();
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL could not start: %s\n", SDL_GetError());
        return 1;
    }
    gWindow = SDL_CreateWindow("Sprites", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kWidth,
                               kHeight, 0);
    gScreen = gWindow != nullptr ? SDL_GetWindowSurface(gWindow) : nullptr;
    gSprite = gScreen != nullptr ? MakeSprite(gScreen->format) : nullptr;
    if (gSprite == nullptr) {
        std::fprintf(stderr, "The sprite window could not be made: %s\n", SDL_GetError());
        return 1;
    }
    Run("sdl", seconds, Draw, Show, Picture);
    SDL_FreeSurface(gSprite);
    SDL_DestroyWindow(gWindow);
    SDL_Quit();
    return 0;
}
