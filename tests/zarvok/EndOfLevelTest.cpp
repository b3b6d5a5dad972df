// The end of a level and of a game, and how the program ends.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "GameFixture.h"
#include "Level.h"
#include "MainLoop.h"
#include "Shared.h"
#include "Vuderiv.h"

using namespace Zarvok;
using namespace GameTest;

namespace {

class EndOfLevel : public GameTest::GameTest {
protected:
    // The current level with the player on the ledge and one enemy left to beat.
    void OneEnemyLeft() {
        if (Levelvar == LEVEL1) StartLevel();
        PlacePlayer(kSafeX, kSafeY);
        Q_pressed = false;
        Resterende_vijanden = 1;
    }
    // The last enemy, one hit from death, meets a bullet in the next frame.
    void LastEnemyShotNextFrame() {
        OneEnemyLeft();
        AddEnemy(400, 500, V_RECHTS).Levens = 10;  // falls to 520 first
        Kogels[1] = {380, 520, ALIVE, KIJKRECHTS};
    }
    // The last enemy runs into the player in the next frame.
    void LastEnemyTouchesNextFrame() {
        OneEnemyLeft();
        AddEnemy(kSafeX - 60, kSafeY, V_RECHTS);
    }
};

std::vector<uint32_t> PauseLengths() {
    std::vector<uint32_t> lengths;
    for (const Pause& p : gPauses)
        lengths.push_back(p.ms);
    return lengths;
}

using Ms = std::vector<uint32_t>;

}  // namespace

TEST_F(EndOfLevel, WinningLevelOneCarriesHealthAndScoreIntoLevelTwo) {
    LastEnemyShotNextFrame();
    Manneke.Levens = 35;
    Highscore = 1400;
    Kogels[2] = {100, 308, ALIVE, KIJKLINKS};
    Frames(1);
    EXPECT_EQ(Levelvar, LEVEL2);
    EXPECT_EQ(Manneke.Huidigepos_x, 100);
    EXPECT_EQ(Manneke.Huidigepos_y, 640);
    EXPECT_EQ(Manneke.Levens, 35);
    EXPECT_EQ(Highscore, 1500u);
    EXPECT_EQ(Resterende_vijanden, 15u);
    EXPECT_EQ(Array_index_vijanden, 0u);
    for (int i = 1; i <= 30; ++i)
        EXPECT_EQ(Kogels[i].Status, DEAD);
    EXPECT_FALSE(Q_pressed);
    EXPECT_EQ(PauseLengths(), (Ms{70, 700}));
    EXPECT_GT(gPauses[1].textRight, 500);  // "Proficiat!" on the cleared screen
}

TEST_F(EndOfLevel, DeathAndWinInOneFrameLeadIntoLevelTwoButWinTheGame) {
    Difficulty = 1;
    LastEnemyTouchesNextFrame();
    Manneke.Levens = 10;
    Frames(1);  // level 1 won and the player dead in the same frame
    EXPECT_EQ(PauseLengths(), (Ms{70, 700, 700}));
    EXPECT_EQ(Levelvar, LEVEL2);  // level 2 was set up before the death message
    EXPECT_EQ(Manneke.Levens, -10);
    EXPECT_EQ(Difficulty, 0u);
    EXPECT_TRUE(Q_pressed);
    const int32_t proficiat = gPauses[1].textRight;

    gPauses.clear();
    Difficulty = 2;
    LastEnemyTouchesNextFrame();  // now in level 2
    Manneke.Levens = 5;
    Frames(1);  // the game won: no death message after it, the difficulty kept
    EXPECT_EQ(PauseLengths(), (Ms{70, 1400}));
    EXPECT_GT(gPauses[1].textRight, proficiat);  // the longer "... U BENT GEWONNEN"
    EXPECT_EQ(Difficulty, 2u);
    EXPECT_TRUE(Q_pressed);
}

