// How the buffer reaches the window surface at a whole scale and centred with bars, read
// back, and mapped from window points; the window keys that toggle fullscreen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "Frame.h"
#include "Harness.h"
#include "Scaler.h"
#include "Shared.h"
#include "Vuderiv.h"

using namespace Vuderiv;
using namespace Vuderiv::detail;

namespace {

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePtr MakeWindowSurface(int w, int h, uint32_t format = SDL_PIXELFORMAT_RGB888) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, format);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0x12, 0x34, 0x56));  // not black
    return {s, SDL_FreeSurface};
}

// A 10 x 8 buffer whose every pixel differs, in all three colours.
Surface Pattern() {
    Surface b(10, 8);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            b.Row(y)[x] = 0x010203u * static_cast<uint32_t>(1 + x + 10 * y);
    return b;
}

uint32_t At(const SDL_Surface* s, int x, int y) {
    return static_cast<const uint32_t*>(s->pixels)[y * s->pitch / 4 + x];
}

}  // namespace

TEST(Frame, ScaledCentredWithBlackBarsAndReadBack) {
    const Surface buffer = Pattern();
    // Room for three times 10 x 8 in 35 x 27: 2 window pixels left and 1 above the picture.
    SurfacePtr surface = MakeWindowSurface(35, 27);
    Frame frame = FitFrame(surface.get(), buffer.width, buffer.height);
    EXPECT_EQ(frame.scale, 3);
    EXPECT_EQ(frame.left, 2);
    EXPECT_EQ(frame.top, 1);
    ClearFrame(frame);
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            const uint32_t p = buffer.Row(y)[x];
            const uint32_t shown = ((p & 0xFF) << 16) | (p & 0xFF00) | (p >> 16);  // 0x00RRGGBB
            for (int k = 0; k < 9; ++k)  // a 3 x 3 block of one colour
                ASSERT_EQ(At(surface.get(), 2 + 3 * x + k % 3, 1 + 3 * y + k / 3), shown);
            EXPECT_EQ(FramePixel(frame, x, y), p);
        }
    }
    for (int y = 0; y < 27; ++y) {  // the bars are black
        EXPECT_EQ(At(surface.get(), 0, y), 0u);
        EXPECT_EQ(At(surface.get(), 33, y), 0u);
    }
    EXPECT_EQ(At(surface.get(), 10, 0), 0u);
    EXPECT_EQ(At(surface.get(), 10, 25), 0u);
}

TEST(Frame, OtherLayoutsAndSurfacesSmallerThanThePicture) {
    const Surface buffer = Pattern();
    // Another 32-bit layout and a 16-bit one: colours survive the way there and back (the
    // 16-bit one to its own precision).
    SurfacePtr other = MakeWindowSurface(20, 16, SDL_PIXELFORMAT_ARGB8888);
    Frame frame = FitFrame(other.get(), buffer.width, buffer.height);
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);
    EXPECT_EQ(frame.scale, 2);
    EXPECT_EQ(FramePixel(frame, 9, 7), buffer.Row(7)[9]);
    SurfacePtr narrow = MakeWindowSurface(20, 16, SDL_PIXELFORMAT_RGB565);
    frame = FitFrame(narrow.get(), buffer.width, buffer.height);
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);
    EXPECT_EQ(FramePixel(frame, 4, 4) & 0xF8F8F8u, buffer.Row(4)[4] & 0xF8F8F8u);

    // A surface smaller than the picture: scale 1, the picture's middle shown, the rest
    // clipped away without touching memory outside the surface.
    SurfacePtr small = MakeWindowSurface(6, 4);
    frame = FitFrame(small.get(), buffer.width, buffer.height);
    EXPECT_EQ(frame.scale, 1);
    EXPECT_EQ(frame.left, -2);
    ShowBlock(frame, buffer, -5, -5, 100, 100);
    EXPECT_EQ(FramePixel(frame, 2, 2), buffer.Row(2)[2]);
    EXPECT_EQ(FramePixel(frame, 0, 0), 0u);  // not on the surface
    EXPECT_EQ(FramePixel(frame, 9, 7), 0u);
}

