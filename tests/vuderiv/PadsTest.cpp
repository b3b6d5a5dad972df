// Game controllers through SDL's virtual joystick: pads as pads, and pads acting as keys.
#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "Harness.h"
#include "Shared.h"
#include "Vuderiv.h"

using namespace Vuderiv;
using namespace TestSupport;

namespace {

class Pads : public WindowTest {};

// Pads acting as keys, as the game and the menus choose.
class PadKeys : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        SetPadsAsKeys(true);
    }
};

std::vector<uint8_t> Queue() {
    return detail::QueuedKeys();
}

std::vector<PadEvent> TakePadEvents() {
    std::vector<PadEvent> events;
    for (PadEvent event{}; NextPadEvent(event);)
        events.push_back(event);
    return events;
}

MATCHER_P3(IsPadEvent, pad, button, down, "") {
    return arg.pad == static_cast<uint32_t>(pad) && arg.button == static_cast<uint32_t>(button) &&
           arg.down == down;
}

// Waits until the window thread has taken an axis of pad 0 at this value (-32768 reads
// as -32767, so that both ends read 1 from the centre).
bool AxisReads(uint32_t axis, int16_t value) {
    const float expected = static_cast<float>(value == -32768 ? -32767 : value) / 32767.0f;
    return WaitUntil([=] { return PadValue(0, axis) == expected; });
}

// The virtual pad's axis value that SDL scales to this trigger value (its -32768..32767
// onto 0..32767, rounding down).
int16_t Trigger(int32_t value) {
    return static_cast<int16_t>((value * 65535 + 32766) / 32767 - 32768);
}

}  // namespace

// Each pad has an index of its own and its name; every button is held, queued and let go
// under that index; the sticks and triggers read as values; no key is touched.
TEST_F(Pads, EachPadByIndexWithEveryButtonAndAxis) {
    VirtualPad first, second;
    EXPECT_EQ(PadCount(), 2u);
    EXPECT_TRUE(PadConnected(0));
    EXPECT_TRUE(PadConnected(1));
    EXPECT_FALSE(PadConnected(2));
    EXPECT_STREQ(PadName(1), "Test pad");
    EXPECT_STREQ(PadName(MaxPads), "");
    // Every button SDL's virtual pad maps: all but the touchpad's.
    for (uint32_t b = 0; b < PadButton::Touchpad; ++b) {
        second.Button(static_cast<SDL_GameControllerButton>(b), true);
        ASSERT_TRUE(WaitUntil([b] { return PadDown(1, b); })) << b;
        EXPECT_FALSE(PadDown(0, b));
        second.Button(static_cast<SDL_GameControllerButton>(b), false);
        ASSERT_TRUE(WaitUntil([b] { return !PadDown(1, b); })) << b;
    }
    const auto events = TakePadEvents();
    ASSERT_EQ(events.size(), 2u * PadButton::Touchpad);
    EXPECT_THAT(events[2 * PadButton::LeftShoulder], IsPadEvent(1, PadButton::LeftShoulder, true));
    EXPECT_THAT(events[2 * PadButton::Guide + 1], IsPadEvent(1, PadButton::Guide, false));

    first.Axis(SDL_CONTROLLER_AXIS_RIGHTX, -32768);
    first.Axis(SDL_CONTROLLER_AXIS_RIGHTY, 16000);
    first.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    ASSERT_TRUE(WaitUntil([] { return PadDown(0, PadButton::RightTrigger); }));
    EXPECT_EQ(PadValue(0, PadAxis::RightX), -1.0f);
    EXPECT_EQ(PadValue(0, PadAxis::RightY), 16000 / 32767.0f);
    EXPECT_EQ(PadValue(0, PadAxis::RightTrigger), 1.0f);
    EXPECT_EQ(PadValue(0, PadAxis::Count), 0.0f);
    EXPECT_EQ(PadValue(1, PadAxis::RightX), 0.0f);
    // A trigger lets go within a quarter of its travel, not before.
    first.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, Trigger(8192));
    ASSERT_TRUE(AxisReads(PadAxis::RightTrigger, 8192));
    EXPECT_TRUE(PadDown(0, PadButton::RightTrigger));
    first.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, Trigger(8191));
    ASSERT_TRUE(WaitUntil([] { return !PadDown(0, PadButton::RightTrigger); }));
    EXPECT_THAT(TakePadEvents(),
                testing::ElementsAre(IsPadEvent(0, PadButton::RightTrigger, true),
                                     IsPadEvent(0, PadButton::RightTrigger, false)));

    // Not acting as keys unless asked.
    first.Button(SDL_CONTROLLER_BUTTON_A, true);
    first.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    ASSERT_TRUE(WaitUntil([] { return PadDown(0, PadButton::South); }));
    ASSERT_TRUE(AxisReads(PadAxis::LeftX, -32768));
    EXPECT_FALSE(KeyDown(Key::Up) || KeyDown(Key::Left) || KeyDown(Key::PadSouth));
    EXPECT_TRUE(Queue().empty());

    // Unplugged: its held buttons are let go, and a new pad takes the free index.
    first.Unplug();
    EXPECT_FALSE(PadConnected(0));
    EXPECT_EQ(PadValue(0, PadAxis::LeftX), 0.0f);
    EXPECT_THAT(TakePadEvents(), testing::ElementsAre(IsPadEvent(0, PadButton::South, true),
                                                      IsPadEvent(0, PadButton::South, false)));
    VirtualPad third;
    EXPECT_TRUE(PadConnected(0));
    EXPECT_EQ(PadCount(), 2u);
    third.Button(SDL_CONTROLLER_BUTTON_B, true);
    ASSERT_TRUE(WaitUntil([] { return PadDown(0, PadButton::East); }));
    EXPECT_FALSE(PadDown(1, PadButton::East));
}

