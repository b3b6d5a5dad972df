// Keyboard and mouse input, driven by real SDL events pushed to the window thread.
#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "Harness.h"
#include "Shared.h"
#include "Vuderiv.h"

using namespace Vuderiv;
using namespace TestSupport;

namespace {

class Input : public WindowTest {};

std::vector<uint8_t> Queue() {
    return detail::QueuedKeys();
}

// Records the calls of the left-up callback (it runs on the window thread).
std::atomic<int> leftUps{0};
std::atomic<int32_t> lastX{-1}, lastY{-1};
void CountLeftUp(int32_t x, int32_t y) {
    lastX = x;
    lastY = y;
    ++leftUps;
}

// Records the keys the key-press callback is called with (window thread).
std::mutex pressedLock;
std::vector<uint32_t> pressed;
void RecordPress(uint32_t k) {
    std::lock_guard<std::mutex> lock(pressedLock);
    pressed.push_back(k);
}

}  // namespace

// One call per recorded press, none for auto-repeat, releases or system keys; the table
// and the queue record the key as before, and a closed window forgets the callback.
TEST_F(Input, KeyPressCallbackOncePerPress) {
    OnKeyPress(RecordPress);
    PushKey(true, SDLK_m);
    PushKey(true, SDLK_m, /*repeat=*/true);
    PushKey(false, SDLK_m);
    PushKey(true, SDLK_m, false, KMOD_LALT);
    PushKey(true, SDLK_CAPSLOCK);
    PushKey(true, SDLK_LEFT);
    Sync();
    {
        std::lock_guard<std::mutex> lock(pressedLock);
        EXPECT_EQ(pressed, (std::vector<uint32_t>{77, 37}));
        pressed.clear();
    }
    EXPECT_EQ(Queue(), (std::vector<uint8_t>{77, 77, 37}));
    KillWindow();
    Window("Input", 1000, 800);
    PressKey(SDLK_m);
    std::lock_guard<std::mutex> lock(pressedLock);
    EXPECT_TRUE(pressed.empty());
}

TEST_F(Input, KeyTableFollowsPressAndRelease) {
    EXPECT_FALSE(KeyDown(39));
    PressKey(SDLK_RIGHT);
    EXPECT_TRUE(KeyDown(39));
    EXPECT_TRUE(KeyDown(39));  // asking consumes nothing
    PressKey(SDLK_RCTRL);
    EXPECT_TRUE(KeyDown(17));
    ReleaseKey(SDLK_RIGHT);
    EXPECT_FALSE(KeyDown(39));
    EXPECT_TRUE(KeyDown(17));
    EXPECT_FALSE(KeyDown(256));
    EXPECT_FALSE(KeyDown(0xFFFFFFFFu));
}

TEST_F(Input, KeyCodesOfTheMapping) {
    const std::vector<std::pair<SDL_Keycode, uint32_t>> keys = {
        {SDLK_a, 65},      {SDLK_q, 81},      {SDLK_z, 90},      {SDLK_0, 48},
        {SDLK_9, 57},      {SDLK_LEFT, 37},   {SDLK_UP, 38},     {SDLK_RIGHT, 39},
        {SDLK_DOWN, 40},   {SDLK_LCTRL, 17},  {SDLK_LSHIFT, 16}, {SDLK_SPACE, 32},
        {SDLK_RETURN, 13}, {SDLK_ESCAPE, 27}, {SDLK_F1, 112},    {SDLK_F12, 123}};
    for (const auto& [sym, code] : keys) {
        PressKey(sym);
        EXPECT_TRUE(KeyDown(code)) << code;
        ReleaseKey(sym);
        EXPECT_FALSE(KeyDown(code)) << code;
    }
    PressKey(SDLK_CAPSLOCK);  // unmapped keys are ignored
    EXPECT_TRUE(Queue().size() == keys.size());
}

TEST_F(Input, QueueKeepsEveryPressInOrderWithAutoRepeat) {
    PushKey(true, SDLK_LEFT);
    PushKey(true, SDLK_LEFT, /*repeat=*/true);
    PushKey(true, SDLK_LEFT, /*repeat=*/true);
    PushKey(true, SDLK_q);
    PushKey(false, SDLK_q);  // pressed and released between two polls
    Sync();
    EXPECT_EQ(Queue(), (std::vector<uint8_t>{37, 37, 37, 81}));
    EXPECT_TRUE(KeyDown(37));
    EXPECT_FALSE(KeyDown(81));  // never seen by the table, but queued
    FlushKeys();
    EXPECT_TRUE(Queue().empty());
    EXPECT_TRUE(KeyDown(37));  // flushing the queue leaves the table alone
}

