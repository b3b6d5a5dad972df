// How the buffer reaches the window surface at a whole scale and centred with bars, read
// back, and mapped from window points; the window keys that toggle fullscreen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "Frame.h"
#include "Harness.h"
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
    Surface buffer(200, 40);  // two bands of rows and a part of a third
    SurfacePtr surface = MakeWindowSurface(200, 40);
    Frame frame = FitFrame(surface.get(), buffer.width, buffer.height);
    std::vector<SDL_Rect> rects;
    frame.damage.Take(rects);
    ASSERT_EQ(rects.size(), 1u);  // a new frame goes to the screen whole
    EXPECT_EQ(rects[0].w * rects[0].h, 200 * 40);
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);  // black on black
    frame.damage.Take(rects);
    EXPECT_TRUE(rects.empty());

    // Pixels changed at both ends of a row and in the third band; a mark on the surface in
    // the second band shows that its rows are not written.
    buffer.Row(3)[0] = 0x0000FFu;
    buffer.Row(3)[199] = 0x00FF00u;
    buffer.Row(35)[100] = 0xFF0000u;
    static_cast<uint32_t*>(surface->pixels)[20 * surface->pitch / 4 + 7] = 0xABCDEFu;
    ShowBlock(frame, buffer, 0, 0, buffer.width, buffer.height);
    for (const auto& [x, y] : {std::pair{0, 3}, {199, 3}, {100, 35}})
        EXPECT_EQ(FramePixel(frame, x, y), buffer.Row(y)[x]);
    EXPECT_EQ(At(surface.get(), 7, 20), 0xABCDEFu);
    frame.damage.Take(rects);
    const auto covered = [&](int x, int y) {
        return std::any_of(rects.begin(), rects.end(), [&](const SDL_Rect& r) {
            return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
        });
    };
    EXPECT_TRUE(covered(0, 3) && covered(199, 3) && covered(100, 35));
    EXPECT_FALSE(covered(7, 20) || covered(0, 35));
    frame.damage.Take(rects);
    EXPECT_TRUE(rects.empty());  // taken once
}

TEST(Frame, WindowPointsMapToBufferPixelsRoundingDown) {
    EXPECT_EQ(ToBuffer(5, 2, 3), 1);   // window 5 is the second pixel's first column
    EXPECT_EQ(ToBuffer(4, 2, 3), 0);   // and 4 the first's last
    EXPECT_EQ(ToBuffer(1, 2, 3), -1);  // over the bar: left of the picture
    EXPECT_EQ(ToBuffer(-4, 2, 3), -2);
    EXPECT_EQ(ToBuffer(7, 0, 1), 7);
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