TEST(Frame, OnlyChangedPartsAreWrittenAndGivenToTheScreen) {
    // Two bands of rows and a part of a third; a width that is no multiple of 8 or 16.
    Surface buffer(203, 40);
    SurfacePtr surface = MakeWindowSurface(203, 40);
    Frame frame = FitFrame(surface.get(), buffer.width, buffer.height);
    std::vector<SDL_Rect> rects;
    frame.damage.Take(rects);
    ASSERT_EQ(rects.size(), 1u);  // a new frame goes to the screen whole
    EXPECT_EQ(rects[0].w * rects[0].h, 203 * 40);
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);  // black on black
    frame.damage.Take(rects);
    EXPECT_TRUE(rects.empty());

    // Pixels changed at both ends of a row, near its end and in the third band, in rows
    // noted as drawn; a pixel changed in a row no drawing noted is not looked at.
    buffer.Row(3)[0] = 0x0000FFu;
    buffer.Row(3)[199] = 0x00FF00u;
    buffer.Row(4)[202] = 0x00FF00u;
    buffer.Row(35)[100] = 0xFF0000u;
    buffer.Row(20)[7] = 0xABCDEFu;
    NoteBlock(frame, 0, 3, buffer.width, 2);
    NoteBlock(frame, 100, 35, 1, 1);
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);
    for (const auto& [x, y] : {std::pair{0, 3}, {199, 3}, {202, 4}, {100, 35}})
        EXPECT_EQ(FramePixel(frame, x, y), buffer.Row(y)[x]);
    EXPECT_EQ(FramePixel(frame, 7, 20), 0u);
    frame.damage.Take(rects);
    const auto covered = [&](int x, int y) {
        return std::any_of(rects.begin(), rects.end(), [&](const SDL_Rect& r) {
            return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
        });
    };
    EXPECT_TRUE(covered(0, 3) && covered(199, 3) && covered(202, 4) && covered(100, 35));
    EXPECT_FALSE(covered(7, 20) || covered(0, 35));
    frame.damage.Take(rects);
    EXPECT_TRUE(rects.empty());  // taken once
}

// A buffer filled whole passes later notes by, until a picture row is taken over a row:
// a sprite drawn on that row afterwards is still restored by the next copy of the picture.
TEST(Frame, AfterAWholeFillAPictureRowStillLearnsWhatIsDrawnOnIt) {
    Surface buffer(40, 4);
    SurfacePtr surface = MakeWindowSurface(40, 4);
    Frame frame = FitFrame(surface.get(), buffer.width, buffer.height);
    const RowSource background{7, 0};
    NoteBlock(frame, 0, 0, 40, 4);
    EXPECT_EQ(TakePictureRow(frame, 1, background, 40).end, 40);  // not held yet: all of it
    NoteBlock(frame, 10, 1, 5, 1);
    const Span restored = TakePictureRow(frame, 1, background, 40);
    EXPECT_EQ(restored.first, 10);
    EXPECT_EQ(restored.end, 15);
}

TEST(Frame, WindowPointsMapToBufferPixelsRoundingDown) {
    EXPECT_EQ(ToBuffer(5, 2, 30, 10), 1);   // window 5 is the second pixel's first column
    EXPECT_EQ(ToBuffer(4, 2, 30, 10), 0);   // and 4 the first's last
    EXPECT_EQ(ToBuffer(1, 2, 30, 10), -1);  // over the bar: left of the picture
    EXPECT_EQ(ToBuffer(-4, 2, 30, 10), -2);
    EXPECT_EQ(ToBuffer(7, 0, 10, 10), 7);
}

