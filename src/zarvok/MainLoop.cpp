#include "MainLoop.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "Bullets.h"
#include "Enemies.h"
#include "Level.h"
#include "Menu.h"
#include "Messages.h"
#include "Player.h"
#include "Scene.h"
#include "SettingsFile.h"
#include "SoundEffects.h"
#include "StandardLib.h"
#include "State.h"
#include "Vuderiv.h"

namespace Zarvok {

namespace {

constexpr uint32_t kFramePauze = 70;
constexpr uint32_t kWachtStap = 10;  // how often a pause looks whether the window is open

PauzeProc gPauze = WachtZolangOpen;

void Bericht(const char* tekst, uint32_t ms) {
    Vuderiv::ClearScreen();
    Vuderiv::SetFont(0, 0xFFFFFF);
    Vuderiv::Text(tekst, 500, 400);
    Vuderiv::UpdateWindow();
    Pauze(ms);
}

}  // namespace

void SetPauze(PauzeProc pauze) {
    gPauze = pauze != nullptr ? pauze : WachtZolangOpen;
}

void Pauze(uint32_t ms) {
    BewaarWensen();  // here, not on the window thread, a slow disk holds up no window
    gPauze(ms);
}

void WachtZolangOpen(uint32_t ms) {
    const auto einde = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (Vuderiv::WindowIsOpen()) {
        const auto nu = std::chrono::steady_clock::now();
        if (nu >= einde) return;
        const auto stap = std::min<std::chrono::steady_clock::duration>(
            einde - nu, std::chrono::milliseconds(kWachtStap));
        Vuderiv::Pause(
            static_cast<uint32_t>(std::chrono::ceil<std::chrono::milliseconds>(stap).count()));
    }
}

void SpeelFrame() {
    TelFrame();
    FrameLogica();
    Draw();
    Pauze(kFramePauze);
    Eindelevel();
}

void TelFrame() {
    Meter_vijand_app = CheckedAdd(Meter_vijand_app, 1u);
    Q_pressed = Vuderiv::KeyDown(Vuderiv::Key::Q);
}

void FrameLogica() {
    KeyControle(Levelvar);
    UpdateVijanden();
    ControleerMannekeGeraakt();
    CheckMeterVijand();
    UpdateKogel();
    CheckKogel();
}

void Eindelevel() {
    if (Resterende_vijanden == 0) {
        if (Levelvar == LEVEL1) {
            Speel(G_LEVEL_GEWONNEN);
            Bericht("Proficiat!", 700);
            Levelvar = LEVEL2;
            Settings();
        } else {
            Speel(G_SPEL_GEWONNEN);
            Bericht("Proficiat! U BENT GEWONNEN", 1400);
            Q_pressed = true;
            return;  // the won game stands, though the last enemy took the player along
        }
    }
    if (Manneke.Levens <= 0) {
        Difficulty = 0;
        Speel(G_MANNEKE_DOOD);
        Bericht("JE BENT DOOD!", 700);
        Q_pressed = true;
    }
}

void SpeelSpel() {
    Levelvar = LEVEL1;
    Menu();
    if (!Vuderiv::WindowIsOpen()) return;  // quit, or the window closed in the menu
    Settings();
    while (!Q_pressed && Vuderiv::WindowIsOpen())
        SpeelFrame();
    Q_pressed = false;
}

int Programma(const Weergave& weergave, bool schaalGevraagd, const GeluidKeuze* geluid) {
    if (const int status = OpenSpelvenster(weergave, schaalGevraagd); status != 0) return status;
    if (geluid != nullptr) StartGeluid(*geluid);
    Vuderiv::SetBuffering(true);
    StandardLib::gPseudoRandom = false;
    ResetState();
    try {
        while (Vuderiv::WindowIsOpen())
            SpeelSpel();
    } catch (const LevelFileError& fout) {
        Meld(std::string("Zarvok: ") + fout.what());
        Vuderiv::KillWindow();
        StopGeluid();
        return 1;
    }
    Vuderiv::KillWindow();
    StopGeluid();
    return 0;
}

}  // namespace Zarvok
