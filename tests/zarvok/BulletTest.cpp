// Bullets in flight, their hits, and enemies running into the player.
#include <gtest/gtest.h>

#include "Bullets.h"
#include "GameFixture.h"

using namespace Zarvok;
using namespace GameTest;

namespace {

class Bullets : public GameTest::GameTest {
protected:
    void SetUp() override {
        GameTest::GameTest::SetUp();
        StartLevel();
        PlacePlayer(kSafeX, kSafeY);
    }
};

KOGEL_RC& Shoot(int64_t slot, int32_t x, int32_t y, RICHTING_MANNEKE_EN way = KIJKRECHTS) {
    Kogels[slot] = {x, y, ALIVE, way};
    return Kogels[slot];
}

}  // namespace

TEST_F(Bullets, PlayfieldEdgeAndFirstFlightStep) {
    KOGEL_RC& zero = Shoot(1, 0, 308);
    KOGEL_RC& far = Shoot(2, 980, 308);
    KOGEL_RC& last = Shoot(3, 960, 308);
    CheckKogel();
    EXPECT_EQ(zero.Status, DEAD);
    EXPECT_EQ(far.Status, DEAD);
    EXPECT_EQ(last.Status, ALIVE);

    for (int i = 1; i <= 30; ++i)
        Kogels[i].Status = DEAD;
    PlacePlayer(20, 640);
    Manneke.Richting = KIJKLINKS;
    Hold({SDLK_LCTRL});
    Frames(1);  // fired at x = 40, tested at 0
    Release({SDLK_LCTRL});
    EXPECT_EQ(Kogels[1].Huidigepos_x, 0);
    EXPECT_EQ(Kogels[1].Status, DEAD);

    PlacePlayer(300, 640);
    Manneke.Richting = KIJKRECHTS;
    Hold({SDLK_LCTRL});
    Frames(1);  // first seen beside the player: x + 60
    Release({SDLK_LCTRL});
    EXPECT_EQ(Kogels[1].Huidigepos_x, 360);
    EXPECT_EQ(Kogels[1].Status, ALIVE);
}

TEST_F(Bullets, HitWindowIncludesTopAndBottomButNotTheSides) {
    const VIJAND_RC& e = AddEnemy(400, 500, V_RECHTS);
    struct Case {
        int32_t bx, by;
        bool hit;
    };
    const Case cases[] = {{400, 520, false}, {460, 520, false}, {420, 500, true},
                          {440, 560, true},  {420, 561, false}, {420, 499, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bx << ", " << c.by);
        const uint32_t before = e.Levens;
        KOGEL_RC& k = Shoot(1, c.bx, c.by);
        CheckKogel();
        EXPECT_EQ(e.Levens, c.hit ? before - 10 : before);
        EXPECT_EQ(k.Status == DEAD, c.hit);
        k.Status = DEAD;
    }
}

TEST_F(Bullets, OlderEnemyTakesTheHitAndKillsScoreOnlyByBullet) {
    VIJAND_RC& older = AddEnemy(400, 500, V_RECHTS);
    VIJAND_RC& newer = AddEnemy(400, 500, V_RECHTS);
    KOGEL_RC& k = Shoot(5, 420, 520);
    CheckKogel();
    EXPECT_EQ(older.Levens, 20u);
    EXPECT_EQ(newer.Levens, 30u);
    EXPECT_EQ(k.Status, DEAD);

    Shoot(1, 420, 520);
    Shoot(2, 430, 520);
    CheckKogel();  // the second and third hit on easy kill it
    EXPECT_EQ(older.Status, DOOD);
    EXPECT_EQ(newer.Levens, 30u);
    EXPECT_EQ(Highscore, 100u);
    EXPECT_EQ(Resterende_vijanden, 14u);

    Shoot(3, 420, 520);
    CheckKogel();
    EXPECT_EQ(newer.Levens, 20u);  // dead enemies stop no bullet

    newer.Huidigepos_x = kSafeX - 60;
    newer.Huidigepos_y = kSafeY;
    ControleerMannekeGeraakt();  // a contact kill
    EXPECT_EQ(newer.Status, DOOD);
    EXPECT_EQ(Manneke.Levens, 90);
    EXPECT_EQ(Highscore, 100u);
    EXPECT_EQ(Resterende_vijanden, 13u);
}

TEST_F(Bullets, BulletPassesAnEnemyWalkingTowardsIt) {
    const VIJAND_RC& passed = AddEnemy(400, 640, V_LINKS);
    const VIJAND_RC& met = AddEnemy(700, 640, V_LINKS);
    KOGEL_RC& through = Shoot(1, 400, 648);  // bx = ex
    KOGEL_RC& hitting = Shoot(2, 680, 648);  // bx = ex - 20
    Frames(1);
    EXPECT_EQ(through.Huidigepos_x, passed.Huidigepos_x + 60);  // on its right edge: a miss
    EXPECT_EQ(through.Status, ALIVE);
    EXPECT_EQ(hitting.Status, DEAD);
    EXPECT_EQ(met.Levens, 20u);
    Frames(1);
    EXPECT_EQ(through.Status, ALIVE);  // gone past
    EXPECT_EQ(passed.Levens, 30u);
}

TEST_F(Bullets, ContactWindowIsAsymmetricAndCountsEveryEnemy) {
    Difficulty = 2;
    VIJAND_RC& leftTouching = AddEnemy(kSafeX - 60, kSafeY, V_RECHTS);
    VIJAND_RC& rightBeside = AddEnemy(kSafeX + 60, kSafeY, V_LINKS);
    VIJAND_RC& rightOverlap = AddEnemy(kSafeX + 40, kSafeY, V_LINKS);
    VIJAND_RC& higher = AddEnemy(kSafeX, kSafeY - 20, V_LINKS);
    ControleerMannekeGeraakt();
    EXPECT_EQ(leftTouching.Status, DOOD);
    EXPECT_EQ(rightBeside.Status, LEVEND);
    EXPECT_EQ(rightOverlap.Status, DOOD);
    EXPECT_EQ(higher.Status, LEVEND);
    EXPECT_EQ(Manneke.Levens, 100 - 2 * 40);  // both damages, hard
    EXPECT_EQ(Resterende_vijanden, 13u);
}

TEST_F(Bullets, BulletsStopAtBlockingTilesNotInTheSky) {
    KOGEL_RC& sky = Shoot(1, 300, 308);
    KOGEL_RC& ledge = Shoot(2, 620, 388);  // row 20, column 32: the brick ledge
    KOGEL_RC& ground = Shoot(3, 300, 708);
    CheckKogel();
    EXPECT_EQ(sky.Status, ALIVE);
    EXPECT_EQ(ledge.Status, DEAD);
    EXPECT_EQ(ground.Status, DEAD);
    UpdateKogel();
    EXPECT_EQ(sky.Huidigepos_x, 340);
    EXPECT_EQ(ledge.Huidigepos_x, 620);  // a free slot does not move
}
