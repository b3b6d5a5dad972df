// The pad plays as the README's controls table says, in the window the program opens.
#include <gtest/gtest.h>

#include <optional>

#include "GameFixture.h"
#include "GameWindow.h"
#include "MainLoop.h"
#include "Player.h"
#include "Vuderiv.h"

using namespace Zarvok;
using namespace GameTest;
using TestSupport::WaitUntil;

namespace {

// Level 1 in the game's own window, the player on the floor facing right, one pad.
class PadControls : public GameTest::GameTest {
protected:
    void SetUp() override {
        GameTest::GameTest::SetUp();
        ASSERT_EQ(OpenSpelvenster(Weergave{}, false), 0);
        Vuderiv::SetBuffering(true);
        pad_.emplace();
        StartLevel();
        PlacePlayer(300, 640);
        Manneke.Richting = KIJKRECHTS;
    }
    void TearDown() override {
        pad_.reset();
        Vuderiv::EnableWindowKeys(false);
        GameTest::GameTest::TearDown();
    }

    // Holds the button for one frame of the game.
    void ButtonFrame(SDL_GameControllerButton button, uint32_t key) {
        pad_->Button(button, true);
        ASSERT_TRUE(WaitUntil([key] { return Vuderiv::KeyDown(key); }));
        Frames(1);
        pad_->Button(button, false);
        ASSERT_TRUE(WaitUntil([key] { return !Vuderiv::KeyDown(key); }));
    }
    // Pushes the stick fully along an axis (-1 or 1) for one frame of the game.
    void StickFrame(SDL_GameControllerAxis axis, int sign, uint32_t key) {
        pad_->Axis(axis, static_cast<int16_t>(sign * 32767));
        ASSERT_TRUE(WaitUntil([key] { return Vuderiv::KeyDown(key); }));
        Frames(1);
        pad_->Axis(axis, 0);
        ASSERT_TRUE(WaitUntil([key] { return !Vuderiv::KeyDown(key); }));
    }

    std::optional<TestSupport::VirtualPad> pad_;
};

void ExpectAt(int32_t x, int32_t y) {
    EXPECT_EQ(Manneke.Huidigepos_x, x);
    EXPECT_EQ(Manneke.Huidigepos_y, y);
}

}  // namespace

// Walk: the D-pad or the left stick, left or right.
TEST_F(PadControls, DpadAndStickWalk) {
    ButtonFrame(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Vuderiv::Key::Right);
    ExpectAt(320, 640);
    ButtonFrame(SDL_CONTROLLER_BUTTON_DPAD_LEFT, Vuderiv::Key::Left);
    ExpectAt(300, 640);
    EXPECT_EQ(Manneke.Richting, KIJKLINKS);
    StickFrame(SDL_CONTROLLER_AXIS_LEFTX, 1, Vuderiv::Key::Right);
    ExpectAt(320, 640);
    StickFrame(SDL_CONTROLLER_AXIS_LEFTX, -1, Vuderiv::Key::Left);
    ExpectAt(300, 640);
}

// Jump: the south button or the stick up, with a direction.
TEST_F(PadControls, SouthButtonOrStickUpJumpsWithADirection) {
    pad_->Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    ButtonFrame(SDL_CONTROLLER_BUTTON_A, Vuderiv::Key::Up);
    pad_->Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    ExpectAt(320, 620);
    EXPECT_EQ(Manneke.Sprong, JUMPUP);
    ASSERT_TRUE(WaitUntil([] { return !Vuderiv::KeyDown(Vuderiv::Key::Right); }));
    Frames(30);
    ASSERT_EQ(Manneke.Sprong, NIHIL);
    const int32_t x = Manneke.Huidigepos_x;
    pad_->Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    StickFrame(SDL_CONTROLLER_AXIS_LEFTY, -1, Vuderiv::Key::Up);
    ExpectAt(x - 20, 620);
    EXPECT_EQ(Manneke.Sprong, JUMPUP);
}

// Shoot: the west or the east button; end the game: Back.
TEST_F(PadControls, WestAndEastShootAndBackEndsTheGame) {
    ButtonFrame(SDL_CONTROLLER_BUTTON_X, Vuderiv::Key::Ctrl);
    EXPECT_EQ(Kogels[1].Status, ALIVE);
    EXPECT_EQ(Kogels[2].Status, DEAD);
    ButtonFrame(SDL_CONTROLLER_BUTTON_B, Vuderiv::Key::Ctrl);
    EXPECT_EQ(Kogels[2].Status, ALIVE);
    EXPECT_FALSE(Q_pressed);
    ButtonFrame(SDL_CONTROLLER_BUTTON_BACK, Vuderiv::Key::Q);
    EXPECT_TRUE(Q_pressed);
}
