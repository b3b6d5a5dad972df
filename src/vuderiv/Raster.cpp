#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Vuderiv::detail {

namespace {

// Products of two 64-bit distances need more than 64 bits.
__extension__ typedef __int128 Wide;

// Above this size an ellipse's pixel test runs in long double; below it, exactly.
constexpr int64_t kExactEllipseLimit = int64_t{1} << 31;

// floor(num / den) for den > 0; the caller knows that the quotient fits 64 bits. Most
// operands fit 64 bits themselves, and their division is many times quicker.
int64_t FloorDiv(Wide num, Wide den) {
    constexpr Wide kLeast = INT64_MIN, kMost = INT64_MAX;
    if (num >= kLeast && num <= kMost && den <= kMost) {
        const auto n = static_cast<int64_t>(num), d = static_cast<int64_t>(den);
        return n / d - (n % d != 0 && n < 0 ? 1 : 0);
    }
    Wide q = num / den;
    if (num % den != 0 && num < 0) --q;
    return static_cast<int64_t>(q);
}

// ceil(num / den) for den > 0.
int64_t CeilDiv(Wide num, Wide den) {
    return -FloorDiv(-num, den);
}

int64_t Abs(int64_t v) {
    return v < 0 ? -v : v;
}

// A run of pixels l..r of one row; empty when l > r.
struct Span {
    int64_t l = 0;
    int64_t r = -1;
    bool Empty() const { return l > r; }
};

void Plot(Surface& s, int64_t x, int64_t y, uint32_t color) {
    if (s.Contains(x, y)) s.Row(static_cast<int32_t>(y))[x] = color;
}

// std::fill of 32-bit pixels runs one pixel at a time here; after a short start, copying
// what is filled over the rest in doubling blocks goes at the speed of memcpy.
void FillPixels(uint32_t* pixels, size_t count, uint32_t color) {
    const size_t start = std::min<size_t>(count, 16);
    std::fill(pixels, pixels + start, color);
    for (size_t done = start; done < count;) {
        const size_t block = std::min(done, count - done);
        std::memcpy(pixels + done, pixels, block * sizeof(uint32_t));
        done += block;
    }
}

// Fills the pixels l..r of row y, whatever of them lies on the surface.
void FillSpan(Surface& s, int64_t y, Span span, uint32_t color) {
    if (y < 0 || y >= s.height) return;
    const int64_t l = std::max<int64_t>(span.l, 0);
    const int64_t r = std::min<int64_t>(span.r, int64_t{s.width} - 1);
    if (l > r) return;
    FillPixels(s.Row(static_cast<int32_t>(y)) + l, static_cast<size_t>(r - l + 1), color);
}

// The rows top..bottom cut to the surface's rows, as a span.
Span ClipRows(const Surface& s, int64_t top, int64_t bottom) {
    return {std::max<int64_t>(top, 0), std::min<int64_t>(bottom, int64_t{s.height} - 1)};
}

Box Normalised(Box b) {
    return {std::min(b.x0, b.x1), std::min(b.y0, b.y1), std::max(b.x0, b.x1), std::max(b.y0, b.y1)};
}

// Walks a line along its major axis u (the other axis is v): one pixel for each u from u0
// to u0 + du (du > 0, |dv| <= du) that lies in 0..limit - 1, v rounded to the nearest
// whole number (halves rounded up), so both end points are exact.
template <typename PlotFn>
void WalkLine(int64_t u0, int64_t v0, int64_t du, int64_t dv, int64_t limit, PlotFn plot) {
    const Span steps{std::max<int64_t>(u0, 0), std::min<int64_t>(u0 + du, limit - 1)};
    for (int64_t u = steps.l; u <= steps.r; ++u) {
        plot(u, v0 + FloorDiv(Wide{2} * (u - u0) * dv + du, Wide{2} * du));
    }
}

// --- Polygons ----------------------------------------------------------------------------

// A non-horizontal polygon side, top end first, with the direction it was drawn in.
struct Edge {
    Point top;
    Point bottom;
    int winding;  // +1 drawn downwards, -1 upwards
};

// Where an edge crosses a row: the first pixel at or right of the crossing.
struct Crossing {
    int64_t x;
    int winding;
};

std::vector<Edge> EdgesOf(std::span<const Point> points) {
    std::vector<Edge> edges;
    edges.reserve(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const Point a = points[i];
        const Point b = points[(i + 1) % points.size()];
        if (a.y < b.y) edges.push_back({a, b, +1});
        if (a.y > b.y) edges.push_back({b, a, -1});
    }
    return edges;
}

// Sorted crossings of row y with the edges that cover it.
void CrossingsOfRow(const std::vector<const Edge*>& edges, int64_t y, std::vector<Crossing>& out) {
    out.clear();
    for (const Edge* e : edges) {
        const Wide along = Wide{y - e->top.y} * (e->bottom.x - e->top.x);
        out.push_back({e->top.x + CeilDiv(along, e->bottom.y - e->top.y), e->winding});
    }
    std::sort(out.begin(), out.end(),
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
}

// Every pixel whose point has a nonzero winding number. Points exactly on a side may be
// left out; the outline covers them. An edge covers the rows top.y .. bottom.y - 1: it
// joins the active edges when the rows reach its top and leaves after its last row.
void FillInterior(Surface& s, std::span<const Point> points, uint32_t color) {
    std::vector<Edge> edges = EdgesOf(points);
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.top.y < b.top.y; });
    const auto lowest =
        std::max_element(edges.begin(), edges.end(),
                         [](const Edge& a, const Edge& b) { return a.bottom.y < b.bottom.y; });
    const Span rows = ClipRows(s, edges.front().top.y, lowest->bottom.y - 1);
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    size_t next = 0;
    for (int64_t y = rows.l; y <= rows.r; ++y) {
        while (next < edges.size() && edges[next].top.y <= y)
            active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return e->bottom.y <= y; });
        CrossingsOfRow(active, y, crossings);
        int winding = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += crossings[i].winding;
            if (winding != 0) FillSpan(s, y, {crossings[i].x, crossings[i + 1].x - 1}, color);
        }
    }
}