// The choice is the program's: pads act as keys only while it is on, and a control held
// as a key when it goes off is let go at its release all the same.
TEST_F(Pads, ActingAsKeysIsAChoice) {
    VirtualPad pad;
    SetPadsAsKeys(true);
    EXPECT_TRUE(PadsAsKeys());
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    ASSERT_TRUE(WaitUntil([] { return KeyDown(Key::Left); }));
    SetPadsAsKeys(false);
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, true);
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    ASSERT_TRUE(WaitUntil([] { return !PadDown(0, PadButton::DpadLeft); }));
    EXPECT_FALSE(KeyDown(Key::Left));
    EXPECT_FALSE(KeyDown(Key::Q));
    EXPECT_EQ(Queue(), std::vector<uint8_t>{Key::PadDpadLeft});
}

// The stick's dead zone on both sides of both axes: pushed from a third of its travel
// (10000), centred again within a fifth (below 7000), and still pushed in between.
TEST_F(PadKeys, StickDeadZoneOnBothSidesOfBothAxes) {
    VirtualPad pad;
    struct Side {
        SDL_GameControllerAxis axis;
        int16_t sign;
        uint32_t code, key;
    };
    const Side sides[] = {{SDL_CONTROLLER_AXIS_LEFTX, -1, Key::PadStickLeft, Key::Left},
                          {SDL_CONTROLLER_AXIS_LEFTX, 1, Key::PadStickRight, Key::Right},
                          {SDL_CONTROLLER_AXIS_LEFTY, -1, Key::PadStickUp, Key::Up},
                          {SDL_CONTROLLER_AXIS_LEFTY, 1, Key::PadStickDown, Key::Down}};
    for (const Side& side : sides) {
        const auto push = [&](int16_t value) {
            const auto v = static_cast<int16_t>(side.sign * value);
            pad.Axis(side.axis, v);
            return AxisReads(
                side.axis == SDL_CONTROLLER_AXIS_LEFTX ? PadAxis::LeftX : PadAxis::LeftY, v);
        };
        ASSERT_TRUE(push(9999));
        EXPECT_FALSE(KeyDown(side.code)) << side.code;
        ASSERT_TRUE(push(10000));
        EXPECT_TRUE(KeyDown(side.code) && KeyDown(side.key)) << side.code;
        ASSERT_TRUE(push(7000));
        EXPECT_TRUE(KeyDown(side.code)) << side.code;
        ASSERT_TRUE(push(6999));
        EXPECT_FALSE(KeyDown(side.code) || KeyDown(side.key)) << side.code;
    }
    EXPECT_EQ(Queue(), (std::vector<uint8_t>{Key::PadStickLeft, Key::PadStickRight, Key::PadStickUp,
                                             Key::PadStickDown}));
}

TEST_F(PadKeys, PadPluggedInLaterActsAsKeys) {
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
TEST_F(PadKeys, StickDeadZone) {
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
TEST_F(PadKeys, KeyboardAndPadsHoldTogether) {
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
