// The shape operations through the public interface, read back from the buffer and from
// the window: every pixel of each region is checked against the exact expected set.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>

#include "Harness.h"
#include "Shapes.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace {

using Vuderiv::BufferPixel;
using Vuderiv::WindowPixel;

constexpr uint32_t kInk = 0x3399CC;

using Reader = uint32_t (*)(int32_t x, int32_t y);
using PixelTest = std::function<bool(int32_t x, int32_t y)>;

// A region of the client area, both corners included.
struct Region {
    int32_t x0, y0, x1, y1;
};

// Every pixel of the region reads `ink` exactly where `inked` says so, and black elsewhere.
void ExpectRegion(Reader read, Region r, const PixelTest& inked, uint32_t ink = kInk) {
    for (int32_t y = r.y0; y <= r.y1; ++y) {
        for (int32_t x = r.x0; x <= r.x1; ++x) {
            ASSERT_EQ(read(x, y), inked(x, y) ? ink : 0U) << "at (" << x << ", " << y << ")";
        }
    }
}

PixelTest InBlock(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    return [=](int32_t x, int32_t y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
}

const PixelTest kNothing = [](int32_t, int32_t) { return false; };

class Shapes : public TestSupport::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        TestSupport::Sync();  // the window's start-up repaints are done
    }
};

TEST_F(Shapes, RectangleCornersInAnyOrderAndFramesShowAtOnce) {
    Vuderiv::Rectangle(10, 20, 5, 8, kInk, true);
    Vuderiv::Rectangle(25, 8, 30, 20, kInk, false);
    Vuderiv::Rectangle(50, 20, 45, 8, kInk, false);
    const PixelTest expected = [](int32_t x, int32_t y) {
        const bool frameRow = (x >= 25 && x <= 30) || (x >= 45 && x <= 50);
        const bool frameSide = x == 25 || x == 30 || x == 45 || x == 50;
        return InBlock(5, 8, 10, 20)(x, y) ||
               (y >= 8 && y <= 20 && (frameSide || (frameRow && (y == 8 || y == 20))));
    };
    ExpectRegion(BufferPixel, {0, 0, 60, 30}, expected);
    ExpectRegion(WindowPixel, {0, 0, 60, 30}, expected);
}

TEST_F(Shapes, ClearScreenBlackensTheWholeClientArea) {
    Vuderiv::SetBuffering(true);
    Vuderiv::Rectangle(-5, -5, 2000, 2000, kInk, true);
    Vuderiv::UpdateWindow();
    Vuderiv::ClearScreen();
    ExpectRegion(WindowPixel, {990, 790, 999, 799}, [](int32_t, int32_t) { return true; });
    Vuderiv::UpdateWindow();
    ExpectRegion(BufferPixel, {0, 0, 999, 799}, kNothing);
    ExpectRegion(WindowPixel, {0, 0, 999, 799}, kNothing);
}

TEST_F(Shapes, ThickLinesHaveFlatEndsAndHalfTheThicknessEachSide) {
    Vuderiv::ThickLine(450, 40, 550, 40, kInk, 10);
    ExpectRegion(BufferPixel, {430, 20, 570, 60}, InBlock(450, 35, 550, 45));
    Vuderiv::ClearScreen();
    Vuderiv::ThickLine(550, 40, 450, 40, kInk, 9);
    ExpectRegion(BufferPixel, {430, 20, 570, 60}, InBlock(450, 35, 550, 45));
    // Unbuffered, the band's right column and bottom row wait for the next full copy.
    ExpectRegion(WindowPixel, {430, 20, 570, 60}, InBlock(450, 35, 549, 44));
    Vuderiv::ThickLine(100, 200, 100, 260, kInk, 4);
    ExpectRegion(BufferPixel, {90, 190, 110, 270}, InBlock(98, 200, 102, 260));
    // Corners (1, -1), (-1, 1), (9, 11), (11, 9): a band of diagonals.
    Vuderiv::ThickLine(0, 0, 10, 10, kInk, 4);
    ExpectRegion(BufferPixel, {0, 0, 20, 20},
                 [](int32_t x, int32_t y) { return std::abs(x - y) <= 2 && x + y <= 20; });
}