namespace {

// The largest difference from `background` that a window pixel of the fitted axis shows
// for each buffer pixel drawn alone in `color`: the blend that the taps give.
std::vector<uint32_t> LineContrasts(const Taps& taps, int32_t from, uint32_t color,
                                    uint32_t background) {
    std::vector<uint32_t> contrast(static_cast<size_t>(from), 0);
    for (int32_t line = 0; line < from; ++line) {
        for (size_t j = 0; j < taps.first.size(); ++j) {
            const int32_t k = taps.first[j];
            const uint32_t shown = Blend(k == line ? color : background,
                                         k + 1 == line ? color : background, taps.weight[j]);
            const auto d = static_cast<uint32_t>(
                std::abs(static_cast<int>(shown & 0xFF) - static_cast<int>(background & 0xFF)));
            contrast[static_cast<size_t>(line)] = std::max(contrast[static_cast<size_t>(line)], d);
        }
    }
    return contrast;
}

}  // namespace

TEST(Fit, EveryOnePixelLineKeepsHalfItsContrastAndFlatStaysFlat) {
    // 0.75 (800 x 600), 0.96 (a 1366 x 768 screen), 1.35 (1920 x 1080 fullscreen), and
    // 2.3 with its exact step of 2, along both axes of the 1000 x 800 picture.
    for (const auto& [from, to] : {std::pair{1000, 750},
                                   {800, 600},
                                   {1000, 960},
                                   {800, 768},
                                   {1000, 1350},
                                   {800, 1080},
                                   {800, 1840}}) {
        const Taps taps = AxisTaps(from, to);
        for (const auto& [color, background] :
             {std::pair{0xFFu, 0u}, {0u, 0xFFu}, {0x40u, 0x41u}}) {
            const std::vector<uint32_t> contrast = LineContrasts(taps, from, color, background);
            const uint32_t full = color > background ? color - background : background - color;
            // Half, to the rounding of an 8-bit colour: an even mix of 0 and 255 is 128.
            for (int32_t line = 0; line < from; ++line)
                ASSERT_GE(2 * contrast[static_cast<size_t>(line)] + 1, full)
                    << "line " << line << " of " << from << " shown as " << to;
        }
        for (size_t j = 0; j < taps.first.size(); ++j)  // flat: every blend of one colour
            ASSERT_EQ(Blend(0x123456u, 0x123456u, taps.weight[j]), 0x123456u);
    }
    // The exact step: at 2.3 each window pixel blends at most the two buffer pixels that the
    // doubled picture puts beside it, and most take one buffer pixel alone.
    const Taps sharp = AxisTaps(800, 1840);
    const auto alone = std::count(sharp.weight.begin(), sharp.weight.end(), 0);
    EXPECT_GT(alone, 1840 / 2);
}

TEST(Fit, LayoutKeepsTheShapeCentredAndWholeFactorsStayExact) {
    int32_t w = 0, h = 0;
    for (const auto& [room, size] : {std::pair{std::pair{1920, 1080}, std::pair{1350, 1080}},
                                     {{1366, 747}, {930, 744}},
                                     {{800, 600}, {750, 600}},
                                     {{2200, 1700}, {2125, 1700}}}) {
        FittedSize(1000, 800, room.first, room.second, w, h);
        EXPECT_EQ(std::pair(w, h), size);
    }
    SurfacePtr screen = MakeWindowSurface(1920, 1080);
    Frame frame = FitFrame(screen.get(), 1000, 800, true);
    EXPECT_TRUE(frame.fitted);
    EXPECT_EQ(frame.left, 285);
    EXPECT_EQ(frame.top, 0);
    SurfacePtr twice = MakeWindowSurface(2000, 1600);
    frame = FitFrame(twice.get(), 1000, 800, true);
    EXPECT_FALSE(frame.fitted);  // the fit is scale 2: exact pixels
    EXPECT_EQ(frame.scale, 2);
}

