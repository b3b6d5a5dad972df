// Pictures beyond plain BMP blocks: PNG files with their opacity, colour keys, and parts of
// bitmaps drawn mirrored. Private to Vuderiv.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Bitmaps.h"
#include "Shared.h"
#include "Surface.h"

namespace Vuderiv::detail {

// A decoded picture: its colours, and its opacity per pixel (empty: opaque throughout).
struct Decoded {
    Surface surface;
    std::vector<uint8_t> alpha;
};

// Reads a PNG or a BMP image from the stream (which it closes), by the file's first bytes,
// brought to width x height as DecodeBmp does. A PNG keeps its opacity. An empty surface
// on failure, and the reason in `fault` when given.
Decoded DecodePicture(SDL_RWops* stream, uint32_t width, uint32_t height,
                      uint64_t maxPixels = kMaxBitmapPixels, std::string* fault = nullptr);

// True when the bitmap has neither opacity nor a colour key: it draws as a plain copy.
bool Opaque(const BitStruct& bitmap);

// A block of a bitmap, in its own pixels.
struct Part {
    int64_t x = 0, y = 0;   // top-left corner
    uint32_t w = 0, h = 0;  // size
};

// Draws a part of a bitmap into the held canvas's buffer with its top-left corner at (x, y),
// mirrored as `flip` says (Vuderiv::FlipHorizontal, FlipVertical), blending its opacity and leaving
// out its colour key; with buffering off it shows the block it covers. Clipped to the bitmap's
// drawn block and to the buffer.
void DrawPart(Canvas& canvas, const BitStruct& bitmap, Part part, int64_t x, int64_t y,
              uint32_t flip);

}  // namespace Vuderiv::detail
