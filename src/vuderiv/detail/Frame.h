// The window's frame: the window surface that the screen shows, and where the buffer's
// picture lies on it. Private to Vuderiv.
//
// The window's picture lives in the window surface itself, in the surface's own pixel
// layout, at the window's whole scale: a shown frame is one pass from the buffer into the
// surface and the window system's own pass to the screen.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "Surface.h"

namespace Vuderiv::detail {

struct Frame {
    SDL_Surface* surface = nullptr;  // the window surface; nullptr while there is none
    int32_t width = 0, height = 0;   // the surface's size in window pixels
    int32_t scale = 1;               // each buffer pixel shows as scale x scale window pixels
    int32_t left = 0, top = 0;       // the window pixel of the buffer's top-left corner
};

// The frame for a surface that shows a picture of w x h buffer pixels: the largest whole
// scale (at least 1) at which the picture fits, centred.
Frame FitFrame(SDL_Surface* surface, int32_t w, int32_t h);

// The largest whole scale (at least 1) at which w x h fits into room x roomHeight.
int32_t LargestScale(int32_t w, int32_t h, int32_t room, int32_t roomHeight);

// Writes the block (clipped) of the buffer into the frame: each pixel in the surface's
// layout, scale x scale times.
void ShowBlock(const Frame& frame, const Surface& buffer, int64_t x, int64_t y, int64_t w,
               int64_t h);

// Fills the whole frame with black (the bars around the picture).
void ClearFrame(const Frame& frame);

// The colour (0x00BBGGRR) that the frame shows for the buffer pixel (x, y); 0 when that
// pixel is not on the frame.
uint32_t FramePixel(const Frame& frame, int64_t x, int64_t y);

// The buffer coordinate of a window coordinate: (v - offset) / scale, rounded down, so
// points left of or above the picture map below 0.
int32_t ToBuffer(int32_t v, int32_t offset, int32_t scale);

}  // namespace Vuderiv::detail