TEST_F(Shapes, ThickLineOfOnePointOrNoThickness) {
    Vuderiv::ThickLine(300, 300, 300, 300, kInk, 6);  // t = 3: seven pixels across
    ExpectRegion(BufferPixel, {290, 290, 310, 310}, InBlock(297, 300, 303, 300));
    Vuderiv::ThickLine(200, 500, 230, 510, kInk, 0);
    int inked = 0;
    for (int32_t x = 195; x <= 235; ++x) {
        int inColumn = 0;
        for (int32_t y = 495; y <= 515; ++y)
            inColumn += BufferPixel(x, y) == kInk ? 1 : 0;
        ASSERT_EQ(inColumn, x >= 200 && x <= 230 ? 1 : 0) << "column " << x;
        inked += inColumn;
    }
    EXPECT_EQ(inked, 31);
    EXPECT_EQ(BufferPixel(200, 500), kInk);
    EXPECT_EQ(BufferPixel(230, 510), kInk);
}

TEST_F(Shapes, PolygonOutlineFillAndNothingForNoPoints) {
    const int32_t x[] = {100, 160, 100};
    const int32_t y[] = {100, 100, 160};
    Vuderiv::Polygon(0, x, y, kInk, true);
    Vuderiv::Polygon(3, x, y, kInk, false);
    ExpectRegion(BufferPixel, {90, 90, 170, 170}, [](int32_t px, int32_t py) {
        return (py == 100 && px >= 100 && px <= 160) || (px == 100 && py >= 100 && py <= 160) ||
               (px >= 100 && py >= 100 && px + py == 260);
    });
    Vuderiv::Polygon(3, x, y, kInk, true);
    ExpectRegion(BufferPixel, {90, 90, 170, 170},
                 [](int32_t px, int32_t py) { return px >= 100 && py >= 100 && px + py <= 260; });
    // A pentagram winds twice round its centre, and that is filled too.
    const int32_t sx[] = {520, 532, 500, 540, 508};
    const int32_t sy[] = {500, 538, 514, 514, 538};
    Vuderiv::Polygon(5, sx, sy, kInk, true);
    EXPECT_EQ(BufferPixel(520, 522), kInk);
}

TEST_F(Shapes, UnbufferedPolygonLeavesItsRightColumnAndBottomRowToTheNextCopy) {
    const int32_t x[] = {100, 120, 120, 100};
    const int32_t y[] = {100, 100, 130, 130};
    Vuderiv::Polygon(4, x, y, kInk, true);
    ExpectRegion(BufferPixel, {90, 90, 130, 140}, InBlock(100, 100, 120, 130));
    ExpectRegion(WindowPixel, {90, 90, 130, 140}, InBlock(100, 100, 119, 129));
    Vuderiv::UpdateWindow();
    ExpectRegion(WindowPixel, {90, 90, 130, 140}, InBlock(100, 100, 120, 130));
}

TEST_F(Shapes, UpdateDCShowsExactlyTheShapesBlock) {
    using namespace Vuderiv::detail;
    {
        Canvas canvas;  // marks in the buffer that the window has not seen
        for (int32_t i = 40; i <= 80; ++i)
            canvas.DrawRows(i, 1).Row(i)[i] = kInk;
    }
    DrawStruct ellipse;
    ellipse.object = DR_ELLIPSE;
    SetDraw(ellipse, 70, 70, 50, 50, 0xFF000000 | kInk, false);
    UpdateDC(ellipse);
    // The block 50..70 shows the diagonal marks in it, and the ellipse; nothing else shows.
    ExpectRegion(WindowPixel, {30, 30, 90, 90}, [](int32_t x, int32_t y) {
        return InBlock(50, 50, 70, 70)(x, y) && BufferPixel(x, y) == kInk;
    });
    EXPECT_EQ(WindowPixel(60, 50), kInk);  // the ellipse's top
    EXPECT_EQ(WindowPixel(60, 60), kInk);  // a diagonal mark
    EXPECT_EQ(WindowPixel(49, 49), 0U);

    DrawStruct line;
    line.object = DR_LINE;
    SetDraw(line, 200, 200, 210, 204, kInk, false);
    line.x2 = 200;
    line.y2 = 200;
    line.x3 = 210;
    line.y3 = 204;
    UpdateDC(line);
    EXPECT_EQ(WindowPixel(210, 204), kInk);  // the end point is drawn too
    DrawStruct unknown = line;
    unknown.object = static_cast<DrawType>(9);
    unknown.y2 = unknown.y3 = 300;
    UpdateDC(unknown);
    EXPECT_EQ(BufferPixel(205, 300), 0U);
}

