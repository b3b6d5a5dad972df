#include "GameWindow.h"

#include <charconv>
#include <string>

#include "Messages.h"
#include "State.h"
#include "Vuderiv.h"

namespace Zarvok {

Weergave KiesWeergave(const WeergaveWens& eerst, const WeergaveWens& dan) {
    const Weergave standaard;
    return {eerst.schaal.value_or(dan.schaal.value_or(standaard.schaal)),
            eerst.volledigScherm.value_or(dan.volledigScherm.value_or(standaard.volledigScherm))};
}

std::optional<uint32_t> LeesSchaal(std::string_view tekst) {
    if (tekst == "auto") return 0u;
    if (tekst == "fit") return kSchaalPassend;
    uint32_t schaal = 0;
    const char* einde = tekst.data() + tekst.size();
    const auto [rest, fout] = std::from_chars(tekst.data(), einde, schaal);
    if (fout != std::errc() || rest != einde || schaal == 0 || schaal >= kSchaalStandaard)
        return std::nullopt;
    return schaal;
}

std::string SchaalTekst(uint32_t schaal) {
    if (schaal == 0) return "auto";
    if (schaal == kSchaalPassend) return "fit";
    return std::to_string(schaal);
}

namespace {

bool Heel(uint32_t schaal) {
    return schaal != 0 && schaal != kSchaalPassend && schaal != kSchaalStandaard;
}

// What the window shows instead of a scale that does not fit.
std::string Getoond(uint32_t grootste) {
    if (grootste > 0) return "the largest that fits, " + std::to_string(grootste);
    uint32_t breedte = 0, hoogte = 0;
    int32_t links = 0, boven = 0;
    Vuderiv::WindowPicture(links, boven, breedte, hoogte);
    return "the game fitted to " + std::to_string(breedte) + " x " + std::to_string(hoogte);
}

// The line for a window that shows less than the scale chosen, if it does.
void MeldKleiner(const Weergave& weergave) {
    if (weergave.volledigScherm) return;
    const uint32_t grootste = Vuderiv::LargestWindowScale();
    if (Heel(weergave.schaal) && weergave.schaal > grootste && weergave.schaal > 1) {
        Meld("Zarvok: the settings file's scale " + std::to_string(weergave.schaal) +
             " does not fit the screen; the window takes " + Getoond(grootste));
    } else if (grootste == 0 && weergave.schaal != kSchaalPassend) {
        Meld("Zarvok: the game at scale 1 does not fit the screen; the window shows " + Getoond(0));
    }
}

}  // namespace

int OpenSpelvenster(const Weergave& weergave, bool schaalGevraagd) {
    Vuderiv::SetWindowScale(weergave.schaal);
    Vuderiv::SetFullscreen(weergave.volledigScherm);
    Vuderiv::SetStrictScale(schaalGevraagd);
    Vuderiv::EnableWindowKeys(true);
    Vuderiv::SetPadsAsKeys(true);  // the pad plays as the keyboard does
    Vuderiv::Window("Zarvok", kBreedte, kHoogte);
    if (!Vuderiv::WindowIsOpen()) {
        const uint32_t grootste = Vuderiv::LargestWindowScale();
        if (schaalGevraagd && Heel(weergave.schaal) && weergave.schaal > grootste) {
            Meld("Zarvok: --scale " + std::to_string(weergave.schaal) +
                 " does not fit the screen; " +
                 (grootste > 0 ? "the largest scale that fits is " + std::to_string(grootste)
                               : std::string("not even 1 does, --scale fit does")));
            return 2;
        }
        Meld("Zarvok: the game window could not be opened, so the game cannot start");
        return 1;
    }
    MeldKleiner(weergave);
    return 0;
}

}  // namespace Zarvok
