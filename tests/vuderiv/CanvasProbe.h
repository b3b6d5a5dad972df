// Test helpers that set up and read back the buffer and the window's picture directly,
// so that a test can make the two differ and see exactly which pixels a draw touched.
#pragma once

#include <cstdint>
#include <vector>

#include "Shared.h"
#include "Vuderiv.h"

namespace CanvasProbe {

// Fills a block of the buffer only (the window's picture keeps its pixels).
inline void FillBuffer(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t color) {
    Vuderiv::detail::Canvas canvas;
    for (int32_t row = y; row < y + h; ++row) {
        for (int32_t column = x; column < x + w; ++column) {
            if (canvas.Buffer().Contains(column, row))
                canvas.DrawRows(row, 1).Row(row)[column] = color;
        }
    }
}

// A block of pixels, row by row, from the buffer or from the window's picture.
inline std::vector<uint32_t> Capture(int32_t x, int32_t y, int32_t w, int32_t h,
                                     bool window = false) {
    std::vector<uint32_t> pixels;
    for (int32_t row = y; row < y + h; ++row) {
        for (int32_t column = x; column < x + w; ++column) {
            pixels.push_back(window ? Vuderiv::WindowPixel(column, row)
                                    : Vuderiv::BufferPixel(column, row));
        }
    }
    return pixels;
}

// The number of slots in the bitmap table, and the storage it holds.
inline size_t TableCapacity() {
    Vuderiv::detail::Canvas canvas;
    return canvas.Bitmaps().capacity();
}

}  // namespace CanvasProbe
