// The program's entry: the command line, the data folder and the settings file, then the
// game with its sound until its window is closed.
#include "CommandLine.h"
#include "DataFolder.h"
#include "MainLoop.h"
#include "SettingsFile.h"
#include "StandardLib.h"
#include "State.h"
#include "Vuderiv.h"

#ifdef __EMSCRIPTEN__
#include <cstdlib>
#endif

int main(int argc, char* argv[]) {
    StandardLib::SetProgramName("Zarvok");  // run-time errors speak for the game
    const Zarvok::Opdracht opdracht = Zarvok::LeesOpdrachtregel(argc, argv);
    const int antwoord = Zarvok::BeantwoordOpdracht(opdracht);
    if (antwoord >= 0) return antwoord;
    if (!Zarvok::GaNaarDataMap(opdracht.dataMap)) return 1;
    Vuderiv::WindowIcon(
        Zarvok::kIcoonBeeld.bestand);  // without the file the window keeps the default
    // The file holds the standing choice; an option on the command line wins for this run.
    const auto pad = Zarvok::EigenInstellingenPad();
    const Zarvok::Instellingen bestand = Zarvok::LaadInstellingen(pad);
    Zarvok::OnthoudInstellingen(pad);
    const Zarvok::Weergave weergave =
        Zarvok::KiesWeergave(opdracht.weergave, {bestand.schaal, bestand.volledigScherm});
    const Zarvok::GeluidKeuze geluid =
        Zarvok::KiesGeluid(Zarvok::GevraagdGeluid(opdracht), {bestand.stil, bestand.volume});
    const int status = Zarvok::Programma(weergave, opdracht.weergave.schaal.has_value(), &geluid);
    Zarvok::BewaarWensen();  // a toggle made just before the window closed
#ifdef __EMSCRIPTEN__
    // In a browser main has given the thread back to the page at its waits, so its return
    // value would no longer reach the page: the status goes to exit itself.
    std::exit(status);
#endif
    return status;
}
