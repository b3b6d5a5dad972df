// A player made of code: it plays the real program (Programma) through the real window
// library, pressing keys and clicking as a person would. Every choice it makes, and the
// game's own random numbers, come from one seed, so a run repeats exactly.
#pragma once

#include <cstdint>
#include <functional>

namespace Bot {

// How the games of a run ended.
struct Tally {
    uint32_t won = 0;                    // both levels won
    uint32_t lost = 0;                   // health at 0 or below
    uint32_t quit = 0;                   // Q pressed
    uint32_t levelOneWon = 0;            // level 1 won, whatever happened in level 2
    uint64_t frames = 0;                 // frames played
    const char* closedDuring = nullptr;  // the message on screen when the bot closed
    uint32_t Games() const { return won + lost + quit; }
};

struct Options {
    uint32_t seed = 1;
    uint32_t games = 1;   // the bot closes the window once this many games have ended
    uint64_t frames = 0;  // ... or once it has played this many frames; 0: no limit
    // Also closes the window at a pause chosen by the seed among the first closeWithin
    // pauses of the run (frames, messages, menu passes); 0: no early close.
    uint32_t closeWithin = 0;
    // Closes the window during the n-th message pause ("Proficiat!", the win, a death) and
    // waits out the pause as the program does; 0: never.
    uint32_t closeInMessage = 0;
    double quitShare = 0.12;     // the share of games the bot leaves with Q ...
    uint32_t quitBefore = 1500;  // ... at a frame drawn below this
    // Called after each game with its number (from 1) and the tally so far, while the
    // program's window is still open: a game that ends as the window closes is only
    // counted in the tally.
    std::function<void(uint32_t game, const Tally&)> afterGame;
};

// Opens the program's window, plays, and returns the program's exit status. Call with
// the working directory holding the program's data.
int Play(const Options& options, Tally& tally);

}  // namespace Bot
