#include "Weergave.h"

#include <charconv>
#include <string>

#include "Melding.h"
#include "State.h"
#include "Vuderiv.h"

namespace Zarvok {

Weergave KiesWeergave(const WeergaveKeuze& eerst, const WeergaveKeuze& dan) {
    const Weergave standaard;
    return {eerst.schaal.value_or(dan.schaal.value_or(standaard.schaal)),
            eerst.volledigScherm.value_or(dan.volledigScherm.value_or(standaard.volledigScherm))};
}

std::optional<uint32_t> LeesSchaal(std::string_view tekst) {
    if (tekst == "auto") return 0u;
    uint32_t schaal = 0;
    const char* einde = tekst.data() + tekst.size();
    const auto [rest, fout] = std::from_chars(tekst.data(), einde, schaal);
    if (fout != std::errc() || rest != einde || schaal == 0) return std::nullopt;
    return schaal;
}

int OpenSpelvenster(const Weergave& weergave, bool schaalGevraagd) {
    Vuderiv::SetWindowScale(weergave.schaal);
    Vuderiv::SetFullscreen(weergave.volledigScherm);
    Vuderiv::EnableWindowKeys(true);
    Vuderiv::SetPadsAsKeys(true);  // the pad plays as the keyboard does
    Vuderiv::Window("Zarvok", kBreedte, kHoogte);
    if (!Vuderiv::WindowIsOpen()) {
        Meld("Zarvok: the game window could not be opened, so the game cannot start");
        return 1;
    }
    const uint32_t grootste = Vuderiv::LargestWindowScale();
    if (schaalGevraagd && weergave.schaal > grootste) {
        Vuderiv::KillWindow();
        Meld("Zarvok: --scale " + std::to_string(weergave.schaal) +
             " does not fit the screen; the largest scale that fits is " +
             std::to_string(grootste));
        return 2;
    }
    if (!weergave.volledigScherm && weergave.schaal > 1 && weergave.schaal > grootste) {
        Meld("Zarvok: the settings file's scale " + std::to_string(weergave.schaal) +
             " does not fit the screen; the window takes the largest that fits, " +
             std::to_string(grootste));
    }
    return 0;
}

}  // namespace Zarvok
