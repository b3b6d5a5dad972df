#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "StandardLib.h"

using StandardLib::gPseudoRandom;
using StandardLib::RandomCard;

namespace {

// Puts the generator's mode back when a case ends, however it ends.
struct ModeGuard {
    bool saved = gPseudoRandom;
    ~ModeGuard() { gPseudoRandom = saved; }
};

// Brings the fixed sequence back to its start, seed 94, wherever earlier cases left it: over
// [0, 1012] a draw is the sequence value itself, and 94 comes once in each period of 1012.
void BackToSeed94() {
    for (int i = 0; i < 1012 && RandomCard(0, 1012) != 94; ++i) {
    }
}

}  // namespace

TEST(RandomCard, FixedSequenceFromSeed94) {
    ModeGuard guard;
    ASSERT_TRUE(gPseudoRandom);
    BackToSeed94();
    EXPECT_EQ(RandomCard(0, 1), 1u);  // from 716
    EXPECT_EQ(RandomCard(0, 1), 0u);  // from 230
    EXPECT_EQ(RandomCard(0, 1), 1u);  // from 841
    // Over [0, 1012] the scale is a hair above 1, so the draw is the sequence value itself.
    EXPECT_EQ(RandomCard(0, 1012), 546u);
    EXPECT_EQ(RandomCard(0, 1012), 327u);
    EXPECT_EQ(RandomCard(0, 1012), 446u);
    // Over [0, 1011] it is a hair below 1: the value minus one.
    EXPECT_EQ(RandomCard(0, 1011), 681u);  // from 682
}

TEST(RandomCard, SingleValueIntervalInBothModes) {
    ModeGuard guard;
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(RandomCard(5, 5), 5u);
    gPseudoRandom = false;
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(RandomCard(5, 5), 5u);
}

TEST(RandomCard, PseudoModeStaysInsideEveryInterval) {
    // A full period of the sequence, over intervals of several widths.
    for (uint32_t width : {0u, 1u, 2u, 13u, 1000u, 4000000000u}) {
        for (int i = 0; i < 1012; ++i) {
            const uint32_t v = RandomCard(7, 7 + width);
            ASSERT_GE(v, 7u);
            ASSERT_LE(v, 7 + width);
        }
    }
}

TEST(RandomCard, SystemModeCoversZeroAndOneOnly) {
    ModeGuard guard;
    gPseudoRandom = false;
    std::set<uint32_t> seen;
    for (int i = 0; i < 2000; ++i)
        seen.insert(RandomCard(0, 1));
    EXPECT_EQ(seen, (std::set<uint32_t>{0, 1}));
    // The whole 32-bit range is accepted.
    (void)RandomCard(0, 4294967295u);
}

TEST(RandomCard, MaxBelowMinWritesOneLineAndGivesMin) {
    testing::internal::CaptureStderr();
    const uint32_t v = RandomCard(7, 3);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(v, 7u);
    EXPECT_EQ(err, "ERROR calling RandomCardFromInterval: min 7 is bigger than max 3\n");
}

TEST(RandomCard, ASeededSystemGeneratorRepeatsItsDraws) {
    ModeGuard guard;
    gPseudoRandom = false;
    std::vector<uint32_t> first, again;
    StandardLib::SeedSystemGenerator(2026);
    for (int i = 0; i < 20; ++i)
        first.push_back(RandomCard(0, 1000000));
    StandardLib::SeedSystemGenerator(2026);
    for (int i = 0; i < 20; ++i)
        again.push_back(RandomCard(0, 1000000));
    EXPECT_EQ(first, again);
}
