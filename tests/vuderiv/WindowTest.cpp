// The window's life: opening, closing from the program and by the user, reopening, and
// what the library does with no window at all.
#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

#include "Harness.h"
#include "Shared.h"
#include "Vuderiv.h"

using namespace Vuderiv;
using TestSupport::PushKey;
using TestSupport::Sync;

namespace {

detail::Shared& S() {
    return detail::shared();
}

// A key callback that tries what cannot work on the window thread, and one choice that can.
void CloseReopenAndChooseFullscreen(uint32_t) {
    KillWindow();
    Window("Another", 300, 200);
    SetFullscreen(true);
}

int ClientWidth() {
    int w = 0, h = 0;
    SDL_GetWindowSize(S().sdlWindow, &w, &h);
    return w;
}

}  // namespace

TEST(WindowLife, OpensWithTitleAndExactClientSizeAndClosesOnce) {
    Window("Zarvok", 1000, 800);
    ASSERT_TRUE(WindowIsOpen());
    EXPECT_EQ(S().title, "Zarvok");
    EXPECT_EQ(S().xlen, 1000u);
    EXPECT_EQ(S().ylen, 800u);
    EXPECT_EQ(ClientWidth(), 1000);
    const Uint32 flags = SDL_GetWindowFlags(S().sdlWindow);
    EXPECT_FALSE(flags & SDL_WINDOW_RESIZABLE);
    EXPECT_FALSE(flags & SDL_WINDOW_MAXIMIZED);
    // The new window shows the (black) buffer at once.
    EXPECT_EQ(WindowPixel(999, 799), 0u);

    KillWindow();
    // KillWindow returns only after the teardown: everything is released.
    EXPECT_FALSE(WindowIsOpen());
    EXPECT_EQ(S().state, detail::STATE_DEAD);
    EXPECT_TRUE(S().buffer.Empty());
    EXPECT_TRUE(S().title.empty());
    EXPECT_EQ(S().sdlWindow, nullptr);
    EXPECT_FALSE(S().windowThread.joinable());

    KillWindow();  // a second close does nothing
    EXPECT_FALSE(WindowIsOpen());
}

// KillWindow and Window wait for the window thread: from its callbacks they would wait for
// ever, so each returns at once with one line naming it.
TEST(WindowLife, CallsThatWaitForTheWindowThreadAreRefusedInItsCallbacks) {
    Window("Zarvok", 200, 100);
    ASSERT_TRUE(WindowIsOpen());
    OnKeyPress(CloseReopenAndChooseFullscreen);
    testing::internal::CaptureStderr();
    PushKey(true, SDLK_a);
    Sync();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(WindowIsOpen());
    EXPECT_EQ(S().title, "Zarvok");
    EXPECT_THAT(err, testing::MatchesRegex("Vuderiv: KillWindow cannot be called from a key or "
                                           "mouse callback[^\n]*\nVuderiv: Window cannot[^\n]*\n"));
    EXPECT_TRUE(Fullscreen());  // taken once the callback returned
    SetFullscreen(false);
    KillWindow();
    EXPECT_FALSE(WindowIsOpen());
}

TEST(WindowLife, WindowWhileOpenReopensWithNewTitleAndSize) {
    Window("First", 300, 200);
    ASSERT_TRUE(WindowIsOpen());
    SetBuffering(true);
    Window("Second", 640, 480);
    ASSERT_TRUE(WindowIsOpen());
    EXPECT_EQ(S().title, "Second");
    EXPECT_EQ(S().buffer.width, 640);
    EXPECT_EQ(S().buffer.height, 480);
    EXPECT_FALSE(S().buffering);  // the old window's teardown reset it
    KillWindow();
}

