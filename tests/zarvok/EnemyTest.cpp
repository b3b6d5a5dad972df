// Enemy generation and movement, frame by frame, with the fixed random sequence.
#include <gtest/gtest.h>

#include <vector>

#include "Enemies.h"
#include "GameFixture.h"

using namespace Zarvok;
using namespace GameTest;

namespace {

class Enemies : public GameTest::GameTest {
protected:
    // Level 1 with the player standing where no enemy meets him.
    void SafeStart(const BACKGROUND& grid = FlatLevel()) {
        StartLevel(grid);
        PlacePlayer(kSafeX, kSafeY);
    }
};

void ExpectEnemy(const VIJAND_RC& e, int32_t x, int32_t y, BEWEGING_VIJAND_EN way) {
    EXPECT_EQ(e.Huidigepos_x, x);
    EXPECT_EQ(e.Huidigepos_y, y);
    EXPECT_EQ(e.Beweging, way);
}

struct Expected {
    uint32_t interval, levens, damage, score;
};

}  // namespace

TEST_F(Enemies, GenerationTimingAndStrengthPerDifficulty) {
    const Expected expected[] = {{75, 30, 10, 100}, {50, 60, 20, 200}, {25, 120, 40, 400}};
    for (uint32_t difficulty = 0; difficulty <= 2; ++difficulty) {
        SCOPED_TRACE(difficulty);
        Difficulty = difficulty;
        SafeStart();
        std::vector<int> frames;  // the frame of each generation
        for (int frame = 1; frame <= 50 + 14 * 75 + 100; ++frame) {
            const uint32_t before = Array_index_vijanden;
            LogicFrames(1);
            if (Array_index_vijanden != before) frames.push_back(frame);
        }
        const Expected& x = expected[difficulty];
        ASSERT_EQ(frames.size(), 15u);  // never a 16th
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(frames[i], 50 + static_cast<int>(i * x.interval));
        }
        const VIJAND_RC& e = Vijanden_ar[1];
        EXPECT_EQ(e.Levens, x.levens);
        EXPECT_EQ(e.Beginwaarde_levens, static_cast<int32_t>(x.levens));
        EXPECT_EQ(e.Damage, static_cast<int32_t>(x.damage));
        EXPECT_EQ(e.Score, x.score);
        EXPECT_EQ(Resterende_vijanden, 15u);  // none came near the player
    }
}

TEST_F(Enemies, MediumKeepsTheIntervalItFinds) {
    const uint32_t after[] = {75, 30, 25};  // easy and hard set their own
    for (uint32_t difficulty = 0; difficulty <= 2; ++difficulty) {
        SCOPED_TRACE(difficulty);
        Difficulty = difficulty;
        SafeStart();
        Delta_vijand_app = 30;
        LogicFrames(30);
        ASSERT_EQ(Array_index_vijanden, 1u);
        EXPECT_EQ(Delta_vijand_app, after[difficulty]);
    }
}

TEST_F(Enemies, NewEnemyStartsAtASpawnPointWalkingRightAndMovesNextFrame) {
    SafeStart();
    Frames(50);
    ASSERT_EQ(Array_index_vijanden, 1u);
    const VIJAND_RC first = Vijanden_ar[1];
    EXPECT_TRUE((first.Huidigepos_x == 80 && first.Huidigepos_y == 640) ||
                (first.Huidigepos_x == 40 && first.Huidigepos_y == 40));
    EXPECT_EQ(first.Beweging, V_RECHTS);
    EXPECT_EQ(first.Richting, KIJKRECHTS);
    Frames(1);
    EXPECT_NE(Vijanden_ar[1].Huidigepos_x + Vijanden_ar[1].Huidigepos_y,
              first.Huidigepos_x + first.Huidigepos_y);
}

TEST_F(Enemies, SideLimitsCarryOnTheFloorAndTurnElsewhere) {
    BACKGROUND grid = FlatLevel();
    Tiles(grid, 6, 2, 49);   // under y = 40
    Tiles(grid, 15, 2, 26);  // under y = 220
    SafeStart(grid);
    VIJAND_RC& right = AddEnemy(920, 640, V_RECHTS);
    VIJAND_RC& left = AddEnemy(20, 640, V_LINKS);
    VIJAND_RC& turnRight = AddEnemy(20, 220, V_LINKS);
    VIJAND_RC& turnLeft = AddEnemy(920, 40, V_RECHTS);
    Frames(1);
    ExpectEnemy(right, 60, 40, V_RECHTS);  // carried to (40, 40), moved on
    EXPECT_EQ(right.Richting, KIJKRECHTS);
    ExpectEnemy(left, 880, 40, V_LINKS);  // carried to (900, 40), moved on
    EXPECT_EQ(left.Richting, KIJKLINKS);
    ExpectEnemy(turnRight, 40, 220, V_RECHTS);
    EXPECT_EQ(turnRight.Richting, KIJKRECHTS);
    ExpectEnemy(turnLeft, 900, 40, V_LINKS);
    EXPECT_EQ(turnLeft.Richting, KIJKLINKS);
}

TEST_F(Enemies, WalkingOffFallingAndLanding) {
    BACKGROUND grid = FlatLevel();
    Tiles(grid, 15, 2, 12);
    SafeStart(grid);
    VIJAND_RC& walker = AddEnemy(220, 220, V_RECHTS);  // near the ledge's end
    VIJAND_RC& faller = AddEnemy(400, 600, V_VAL);
    VIJAND_RC& atLimit = AddEnemy(20, 220, V_VAL);  // lands at x = 20
    Frames(1);
    ExpectEnemy(walker, 240, 220, V_RECHTS);
    ExpectEnemy(faller, 400, 620, V_VAL);
    ExpectEnemy(atLimit, 40, 220, V_RECHTS);  // no standing, no random choice
    Frames(1);
    ExpectEnemy(walker, 240, 240, V_VAL);  // nothing below: a fall step, not a walk
    EXPECT_EQ(walker.Richting, KIJKRECHTS);
    ExpectEnemy(faller, 400, 640, V_VAL);
    Frames(1);
    EXPECT_EQ(faller.Huidigepos_x, 400);  // landed: stands this frame
    EXPECT_EQ(faller.Huidigepos_y, 640);
    ASSERT_NE(faller.Beweging, V_VAL);
    EXPECT_EQ(faller.Richting, faller.Beweging == V_LINKS ? KIJKLINKS : KIJKRECHTS);
    const int32_t step = faller.Beweging == V_LINKS ? -20 : 20;
    Frames(1);
    EXPECT_EQ(faller.Huidigepos_x, 400 + step);
}
