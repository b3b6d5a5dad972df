// Antialiased filled shapes: a shape is a test of whether a point lies inside, filled by
// sampling each pixel on a 4 x 4 grid, with a solid colour or a vertical gradient.
#pragma once

#include <functional>
#include <vector>

#include "Image.h"

namespace Artgen {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct Point {
    double x = 0, y = 0;
};

// True where the point (in pixel units, pixel (i, j) spans i..i+1, j..j+1) is inside.
using Region = std::function<bool(double x, double y)>;
// The colour of the fill at a pixel.
using Paint = std::function<Colour(int x, int y)>;

// Lays the paint over every pixel of `bounds` in proportion to how much the region covers it.
void FillRegion(Image& image, Rect bounds, const Region& inside, const Paint& paint);

Region RectRegion(Rect r);
// A rectangle whose corners are rounded with the given radius.
Region RoundedRectRegion(Rect r, double radius);
Region EllipseRegion(double cx, double cy, double rx, double ry);
// A polygon through the points (closed), by the nonzero winding rule.
Region PolygonRegion(std::vector<Point> points);
// The smallest whole-pixel rectangle around the points.
Rect BoundsOf(const std::vector<Point>& points);

Paint Solid(Colour c);
// `top` on row y0, `bottom` on row y0 + h - 1, mixed in between.
Paint VerticalGradient(Colour top, Colour bottom, int y0, int h);

}  // namespace Artgen