TEST_F(Input, NextKeyTakesEachPressOnceOldestFirst) {
    PushKey(true, SDLK_LEFT);
    PushKey(true, SDLK_q);
    PushKey(false, SDLK_q);  // a tap that KeyDown misses
    Sync();
    EXPECT_FALSE(KeyDown(Key::Q));
    EXPECT_EQ(NextKey(), Key::Left);
    EXPECT_EQ(NextKey(), Key::Q);
    EXPECT_EQ(NextKey(), 0u);
    EXPECT_TRUE(Queue().empty());
    // Taken while the window thread appends: every press once, in order.
    constexpr uint32_t kPresses = 2000;
    std::atomic<bool> pushed{false};
    std::vector<uint32_t> taken;
    std::thread reader([&] {
        for (bool last = false; !last;) {
            last = pushed;
            for (uint32_t k = NextKey(); k != 0; k = NextKey())
                taken.push_back(k);
        }
    });
    for (uint32_t i = 0; i < kPresses; ++i)
        PushKey(true, i % 2 == 0 ? SDLK_a : SDLK_b, true);
    Sync();
    pushed = true;
    reader.join();
    ASSERT_EQ(taken.size(), kPresses);
    for (uint32_t i = 0; i < kPresses; ++i)
        ASSERT_EQ(taken[i], i % 2 == 0 ? Key::A : Key::B) << i;
}

TEST_F(Input, SystemKeysAreNotRecorded) {
    PushKey(true, SDLK_F10);
    PushKey(true, SDLK_x, false, KMOD_LALT);
    PushKey(true, SDLK_LALT);
    Sync();
    EXPECT_FALSE(KeyDown(121));
    EXPECT_FALSE(KeyDown(88));
    EXPECT_TRUE(Queue().empty());
    // Only presses are filtered: Right held, Alt pressed, Right let go with Alt still held.
    PressKey(SDLK_RIGHT);
    PushKey(true, SDLK_LALT, false, KMOD_LALT);
    PushKey(false, SDLK_RIGHT, false, KMOD_LALT);
    PushKey(false, SDLK_LALT);
    Sync();
    EXPECT_FALSE(KeyDown(39));
    EXPECT_EQ(Queue(), std::vector<uint8_t>{39});  // the plain press alone
}

TEST_F(Input, QueueIsBounded) {
    for (size_t i = 0; i < detail::kKeyQueueLimit + 100; ++i) {
        PushKey(true, i < 100 ? SDLK_a : SDLK_b, true);
    }
    Sync();
    const auto queue = Queue();
    ASSERT_EQ(queue.size(), detail::kKeyQueueLimit);
    EXPECT_EQ(queue.front(), 66);  // the oldest codes were dropped
}

TEST_F(Input, MousePositionAndCoordinatesOutsideTheClientArea) {
    int32_t x = -1, y = -1;
    MousePos(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    PushMouseMove(123, 456);
    Sync();
    MousePos(x, y);
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 456);
    // Captured moves left of and above the client area read as their low 16 bits.
    PushMouseButton(true, SDL_BUTTON_LEFT, 5, 5);
    PushMouseMove(-1, -32768);
    Sync();
    MousePos(x, y);
    EXPECT_EQ(x, 65535);
    EXPECT_EQ(y, 32768);
    PushMouseMove(70000, 5);  // beyond 16 bits: the low 16 bits
    Sync();
    MousePos(x, y);
    EXPECT_EQ(x, 70000 - 65536);
}

TEST_F(Input, LeftButtonFlagsCallbackAndDoubleClick) {
    detail::Shared& s = detail::shared();
    leftUps = 0;
    OnMouseLeftUp(CountLeftUp);
    PushMouseButton(true, SDL_BUTTON_LEFT, 10, 20);
    Sync();
    EXPECT_TRUE(s.left);
    PushMouseButton(false, SDL_BUTTON_LEFT, 11, 21);
    Sync();
    EXPECT_FALSE(s.left);
    EXPECT_EQ(leftUps, 1);
    EXPECT_EQ(lastX, 11);
    EXPECT_EQ(lastY, 21);

    // The second click of a double click sets nothing, but its release still calls back.
    PushMouseButton(true, SDL_BUTTON_LEFT, 11, 21, 2);
    Sync();
    EXPECT_FALSE(s.left);
    PushMouseButton(false, SDL_BUTTON_LEFT, 11, 21, 2);
    Sync();
    EXPECT_EQ(leftUps, 2);
    // SDL reports a release outside the window for no window: uncaptured it calls
    // nothing; captured (left held) it is the release.
    SDL_Event outside{};
    outside.type = SDL_MOUSEBUTTONUP;
    outside.button.button = SDL_BUTTON_LEFT;
    outside.button.state = SDL_RELEASED;
    ASSERT_TRUE(detail::PushEvent(outside));
    Sync();
    EXPECT_EQ(leftUps, 2);
    PushMouseButton(true, SDL_BUTTON_LEFT, 11, 21);
    ASSERT_TRUE(detail::PushEvent(outside));
    Sync();
    EXPECT_FALSE(s.left);
    EXPECT_EQ(leftUps, 3);

    // Both buttons: flags follow each.
    PushMouseButton(true, SDL_BUTTON_RIGHT, 1, 1);
    PushMouseButton(true, SDL_BUTTON_LEFT, 1, 1);
    Sync();
    EXPECT_TRUE(s.left);
    EXPECT_TRUE(s.right);
    PushMouseButton(false, SDL_BUTTON_RIGHT, 1, 1);
    PushMouseButton(false, SDL_BUTTON_LEFT, 1, 1);
    Sync();
    EXPECT_FALSE(s.left);
    EXPECT_FALSE(s.right);
    EXPECT_EQ(leftUps, 4);

    OnMouseLeftUp(nullptr);  // removed: the next release calls nothing
    PushMouseButton(true, SDL_BUTTON_LEFT, 1, 1);
    PushMouseButton(false, SDL_BUTTON_LEFT, 1, 1);
    Sync();
    EXPECT_EQ(leftUps, 4);
}

