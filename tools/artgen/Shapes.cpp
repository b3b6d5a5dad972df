#include "Shapes.h"

#include <algorithm>
#include <cmath>

namespace Artgen {

namespace {

constexpr int kSamples = 4;  // per axis, per pixel

double Coverage(const Region& inside, int x, int y) {
    int hits = 0;
    for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
            if (inside(x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples)) ++hits;
        }
    }
    return static_cast<double>(hits) / (kSamples * kSamples);
}

// The signed number of times the polygon winds around the point.
int WindingNumber(const std::vector<Point>& p, double x, double y) {
    int winding = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const Point& a = p[i];
        const Point& b = p[(i + 1) % p.size()];
        const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y && b.y > y && side > 0) ++winding;
        if (a.y > y && b.y <= y && side < 0) --winding;
    }
    return winding;
}

}  // namespace

void FillRegion(Image& image, Rect bounds, const Region& inside, const Paint& paint) {
    const int x0 = std::max(bounds.x, 0);
    const int y0 = std::max(bounds.y, 0);
    const int x1 = std::min(bounds.x + bounds.w, image.Width());
    const int y1 = std::min(bounds.y + bounds.h, image.Height());
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const double c = Coverage(inside, x, y);
            if (c > 0) image.Blend(x, y, paint(x, y), c);
        }
    }
}

Region RectRegion(Rect r) {
    return
        [r](double x, double y) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; };
}

Region RoundedRectRegion(Rect r, double radius) {
    return [r, radius](double x, double y) {
        if (x < r.x || y < r.y || x >= r.x + r.w || y >= r.y + r.h) return false;
        // Distance into the nearest corner square, measured from the corner circle's centre.
        const double cx = std::clamp(x, r.x + radius, r.x + r.w - radius);
        const double cy = std::clamp(y, r.y + radius, r.y + r.h - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

Region EllipseRegion(double cx, double cy, double rx, double ry) {
    return [cx, cy, rx, ry](double x, double y) {
        const double dx = (x - cx) / rx;
        const double dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

Region PolygonRegion(std::vector<Point> points) {
    return [p = std::move(points)](double x, double y) { return WindingNumber(p, x, y) != 0; };
}

Rect BoundsOf(const std::vector<Point>& points) {
    if (points.empty()) return {};
    double x0 = points[0].x, y0 = points[0].y, x1 = x0, y1 = y0;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    const int left = static_cast<int>(std::floor(x0));
    const int top = static_cast<int>(std::floor(y0));
    return {left, top, static_cast<int>(std::ceil(x1)) - left + 1,
            static_cast<int>(std::ceil(y1)) - top + 1};
}

Paint Solid(Colour c) {
    return [c](int, int) { return c; };
}

Paint VerticalGradient(Colour top, Colour bottom, int y0, int h) {
    return [=](int, int y) {
        return Mix(top, bottom, h > 1 ? static_cast<double>(y - y0) / (h - 1) : 0.0);
    };
}

}  // namespace Artgen