void Outline(Surface& s, std::span<const Point> points, uint32_t color) {
    for (size_t i = 0; i < points.size(); ++i) {
        DrawLine(s, points[i], points[(i + 1) % points.size()], color);
    }
}

// --- Ellipses ----------------------------------------------------------------------------

// The ellipse inscribed in a box, through the outer edges of its border pixels. Worked in
// doubled coordinates about the centre, X = 2x - (x0 + x1), so that all stays whole: a
// pixel is inside when X²·B² + Y²·A² <= A²·B², with A and B the box's width and height.
class EllipseShape {
public:
    explicit EllipseShape(Box box)
        : b_(Normalised(box)),
          cx2_(b_.x0 + b_.x1),
          cy2_(b_.y0 + b_.y1),
          a_(b_.x1 - b_.x0 + 1),
          h_(b_.y1 - b_.y0 + 1) {}

    const Box& Bounds() const { return b_; }
    int64_t CentreX2() const { return cx2_; }
    int64_t CentreY2() const { return cy2_; }
    int64_t Width() const { return a_; }
    int64_t Height() const { return h_; }

    bool Inside(int64_t x, int64_t y) const {
        const int64_t X = 2 * x - cx2_;
        const int64_t Y = 2 * y - cy2_;
        if (a_ < kExactEllipseLimit && h_ < kExactEllipseLimit) {
            const Wide a2 = Wide{a_} * a_;
            const Wide h2 = Wide{h_} * h_;
            return Wide{X} * X * h2 + Wide{Y} * Y * a2 <= a2 * h2;
        }
        const long double nx = static_cast<long double>(X) / static_cast<long double>(a_);
        const long double ny = static_cast<long double>(Y) / static_cast<long double>(h_);
        return nx * nx + ny * ny <= 1.0L;
    }

    // The pixels of row y that are inside (a row of a convex shape is one run).
    Span Row(int64_t y) const {
        if (y < b_.y0 || y > b_.y1) return {};
        const long double Y = static_cast<long double>(2 * y - cy2_);
        const long double h = static_cast<long double>(h_);
        const long double w = static_cast<long double>(a_) * std::sqrt(h * h - Y * Y) / h;
        const long double c = static_cast<long double>(cx2_);
        Span span{std::max(b_.x0, static_cast<int64_t>(std::ceil((c - w) / 2))),
                  std::min(b_.x1, static_cast<int64_t>(std::floor((c + w) / 2)))};
        // The estimate may be a pixel off at the border; the exact test settles it.
        while (span.l <= span.r && !Inside(span.l, y))
            ++span.l;
        if (span.Empty()) return {};
        while (span.l > b_.x0 && Inside(span.l - 1, y))
            --span.l;
        while (span.r >= span.l && !Inside(span.r, y))
            --span.r;
        while (span.r < b_.x1 && Inside(span.r + 1, y))
            ++span.r;
        return span;
    }

private:
    Box b_;
    int64_t cx2_, cy2_;  // twice the centre
    int64_t a_, h_;      // width and height of the box
};