TEST(Fit, ShowsLinesAndFlatAreasThroughTheWindowSurfaceAndRedrawsOnlyWhatChanged) {
    Surface buffer(100, 80);
    std::fill(buffer.pixels.begin(), buffer.pixels.end(), 0x204060u);  // flat
    for (int32_t y = 0; y < 80; ++y)
        buffer.Row(y)[37] = 0xFFFFFFu;               // a one-pixel column
    SurfacePtr surface = MakeWindowSurface(96, 76);  // 0.95: a bar one column wide at the right
    Frame frame = FitFrame(surface.get(), buffer.width, buffer.height, true);
    ASSERT_EQ(frame.shownWidth, 95);
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);
    const uint32_t flat = 0x604020u;  // 0x204060 in the surface's 0x00RRGGBB
    int32_t brightest = 0;
    for (int32_t x = 0; x < 95; ++x)
        brightest = std::max<int32_t>(brightest, At(surface.get(), x, 40) & 0xFF);
    EXPECT_GE(2 * (brightest - 0x20), 0xFF - 0x20);
    for (int32_t y = 0; y < 76; ++y) {  // far from the line, exactly the flat colour
        ASSERT_EQ(At(surface.get(), 5, y), flat) << y;
        ASSERT_EQ(At(surface.get(), 90, y), flat) << y;
    }
    EXPECT_EQ(At(surface.get(), 95, 10), 0u);  // the bar right of the picture
    std::vector<SDL_Rect> rects;
    frame.damage.Take(rects);

    // One pixel changed: only the window pixels that read it are written and shown.
    buffer.Row(60)[80] = 0x0000FFu;
    static_cast<uint32_t*>(surface->pixels)[10 * surface->pitch / 4 + 10] = 0xABCDEFu;
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);
    EXPECT_EQ(At(surface.get(), 10, 10), 0xABCDEFu);
    EXPECT_GE(2 * (FramePixel(frame, 80, 60) & 0xFF), 0xFFu + 0x20);
    frame.damage.Take(rects);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_LT(rects[0].w, 95 / 2);
    EXPECT_LE(rects[0].y, 57);
    EXPECT_GE(rects[0].y + rects[0].h, 58);
}

TEST(Fit, AClickOnTheFirstAndLastPixelOfAButtonChoosesItAndOneOutsideDoesNot) {
    // A button at buffer columns and rows 37..62 of a 100 x 80 picture, at 0.75, 1, 1.35
    // and 2. Its window pixels are those that show more than half of it; a click on the
    // first and the last of them lands inside it, and on the pixel beyond that shows less
    // than half of it (or nothing) outside.
    constexpr int32_t kFirst = 37, kLast = 62;
    Surface buffer(100, 80);
    for (int32_t y = kFirst; y <= kLast; ++y)
        std::fill(buffer.Row(y) + kFirst, buffer.Row(y) + kLast + 1, 0xFFu);
    for (const double factor : {0.75, 1.0, 1.35, 2.0}) {
        SCOPED_TRACE(factor);
        SurfacePtr surface = MakeWindowSurface(static_cast<int>(100 * factor) + 4,
                                               static_cast<int>(80 * factor));  // bars beside
        Frame frame = FitFrame(surface.get(), 100, 80, true);
        ShowBlock(frame, buffer, 0, 0, 100, 80);
        const int32_t middle = frame.top + frame.shownHeight / 2;
        const auto red = [&](int32_t wx) { return (At(surface.get(), wx, middle) >> 16) & 0xFF; };
        std::vector<int32_t> strong, weak;  // more than half; at least half
        for (int32_t wx = 0; wx < surface->w; ++wx) {
            if (2 * red(wx) > 0xFF) strong.push_back(wx);
            if (2 * red(wx) >= 0xFF) weak.push_back(wx);
        }
        ASSERT_FALSE(strong.empty());
        const auto inside = [&](int32_t wx) {
            const int32_t x = ToBuffer(wx, frame.left, frame.shownWidth, 100);
            return x >= kFirst && x <= kLast;
        };
        EXPECT_TRUE(inside(strong.front()));
        EXPECT_TRUE(inside(strong.back()));
        EXPECT_FALSE(inside(weak.front() - 1));
        EXPECT_FALSE(inside(weak.back() + 1));
    }
}