TEST_F(Input, PositionIsNeverTornBetweenTwoMoves) {
    // Moves along the diagonal x == y; every read must keep the pair together.
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            int32_t x = 0, y = 0;
            MousePos(x, y);
            ASSERT_EQ(x, y);
        }
    });
    for (int32_t i = 0; i < 3000; ++i)
        PushMouseMove(i % 1000, i % 1000);
    Sync();
    done = true;
    reader.join();
}

TEST_F(Input, FlushWhileTheWindowThreadAppends) {
    std::atomic<bool> done{false};
    std::thread flusher([&] {
        while (!done)
            FlushKeys();
    });
    for (int i = 0; i < 3000; ++i)
        PushKey(true, SDLK_a, true);
    Sync();
    done = true;
    flusher.join();
    FlushKeys();
    EXPECT_TRUE(Queue().empty());
}

TEST_F(Input, PadPluggedInLaterActsAsKeys) {
    VirtualPad pad;
    FlushKeys();
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(WaitUntil([] { return KeyDown(37) && KeyDown(38); }));
    EXPECT_TRUE(KeyDown(Key::PadDpadLeft));
    EXPECT_TRUE(KeyDown(Key::PadSouth));
    EXPECT_THAT(Queue(), testing::UnorderedElementsAre(Key::PadDpadLeft, Key::PadSouth));
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    ASSERT_TRUE(WaitUntil([] { return !KeyDown(37) && !KeyDown(38); }));
    EXPECT_FALSE(KeyDown(Key::PadSouth));

    pad.Button(SDL_CONTROLLER_BUTTON_X, true);  // west: fire
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, true);
    ASSERT_TRUE(WaitUntil([] { return KeyDown(17) && KeyDown(81); }));
}

// The stick reads centred inside its dead zone and keeps a push until it is well back.
TEST_F(Input, StickDeadZone) {
    VirtualPad pad;
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 6000);  // a resting stick a little off centre
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -6000);
    pad.Button(SDL_CONTROLLER_BUTTON_Y, true);  // a mark for the window thread's update
    ASSERT_TRUE(WaitUntil([] { return KeyDown(Key::PadNorth); }));
    EXPECT_FALSE(KeyDown(39));
    EXPECT_FALSE(KeyDown(38));
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 12000);
    ASSERT_TRUE(WaitUntil([] { return KeyDown(39); }));
    EXPECT_TRUE(KeyDown(Key::PadStickRight));
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, 8000);  // inside the gap: still pushed
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    ASSERT_TRUE(WaitUntil([] { return KeyDown(38); }));
    EXPECT_TRUE(KeyDown(39));
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);  // straight across
    ASSERT_TRUE(WaitUntil([] { return KeyDown(37); }));
    EXPECT_FALSE(KeyDown(39));
    EXPECT_EQ(Queue(), (std::vector<uint8_t>{Key::PadNorth, Key::PadStickRight, Key::PadStickUp,
                                             Key::PadStickLeft}));
}

// A key reads down while any source holds it; unplugging or losing the focus lets go.
TEST_F(Input, KeyboardAndPadsHoldTogether) {
    VirtualPad first, second;
    PressKey(SDLK_LEFT);
    first.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    second.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    ASSERT_TRUE(WaitUntil([] { return KeyDown(Key::PadDpadLeft) && KeyDown(Key::PadStickLeft); }));
    ReleaseKey(SDLK_LEFT);
    EXPECT_TRUE(KeyDown(37));
    first.Unplug();
    EXPECT_FALSE(KeyDown(Key::PadDpadLeft));
    EXPECT_TRUE(KeyDown(37));  // the second pad's stick
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.windowID = detail::shared().windowId;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    ASSERT_TRUE(detail::PushEvent(focus));
    Sync();
    EXPECT_FALSE(KeyDown(37));
    PressKey(SDLK_LEFT);
    second.Unplug();  // the keyboard's hold outlives the pad
    EXPECT_TRUE(KeyDown(37));
}
