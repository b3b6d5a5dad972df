// The drawn frame, read back from the window.
#include <gtest/gtest.h>

#include <vector>

#include "GameFixture.h"
#include "Scene.h"
#include "Vuderiv.h"

using namespace Zarvok;
using namespace GameTest;

namespace {

class Scene : public GameTest::GameTest {
protected:
    void SetUp() override {
        GameTest::GameTest::SetUp();
        BACKGROUND grid = FlatLevel();
        grid[10][10] = BAKSTEEN;
        grid[12][40] = GROND;
        StartLevel(grid);
        PlacePlayer(kSafeX, kSafeY);
    }
};

uint32_t At(int32_t x, int32_t y) {
    return Vuderiv::WindowPixel(x, y);
}

// The middle of cell [rij][kolom].
uint32_t Cell(int32_t rij, int32_t kolom) {
    return At((kolom - 1) * 20 + 10, (rij - 1) * 20 + 10);
}

}  // namespace

TEST_F(Scene, TilesAtTheirCellsAndThePlayerFacingHisWay) {
    Manneke.Richting = KIJKLINKS;
    Draw();
    EXPECT_EQ(Cell(10, 10), kBaksteen);
    EXPECT_EQ(Cell(12, 40), kGrond);
    EXPECT_EQ(Cell(11, 10), kLucht);
    EXPECT_EQ(Cell(10, 11), kLucht);
    EXPECT_EQ(Cell(20, 30), kBaksteen);
    EXPECT_EQ(At(kSafeX, kSafeY), kMannekeLinks);  // 60 x 60 from his corner
    EXPECT_EQ(At(kSafeX + 59, kSafeY + 59), kMannekeLinks);
    EXPECT_EQ(At(kSafeX + 60, kSafeY + 30), kLucht);

    Hold({SDLK_RIGHT});
    Frames(1);  // one step to the right, still on the ledge
    Release({SDLK_RIGHT});
    EXPECT_EQ(At(kSafeX + 50, kSafeY + 30), kMannekeRechts);
    EXPECT_EQ(At(kSafeX + 10, kSafeY + 30), kLucht);
}

TEST_F(Scene, EnemyBarsScaleWithTheDifficulty) {
    struct Case {
        uint32_t difficulty;
        int32_t red;  // pixels of red after one hit
    };
    for (const Case c : {Case{0, 20}, Case{1, 10}, Case{2, 5}}) {
        SCOPED_TRACE(c.difficulty);
        Difficulty = c.difficulty;
        Array_index_vijanden = 0;
        VIJAND_RC& e = AddEnemy(400, 500, V_LINKS);
        Draw();
        EXPECT_EQ(At(430, 530), kVijandLinks);
        EXPECT_EQ(At(400, 490), kGroen);  // 10 pixels above, over the full width
        EXPECT_EQ(At(459, 490), kGroen);
        EXPECT_EQ(At(430, 480), kLucht);
        EXPECT_EQ(At(460, 490), kGroen);  // the green bar ends at x + 60
        EXPECT_EQ(At(461, 490), kLucht);
        e.Levens -= 10;
        Draw();
        EXPECT_EQ(At(460 - c.red - 2, 490), kGroen);
        EXPECT_EQ(At(460 - c.red + 1, 490), kRood);
        EXPECT_EQ(At(459, 490), kRood);   // the red bar ends at x + 59,
        EXPECT_EQ(At(460, 490), kGroen);  // one short of the green bar's end
        EXPECT_EQ(At(461, 490), kLucht);
        EXPECT_EQ(At(459, 487), kGroen);  // the thinner red lies within the green
        EXPECT_EQ(At(459, 488), kRood);
        EXPECT_EQ(At(459, 492), kRood);
        EXPECT_EQ(At(459, 493), kGroen);
    }
}

// Enemies that land turn the way they chose at random (both ways, by the fixed sequence);
// while falling they keep facing the way they walked.
TEST_F(Scene, AnEnemyFacesTheWayItFellAndThenTheWayItChoseOnLanding) {
    std::vector<VIJAND_RC*> fallers;
    for (int32_t x = 40; x <= 520; x += 80) {
        fallers.push_back(&AddEnemy(x, 600, V_VAL));  // the ground's top is at y 700
        fallers.back()->Richting = KIJKLINKS;
    }
    Frames(2);  // two fall steps, to y 640
    for (const VIJAND_RC* e : fallers) {
        ASSERT_EQ(e->Beweging, V_VAL);
        EXPECT_EQ(At(e->Huidigepos_x + 30, 670), kVijandLinks);
    }
    Frames(1);  // lands and stands
    bool links = false, rechts = false;
    for (const VIJAND_RC* e : fallers) {
        SCOPED_TRACE(e->Huidigepos_x);
        ASSERT_EQ(e->Huidigepos_y, 640);
        links = links || e->Beweging == V_LINKS;
        rechts = rechts || e->Beweging == V_RECHTS;
        EXPECT_EQ(At(e->Huidigepos_x + 30, 670),
                  e->Beweging == V_LINKS ? kVijandLinks : kVijandRechts);
    }
    EXPECT_TRUE(links && rechts) << "the landings should have gone both ways";
}

TEST_F(Scene, ExplosionShowsInTheFrameOfDeathOnly) {
    VIJAND_RC& e = AddEnemy(400, 500, V_RECHTS);
    Draw();
    EXPECT_EQ(At(430, 530), kVijandRechts);
    e.Status = DOOD;
    Draw();
    EXPECT_EQ(At(430, 530), kOntploft);
    EXPECT_EQ(At(430, 490), kLucht);  // no bar for the dead
    EXPECT_TRUE(e.DoodEnGetekend);
    Draw();
    EXPECT_EQ(At(430, 530), kLucht);
}

TEST_F(Scene, BulletsOverFiguresAndThePlayersHealthBar) {
    AddEnemy(400, 500, V_RECHTS);
    Kogels[1] = {420, 528, ALIVE, KIJKLINKS};
    Kogels[2] = {kSafeX + 20, kSafeY + 8, ALIVE, KIJKRECHTS};
    Draw();
    EXPECT_EQ(At(430, 533), kKogelLinks);
    EXPECT_EQ(At(kSafeX + 30, kSafeY + 13), kKogelRechts);
    EXPECT_EQ(At(455, 40), kGroen);  // full health: green only
    EXPECT_EQ(At(540, 40), kGroen);

    uint32_t width = 0, height = 0;
    Vuderiv::GetTextSize("60", 0, width, height);
    ASSERT_LE(492 + static_cast<int32_t>(width), 508);  // the number leaves x = 508 free
    Manneke.Levens = 60;
    Draw();
    EXPECT_EQ(At(508, 40), kGroen);
    EXPECT_EQ(At(509, 40), kRood);
    EXPECT_EQ(At(549, 40), kRood);
    EXPECT_EQ(At(550, 40), kGroen);
    Manneke.Levens = -20;
    Draw();
    EXPECT_NE(At(428, 40), kRood);
    EXPECT_EQ(At(429, 40), kRood);  // past the green bar's left end
    EXPECT_EQ(At(455, 40), kRood);
}
