// The program's entry: the command line, the data folder, then the game with its sound
// until its window is closed.
#include "CommandLine.h"
#include "DataFolder.h"
#include "MainLoop.h"
#include "StandardLib.h"
#include "State.h"
#include "Vuderiv.h"

int main(int argc, char* argv[]) {
    StandardLib::SetProgramName("Zarvok");  // run-time errors speak for the game
    const Zarvok::Opdracht opdracht = Zarvok::LeesOpdrachtregel(argc, argv);
    const int antwoord = Zarvok::BeantwoordOpdracht(opdracht);
    if (antwoord >= 0) return antwoord;
    if (!Zarvok::GaNaarDataMap(opdracht.dataMap)) return 1;
    Vuderiv::WindowIcon(
        Zarvok::kIcoonBeeld.bestand);  // without the file the window keeps the default
    const Zarvok::Weergave weergave = Zarvok::KiesWeergave(opdracht.weergave, {});
    Zarvok::GeluidKeuze geluid;
    geluid.stil = opdracht.stil;
    if (opdracht.volume >= 0) geluid.volume = static_cast<uint32_t>(opdracht.volume);
    return Zarvok::Programma(weergave, opdracht.weergave.schaal.has_value(), &geluid);
}
