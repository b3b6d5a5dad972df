// The rasteriser on a small surface: every pixel is checked against the exact expected set.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <random>
#include <tuple>
#include <vector>

#include "Raster.h"

namespace Vuderiv::detail {
namespace {

constexpr uint32_t kInk = 0x123456;
constexpr int64_t kMin = INT32_MIN;
constexpr int64_t kMax = INT32_MAX;

using PixelTest = std::function<bool(int64_t x, int64_t y)>;

// Every pixel of the surface is ink exactly where `expected` says so, and black elsewhere.
void ExpectExactly(const Surface& s, const PixelTest& expected) {
    for (int64_t y = 0; y < s.height; ++y) {
        for (int64_t x = 0; x < s.width; ++x) {
            ASSERT_EQ(s.At(x, y), expected(x, y) ? kInk : 0U) << "at (" << x << ", " << y << ")";
        }
    }
}

PixelTest InBlock(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    return [=](int64_t x, int64_t y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
}

PixelTest OnBorder(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
    return [=](int64_t x, int64_t y) {
        return InBlock(x0, y0, x1, y1)(x, y) && (x == x0 || x == x1 || y == y0 || y == y1);
    };
}

PixelTest AtPixels(std::vector<Point> pixels) {
    return [=](int64_t x, int64_t y) {
        for (const Point& p : pixels) {
            if (p.x == x && p.y == y) return true;
        }
        return false;
    };
}

TEST(RasterRectangle, CornersInAnyOrderFillAndFrameTheSameInclusiveBlock) {
    for (const Box box : {Box{5, 8, 10, 20}, Box{10, 20, 5, 8}, Box{10, 8, 5, 20}}) {
        Surface filled(30, 30), framed(30, 30);
        FillRect(filled, box, kInk);
        FrameRect(framed, box, kInk);
        ExpectExactly(filled, InBlock(5, 8, 10, 20));
        ExpectExactly(framed, OnBorder(5, 8, 10, 20));
    }
    Surface dot(4, 4);
    FrameRect(dot, {2, 1, 2, 1}, kInk);
    ExpectExactly(dot, InBlock(2, 1, 2, 1));
}

TEST(RasterRectangle, ExtremeCornersAreClippedToTheSurface) {
    Surface all(16, 9), frame(16, 9), past(16, 9);
    FillRect(all, {kMin, kMin, kMax, kMax}, kInk);
    ExpectExactly(all, InBlock(0, 0, 15, 8));
    FrameRect(frame, {kMin, 3, kMax, kMax}, kInk);  // only the top side shows
    ExpectExactly(frame, InBlock(0, 3, 15, 3));
    FillRect(past, {16, 0, kMax, kMax}, kInk);  // wholly right of the surface
    FillRect(past, {kMin, kMin, -1, 4}, kInk);  // wholly left of it
    ExpectExactly(past, InBlock(1, 1, 0, 0));
}

TEST(RasterLine, IncludesBothEndsAndRoundsHalvesDownTheScreen) {
    Surface gentle(8, 8), steep(8, 8), single(3, 3);
    DrawLine(gentle, {4, 2}, {0, 0}, kInk);
    ExpectExactly(gentle, AtPixels({{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    DrawLine(steep, {6, 0}, {4, 4}, kInk);
    ExpectExactly(steep, AtPixels({{6, 0}, {6, 1}, {5, 2}, {5, 3}, {4, 4}}));
    DrawLine(single, {1, 2}, {1, 2}, kInk);
    ExpectExactly(single, AtPixels({{1, 2}}));
}

TEST(RasterLine, AnyLineIsConnectedSymmetricAndOnePixelPerStep) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int64_t> coordinate(-10, 40);
    for (int round = 0; round < 300; ++round) {
        const Point a{coordinate(random), coordinate(random)};
        const Point b{coordinate(random), coordinate(random)};
        Surface forward(64, 64), backward(64, 64);
        const Point shift{12, 12};  // keeps the whole line on the surface
        DrawLine(forward, {a.x + shift.x, a.y + shift.y}, {b.x + shift.x, b.y + shift.y}, kInk);
        DrawLine(backward, {b.x + shift.x, b.y + shift.y}, {a.x + shift.x, a.y + shift.y}, kInk);
        ASSERT_EQ(forward.pixels, backward.pixels);
        const int64_t steps = std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
        ASSERT_EQ(std::count(forward.pixels.begin(), forward.pixels.end(), kInk), steps + 1);
        ASSERT_EQ(forward.At(a.x + shift.x, a.y + shift.y), kInk);
        ASSERT_EQ(forward.At(b.x + shift.x, b.y + shift.y), kInk);
    }
}

TEST(RasterLine, ExtremeEndsDrawOnlyTheVisiblePart) {
    Surface diagonal(10, 10), across(10, 10), outside(10, 10);
    DrawLine(diagonal, {kMin, kMin}, {kMax, kMax}, kInk);
    ExpectExactly(diagonal, [](int64_t x, int64_t y) { return x == y; });
    DrawLine(across, {kMax, 4}, {kMin, 4}, kInk);
    ExpectExactly(across, InBlock(0, 4, 9, 4));
    DrawLine(outside, {kMin, -1}, {kMax, -1}, kInk);
    DrawLine(outside, {10, kMin}, {10, kMax}, kInk);
    ExpectExactly(outside, InBlock(1, 1, 0, 0));
}

// An independent reference: a point belongs to a filled polygon when it lies on a side or
// its winding number is nonzero.
__extension__ typedef __int128 Wide;

Wide Cross(Point a, Point b, Point p) {
    return Wide{b.x - a.x} * (p.y - a.y) - Wide{b.y - a.y} * (p.x - a.x);
}

bool InsideClosed(const std::vector<Point>& pts, Point p) {
    int winding = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const Point a = pts[i], b = pts[(i + 1) % pts.size()];
        const Wide side = Cross(a, b, p);
        if (side == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
            std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y)) {
            return true;
        }
        if (a.y <= p.y && b.y > p.y && side > 0) ++winding;
        if (a.y > p.y && b.y <= p.y && side < 0) --winding;
    }
    return winding != 0;
}

// A filled polygon is its closed region plus its outline, nothing more.
void ExpectFilledPolygon(const std::vector<Point>& pts, int32_t w, int32_t h) {
    Surface filled(w, h), outline(w, h);
    DrawPolygon(filled, pts, kInk, true);
    DrawPolygon(outline, pts, kInk, false);
    ExpectExactly(filled, [&](int64_t x, int64_t y) {
        return InsideClosed(pts, {x, y}) || outline.At(x, y) == kInk;
    });
}

TEST(RasterPolygon, FillsByTheNonzeroRuleAndOutlinesOnlyWhenNotFilled) {
    const std::vector<Point> square{{2, 3}, {12, 3}, {12, 9}, {2, 9}};
    Surface filled(16, 12), outline(16, 12), none(4, 4);
    DrawPolygon(filled, square, kInk, true);
    ExpectExactly(filled, InBlock(2, 3, 12, 9));
    DrawPolygon(outline, square, kInk, false);
    ExpectExactly(outline, OnBorder(2, 3, 12, 9));
    DrawPolygon(none, {}, kInk, true);
    ExpectExactly(none, InBlock(1, 1, 0, 0));

    // A pentagram winds twice round its centre: filled there, unlike by the even-odd rule.
    const std::vector<Point> star{{20, 0}, {32, 38}, {0, 14}, {40, 14}, {8, 38}};
    Surface pentagram(41, 40);
    DrawPolygon(pentagram, star, kInk, true);
    EXPECT_EQ(pentagram.At(20, 22), kInk);
    ExpectFilledPolygon(star, 41, 40);
    // A square traced twice, and a bow tie whose halves wind opposite ways.
    ExpectFilledPolygon({{2, 2}, {9, 2}, {9, 9}, {2, 9}, {2, 2}, {9, 2}, {9, 9}, {2, 9}}, 12, 12);
    ExpectFilledPolygon({{1, 1}, {15, 11}, {15, 1}, {1, 11}}, 17, 13);
}

TEST(RasterPolygon, RandomPolygonsMatchTheReference) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int64_t> coordinate(-6, 45);
    std::uniform_int_distribution<size_t> corners(1, 9);
    for (int round = 0; round < 150; ++round) {
        std::vector<Point> pts(corners(random));
        for (Point& p : pts)
            p = {coordinate(random), coordinate(random)};
        ExpectFilledPolygon(pts, 40, 34);
    }
}

TEST(RasterPolygon, ExtremeCornersAreClippedExactly) {
    ExpectFilledPolygon({{kMin, 0}, {kMax, 0}, {0, kMax}}, 20, 12);
    ExpectFilledPolygon({{kMin, kMin}, {kMax, 5}, {kMin, kMax}}, 20, 12);
    ExpectFilledPolygon({{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}}, 20, 12);
    ExpectFilledPolygon({{-3, kMax}, {kMax, -7}, {5, 5}, {kMin, kMin}}, 20, 12);
}

// The ellipse in the box 2..12 x 1..7, filled and outlined.
struct EllipsePair {
    Surface filled{16, 10}, outline{16, 10};
    EllipsePair() {
        DrawEllipse(filled, {12, 7, 2, 1}, kInk, true);
        DrawEllipse(outline, {2, 1, 12, 7}, kInk, false);
    }
};

TEST(RasterEllipse, FilledIsSymmetricInItsBoxAndOutlineIsItsBorder) {
    const EllipsePair e;
    ExpectExactly(e.filled, [&](int64_t x, int64_t y) {
        return InBlock(2, 1, 12, 7)(x, y) && e.filled.At(14 - x, 8 - y) == kInk;
    });
    for (const Point touch : {Point{2, 4}, Point{12, 4}, Point{7, 1}, Point{7, 7}}) {
        EXPECT_EQ(e.filled.At(touch.x, touch.y), kInk);
    }
    ExpectExactly(e.outline, [&](int64_t x, int64_t y) {
        const auto in = [&](int64_t u, int64_t v) { return e.filled.At(u, v) == kInk; };
        return in(x, y) && !(in(x - 1, y) && in(x + 1, y) && in(x, y - 1) && in(x, y + 1));
    });
    Surface line(6, 6);
    DrawEllipse(line, {1, 4, 4, 4}, kInk, false);
    ExpectExactly(line, InBlock(1, 4, 4, 4));
}

TEST(RasterEllipse, ArcsAndPiesKeepTheSweptHalf) {
    const EllipsePair e;
    Surface upper(16, 10), whole(16, 10), pie(16, 10);
    DrawArc(upper, {2, 1, 12, 7}, {20, 4}, {-5, 4}, kInk);  // right to left over the top
    ExpectExactly(upper, [&](int64_t x, int64_t y) { return y <= 4 && e.outline.At(x, y); });
    DrawArc(whole, {2, 1, 12, 7}, {9, 2}, {11, 1}, kInk);  // the same ray: all of it
    EXPECT_EQ(whole.pixels, e.outline.pixels);
    DrawPie(pie, {2, 1, 12, 7}, {-5, 4}, {20, 4}, kInk, true);  // left to right underneath
    ExpectExactly(pie, [&](int64_t x, int64_t y) { return y >= 4 && e.filled.At(x, y); });
}

TEST(RasterEllipse, ExtremeBoxesAreClipped) {
    // The box's centre lies half a pixel up and left of (0, 0); the surface sees only the
    // inside, and of the pie from the down-right diagonal to straight up the part above
    // that diagonal.
    const Box huge{kMin, kMin, kMax, kMax};
    Surface filled(12, 8), outline(12, 8), sector(12, 8);
    DrawEllipse(filled, huge, kInk, true);
    ExpectExactly(filled, InBlock(0, 0, 11, 7));
    DrawEllipse(outline, huge, kInk, false);
    DrawPie(outline, huge, {kMax, kMax}, {0, kMin}, kInk, false);
    ExpectExactly(outline, [](int64_t x, int64_t y) { return x == y; });
    DrawPie(sector, huge, {kMax, kMax}, {0, kMin}, kInk, true);
    ExpectExactly(sector, [](int64_t x, int64_t y) { return x >= y; });
}

}  // namespace

// The common screen sizes start on a 2 MiB page, and all surfaces are black; their memory
// goes back the way it came, large or small (the sanitizer builds check that).
TEST(Surface, ScreenSizedSurfacesStartOnALargePage) {
    for (const auto& [w, h, large] :
         {std::tuple{16, 16, false}, {512, 512, false}, {800, 600, true}, {1000, 800, true}}) {
        Surface surface(w, h);
        EXPECT_EQ(std::count(surface.pixels.begin(), surface.pixels.end(), 0u), w * h);
#if defined(__linux__)
        if (large) {
            EXPECT_EQ(reinterpret_cast<uintptr_t>(surface.pixels.data()) % (2u << 20), 0u) << w;
        }
#endif
    }
}

}  // namespace Vuderiv::detail
