// How the game's window shows its 1000 x 800 picture: the whole scale and fullscreen.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace Zarvok {

// The display choice for one run.
struct Weergave {
    uint32_t schaal = 1;          // each game pixel as schaal x schaal; 0: the largest that fits
    bool volledigScherm = false;  // desktop fullscreen
};

// A display choice as far as it is given (by the command line or the settings file); what
// is not given is left to the next source, then to the default.
struct WeergaveKeuze {
    std::optional<uint32_t> schaal;
    std::optional<bool> volledigScherm;
};

// The choice: each value from the first source that gives it, else the default.
Weergave KiesWeergave(const WeergaveKeuze& eerst, const WeergaveKeuze& dan);

// Reads a --scale value: a whole number from 1 up, or "auto" (0). Empty when it is neither.
std::optional<uint32_t> LeesSchaal(std::string_view tekst);

// Opens the game's window as chosen, with F11 and Alt+Enter toggling fullscreen. 0 once
// it is open; else the program's exit status after a line on standard error: 1 when no
// window could be opened, 2 when the scale asked for on the command line does not fit.
// A scale from the settings file that does not fit takes the largest that does, said in a
// line on standard error.
int OpenSpelvenster(const Weergave& weergave, bool schaalGevraagd);

}  // namespace Zarvok
