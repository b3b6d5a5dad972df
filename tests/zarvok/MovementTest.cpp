// The player's movement and firing, driven by the keyboard frame by frame.
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "Player.h"

using namespace Zarvok;
using namespace GameTest;

namespace {

class Movement : public GameTest::GameTest {
protected:
    // Level 1 with the player standing on the floor at x.
    void OnFloor(int32_t x, BACKGROUND grid = FlatLevel()) {
        StartLevel(grid);
        PlacePlayer(x, 640);
    }
    // Starts a jump to the right; the keys do nothing more while it lasts.
    void JumpRight() {
        Hold({SDLK_UP, SDLK_RIGHT});
        Frames(1);
        Release({SDLK_UP, SDLK_RIGHT});
    }
};

void ExpectAt(int32_t x, int32_t y) {
    EXPECT_EQ(Manneke.Huidigepos_x, x);
    EXPECT_EQ(Manneke.Huidigepos_y, y);
}

}  // namespace

TEST_F(Movement, FreeJumpRisesAndComesDownAtItsStartHeight) {
    OnFloor(100);
    JumpRight();
    ExpectAt(120, 620);
    EXPECT_EQ(Manneke.Sprong, JUMPUP);
    Frames(13);
    ExpectAt(380, 360);  // the top: 14 steps up
    EXPECT_EQ(Teller_spring, 15u);
    Frames(1);
    EXPECT_EQ(Manneke.Sprong, JUMPDOWN);
    ExpectAt(400, 380);  // the first step down in the frame that turns
    Frames(13);
    ExpectAt(660, 640);  // 28 frames: 560 to the side, back at the start height
    EXPECT_EQ(Manneke.Sprong, NIHIL);
    EXPECT_EQ(Teller_spring, 1u);
    Frames(2);
    ExpectAt(660, 640);
}

TEST_F(Movement, KeyCombinationsAndSideLimits) {
    OnFloor(100);
    Manneke.Richting = KIJKRECHTS;
    Hold({SDLK_UP});
    Frames(2);
    ExpectAt(100, 640);  // up alone: no jump, no turn
    EXPECT_EQ(Manneke.Richting, KIJKRECHTS);
    Release({SDLK_UP});

    Hold({SDLK_LEFT, SDLK_RIGHT});
    Frames(1);
    Release({SDLK_LEFT, SDLK_RIGHT});
    ExpectAt(120, 640);  // left and right walk to the right

    Hold({SDLK_UP, SDLK_LEFT, SDLK_RIGHT});
    Frames(1);
    Release({SDLK_UP, SDLK_LEFT, SDLK_RIGHT});
    ExpectAt(100, 620);  // all three: a jump to the left
    EXPECT_EQ(Manneke.Richting, KIJKLINKS);

    PlacePlayer(20, 640);
    Manneke.Sprong = NIHIL;
    Manneke.Richting = KIJKRECHTS;
    Hold({SDLK_UP, SDLK_LEFT});
    Frames(1);
    Release({SDLK_UP, SDLK_LEFT});
    ExpectAt(20, 640);  // at x = 20 up and left only turn
    EXPECT_EQ(Manneke.Richting, KIJKLINKS);
    EXPECT_EQ(Manneke.Sprong, NIHIL);

    PlacePlayer(920, 640);
    Hold({SDLK_RIGHT});
    Frames(1);
    ExpectAt(920, 640);  // right at x = 920: no step and no turn
    EXPECT_EQ(Manneke.Richting, KIJKLINKS);
}

TEST_F(Movement, WalkingThroughBricksAndOffALedge) {
    BACKGROUND grid = FlatLevel();
    for (int rij = 33; rij <= 35; ++rij)
        grid[rij][10] = BAKSTEEN;  // a column on the floor
    Tiles(grid, 25, 2, 8);         // a ledge
    OnFloor(140, grid);
    Hold({SDLK_RIGHT});
    Frames(3);
    ExpectAt(200, 640);  // straight through the column
    Release({SDLK_RIGHT});

    PlacePlayer(100, 420);  // standing on the ledge
    Hold({SDLK_RIGHT});
    Frames(2);
    ExpectAt(140, 420);  // still on the ledge's last cells
    EXPECT_FALSE(Manneke.Val);
    Frames(1);
    ExpectAt(160, 440);  // the step off and the first fall step in one frame
    EXPECT_TRUE(Manneke.Val);
    Release({SDLK_RIGHT});
}

