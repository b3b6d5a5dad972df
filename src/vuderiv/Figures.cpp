// Pixels, one-pixel lines and circles: the small figures beside the shapes. Each holds the
// canvas for its drawing and, with buffering off, shows exactly its bounding block.
#include <algorithm>

#include "Raster.h"
#include "Shapes.h"
#include "Vuderiv.h"

namespace Vuderiv {

using detail::Box;
using detail::Canvas;
using detail::Point;

void SetPixel(int32_t x, int32_t y, uint32_t color) {
    Canvas canvas;
    if (!canvas.Open()) return;
    detail::FillRect(canvas.DrawBlock(x, y, 1, 1), Box{x, y, x, y}, detail::CreateColor(color));
    if (!canvas.Buffering()) canvas.Show(x, y, 1, 1);
}

void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color) {
    Canvas canvas;
    if (!canvas.Open()) return;
    const int64_t left = std::min(x0, x1);
    const int64_t top = std::min(y0, y1);
    detail::DrawLine(
        canvas.DrawBlock(left, top, std::max(x0, x1) - left + 1, std::max(y0, y1) - top + 1),
        Point{x0, y0}, Point{x1, y1}, detail::CreateColor(color));
    if (canvas.Buffering()) return;
    canvas.Show(left, top, std::max(x0, x1) - left + 1, std::max(y0, y1) - top + 1);
}

void Circle(int32_t x, int32_t y, uint32_t radius, uint32_t color, bool fill) {
    Canvas canvas;
    if (!canvas.Open()) return;
    const Box box{int64_t{x} - radius, int64_t{y} - radius, int64_t{x} + radius,
                  int64_t{y} + radius};
    detail::DrawEllipse(canvas.DrawAnywhere(), box, detail::CreateColor(color), fill);
    if (!canvas.Buffering()) canvas.Show(box.x0, box.y0, box.x1 - box.x0 + 1, box.y1 - box.y0 + 1);
}

}  // namespace Vuderiv
