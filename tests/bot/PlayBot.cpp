// Plays many games in a row with the bot and reports how they ended, with the bitmap
// table's length and the resident memory after the first game and after the last.
//   playbot [games [seed]]      (100 games and a seed from the clock by default)
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

int main(int argc, char** argv) {
    Bot::Options options;
    options.games = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 100;
    options.seed =
        argc > 2
            ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10))
            : static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
    options.afterGame = Report;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    std::filesystem::current_path(ZARVOK_DATA_DIR);
    std::printf("seed %u (playbot %u %u replays this run)\n", options.seed, options.games,
                options.seed);
    Bot::Tally tally;
    const int status = Bot::Play(options, tally);
    std::printf("exit status %d after %u games\n", status, tally.Games());
    return status;
}
