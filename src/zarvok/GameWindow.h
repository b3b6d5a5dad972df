// How the game's window shows its 1000 x 800 picture: a whole scale, fitted, fullscreen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Vuderiv.h"

namespace Zarvok {

// The scale choices besides the whole numbers (0 is auto).
constexpr uint32_t kSchaalPassend = Vuderiv::FitScale;
constexpr uint32_t kSchaalStandaard = Vuderiv::DefaultScale;

// The display choice for one run.
struct Weergave {
    // Each game pixel as schaal x schaal; 0: the largest that fits; kSchaalPassend: fitted
    // to the screen; kSchaalStandaard: 1 when that fits, else fitted, fitted in fullscreen.
    uint32_t schaal = kSchaalStandaard;
    bool volledigScherm = false;  // desktop fullscreen
};

// A display wish: what one source (the command line or the settings file) asks for; what
// it does not give is left to the next source, then to the default.
struct WeergaveWens {
    std::optional<uint32_t> schaal;
    std::optional<bool> volledigScherm;
};

// The choice: each value from the first source that gives it, else the default.
Weergave KiesWeergave(const WeergaveWens& eerst, const WeergaveWens& dan);

// Reads a --scale value: a whole number from 1 up, "auto" (0) or "fit" (kSchaalPassend).
// Empty when it is none of these.
std::optional<uint32_t> LeesSchaal(std::string_view tekst);
// A scale as LeesSchaal reads it.
std::string SchaalTekst(uint32_t schaal);

// Opens the game's window as chosen, with F11 and Alt+Enter toggling fullscreen. 0 once
// it is open; else the program's exit status after a line on standard error: 1 when no
// window could be opened, 2 when the whole scale asked for on the command line does not
// fit (decided before any window is shown). A window that does not fit at the scale chosen
// otherwise takes the largest that does, or is fitted, said in a line on standard error.
int OpenSpelvenster(const Weergave& weergave, bool schaalGevraagd);

}  // namespace Zarvok