TEST(WindowLife, UserCloseTearsDownAndEverythingReadsAtRest) {
    Window("Zarvok", 1000, 800);
    ASSERT_TRUE(WindowIsOpen());
    TestSupport::PushMouseMove(10, 20);
    PushKey(true, SDLK_RIGHT);
    Sync();
    ASSERT_TRUE(KeyDown(39));
    OnMouseLeftUp([](int32_t, int32_t) {});

    TestSupport::PushUserClose();
    // Returns once the close has been handled: false when the close came before the ask.
    detail::Sync();

    EXPECT_FALSE(WindowIsOpen());
    for (uint32_t k = 0; k < 256; ++k)
        ASSERT_FALSE(KeyDown(k)) << k;
    int32_t x = -1, y = -1;
    MousePos(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_TRUE(detail::QueuedKeys().empty());
    EXPECT_EQ(S().leftUpProc.load(), nullptr);
    // Drawing and reading back do nothing now.
    UpdateWindow();
    SetBuffering(true);
    EXPECT_FALSE(S().buffering);
    EXPECT_EQ(WindowPixel(0, 0), 0u);
    // The program may open a new window afterwards.
    Window("Again", 200, 100);
    EXPECT_TRUE(WindowIsOpen());
    KillWindow();
}

TEST(WindowLife, QuitEventClosesLikeTheCloseBox) {
    Window("Zarvok", 100, 100);
    ASSERT_TRUE(WindowIsOpen());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_TRUE(detail::PushEvent(quit));
    detail::Sync();  // as after the close box
    EXPECT_FALSE(WindowIsOpen());
    KillWindow();
}

TEST(WindowLife, NothingHappensWithoutAWindow) {
    ASSERT_FALSE(WindowIsOpen());
    SetBuffering(true);
    EXPECT_FALSE(S().buffering);
    UpdateWindow();
    EXPECT_EQ(WindowPixel(0, 0), 0u);
    EXPECT_EQ(BufferPixel(0, 0), 0u);
    EXPECT_FALSE(KeyDown(39));
    EXPECT_FALSE(detail::Sync());
    KillWindow();
    EXPECT_FALSE(WindowIsOpen());
}

TEST(WindowLife, ThreadThatCannotStartReportsAndReturnsWithoutWindow) {
    detail::SimulateThreadStartFailure();
    testing::internal::CaptureStderr();
    Window("Zarvok", 1000, 800);  // returns: it does not wait for a window
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(WindowIsOpen());
    EXPECT_NE(err.find("Can't create window.\n"), std::string::npos);
    EXPECT_TRUE(S().title.empty());
    // The next attempt works.
    Window("Zarvok", 100, 100);
    EXPECT_TRUE(WindowIsOpen());
    KillWindow();
}

TEST(WindowLife, UnusableSizeFailsCleanly) {
    testing::internal::CaptureStderr();
    Window("Zarvok", 0, 800);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(WindowIsOpen());
    EXPECT_EQ(S().state, detail::STATE_DEAD);
    EXPECT_NE(err.find("cannot open the window"), std::string::npos);
    Window("Zarvok", 64, 64);
    EXPECT_TRUE(WindowIsOpen());
    KillWindow();
}

TEST(WindowLife, HeadlessFallbackCountsAsNoDisplay) {
    // With no display SDL falls back to its offscreen driver when none is named; the
    // library must refuse that instead of opening a window nobody can see.
    const std::string asked = SDL_getenv("SDL_VIDEODRIVER") ? SDL_getenv("SDL_VIDEODRIVER") : "";
    SDL_setenv("SDL_VIDEODRIVER", "dummy,offscreen", 1);  // a list names no driver exactly
    testing::internal::CaptureStderr();
    Window("Zarvok", 100, 100);
    const std::string err = testing::internal::GetCapturedStderr();
    SDL_setenv("SDL_VIDEODRIVER", asked.c_str(), 1);
    EXPECT_FALSE(WindowIsOpen());
    EXPECT_NE(err.find("no display"), std::string::npos);
}

// The icon is read on the program thread and handed to the window by the window thread,
// to the open window and to those opened later.
TEST(WindowIcon, ABmpIsRecordedAnythingElseLeavesTheIconAsItWas) {
    const std::string data = std::string(ZARVOK_SOURCE_DIR) + "/data/";
    EXPECT_FALSE(WindowIcon((data + "level1.txt").c_str()));
    EXPECT_FALSE(WindowIcon((data + "no-such.bmp").c_str()));
    EXPECT_TRUE(S().icon.Empty());
    ASSERT_TRUE(WindowIcon((data + "images\\icoon.bmp").c_str()));
    EXPECT_EQ(S().icon.width, 64);
    EXPECT_EQ(S().icon.height, 64);
    Window("Zarvok", 100, 100);
    ASSERT_TRUE(WindowIsOpen());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(WindowIcon((data + "images/baksteen.bmp").c_str()));
    Sync();
    EXPECT_TRUE(WindowIsOpen());
    EXPECT_EQ(S().icon.width, 20);
    EXPECT_TRUE(WindowIcon(nullptr));
    EXPECT_TRUE(S().icon.Empty());
    KillWindow();
}

// Buffering and the full copy.
class Buffering : public TestSupport::WindowTest {};

TEST_F(Buffering, OnShowsNothingUntilUpdateWindowAndOffShowsFirst) {
    SetBuffering(true);
    {
        detail::Canvas canvas;
        canvas.DrawRows(5, 1).Row(5)[7] = 0x0000B0;
    }
    EXPECT_EQ(BufferPixel(7, 5), 0x0000B0u);
    EXPECT_EQ(WindowPixel(7, 5), 0u);
    UpdateWindow();
    EXPECT_EQ(WindowPixel(7, 5), 0x0000B0u);

    {
        detail::Canvas canvas;
        canvas.DrawRows(6, 1).Row(6)[8] = 0xFF0000;
    }
    SetBuffering(true);  // switching on again copies nothing
    EXPECT_EQ(WindowPixel(8, 6), 0u);
    SetBuffering(false);  // switching off shows what was drawn so far
    EXPECT_EQ(WindowPixel(8, 6), 0xFF0000u);
}

TEST_F(Buffering, ExposeRepaintsFromTheBufferWhateverTheSwitch) {
    detail::Shared& s = S();
    SetBuffering(true);
    {
        detail::Canvas canvas;
        canvas.DrawRows(0, 1).Row(0)[0] = 0x123456;
    }
    SDL_Event expose{};
    expose.type = SDL_WINDOWEVENT;
    expose.window.windowID = s.windowId;
    expose.window.event = SDL_WINDOWEVENT_EXPOSED;
    ASSERT_TRUE(detail::PushEvent(expose));
    Sync();
    EXPECT_EQ(WindowPixel(0, 0), 0x123456u);
}

// The colour the window surface holds at (x, y), as 0x00BBGGRR.
uint32_t SurfacePixel(SDL_Surface* surface, int x, int y) {
    Uint8 r = 0, g = 0, b = 0;
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    SDL_GetRGB(reinterpret_cast<const Uint32*>(row)[x], surface->format, &r, &g, &b);
    return static_cast<uint32_t>(b) << 16 | static_cast<uint32_t>(g) << 8 | r;
}

TEST(Presentation, EveryPixelReachesTheWindowSurfaceWithRedAndBlueInPlace) {
    for (const auto& [w, h] : {std::pair{1000, 4}, std::pair{203, 3}}) {  // whole and odd rows
        SCOPED_TRACE(w);
        Window("Colours", static_cast<uint32_t>(w), static_cast<uint32_t>(h));
        ASSERT_TRUE(WindowIsOpen());
        detail::Shared& s = S();
        const auto colour = [](int x, int y) {
            return static_cast<uint32_t>(x * 0x010307 + y * 0x0B0000) & 0xFFFFFF;
        };
        {
            detail::Canvas canvas;
            detail::Surface& buffer = canvas.DrawAnywhere();
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x)
                    buffer.Row(y)[x] = colour(x, y);
            }
            buffer.Row(1)[2] = 0x0000B0;  // dark red
        }
        UpdateWindow();
        Sync();  // the present request has been handled
        SDL_Surface* surface = SDL_GetWindowSurface(s.sdlWindow);
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(SurfacePixel(surface, 2, 1), 0x0000B0u);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (x == 2 && y == 1) continue;
                ASSERT_EQ(SurfacePixel(surface, x, y), colour(x, y)) << x << ", " << y;
            }
        }
        KillWindow();
    }
}
