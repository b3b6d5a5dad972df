// The sprite scene that two programs draw, one with Vuderiv and one with plain SDL2, so
// that their costs can be set side by side: 500 masked 32 x 32 sprites moving over a
// plain background in an 800 x 600 window, 60 frames a second. Both programs take the
// picture, the mask, the paths and the timing from here, and print one line in the same
// form for bench/report.py.
#pragma once

#include <cstdint>
#include <vector>

namespace SpriteScene {

constexpr int32_t kWidth = 800, kHeight = 600;
constexpr int32_t kSprite = 32;
constexpr int32_t kSprites = 500;
constexpr int32_t kFramesPerSecond = 60;
constexpr uint32_t kBackground = 0x204060;  // 0x00RRGGBB

// The sprite's colour at (x, y), 0x00RRGGBB; never the colour key of the SDL program.
uint32_t SpritePixel(int32_t x, int32_t y);
// True where the sprite is drawn (a disc with a hole: runs of two lengths per row).
bool SpriteShows(int32_t x, int32_t y);

// The top-left corner of sprite i in frame f: each one bounces inside the window at a
// speed of its own.
struct Place {
    int32_t x = 0, y = 0;
};
Place Position(int32_t i, int64_t frame);

// The picture as a checksum of rows of 0x00RRGGBB pixels, to tell the two programs drew
// the same thing.
class Checksum {
public:
    void Add(uint32_t rgb) { sum_ = (sum_ ^ (rgb & 0xFFFFFF)) * 1099511628211ull; }
    uint64_t Value() const { return sum_; }

private:
    uint64_t sum_ = 14695981039346656037ull;
};

// Runs frames at 60 a second for `seconds`: draw() each frame (its thread CPU time is
// what "drawing" counts), then show(). Prints the line
//   sprites: <name> cpu_share=<% of one core, whole process> draw_us=<median> frames=<n>
// and returns nothing; picture() is called after the last frame for the checksum.
void Run(const char* name, double seconds, void (*draw)(int64_t frame), void (*show)(),
         uint64_t (*picture)());

}  // namespace SpriteScene