// The directions from the centre, counterclockwise on the screen, from one ray to another.
class Sweep {
public:
    // The whole turn.
    Sweep() = default;
    Sweep(const EllipseShape& e, Point from, Point to)
        : sx_(2 * from.x - e.CentreX2()),
          sy_(e.CentreY2() - 2 * from.y),
          ex_(2 * to.x - e.CentreX2()),
          ey_(e.CentreY2() - 2 * to.y) {
        if (sx_ == 0 && sy_ == 0) sx_ = 1;  // a ray needs a direction: take the right
        if (ex_ == 0 && ey_ == 0) ex_ = 1;
        const Wide turn = Cross(sx_, sy_, ex_, ey_);
        full_ = turn == 0 && Wide{sx_} * ex_ + Wide{sy_} * ey_ > 0;
        reflex_ = turn < 0;
    }

    bool Full() const { return full_; }
    // The start ray's direction, in doubled coordinates with y upwards.
    int64_t StartX() const { return sx_; }
    int64_t StartY() const { return sy_; }
    int64_t EndX() const { return ex_; }
    int64_t EndY() const { return ey_; }

    // Whether the pixel at (x, y) lies in the swept directions of the ellipse's centre.
    bool Contains(const EllipseShape& e, int64_t x, int64_t y) const {
        if (full_) return true;
        const int64_t px = 2 * x - e.CentreX2();
        const int64_t py = e.CentreY2() - 2 * y;
        const bool afterStart = Cross(sx_, sy_, px, py) >= 0;
        const bool beforeEnd = Cross(px, py, ex_, ey_) >= 0;
        return reflex_ ? (afterStart || beforeEnd) : (afterStart && beforeEnd);
    }

private:
    static Wide Cross(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
        return Wide{ax} * by - Wide{ay} * bx;
    }

    int64_t sx_ = 1, sy_ = 0, ex_ = 1, ey_ = 0;
    bool full_ = true;
    bool reflex_ = false;  // more than half a turn
};

// The pixels of a run that lie in the sweep.
void PaintSpan(Surface& s, const EllipseShape& e, const Sweep& sweep, int64_t y, Span span,
               uint32_t color) {
    if (sweep.Full()) return FillSpan(s, y, span, color);
    const int64_t l = std::max<int64_t>(span.l, 0);
    const int64_t r = std::min<int64_t>(span.r, int64_t{s.width} - 1);
    for (int64_t x = l; x <= r; ++x) {
        if (sweep.Contains(e, x, y)) Plot(s, x, y, color);
    }
}

// Every inside pixel of the ellipse in the sweep.
void PaintInside(Surface& s, const EllipseShape& e, const Sweep& sweep, uint32_t color) {
    const Span rows = ClipRows(s, e.Bounds().y0, e.Bounds().y1);
    for (int64_t y = rows.l; y <= rows.r; ++y)
        PaintSpan(s, e, sweep, y, e.Row(y), color);
}

// The inside pixels of the ellipse in the sweep that touch an outside pixel above, below,
// left or right: the ellipse's one-pixel outline.
void PaintBorder(Surface& s, const EllipseShape& e, const Sweep& sweep, uint32_t color) {
    const Span rows = ClipRows(s, e.Bounds().y0, e.Bounds().y1);
    for (int64_t y = rows.l; y <= rows.r; ++y) {
        const Span row = e.Row(y);
        if (row.Empty()) continue;
        const Span above = e.Row(y - 1);
        const Span below = e.Row(y + 1);
        const Span inner{std::max({row.l + 1, above.l, below.l}),
                         std::min({row.r - 1, above.r, below.r})};
        if (above.Empty() || below.Empty() || inner.Empty()) {
            PaintSpan(s, e, sweep, y, row, color);
            continue;
        }
        PaintSpan(s, e, sweep, y, {row.l, inner.l - 1}, color);
        PaintSpan(s, e, sweep, y, {inner.r + 1, row.r}, color);
    }
}