TEST_F(Movement, CutOffAscentDropsTwoTilesAtOnce) {
    BACKGROUND grid = FlatLevel();
    Tiles(grid, 28, 15, 30);  // a ceiling
    OnFloor(300, grid);
    JumpRight();
    Frames(3);
    ExpectAt(380, 560);  // under the ceiling
    Frames(1);
    ExpectAt(380, 600);  // cut off: down one tile at once and one by gravity
    EXPECT_EQ(Manneke.Sprong, NIHIL);
    EXPECT_EQ(Teller_spring, 1u);
    EXPECT_TRUE(Manneke.Val);
}

TEST_F(Movement, LandingMidDescentWalksInTheSameFrame) {
    BACKGROUND grid = FlatLevel();
    Tiles(grid, 26, 20, 40);  // a platform
    OnFloor(100, grid);
    JumpRight();
    Hold({SDLK_RIGHT});  // held for the landing
    Frames(17);
    ExpectAt(460, 440);  // just above the platform, still descending
    EXPECT_EQ(Manneke.Sprong, JUMPDOWN);
    Frames(1);
    ExpectAt(480, 440);  // landed and walked on in that frame
    EXPECT_EQ(Manneke.Sprong, NIHIL);
    EXPECT_EQ(Teller_spring, 1u);
    EXPECT_FALSE(Manneke.Val);
    Release({SDLK_RIGHT});
}

TEST_F(Movement, OneWallCellBesideTheBodyStopsAJumpStart) {
    // Standing at (300, 640) his body covers rows 33-35 and columns 16-18. The side
    // probes look at columns 15 and 19, rows 32-35; nothing further out.
    struct Case {
        int rij, kolom;
        bool links, springt;
    };
    const Case cases[] = {{35, 15, true, false},  {32, 15, true, false},  {35, 14, true, true},
                          {35, 19, false, false}, {32, 19, false, false}, {35, 20, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "brick at row " << c.rij << ", column " << c.kolom);
        BACKGROUND grid = FlatLevel();
        grid[c.rij][c.kolom] = BAKSTEEN;
        OnFloor(300, grid);
        const SDL_Keycode side = c.links ? SDLK_LEFT : SDLK_RIGHT;
        Hold({SDLK_UP, side});
        KeyControle(Levelvar);
        Release({SDLK_UP, side});
        const int32_t step = c.links ? -20 : 20;
        ExpectAt(c.springt ? 300 + step : 300, c.springt ? 620 : 640);
        EXPECT_EQ(Manneke.Sprong, c.springt ? JUMPUP : NIHIL);
        EXPECT_EQ(Manneke.Richting, c.links ? KIJKLINKS : KIJKRECHTS);
    }
}

TEST_F(Movement, AWallCellCutsTheAscentRightBesideIt) {
    for (const bool links : {true, false}) {
        SCOPED_TRACE(links ? "left" : "right");
        BACKGROUND grid = FlatLevel();
        grid[30][links ? 10 : 24] = BAKSTEEN;  // beside his lowest row after five steps
        OnFloor(300, grid);
        const SDL_Keycode side = links ? SDLK_LEFT : SDLK_RIGHT;
        Hold({SDLK_UP, side});
        Frames(1);
        Release({SDLK_UP, side});
        Frames(4);
        const int32_t x = links ? 200 : 400;
        ExpectAt(x, 540);
        EXPECT_EQ(Manneke.Sprong, JUMPUP);
        Frames(1);
        ExpectAt(x, 580);  // cut off: two tiles down, no step sideways
        EXPECT_EQ(Manneke.Sprong, NIHIL);
    }
}