TEST_F(Shapes, BufferingShowsNothingUntilUpdateWindow) {
    Vuderiv::SetBuffering(true);
    const int32_t x[] = {10, 60, 35};
    const int32_t y[] = {10, 10, 50};
    Vuderiv::Rectangle(5, 5, 70, 70, 0x0000B0, false);
    Vuderiv::Polygon(3, x, y, 0xFF00, true);
    Vuderiv::ThickLine(0, 80, 100, 80, 0xFFFFFF, 3);
    ExpectRegion(WindowPixel, {0, 0, 100, 90}, kNothing);
    Vuderiv::UpdateWindow();
    for (int32_t py = 0; py <= 90; ++py) {
        for (int32_t px = 0; px <= 100; ++px)
            ASSERT_EQ(WindowPixel(px, py), BufferPixel(px, py));
    }
    EXPECT_EQ(WindowPixel(5, 5), 0x0000B0U);  // red in the low byte: a dark red
    EXPECT_EQ(WindowPixel(35, 20), 0x00FF00U);
    EXPECT_EQ(WindowPixel(50, 80), 0xFFFFFFU);
}

TEST_F(Shapes, ColoursKeepOnlyRedGreenAndBlue) {
    const int32_t x[] = {20, 30, 30};
    const int32_t y[] = {20, 20, 30};
    Vuderiv::Rectangle(0, 0, 5, 5, 0xFF0000B0, true);
    Vuderiv::Polygon(3, x, y, 0xAB00FF00, true);
    EXPECT_EQ(BufferPixel(3, 3), 0x0000B0U);
    EXPECT_EQ(BufferPixel(29, 21), 0x00FF00U);
}

TEST_F(Shapes, ExtremeCoordinatesDrawTheClippedShape) {
    Vuderiv::Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kInk, true);
    ExpectRegion(WindowPixel, {0, 0, 999, 799}, [](int32_t, int32_t) { return true; });
    Vuderiv::ClearScreen();
    Vuderiv::ThickLine(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kInk, 10);  // a = b = 3
    ExpectRegion(BufferPixel, {0, 0, 60, 60},
                 [](int32_t x, int32_t y) { return std::abs(x - y) <= 6; });
    Vuderiv::ThickLine(INT32_MAX, 400, INT32_MIN, 400, kInk, UINT32_MAX);
    ExpectRegion(BufferPixel, {0, 0, 999, 799}, [](int32_t, int32_t) { return true; });
    Vuderiv::ClearScreen();
    const int32_t x[] = {INT32_MIN, INT32_MAX, 0};
    const int32_t y[] = {0, 0, INT32_MAX};
    Vuderiv::Polygon(3, x, y, kInk, true);
    ExpectRegion(WindowPixel, {0, 0, 999, 799}, [](int32_t, int32_t) { return true; });
}

TEST_F(Shapes, NoMemoryForThePointsIsReportedAndDrawsNothing) {
    const int32_t x[] = {10, 50, 50};
    const int32_t y[] = {10, 10, 50};
    Vuderiv::detail::SimulatePointArrayFailure();
    testing::internal::CaptureStderr();
    Vuderiv::Polygon(3, x, y, kInk, true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "OUT OF MEMORY!! (In Vuderiv)   \n");
    ExpectRegion(BufferPixel, {0, 0, 60, 60}, kNothing);
    Vuderiv::Polygon(3, x, y, kInk, true);  // the next one has memory again
    EXPECT_EQ(BufferPixel(49, 11), kInk);
}

// --- Pixels, one-pixel lines, circles ----------------------------------------------------

static_assert(Vuderiv::Rgb(0x11, 0x22, 0x33) == 0x332211, "red in the low byte");

