// The program's command line: no arguments to play, --data DIR to name the data folder,
// --mute and --volume N for the sound, --help and --version to answer on the console.
#pragma once

#include <cstdint>
#include <string>

#include "GameWindow.h"
#include "SoundEffects.h"

namespace Zarvok {

// What the command line asks for.
struct Opdracht {
    enum Soort : uint8_t { SPELEN, HULP, VERSIE, FOUT };
    Soort soort = SPELEN;
    std::string dataMap;    // SPELEN: the folder named with --data, or empty
    bool stil = false;      // SPELEN: --mute was given
    int32_t volume = -1;    // SPELEN: the --volume given, 0..100, or -1
    std::string fout;       // FOUT: what is wrong with the command line
    WeergaveWens weergave;  // SPELEN: --scale and --fullscreen, for this run only
};

// Reads the arguments after the program's name. --data DIR and --data=DIR name the data
// folder; --scale N (a whole number from 1, auto or fit) and --fullscreen choose the display;
// --mute and --volume N (or --volume=N) the sound. The last of several counts.
Opdracht LeesOpdrachtregel(int argc, const char* const argv[]);

// The sound that the command line asks for: --mute and --volume as far as given.
GeluidWens GevraagdGeluid(const Opdracht& opdracht);

// The usage line.
std::string Gebruik();
// The --help text: the usage line, the options, the folders searched for the data and
// where the settings file lives.
std::string Hulptekst();
// The --version line.
std::string Versie();

// Answers a command line that asks for something other than a game: the help text or
// version on standard output (0), or the fault and the usage line on standard error (2).
// -1 when the command line asks for a game.
int BeantwoordOpdracht(const Opdracht& opdracht);

}  // namespace Zarvok