TEST_F(Movement, SteeringKeysDoNothingWhileHeFalls) {
    OnFloor(300);
    PlacePlayer(300, 300);
    Manneke.Richting = KIJKLINKS;
    Frames(1);
    ASSERT_TRUE(Manneke.Val);
    Hold({SDLK_RIGHT});
    Frames(2);
    ExpectAt(300, 360);  // no step, no turn
    Hold({SDLK_UP});
    Frames(2);
    ExpectAt(300, 400);  // up and right: no jump
    EXPECT_EQ(Manneke.Sprong, NIHIL);
    EXPECT_EQ(Manneke.Richting, KIJKLINKS);
    Release({SDLK_UP, SDLK_RIGHT});
    Frames(13);  // down to the floor, and one frame to find it there
    ExpectAt(300, 640);
    ASSERT_FALSE(Manneke.Val);
    Hold({SDLK_RIGHT});
    Frames(1);
    ExpectAt(320, 640);  // landed: the same key walks
    Release({SDLK_RIGHT});
}

TEST_F(Movement, CtrlFiresOneBulletPerFrameIntoTheLowestFreeSlot) {
    OnFloor(300);
    Manneke.Richting = KIJKLINKS;
    Hold({SDLK_LCTRL});
    KeyControle(Levelvar);
    EXPECT_EQ(Kogels[1].Status, ALIVE);
    EXPECT_EQ(Kogels[1].Huidigepos_x, 320);  // (x + 20, y + 8) facing either way
    EXPECT_EQ(Kogels[1].Huidigepos_y, 648);
    EXPECT_EQ(Kogels[1].Richting, KIJKLINKS);
    EXPECT_EQ(Kogels[2].Status, DEAD);

    Kogels[1].Status = DEAD;
    for (int i = 2; i <= 5; ++i)
        Kogels[i].Status = ALIVE;
    KeyControle(Levelvar);
    EXPECT_EQ(Kogels[1].Status, ALIVE);  // the lowest free slot
    EXPECT_EQ(Kogels[6].Status, DEAD);

    for (int i = 1; i <= 30; ++i)
        Kogels[i] = {0, 0, ALIVE, KIJKLINKS};
    const KOGELS_AR before = Kogels;
    KeyControle(Levelvar);
    EXPECT_EQ(Kogels, before);  // all 30 in flight: nothing

    for (int i = 1; i <= 30; ++i)
        Kogels[i].Status = DEAD;
    Hold({SDLK_UP, SDLK_RIGHT});
    KeyControle(Levelvar);  // the jump's first step, then the shot
    EXPECT_EQ(Kogels[1].Huidigepos_x, 340);
    EXPECT_EQ(Kogels[1].Huidigepos_y, 628);
    EXPECT_EQ(Kogels[1].Richting, KIJKRECHTS);
    Release({SDLK_UP, SDLK_RIGHT});
    KeyControle(Levelvar);  // while jumping
    EXPECT_EQ(Kogels[2].Status, ALIVE);

    PlacePlayer(300, 300);  // in the air
    Manneke.Sprong = NIHIL;
    KeyControle(Levelvar);
    ASSERT_TRUE(Manneke.Val);
    KeyControle(Levelvar);  // while falling
    EXPECT_EQ(Kogels[4].Status, ALIVE);
    EXPECT_EQ(Kogels[4].Huidigepos_y, 328);
    Release({SDLK_LCTRL});
    KeyControle(Levelvar);
    EXPECT_EQ(Kogels[5].Status, DEAD);
}

TEST_F(Movement, ProbesOutsideTheGridBlock) {
    BACKGROUND open{};  // no tile anywhere: the grid's edges are all that stops him
    OnFloor(100, open);
    PlacePlayer(100, 700);
    Frames(3);
    ExpectAt(100, 740);  // falls to the bottom edge and stands there
    EXPECT_FALSE(Manneke.Val);
    PlacePlayer(100, 0);
    EXPECT_EQ(Checkbovenkant_Manneke(), 0);
    EXPECT_EQ(Checklinkerkant_Manneke(), 0);
    PlacePlayer(920, 200);
    EXPECT_EQ(Checkrechterkant_Manneke(), 1);
}
