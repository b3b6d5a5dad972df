// The rasteriser: rectangles, lines, polygons and ellipses drawn into a Surface.
// Private to Vuderiv. Pure functions without locking; the caller holds the surface.
// Coordinates are 64-bit, so any 32-bit position (and sums of them) is safe: whatever lies
// outside the surface is clipped away and nothing is ever written outside it.
#pragma once

#include <cstdint>
#include <span>

#include "Surface.h"

namespace Vuderiv::detail {

// A pixel position.
struct Point {
    int64_t x = 0;  // column, to the right
    int64_t y = 0;  // row, downwards
};

// A rectangle given by two opposite corners, both inside it, in any order.
struct Box {
    int64_t x0 = 0, y0 = 0;  // one corner
    int64_t x1 = 0, y1 = 0;  // the opposite corner
};

// Fills every pixel of the box.
void FillRect(Surface& s, Box box, uint32_t color);
// Sets the one-pixel border of the box.
void FrameRect(Surface& s, Box box, uint32_t color);
// A one-pixel line that includes both end points.
void DrawLine(Surface& s, Point from, Point to, uint32_t color);
// A polygon through the points, closed from the last back to the first: its outline, and
// when `fill` its interior by the nonzero winding rule as well. Nothing for no points.
void DrawPolygon(Surface& s, std::span<const Point> points, uint32_t color, bool fill);
// The ellipse inscribed in the box: its one-pixel outline, or the whole of it when `fill`.
void DrawEllipse(Surface& s, Box box, uint32_t color, bool fill);
// The part of that ellipse's outline swept counterclockwise (as seen on the screen) from
// the ray through `from` to the ray through `to`, both rays leaving the centre. Equal rays
// give the whole outline.
void DrawArc(Surface& s, Box box, Point from, Point to, uint32_t color);
// The same arc closed by the two radii to the centre: the outline only, or the whole
// sector when `fill`.
void DrawPie(Surface& s, Box box, Point from, Point to, uint32_t color, bool fill);

}  // namespace Vuderiv::detail
