// The shapes: clearing the screen, rectangles, polygons, thick lines, and the shape records
// that DrawObject draws. Every operation holds the canvas for its whole drawing and copy.
#include "Shapes.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <new>
#include <span>
#include <vector>

#include "Raster.h"
#include "Report.h"
#include "Vuderiv.h"

namespace Vuderiv::detail {

namespace {

std::atomic<bool> failNextPointArray{false};

// The caller's n points, widened to 64 bits so that any sum of coordinates is safe.
// Empty, after a line on the console, when there is no memory for them.
std::vector<Point> CopyPoints(uint32_t n, const int32_t x[], const int32_t y[]) {
    std::vector<Point> points;
    try {
        if (failNextPointArray.exchange(false)) throw std::bad_alloc();
        points.reserve(n);
    } catch (const std::bad_alloc&) {
        Report("OUT OF MEMORY!! (In Vuderiv)   ");
        return {};
    }
    for (uint32_t i = 0; i < n; ++i)
        points.push_back({x[i], y[i]});
    return points;
}

// Draws a polygon into the held canvas, which notes the block of its corners: every pixel
// of its sides and inside lies there. With buffering off, shows the block from its least
// corner that is (largest - least) wide and high: the polygon's right column and bottom
// row reach the window only with the next full copy.
void ShowPolygon(Canvas& canvas, std::span<const Point> points, uint32_t color, bool fill) {
    const auto [left, right] = std::minmax_element(
        points.begin(), points.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
    const auto [top, bottom] = std::minmax_element(
        points.begin(), points.end(), [](const Point& a, const Point& b) { return a.y < b.y; });
    Surface& buffer =
        canvas.DrawBlock(left->x, top->y, right->x - left->x + 1, bottom->y - top->y + 1);
    // The buffer holds red, green and blue only; a top byte would not be a colour there.
    DrawPolygon(buffer, points, CreateColor(color), fill);
    if (canvas.Buffering()) return;
    canvas.Show(left->x, top->y, right->x - left->x, bottom->y - top->y);
}

// The offsets (a, b) from an end point of a thick line to the corners of its band: half
// the thickness across the line. For a line rising to the right `a` is negative.
Point BandOffset(int64_t dx, int64_t dy, uint32_t thickness) {
    const int64_t half = (int64_t{thickness} + 1) / 2;
    if (dx == 0) return {half, 0};
    if (dy == 0) return {0, half};
    const float slope = static_cast<float>(dy) / static_cast<float>(dx);
    const float across =
        std::sqrt(static_cast<float>(half * half) / (slope * slope + 1.0F));  // half · cos
    return {static_cast<int64_t>(across * slope), static_cast<int64_t>(across)};
}

// The band of a thick line: four corners and the first once more, flat at both ends.
std::array<Point, 5> BandCorners(Point from, Point to, uint32_t thickness) {
    const Point o = BandOffset(from.x - to.x, from.y - to.y, thickness);
    const Point first{from.x + o.x, from.y - o.y};
    return {first, Point{from.x - o.x, from.y + o.y}, Point{to.x - o.x, to.y + o.y},
            Point{to.x + o.x, to.y - o.y}, first};
}

}  // namespace

uint32_t CreateColor(uint32_t color) {
    return color & 0x00FFFFFFU;
}

void SetDraw(DrawStruct& draw, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color,
             bool fill) {
    draw.x0 = std::min(x0, x1);
    draw.x1 = std::max(x0, x1);
    draw.y0 = std::min(y0, y1);
    draw.y1 = std::max(y0, y1);
    draw.color = CreateColor(color);
    draw.fill = fill;
}

void DrawObject(Surface& buffer, const DrawStruct& draw) {
    const Box box{draw.x0, draw.y0, draw.x1, draw.y1};
    const Point start{draw.x2, draw.y2};
    const Point end{draw.x3, draw.y3};
    switch (draw.object) {
        case DR_LINE:
            return DrawLine(buffer, start, end, draw.color);
        case DR_RECT:
            if (draw.fill) return FillRect(buffer, box, draw.color);
            return FrameRect(buffer, box, draw.color);
        case DR_ELLIPSE:
            return DrawEllipse(buffer, box, draw.color, draw.fill);
        case DR_ARC:
            return DrawArc(buffer, box, start, end, draw.color);
        case DR_PIE:
            return DrawPie(buffer, box, start, end, draw.color, draw.fill);
    }
}

void UpdateDC(Canvas& canvas, const DrawStruct& draw) {
    if (!canvas.Open()) return;
    // A rectangle stays within its block; the other figures are not held to theirs.
    Surface& buffer = draw.object == DR_RECT
                          ? canvas.DrawBlock(draw.x0, draw.y0, int64_t{draw.x1} - draw.x0 + 1,
                                             int64_t{draw.y1} - draw.y0 + 1)
                          : canvas.DrawAnywhere();
    DrawObject(buffer, draw);
    if (canvas.Buffering()) return;
    canvas.Show(draw.x0, draw.y0, int64_t{draw.x1} - draw.x0 + 1, int64_t{draw.y1} - draw.y0 + 1);
}

void UpdateDC(const DrawStruct& draw) {
    Canvas canvas;
    UpdateDC(canvas, draw);
}

void SimulatePointArrayFailure() {
    failNextPointArray = true;
}

}  // namespace Vuderiv::detail

namespace Vuderiv {

using detail::Canvas;
using detail::DrawStruct;

void ClearScreen() {
    Canvas canvas;
    if (!canvas.Open()) return;
    DrawStruct draw;
    draw.object = detail::DR_RECT;
    // One pixel beyond the buffer on the right and at the bottom; clipping drops it.
    detail::SetDraw(draw, 0, 0, canvas.Buffer().width, canvas.Buffer().height, 0, true);
    detail::UpdateDC(canvas, draw);
}

void ThickLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color, uint32_t thickness) {
    Canvas canvas;
    if (!canvas.Open()) return;
    const auto corners = detail::BandCorners({x0, y0}, {x1, y1}, thickness);
    detail::ShowPolygon(canvas, corners, color, true);
}

void Rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color, bool fill) {
    DrawStruct draw;
    draw.object = detail::DR_RECT;
    detail::SetDraw(draw, x0, y0, x1, y1, color, fill);
    detail::UpdateDC(draw);
}

void Polygon(uint32_t n, const int32_t x[], const int32_t y[], uint32_t color, bool fill) {
    Canvas canvas;
    if (!canvas.Open() || n == 0 || x == nullptr || y == nullptr) return;
    const std::vector<detail::Point> points = detail::CopyPoints(n, x, y);
    if (points.empty()) return;
    detail::ShowPolygon(canvas, points, color, fill);
}

}  // namespace Vuderiv
