// The shape records of Vuderiv and the operations that draw them. Private to Vuderiv;
// the public shapes (ClearScreen, ThickLine, Rectangle, Polygon) are in Vuderiv.h.
#pragma once

#include <cstdint>

#include "Shared.h"

namespace Vuderiv::detail {

// The kind of shape a DrawStruct describes.
enum DrawType : uint8_t { DR_LINE = 0, DR_RECT = 1, DR_ELLIPSE = 2, DR_ARC = 3, DR_PIE = 4 };

// One shape, described for DrawObject and UpdateDC.
struct DrawStruct {
    DrawType object = DR_RECT;   // the kind of shape
    int32_t x0 = 0, y0 = 0;      // bounding rectangle, top left (x0 <= x1, y0 <= y1)
    int32_t x1 = 0, y1 = 0;      // bounding rectangle, bottom right, included
    int32_t x2 = 0, y2 = 0;      // a line's start, or the point that starts an arc or pie
    int32_t x3 = 0, y3 = 0;      // a line's end, or the point that ends an arc or pie
    uint32_t r = 0;              // carried along; nothing reads it
    float a0 = 0.0F, a1 = 0.0F;  // carried along; nothing reads them
    uint32_t color = 0;          // colour value, already through CreateColor
    bool fill = false;           // true: filled; false: outline only
};

// The colour value with bits 24-31 cleared: the buffer holds red, green and blue only.
uint32_t CreateColor(uint32_t color);
// Sets the bounding rectangle (corners in any order), colour and fill of a shape; leaves
// its kind and other fields as they are.
void SetDraw(DrawStruct& draw, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color,
             bool fill);
// Draws the shape into the surface (the caller holds it); an unknown kind draws nothing.
void DrawObject(Surface& buffer, const DrawStruct& draw);
// Draws the shape into the buffer of the held canvas and, with buffering off, shows its
// bounding rectangle in the window. Nothing while no window is open.
void UpdateDC(Canvas& canvas, const DrawStruct& draw);
// The same, taking the canvas for the one shape.
void UpdateDC(const DrawStruct& draw);

// Test hook: the next allocation of a polygon's point array fails as if memory ran out.
void SimulatePointArrayFailure();

}  // namespace Vuderiv::detail