TEST_F(EndOfLevel, QAndWinningKeepTheDifficultyDyingResetsIt) {
    Difficulty = 2;
    LastEnemyShotNextFrame();
    Hold({SDLK_q});
    Frames(1);  // Q held while level 1 is won
    Release({SDLK_q});
    EXPECT_TRUE(Q_pressed);
    EXPECT_EQ(Levelvar, LEVEL2);  // level 2 set up, but no frame of it played
    EXPECT_EQ(Meter_vijand_app, 0u);
    EXPECT_EQ(Difficulty, 2u);

    LastEnemyShotNextFrame();
    Frames(1);  // level 2 won
    EXPECT_TRUE(Q_pressed);
    EXPECT_EQ(gPauses.back().ms, 1400u);
    EXPECT_EQ(Difficulty, 2u);

    StartLevel();
    Q_pressed = false;
    Manneke.Levens = 0;
    Frames(1);
    EXPECT_TRUE(Q_pressed);
    EXPECT_EQ(Difficulty, 0u);
}

namespace {

int gFrame = 0;
bool gSawClosed = false;     // a pause has found the window closed
int gFramesAfterClosed = 0;  // frames that began after that
std::chrono::steady_clock::time_point gClosedAt;

// The user closes the window during the fifth frame's pause. However late the window
// thread gets to the close, no frame may begin once a pause has found the window gone;
// one that does is counted, and Q ends the game so the program can still return.
void CloseInFifthPause(uint32_t ms) {
    if (gSawClosed) {
        ++gFramesAfterClosed;
        Q_pressed = true;
    }
    if (++gFrame == 5) {
        TestSupport::PushUserClose();
        gClosedAt = std::chrono::steady_clock::now();
    }
    WachtZolangOpen(ms);
    if (!Vuderiv::WindowIsOpen()) gSawClosed = true;
}

}  // namespace

TEST_F(EndOfLevel, ClosingTheWindowEndsTheProgramAtOnce) {
    SetPauze(CloseInFifthPause);
    EXPECT_EQ(Programma(), 0);
    const auto took = std::chrono::steady_clock::now() - gClosedAt;
    EXPECT_GE(gFrame, 5);
    EXPECT_EQ(gFramesAfterClosed, 0);
    EXPECT_FALSE(Vuderiv::WindowIsOpen());
    // A figure, not a bound: how long the close took on this run.
    std::printf("close to return: %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

TEST_F(EndOfLevel, RealPauseEndsWhenTheWindowCloses) {
    const auto start = std::chrono::steady_clock::now();
    WachtZolangOpen(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    TestSupport::PushUserClose();
    WachtZolangOpen(24 * 3600 * 1000);  // a day: only the close can end this pause
    EXPECT_FALSE(Vuderiv::WindowIsOpen());
}

TEST_F(EndOfLevel, UnusableLevelFileOrWindowEndsWithStatusOne) {
    std::filesystem::remove("level1.txt");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Programma(), 1);
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::HasSubstr("level1.txt: cannot be opened"));

    BACKGROUND grid = FlatLevel();
    WriteLevel("level1.txt", grid);
    std::filesystem::remove("level2.txt");
    Resterende_vijanden = 0;
    testing::internal::CaptureStderr();
    Levelvar = LEVEL1;
    EXPECT_THROW(Eindelevel(), LevelFileError);  // level 2 is set up when level 1 is won
    testing::internal::GetCapturedStderr();

    std::ofstream("level1.txt") << "0 0 0\n1 2 7\n";
    testing::internal::CaptureStderr();
    EXPECT_EQ(Programma(), 1);
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::HasSubstr("level1.txt, row 1, column 6: \"7\" is not a tile code"));

    Vuderiv::detail::SimulateThreadStartFailure();
    testing::internal::CaptureStderr();
    EXPECT_EQ(Programma(), 1);
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::HasSubstr("Zarvok: the game window could not be opened"));
}
