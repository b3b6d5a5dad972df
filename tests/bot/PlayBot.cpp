// Plays many games in a row with the bot and reports how they ended, with the bitmap
// table's length and the resident memory after each game; or closes the window during
// the message pauses of many runs.
//   playbot [games [seed]]        (100 games and a seed from the clock by default)
//   playbot closes [tries [seed]] (closes in the 1st, 2nd or 3rd message; 20 tries)
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Bot.h"
#include "Shared.h"

namespace {

size_t ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE)) / 1024;
}

size_t BitmapTableLength() {
    Vuderiv::detail::Canvas canvas;
    return canvas.Bitmaps().size();
}

void Report(uint32_t game, const Bot::Tally& t) {
    std::printf(
        "game %u: bitmap table %zu, resident %zu KiB; won %u, lost %u, quit %u, "
        "level 1 won %u, frames %llu\n",
        game, BitmapTableLength(), ResidentKiB(), t.won, t.lost, t.quit, t.levelOneWon,
        static_cast<unsigned long long>(t.frames));
    std::fflush(stdout);
}

}  // namespace

namespace {

uint32_t Number(int argc, char** argv, int i, uint32_t otherwise) {
    return argc > i ? static_cast<uint32_t>(std::strtoul(argv[i], nullptr, 10)) : otherwise;
}

uint32_t ClockSeed() {
    return static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

int Games(uint32_t games, uint32_t seed) {
    Bot::Options options;
    options.games = games;
    options.seed = seed;
    options.afterGame = Report;
    std::printf("seed %u (playbot %u %u replays this run)\n", seed, games, seed);
    Bot::Tally tally;
    const int status = Bot::Play(options, tally);
    std::printf("exit status %d after %u games\n", status, tally.Games());
    return status;
}

int Closes(uint32_t tries, uint32_t seed) {
    std::printf("seed %u (playbot closes %u %u replays these runs)\n", seed, tries, seed);
    for (uint32_t i = 0; i < tries; ++i) {
        Bot::Options options;
        options.games = 1000;
        options.seed = seed + i;
        options.closeInMessage = 1 + i % 3;
        Bot::Tally tally;
        const int status = Bot::Play(options, tally);
        std::printf("seed %u: closed during \"%s\", exit status %d\n", options.seed,
                    tally.closedDuring != nullptr ? tally.closedDuring : "-", status);
        if (status != 0) return status;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    std::filesystem::current_path(ZARVOK_DATA_DIR);
    if (argc > 1 && std::string(argv[1]) == "closes")
        return Closes(Number(argc, argv, 2, 20), Number(argc, argv, 3, ClockSeed()));
    return Games(Number(argc, argv, 1, 100), Number(argc, argv, 2, ClockSeed()));
}
