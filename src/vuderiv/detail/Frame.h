// The window's frame: the window surface that the screen shows, and where the buffer's
// picture lies on it. Private to Vuderiv.
//
// The window's picture lives in the window surface itself, in the surface's own pixel
// layout, at the window's whole scale or fitted to it (Scaler.h). Showing the buffer compares it
// with a copy of what the surface last took, writes only the rows' changed parts and notes where
// they lie; the window system is then given just those parts of the surface to copy to the screen.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "Scaler.h"
#include "Surface.h"

namespace Vuderiv::detail {

// The parts of a surface written since the window system last took it: for each band of
// kBandRows surface rows, the columns [first, end) written in it.
class Damage {
public:
    static constexpr int32_t kBandRows = 16;

    // All of a surface of width x height changed (a new surface, or the screen lost it).
    void Whole(int32_t width, int32_t height);
    // Rows [top, bottom) changed in columns [first, end).
    void Add(int32_t top, int32_t bottom, int32_t first, int32_t end);
    // The changed parts as rectangles (bands with the same columns joined) in out; nothing
    // is changed afterwards.
    void Take(std::vector<SDL_Rect>& out);

private:
    struct Columns {
        int32_t first = 0, end = 0;  // empty when end <= first
    };
    int32_t width_ = 0, height_ = 0;
    std::vector<Columns> bands_;
};

// The columns [first, end) of a row; empty when end <= first.
struct Span {
    int32_t first = 0, end = 0;
};

// What a buffer row holds when it is known to be a whole row of a picture: the picture's
// version (BitStruct) and its row. A version of 0: not known.
struct RowSource {
    uint64_t version = 0;
    int64_t row = 0;
    bool operator==(const RowSource&) const = default;
};

struct Frame {
    SDL_Surface* surface = nullptr;  // the window surface; nullptr while there is none
    int32_t width = 0, height = 0;   // the surface's size in window pixels
    int32_t scale = 1;               // each buffer pixel shows as scale x scale window pixels
    int32_t left = 0, top = 0;       // the window pixel of the buffer's top-left corner
    // The picture's size in window pixels: the buffer's times scale, or any when fitted.
    int32_t shownWidth = 0, shownHeight = 0;
    bool fitted = false;            // the picture is blended at another size (Scaler.h)
    Taps columns, rows;             // fitted: how window columns and rows read the buffer
    std::vector<Span> changedRows;  // fitted: each buffer row's change while it is shown
    // The surface shows the buffer pixel for pixel in its own layout, so the buffer is
    // compared with the surface itself; otherwise with `copy`.
    bool direct = false;
    Surface copy;  // the buffer as last written to the surface, to find what changed
    // For each buffer row: the columns drawn into since it was last shown whole, where it
    // may differ from what the surface shows (empty: it is as shown).
    std::vector<Span> drawnRows;
    // For each buffer row: the picture row it holds but for the columns `drawnOver`.
    std::vector<RowSource> rowSources;
    std::vector<Span> drawnOver;
    // Every row is noted as drawn and drawn over in all its columns: noting more changes
    // nothing (a frame filled whole, then drawn on, passes its later notes by).
    bool allNoted = false;
    Damage damage;  // what changed on the surface since it was last shown
};

// The frame for a surface that shows a picture of w x h buffer pixels, centred: at the
// largest whole scale (at least 1) at which the picture fits, or, when `fit`, as large as
// the surface allows, keeping the picture's shape (a whole scale when that is the size).
// The surface is cleared to black.
Frame FitFrame(SDL_Surface* surface, int32_t w, int32_t h, bool fit = false);

// The largest whole scale (at least 1) at which w x h fits into room x roomHeight.
int32_t LargestScale(int32_t w, int32_t h, int32_t room, int32_t roomHeight);

// Writes the block (clipped) of the buffer into the frame: each pixel in the surface's
// layout, scale x scale times. Only the part of each row from its first to its last pixel
// that changed since the frame last took it is written, and added to the frame's damage.
// Rows that no drawing noted since they were last shown whole are not looked at.
void ShowBlock(Frame& frame, const Surface& buffer, int64_t x, int64_t y, int64_t w, int64_t h);

// Notes that a drawing writes within the buffer block (x, y, w, h) (clipped).
void NoteBlock(Frame& frame, int64_t x, int64_t y, int64_t w, int64_t h);
// For a copy of the whole picture row `source` into buffer row y of `width` columns: the
// columns to copy (none where the row holds that picture row already), noted as drawn, and
// the row noted as holding `source` from then on.
Span TakePictureRow(Frame& frame, int32_t y, RowSource source, int32_t width);

// Fills the whole frame with black (the bars around the picture): all of it is damage.
void ClearFrame(Frame& frame);

// The colour (0x00BBGGRR) that the frame shows for the buffer pixel (x, y); 0 when that
// pixel is not on the frame.
uint32_t FramePixel(const Frame& frame, int64_t x, int64_t y);

// The buffer coordinate of a window coordinate: the buffer pixel under the window pixel's
// centre, on an axis where `size` buffer pixels show as `shown` window pixels from `offset`
// on; points left of or above the picture map below 0.
int32_t ToBuffer(int32_t v, int32_t offset, int32_t shown, int32_t size);

// The part of row y within [x0, x0 + n) that differs from the frame's copy of the buffer,
// brought up to date there (all of it when the copy is of another size).
Span Changes(Frame& frame, const Surface& buffer, int32_t y, int32_t x0, int32_t n);
// The surface row y of the frame.
uint8_t* WindowRow(const Frame& frame, int32_t y);
// A buffer colour in the surface's pixel layout.
uint32_t WindowColor(const SDL_PixelFormat* format, uint32_t p);

}  // namespace Vuderiv::detail
