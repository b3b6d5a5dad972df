// The fitted picture: the buffer shown at any factor, below 1 too, keeping its shape.
// Private to Vuderiv.
//
// The picture is enlarged by the largest whole factor with exact pixels and brought the rest
// of the way by a linear filter, so that each window pixel blends at most two neighbouring
// buffer pixels along each axis. Below a factor of 1 the blend leans to an even mix where a
// buffer pixel falls between two window pixels, so that no row or column of the buffer is
// lost: a one-pixel line keeps at least half its contrast, and a flat area stays exactly flat.
#pragma once

#include <cstdint>
#include <vector>

namespace Vuderiv::detail {

struct Frame;
struct Surface;
struct Block;

// One axis of a fitted picture of `from` buffer pixels shown as `to` window pixels.
struct Taps {
    // For each window pixel: the first of the two buffer pixels it blends, and the weight
    // of the second out of 256 (0: the first alone).
    std::vector<int32_t> first;
    std::vector<uint16_t> weight;
    // For each buffer pixel: the window pixels [readFrom, readEnd) that read it.
    std::vector<int32_t> readFrom, readEnd;
};

// The taps of one axis; `from` and `to` at least 1.
Taps AxisTaps(int32_t from, int32_t to);

// The largest size of w x h's shape (w and h over their greatest common divisor, times a
// whole number) within room x roomHeight; at least that shape once.
void FittedSize(int32_t w, int32_t h, int32_t room, int32_t roomHeight, int32_t& shownWidth,
                int32_t& shownHeight);

// The blend of two 0x00BBGGRR colours, `weight` out of 256 of the second; equal colours
// give that colour exactly.
uint32_t Blend(uint32_t a, uint32_t b, uint32_t weight);

// The fitted frame's picture from the block of the buffer: what changed in each row since
// the frame last took it, and the window pixels that read it, written and added to the
// frame's damage.
void ShowFitted(Frame& frame, const Surface& buffer, const Block& block);

}  // namespace Vuderiv::detail
