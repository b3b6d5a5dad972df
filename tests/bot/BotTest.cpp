// The bot plays the real program through the real window library. Its runs follow from
// fixed seeds, so every run of the tests is the same; ZARVOK_BOT_SEED=<seed> replays one
// seed instead, and ZARVOK_BOT_SEED=random draws one from the clock. Each seed is printed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "Bot.h"
#include "Shared.h"
#include "State.h"
#include "Vuderiv.h"

namespace {

// Under ThreadSanitizer a frame costs many times more: the runs are shorter there.
#ifdef ZARVOK_BOT_SHORT
constexpr uint64_t kFrames = 200, kReplayFrames = 80, kCloseWithin = 100, kCloseTries = 2;
#else
constexpr uint64_t kFrames = 600, kReplayFrames = 200, kCloseWithin = 300, kCloseTries = 3;
#endif

// The seeds every test run plays; the first ended its last game as the window closed.
constexpr uint32_t kSeeds[] = {720075866, 1032539909};

std::vector<uint32_t> Seeds() {
    const char* given = std::getenv("ZARVOK_BOT_SEED");
    std::vector<uint32_t> seeds(std::begin(kSeeds), std::end(kSeeds));
    if (given != nullptr && std::strcmp(given, "random") == 0) {
        seeds = {
            static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count())};
    } else if (given != nullptr && *given != '\0') {
        seeds = {static_cast<uint32_t>(std::strtoul(given, nullptr, 10))};
    }
    for (const uint32_t seed : seeds)
        std::cout << "bot seed " << seed << " (ZARVOK_BOT_SEED=" << seed << " replays it)\n";
    std::cout << std::flush;
    return seeds;
}

size_t BitmapTableLength() {
    Vuderiv::detail::Canvas canvas;
    return canvas.Bitmaps().size();
}

class PlayBot : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(ZARVOK_SOURCE_DIR "/data");
    }
    void TearDown() override { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

std::vector<size_t> gTableLengths;

void NoteTable(uint32_t, const Bot::Tally&) {
    gTableLengths.push_back(BitmapTableLength());
}

}  // namespace

TEST_F(PlayBot, PlaysGamesToTheirEndsAndTheBitmapTableKeepsItsLength) {
    for (const uint32_t seed : Seeds()) {
        SCOPED_TRACE(seed);
        Bot::Options options;
        options.seed = seed;
        options.games = 1000;
        options.frames = kFrames;
        options.quitShare = 1;  // short games: many set-ups to see the table's length
        options.quitBefore = kFrames / 5;
        options.afterGame = NoteTable;
        gTableLengths.clear();
        Bot::Tally tally;
        EXPECT_EQ(Bot::Play(options, tally), 0);
        EXPECT_FALSE(Vuderiv::WindowIsOpen());
        EXPECT_EQ(BitmapTableLength(), 0u);  // the closed window took its bitmaps along
        EXPECT_EQ(tally.frames, options.frames);
        ASSERT_GE(gTableLengths.size(), 3u);
        for (const size_t length : gTableLengths)
            EXPECT_EQ(length, gTableLengths.front());
    }
}

TEST_F(PlayBot, ASeedReplaysTheRunExactly) {
    for (const uint32_t seed : Seeds()) {
        Bot::Options options;
        options.seed = seed;
        options.frames = kReplayFrames;
        struct Outcome {
            uint32_t games, score, enemies;
            int32_t x, y, health;
            bool operator==(const Outcome&) const = default;
        };
        std::vector<Outcome> runs;
        for (int run = 0; run < 2; ++run) {
            Bot::Tally tally;
            ASSERT_EQ(Bot::Play(options, tally), 0);
            using namespace Zarvok;
            runs.push_back({tally.Games(), Highscore, Array_index_vijanden, Manneke.Huidigepos_x,
                            Manneke.Huidigepos_y, Manneke.Levens});
        }
        EXPECT_EQ(runs[0], runs[1]) << "seed " << seed;
    }
}

TEST_F(PlayBot, ClosingTheWindowAtAnyPauseEndsTheProgramWithStatusZero) {
    for (const uint32_t seed : Seeds()) {
        for (uint32_t attempt = 0; attempt < kCloseTries; ++attempt) {
            Bot::Options options;
            options.seed = seed + attempt;
            options.games = 1000;
            options.closeWithin = kCloseWithin;
            Bot::Tally tally;
            EXPECT_EQ(Bot::Play(options, tally), 0) << "seed " << options.seed;
            EXPECT_FALSE(Vuderiv::WindowIsOpen());
        }
    }
}
