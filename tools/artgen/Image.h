// An RGB picture in memory and the few pixel operations every drawing command shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Artgen {

// A colour with opacity: alpha 255 covers the target, 0 leaves it untouched.
struct Colour {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Colour&) const = default;
};

// The colour a fraction `t` (0..1) of the way from `from` to `to`.
Colour Mix(Colour from, Colour to, double t);

// A picture of width x height opaque pixels, row by row from the top.
class Image {
public:
    Image() = default;
    Image(int width, int height, Colour fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // The pixel at (x, y); the caller keeps (x, y) inside.
    Colour At(int x, int y) const { return pixels_[Index(x, y)]; }
    // Lays `c` over the pixel with c's opacity scaled by `coverage` (0..1); outside: nothing.
    void Blend(int x, int y, Colour c, double coverage = 1.0);
    // Mirrors the picture left to right.
    void Mirror();

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
    int width_ = 0;
    int height_ = 0;
    std::vector<Colour> pixels_;
};

}  // namespace Artgen