TEST(Frame, DamageStaysOnTheSurfaceAndBandsOfOtherWidthsStayApart) {
    Surface buffer(100, 40);  // the last band holds 8 rows, not 16
    SurfacePtr surface = MakeWindowSurface(100, 40);
    Frame frame = FitFrame(surface.get(), buffer.width, buffer.height);
    std::vector<SDL_Rect> rects;
    frame.damage.Take(rects);
    for (int32_t x = 0; x < 100; ++x)
        buffer.Row(39)[x] = 0xFFu;  // the bottom row
    buffer.Row(20)[3] = 0xFFu;      // a narrow change in the band above
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);
    frame.damage.Take(rects);
    ASSERT_EQ(rects.size(), 2u);
    for (const SDL_Rect& r : rects) {
        EXPECT_GE(r.x, 0);
        EXPECT_GE(r.y, 0);
        EXPECT_LE(r.x + r.w, 100);
        EXPECT_LE(r.y + r.h, 40);
    }
    EXPECT_LT(rects[0].w, 100);  // the narrow band keeps its width
    EXPECT_EQ(rects[1].w, 100);
}

namespace {

class WindowKeys : public TestSupport::WindowTest {
protected:
    void TearDown() override {
        EnableWindowKeys(false);
        OnFullscreenKey(nullptr);
        SetFullscreen(false);
        WindowTest::TearDown();
    }
};

std::atomic<int> toggles{0};
std::atomic<bool> toggledTo{false};
void CountToggle(bool on) {
    toggledTo = on;
    ++toggles;
}

}  // namespace

TEST_F(WindowKeys, ToggleFullscreenOnlyWhenOnAndNeverReachTheGame) {
    // Off: F11 is an ordinary key.
    TestSupport::PressKey(SDLK_F11);
    EXPECT_TRUE(KeyDown(Key::F11));
    TestSupport::ReleaseKey(SDLK_F11);
    FlushKeys();

    EnableWindowKeys(true);
    OnFullscreenKey(CountToggle);
    TestSupport::PressKey(SDLK_F11);
    EXPECT_TRUE(Fullscreen());
    EXPECT_EQ(toggles, 1);
    EXPECT_TRUE(toggledTo);
    TestSupport::PushKey(true, SDLK_F11, true);  // held: no second toggle
    TestSupport::Sync();
    EXPECT_EQ(toggles, 1);
    EXPECT_FALSE(KeyDown(Key::F11));
    TestSupport::ReleaseKey(SDLK_F11);

    TestSupport::PushKey(true, SDLK_RETURN, false, KMOD_LALT);  // Alt+Enter toggles back
    TestSupport::Sync();
    EXPECT_FALSE(Fullscreen());
    EXPECT_EQ(toggles, 2);
    EXPECT_FALSE(toggledTo);
    EXPECT_FALSE(KeyDown(Key::Enter));
    EXPECT_TRUE(detail::QueuedKeys().empty());
    // The window shows the buffer again at its own size.
    EXPECT_EQ(WindowScale(), 1u);
}

TEST_F(WindowKeys, AnExposeAndAFullscreenChangeShowTheWholeBufferWithoutUpdateWindow) {
    SetBuffering(true);
    Rectangle(0, 0, 999, 799, 0x0000FF, true);  // in the buffer only
    ASSERT_EQ(WindowPixel(500, 400), 0u);
    SDL_Event expose{};
    expose.type = SDL_WINDOWEVENT;
    expose.window.event = SDL_WINDOWEVENT_EXPOSED;
    expose.window.windowID = detail::shared().windowId;
    ASSERT_TRUE(detail::PushEvent(expose));
    TestSupport::Sync();
    EXPECT_EQ(WindowPixel(999, 799), 0x0000FFu);

    Rectangle(0, 0, 999, 799, 0x00FF00, true);
    SetFullscreen(true);
    EXPECT_EQ(WindowPixel(0, 0), 0x00FF00u);
    Rectangle(0, 0, 999, 799, 0xFF0000, true);
    SetFullscreen(false);
    EXPECT_EQ(WindowPixel(999, 0), 0xFF0000u);
    Rectangle(0, 0, 999, 799, 0x00FFFF, true);
    SetWindowScale(FitScale);
    EXPECT_EQ(WindowPixel(0, 799), 0x00FFFFu);
    SetWindowScale(DefaultScale);
}
