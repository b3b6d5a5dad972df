#include "Image.h"

#include <algorithm>
#include <cmath>

namespace Artgen {

namespace {

uint8_t Lerp(uint8_t from, uint8_t to, double t) {
    return static_cast<uint8_t>(std::lround(from + (to - from) * t));
}

}  // namespace

Colour Mix(Colour from, Colour to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {Lerp(from.r, to.r, t), Lerp(from.g, to.g, t), Lerp(from.b, to.b, t),
            Lerp(from.a, to.a, t)};
}

Image::Image(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {
    for (Colour& p : pixels_)
        p.a = 255;
}

void Image::Blend(int x, int y, Colour c, double coverage) {
    if (!Contains(x, y)) return;
    Colour& target = pixels_[Index(x, y)];
    const Colour over{c.r, c.g, c.b, 255};
    target = Mix(target, over, coverage * c.a / 255.0);
    target.a = 255;
}

void Image::Mirror() {
    for (int y = 0; y < height_; ++y) {
        std::reverse(pixels_.begin() + static_cast<std::ptrdiff_t>(Index(0, y)),
                     pixels_.begin() + static_cast<std::ptrdiff_t>(Index(0, y) + width_));
    }
}

}  // namespace Artgen