TEST_F(Shapes, PixelsAndOnePixelLinesShowAtOnceAndThickLineOfOneStaysThree) {
    Vuderiv::SetPixel(5, 6, Vuderiv::Rgb(0xCC, 0x99, 0x33));
    Vuderiv::SetPixel(-1, 2000, kInk);  // outside: nothing, and no harm
    ExpectRegion(WindowPixel, {0, 0, 10, 10}, InBlock(5, 6, 5, 6));
    // A shallow line: exactly one pixel in each column, both end points in.
    Vuderiv::Line(230, 510, 200, 500, kInk);
    ExpectRegion(WindowPixel, {195, 495, 235, 515},
                 [](int32_t x, int32_t y) { return BufferPixel(x, y) == kInk; });
    for (int32_t x = 195; x <= 235; ++x) {
        int inColumn = 0;
        for (int32_t y = 495; y <= 515; ++y)
            inColumn += BufferPixel(x, y) == kInk ? 1 : 0;
        ASSERT_EQ(inColumn, x >= 200 && x <= 230 ? 1 : 0) << "column " << x;
    }
    EXPECT_EQ(BufferPixel(200, 500), kInk);
    EXPECT_EQ(BufferPixel(230, 510), kInk);
    Vuderiv::ThickLine(300, 100, 340, 100, kInk, 1);  // half thickness 1: three rows
    ExpectRegion(BufferPixel, {290, 90, 350, 110}, InBlock(300, 99, 340, 101));
}

TEST_F(Shapes, CirclesAreRoundAboutTheirCentreFilledOrOutlined) {
    // Radius 3: 7 pixels across; inside where dx² + dy² <= 12.25.
    const auto inside = [](int32_t dx, int32_t dy) { return dx * dx + dy * dy <= 12; };
    Vuderiv::Circle(100, 100, 3, kInk, true);
    ExpectRegion(WindowPixel, {90, 90, 110, 110},
                 [&](int32_t x, int32_t y) { return inside(x - 100, y - 100); });
    // The outline: the filled circle's pixels that touch one outside it, the centre bare.
    Vuderiv::Circle(200, 100, 3, kInk, false);
    ExpectRegion(BufferPixel, {190, 90, 210, 110}, [&](int32_t x, int32_t y) {
        const int32_t dx = x - 200, dy = y - 100;
        return inside(dx, dy) && (!inside(dx + 1, dy) || !inside(dx - 1, dy) ||
                                  !inside(dx, dy + 1) || !inside(dx, dy - 1));
    });
    Vuderiv::Circle(300, 100, 0, kInk, true);  // radius 0: the centre alone
    ExpectRegion(BufferPixel, {295, 95, 305, 105}, InBlock(300, 100, 300, 100));
    Vuderiv::Circle(500, 400, UINT32_MAX, kInk, true);  // covers the window, clipped
    ExpectRegion(BufferPixel, {0, 0, 999, 799}, [](int32_t, int32_t) { return true; });
}

TEST(ShapesWithoutWindow, EveryOperationDoesNothing) {
    const int32_t x[] = {1, 9, 9};
    const int32_t y[] = {1, 1, 9};
    for (int pass = 0; pass < 2; ++pass) {  // never opened, then opened and closed
        ASSERT_FALSE(Vuderiv::WindowIsOpen());
        Vuderiv::SetBuffering(true);
        Vuderiv::ClearScreen();
        Vuderiv::Rectangle(0, 0, 9, 9, kInk, true);
        Vuderiv::ThickLine(0, 0, 9, 9, kInk, 3);
        Vuderiv::Polygon(3, x, y, kInk, true);
        Vuderiv::Polygon(3, nullptr, nullptr, kInk, true);
        Vuderiv::SetPixel(5, 2, kInk);
        Vuderiv::Line(0, 2, 9, 2, kInk);
        Vuderiv::Circle(5, 2, 2, kInk, true);
        Vuderiv::detail::DrawStruct pie;
        pie.object = Vuderiv::detail::DR_PIE;
        Vuderiv::detail::UpdateDC(pie);
        Vuderiv::UpdateWindow();
        EXPECT_EQ(BufferPixel(5, 2), 0U);
        Vuderiv::Window("Test", 20, 20);
        ASSERT_TRUE(Vuderiv::WindowIsOpen());
        EXPECT_EQ(BufferPixel(5, 2), 0U);
        Vuderiv::Rectangle(0, 0, 9, 9, kInk, false);  // buffering stayed off
        EXPECT_EQ(WindowPixel(9, 9), kInk);
        Vuderiv::KillWindow();
    }
}

}  // namespace