// Where the ray from the centre in direction (dx, dy) (doubled, y upwards) meets the
// ellipse, as a pixel.
Point RimPoint(const EllipseShape& e, int64_t dx, int64_t dy) {
    const long double fx = static_cast<long double>(dx) / static_cast<long double>(e.Width());
    const long double fy = static_cast<long double>(dy) / static_cast<long double>(e.Height());
    const long double t = 1.0L / std::sqrt(fx * fx + fy * fy);
    const long double x2 =
        static_cast<long double>(e.CentreX2()) + t * static_cast<long double>(dx);
    const long double y2 =
        static_cast<long double>(e.CentreY2()) - t * static_cast<long double>(dy);
    const Box& b = e.Bounds();
    return {std::clamp(static_cast<int64_t>(std::floor((x2 + 1) / 2)), b.x0, b.x1),
            std::clamp(static_cast<int64_t>(std::floor((y2 + 1) / 2)), b.y0, b.y1)};
}

// The two radii of a pie, from the centre to the ends of its arc.
void PaintRadii(Surface& s, const EllipseShape& e, const Sweep& sweep, uint32_t color) {
    const Point centre{FloorDiv(e.CentreX2(), 2), FloorDiv(e.CentreY2(), 2)};
    DrawLine(s, centre, RimPoint(e, sweep.StartX(), sweep.StartY()), color);
    DrawLine(s, centre, RimPoint(e, sweep.EndX(), sweep.EndY()), color);
}

}  // namespace

void FillRect(Surface& s, Box box, uint32_t color) {
    const Box b = Normalised(box);
    const Span rows = ClipRows(s, b.y0, b.y1);
    if (rows.Empty()) return;
    FillSpan(s, rows.l, {b.x0, b.x1}, color);
    // The other rows are copies of the first.
    const Block first = Clip(s, b.x0, rows.l, b.x1 - b.x0 + 1, 1);
    for (int64_t y = rows.l + 1; y <= rows.r; ++y) {
        CopyBlock(s, first.x, y, s, first.x, first.y, first.w, 1);
    }
}

void FrameRect(Surface& s, Box box, uint32_t color) {
    const Box b = Normalised(box);
    FillSpan(s, b.y0, {b.x0, b.x1}, color);
    FillSpan(s, b.y1, {b.x0, b.x1}, color);
    const Span sides = ClipRows(s, b.y0 + 1, b.y1 - 1);
    for (int64_t y = sides.l; y <= sides.r; ++y) {
        Plot(s, b.x0, y, color);
        Plot(s, b.x1, y, color);
    }
}

void DrawLine(Surface& s, Point from, Point to, uint32_t color) {
    if (Abs(to.x - from.x) < Abs(to.y - from.y)) {
        if (to.y < from.y) std::swap(from, to);
        WalkLine(from.y, from.x, to.y - from.y, to.x - from.x, s.height,
                 [&](int64_t y, int64_t x) { Plot(s, x, y, color); });
        return;
    }
    if (to.x < from.x) std::swap(from, to);
    if (to.x == from.x) return Plot(s, from.x, from.y, color);
    WalkLine(from.x, from.y, to.x - from.x, to.y - from.y, s.width,
             [&](int64_t x, int64_t y) { Plot(s, x, y, color); });
}

void DrawPolygon(Surface& s, std::span<const Point> points, uint32_t color, bool fill) {
    if (points.empty()) return;
    if (fill) FillInterior(s, points, color);
    Outline(s, points, color);
}

void DrawEllipse(Surface& s, Box box, uint32_t color, bool fill) {
    const EllipseShape ellipse(box);
    if (fill) return PaintInside(s, ellipse, Sweep(), color);
    PaintBorder(s, ellipse, Sweep(), color);
}

void DrawArc(Surface& s, Box box, Point from, Point to, uint32_t color) {
    const EllipseShape ellipse(box);
    PaintBorder(s, ellipse, Sweep(ellipse, from, to), color);
}

void DrawPie(Surface& s, Box box, Point from, Point to, uint32_t color, bool fill) {
    const EllipseShape ellipse(box);
    const Sweep sweep(ellipse, from, to);
    if (fill) PaintInside(s, ellipse, sweep, color);
    PaintBorder(s, ellipse, sweep, color);
    if (!sweep.Full()) PaintRadii(s, ellipse, sweep, color);
}

}  // namespace Vuderiv::detail
