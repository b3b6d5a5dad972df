// The two levels the game ships, and the level checks that prove them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "GameFixture.h"
#include "Level.h"
#include "LevelCheck.h"

using namespace Zarvok;
using testing::HasSubstr;

namespace {

std::string Shipped(NUMBER_OF_LEVEL level) {
    return std::string(ZARVOK_SOURCE_DIR) + "/data/" + LevelBestand(level);
}

BACKGROUND ReadShipped(NUMBER_OF_LEVEL level) {
    BACKGROUND grid;
    EXPECT_FALSE(LeesLevelBestand(Shipped(level), grid));
    return grid;
}

}  // namespace

TEST(ShippedLevels, MeetEveryConditionAndOfferPlatforms) {
    std::set<std::pair<int32_t, int32_t>> places[2];
    for (const NUMBER_OF_LEVEL level : {LEVEL1, LEVEL2}) {
        SCOPED_TRACE(Shipped(level));
        const auto problems = CheckLevelFile(Shipped(level), level);
        for (const LevelProblem& p : problems)
            ADD_FAILURE() << p.rij << ":" << p.kolom << " " << p.text;
        const BACKGROUND grid = ReadShipped(level);
        places[level] = StaanPlaatsen(grid, level);
        std::set<int32_t> heights;
        for (const auto& [x, y] : places[level])
            heights.insert(y);
        EXPECT_GE(heights.size(), 6u);  // platforms to jump between, all within reach

        for (int rij = 2; rij <= 3; ++rij) {  // sky behind the status panel's black text
            for (int kolom = 21; kolom <= 49; ++kolom)
                EXPECT_EQ(grid[rij][kolom], LUCHT);
        }
        for (int rij = 36; rij <= 40; ++rij) {  // ground behind the white help lines
            for (int kolom = 2; kolom <= 25; ++kolom)
                EXPECT_EQ(grid[rij][kolom], GROND);
        }
    }
    EXPECT_NE(places[0], places[1]);
}

TEST(LevelChecks, FindBlockedStartsMissingFloorAndOpenEdges) {
    BACKGROUND grid = GameTest::FlatLevel();
    EXPECT_TRUE(CheckLevel(grid, LEVEL1).empty());

    grid[4][7] = BAKSTEEN;  // in the player's start body in level 1
    grid[34][5] = GROND;    // in the floor spawn point
    grid[36][6] = LUCHT;    // a hole in the floor under it
    auto problems = CheckLevel(grid, LEVEL1);
    ASSERT_GE(problems.size(), 3u);
    EXPECT_EQ(problems[0].rij, 4u);
    EXPECT_EQ(problems[0].kolom, 7u);
    EXPECT_THAT(problems[0].text, HasSubstr("player's start position"));
    EXPECT_EQ(problems[1].rij, 34u);
    EXPECT_EQ(problems[1].kolom, 5u);
    EXPECT_EQ(problems[2].rij, 36u);
    EXPECT_EQ(problems[2].kolom, 6u);
    EXPECT_THAT(problems[2].text, HasSubstr("floor"));

    grid = GameTest::FlatLevel();
    for (int rij = 36; rij <= 40; ++rij)
        GameTest::Tiles(grid, rij, 20, 30, LUCHT);  // a shaft
    problems = CheckLevel(grid, LEVEL1);
    ASSERT_EQ(problems.size(), 2u);  // the player and an enemy fall through the bottom
    for (const LevelProblem& p : problems) {
        EXPECT_EQ(p.rij, 40u);  // row 41, clamped into the grid
        EXPECT_GE(p.kolom, 20u);
        EXPECT_LE(p.kolom, 30u);
        EXPECT_THAT(p.text, HasSubstr("row 41"));
    }
    EXPECT_THAT(problems[0].text, HasSubstr("The player"));
    EXPECT_THAT(problems[1].text, HasSubstr("An enemy"));
}

TEST(LevelChecks, UnreadableFileGivesItsReadingProblemOnly) {
    const auto missing = CheckLevelFile("no-such-level.txt", LEVEL1);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].rij, 0u);
    EXPECT_THAT(missing[0].text, HasSubstr("cannot be opened"));
}
