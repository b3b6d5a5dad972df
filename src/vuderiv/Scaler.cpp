#include "Scaler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#include "Frame.h"
#include "Surface.h"

namespace Vuderiv::detail {

namespace {

// How far, from 0 to 1, a window pixel lies from the first of its two buffer pixels toward
// the second (`t`, also from 0 to 1) at a factor below 1: an even mix near the middle, wide
// enough that a buffer pixel between two window pixels is half of each; steeper outside.
double Lean(double t, double factor) {
    const double even = 0.5 / factor - 0.5;  // half the width of the even mix
    const double side = 0.5 - even;
    if (side <= 0 || std::abs(t - 0.5) <= even) return 0.5;
    return t < 0.5 ? t * 0.5 / side : 1 - (1 - t) * 0.5 / side;
}

// Widens the range of window pixels [from, end) that read a buffer pixel by window pixel j.
void Reads(Taps& taps, int32_t pixel, int32_t j) {
    auto& from = taps.readFrom[static_cast<size_t>(pixel)];
    auto& end = taps.readEnd[static_cast<size_t>(pixel)];
    if (end <= from) from = j;
    end = j + 1;
}

// One window pixel of a fitted row: the blend of four buffer pixels.
uint32_t FittedPixel(const Taps& columns, int32_t x, const uint32_t* upper, const uint32_t* lower,
                     uint32_t down) {
    const int32_t k = columns.first[static_cast<size_t>(x)];
    const uint32_t across = columns.weight[static_cast<size_t>(x)];
    const int32_t next = across != 0 ? k + 1 : k;
    const uint32_t top = Blend(upper[k], upper[next], across);
    return down == 0 ? top : Blend(top, Blend(lower[k], lower[next], across), down);
}

// Writes window row j of the picture, columns [from, end) of the picture.
void WriteFittedRow(Frame& frame, int32_t j, int32_t from, int32_t end) {
    const int32_t k = frame.rows.first[static_cast<size_t>(j)];
    const uint32_t down = frame.rows.weight[static_cast<size_t>(j)];
    const uint32_t* upper = frame.copy.Row(k);
    const uint32_t* lower = frame.copy.Row(down != 0 ? k + 1 : k);
    uint8_t* row = WindowRow(frame, frame.top + j);
    const SDL_PixelFormat* format = frame.surface->format;
    const int32_t bytes = format->BytesPerPixel;
    for (int32_t x = from; x < end; ++x) {
        const uint32_t shown =
            WindowColor(format, FittedPixel(frame.columns, x, upper, lower, down));
        std::memcpy(row + static_cast<ptrdiff_t>(frame.left + x) * bytes, &shown, bytes);
    }
}

Span Union(Span a, Span b) {
    if (a.end <= a.first) return b;
    if (b.end <= b.first) return a;
    return {std::min(a.first, b.first), std::max(a.end, b.end)};
}

}  // namespace

Taps AxisTaps(int32_t from, int32_t to) {
    Taps taps;
    taps.first.resize(static_cast<size_t>(to));
    taps.weight.resize(static_cast<size_t>(to));
    taps.readFrom.assign(static_cast<size_t>(from), 0);
    taps.readEnd.assign(static_cast<size_t>(from), 0);
    const double factor = static_cast<double>(to) / from;
    const int64_t whole = std::max<int64_t>(1, to / from);  // the exact step first
    const int64_t steps = from * whole;                     // pixels after the exact step
    for (int32_t j = 0; j < to; ++j) {
        // The window pixel's middle among the exactly enlarged pixels' middles.
        const double at = static_cast<double>((2 * int64_t{j} + 1) * steps - to) / (2.0 * to);
        const auto step = static_cast<int64_t>(std::floor(at));
        const int64_t first = std::clamp<int64_t>(step, 0, steps - 1) / whole;
        const int64_t second = std::clamp<int64_t>(step + 1, 0, steps - 1) / whole;
        uint32_t weight = 0;
        if (second != first) {
            const double t = at - static_cast<double>(step);
            weight = static_cast<uint32_t>(std::lround(256 * (factor < 1 ? Lean(t, factor) : t)));
        }
        taps.first[static_cast<size_t>(j)] = static_cast<int32_t>(first);
        taps.weight[static_cast<size_t>(j)] = static_cast<uint16_t>(weight);
        if (weight < 256) Reads(taps, static_cast<int32_t>(first), j);
        if (weight > 0) Reads(taps, static_cast<int32_t>(second), j);
    }
    return taps;
}

void FittedSize(int32_t w, int32_t h, int32_t room, int32_t roomHeight, int32_t& shownWidth,
                int32_t& shownHeight) {
    const int32_t common = std::gcd(w, h);
    const int32_t unitWidth = w / common, unitHeight = h / common;
    const int32_t units = std::max(1, std::min(room / unitWidth, roomHeight / unitHeight));
    shownWidth = unitWidth * units;
    shownHeight = unitHeight * units;
}

uint32_t Blend(uint32_t a, uint32_t b, uint32_t weight) {
    // Red and blue together, green apart: each sum stays within its 16 bits.
    const uint32_t keep = 256 - weight;
    const uint32_t redBlue = ((a & 0xFF00FF) * keep + (b & 0xFF00FF) * weight + 0x800080) >> 8;
    const uint32_t green = ((a & 0x00FF00) * keep + (b & 0x00FF00) * weight + 0x008000) >> 8;
    return (redBlue & 0xFF00FF) | (green & 0x00FF00);
}

void ShowFitted(Frame& frame, const Surface& buffer, const Block& block) {
    if (frame.copy.width != buffer.width || frame.copy.height != buffer.height) return;
    int32_t firstRow = frame.shownHeight, endRow = 0;
    for (int32_t y = block.y; y < block.y + block.h; ++y) {
        const Span changed = Changes(frame, buffer, y, block.x, block.w);
        if (changed.end <= changed.first) continue;
        frame.changedRows[static_cast<size_t>(y)] = changed;
        firstRow = std::min(firstRow, frame.rows.readFrom[static_cast<size_t>(y)]);
        endRow = std::max(endRow, frame.rows.readEnd[static_cast<size_t>(y)]);
    }
    for (int32_t j = firstRow; j < endRow; ++j) {
        const int32_t k = frame.rows.first[static_cast<size_t>(j)];
        const bool both = frame.rows.weight[static_cast<size_t>(j)] != 0;
        const Span changed = Union(frame.changedRows[static_cast<size_t>(k)],
                                   both ? frame.changedRows[static_cast<size_t>(k) + 1] : Span{});
        if (changed.end <= changed.first) continue;
        const int32_t from = frame.columns.readFrom[static_cast<size_t>(changed.first)];
        const int32_t end = frame.columns.readEnd[static_cast<size_t>(changed.end) - 1];
        WriteFittedRow(frame, j, from, end);
        frame.damage.Add(frame.top + j, frame.top + j + 1, frame.left + from, frame.left + end);
    }
    for (int32_t y = block.y; y < block.y + block.h; ++y)
        frame.changedRows[static_cast<size_t>(y)] = Span{};
}

}  // namespace Vuderiv::detail
