#include "Bot.h"

#include <SDL.h>

#include <cstdlib>
#include <random>

#include "Harness.h"
#include "MainLoop.h"
#include "Selection.h"
#include "Shared.h"
#include "StandardLib.h"
#include "State.h"
#include "Vuderiv.h"

namespace Bot {

namespace {

using namespace Zarvok;

constexpr uint32_t kFramePauze = 70, kBerichtPauze = 700, kWinstPauze = 1400;
constexpr int32_t kBandBoven = 40;   // an enemy this much higher is still hit by a bullet
constexpr double kWillekeur = 0.08;  // share of frames with keys drawn at random
constexpr double kMisklik = 0.1;     // share of menu clicks beside every button

// Where the bot clicks the menus' buttons: in their middle.
struct Punt {
    int32_t x, y;
};
constexpr Punt kStart{162, 82}, kInstellingen{162, 232}, kStoppen{162, 382};
constexpr Punt kOmlaag{50, 300}, kOmhoog{270, 300}, kTerug{275, 550};

struct Keys {
    bool left = false, right = false, up = false, ctrl = false, q = false;
};

enum class Scherm { START, MOEILIJKHEID };

// Ordered by weight: a game that ends in two ways at once counts the heavier.
enum class Einde { GEEN, GESTOPT, GEWONNEN, VERLOREN };

struct Run {
    Options options;
    Tally* tally = nullptr;
    std::mt19937 rng;
    Keys held;
    Einde einde = Einde::GEEN;
    bool inSpel = false;
    bool gesloten = false;
    uint64_t pauzes = 0;
    uint32_t berichten = 0;  // message pauses so far
    uint64_t sluitBij = 0;   // the pause at which the window is closed early; 0: none
    uint32_t frameInSpel = 0;
    uint32_t stopBij = 0;  // the frame of this game at which Q is pressed; 0: none
    int32_t vorigeX = -1;
    RICHTING_MANNEKE_EN afdaling = KIJKRECHTS;
    // What the bot knows of the menus: the screen shown, the level the difficulty screen
    // shows (0 at every new start menu), the level it wants, and whether it has been there.
    Scherm scherm = Scherm::START;
    uint32_t getoond = 0, doel = 0;
    bool ingesteld = false;
    bool klaar = false;  // enough games: the bot leaves through the quit button
};

Run* gRun = nullptr;

bool Kans(double p) {
    return std::uniform_real_distribution<double>(0.0, 1.0)(gRun->rng) < p;
}

uint32_t Tussen(uint32_t min, uint32_t max) {
    return std::uniform_int_distribution<uint32_t>(min, max)(gRun->rng);
}

void Sluit() {
    if (gRun->gesloten) return;
    gRun->gesloten = true;
    TestSupport::PushUserClose();
}

void Zet(bool& held, bool want, SDL_Keycode key) {
    if (held != want) TestSupport::PushKey(want, key);
    held = want;
}

// Brings the keyboard to the keys wanted and waits until the window has them.
void Druk(const Keys& want) {
    Keys& h = gRun->held;
    Zet(h.left, want.left, SDLK_LEFT);
    Zet(h.right, want.right, SDLK_RIGHT);
    Zet(h.up, want.up, SDLK_UP);
    Zet(h.ctrl, want.ctrl, SDLK_LCTRL);
    Zet(h.q, want.q, SDLK_q);
    TestSupport::Sync();
}

// Counts the game that ended; afterGame hears of it while the program's window is open.
void EindeVanSpel() {
    Run& r = *gRun;
    if (r.einde == Einde::GEEN) return;
    Tally& t = *r.tally;
    if (r.einde == Einde::GEWONNEN) ++t.won;
    if (r.einde == Einde::VERLOREN) ++t.lost;
    if (r.einde == Einde::GESTOPT) ++t.quit;
    r.einde = Einde::GEEN;
    r.inSpel = false;
    if (r.options.afterGame && Vuderiv::WindowIsOpen()) r.options.afterGame(t.Games(), t);
    if (t.Games() >= r.options.games) r.klaar = true;
}

void Noteer(Einde e) {
    if (e > gRun->einde) gRun->einde = e;
}

void BeginSpel() {
    Run& r = *gRun;
    r.inSpel = true;
    r.frameInSpel = 0;
    r.stopBij = Kans(r.options.quitShare) ? Tussen(1, r.options.quitBefore) : 0;
    r.vorigeX = -1;
}

bool Staat() {
    return !Manneke.Val && Manneke.Sprong == NIHIL;
}

// The living enemy nearest to the player that his bullets can hit, or nullptr.
const VIJAND_RC* Doelwit() {
    const VIJAND_RC* best = nullptr;
    int32_t bestAfstand = 0;
    for (uint32_t i = 1; i <= Array_index_vijanden; ++i) {
        const VIJAND_RC& e = Vijanden_ar[i];
        const int32_t hoger = Manneke.Huidigepos_y - e.Huidigepos_y;
        if (e.Status != LEVEND || hoger < 0 || hoger > kBandBoven) continue;
        const int32_t afstand = std::abs(e.Huidigepos_x - Manneke.Huidigepos_x);
        if (best == nullptr || afstand < bestAfstand) {
            best = &e;
            bestAfstand = afstand;
        }
    }
    return best;
}

void Loop(Keys& k, RICHTING_MANNEKE_EN r) {
    (r == KIJKLINKS ? k.left : k.right) = true;
}

// Turns toward the nearest enemy in reach and fires; with none, walks down the level to
// the floor, where every enemy comes by, turning where a wall stops him.
Keys Kies() {
    Run& r = *gRun;
    Keys k;
    if (Kans(kWillekeur)) {
        k.left = Kans(0.3);
        k.right = Kans(0.3);
        k.up = Kans(0.2);
        k.ctrl = Kans(0.5);
        return k;
    }
    if (const VIJAND_RC* doel = Doelwit()) {
        const RICHTING_MANNEKE_EN naar =
            doel->Huidigepos_x < Manneke.Huidigepos_x ? KIJKLINKS : KIJKRECHTS;
        if (naar != Manneke.Richting) Loop(k, naar);
        k.ctrl = true;
        return k;
    }
    if (Manneke.Huidigepos_y < kVijandenVloer && Staat()) {
        if (Manneke.Huidigepos_x == r.vorigeX) {
            r.afdaling = r.afdaling == KIJKLINKS ? KIJKRECHTS : KIJKLINKS;
        }
        r.vorigeX = Manneke.Huidigepos_x;
        Loop(k, r.afdaling);
    }
    return k;
}

void NaFrame() {
    Run& r = *gRun;
    if (r.klaar) Sluit();
    if (r.gesloten) return;
    if (!r.inSpel) BeginSpel();
    ++r.frameInSpel;
    if (Q_pressed) Noteer(Einde::GESTOPT);
    if (++r.tally->frames == r.options.frames) {
        // The run ends at this very frame: no input after the close, which the window may
        // already have handled, and no frame played on before it has.
        Sluit();
        Vuderiv::detail::Sync();
        return;
    }
    Keys k = Kies();
    k.q = r.frameInSpel == r.stopBij;
    Druk(k);
}

// The message of a pause, counted in the tally; in the message the run asks for, the
// window is closed and the pause really waited for, so that the close meets it.
void NaBericht(uint32_t ms) {
    Run& r = *gRun;
    const char* bericht = nullptr;
    if (ms == kWinstPauze) {
        Noteer(Einde::GEWONNEN);
        bericht = "Proficiat! U BENT GEWONNEN";
    } else if (Levelvar == LEVEL1 && Resterende_vijanden == 0) {
        ++r.tally->levelOneWon;  // level 2 follows
        bericht = "Proficiat!";
    } else {
        Noteer(Einde::VERLOREN);
        bericht = "JE BENT DOOD!";
    }
    if (++r.berichten != r.options.closeInMessage) return;
    r.tally->closedDuring = bericht;
    Sluit();
    WachtZolangOpen(ms);
}

void Klik(Punt p) {
    TestSupport::Click(p.x, p.y);
}

// One click on the start menu: the difficulty screen once per menu, else start; quit
// when the run is done.
void StartMenu() {
    Run& r = *gRun;
    if (r.klaar) {
        Klik(kStoppen);
        r.gesloten = true;  // the program closes its window itself
    } else if (!r.ingesteld && Kans(0.5)) {
        r.ingesteld = true;
        r.doel = Tussen(0, 2);
        r.scherm = Scherm::MOEILIJKHEID;
        Klik(kInstellingen);
    } else {
        r.ingesteld = false;
        r.getoond = 0;
        Klik(kStart);
    }
}

// One click on the difficulty screen: toward the level wanted, now and then against a
// stop of the spinner, then back.
void Moeilijkheid() {
    Run& r = *gRun;
    if (r.getoond < r.doel && !r.klaar) {
        ++r.getoond;
        Klik(kOmhoog);
    } else if (r.getoond > r.doel && !r.klaar) {
        --r.getoond;
        Klik(kOmlaag);
    } else if (r.getoond != 1 && !r.klaar && Kans(0.2)) {
        Klik(r.getoond == 0 ? kOmlaag : kOmhoog);  // against a stop: changes nothing
    } else {
        r.scherm = Scherm::START;
        Klik(kTerug);
    }
}

// Stands in for the pause between two passes of a menu: the bot clicks.
void BotMenuPauze(uint32_t) {
    Run& r = *gRun;
    if (++r.pauzes == r.sluitBij) Sluit();
    if (r.gesloten) return;
    EindeVanSpel();  // the game before this menu is over
    Druk(Keys{});
    if (Kans(kMisklik)) {
        Klik({static_cast<int32_t>(Tussen(420, 990)), static_cast<int32_t>(Tussen(10, 790))});
    } else if (r.scherm == Scherm::START) {
        StartMenu();
    } else {
        Moeilijkheid();
    }
}

// Stands in for the program's pauses: the bot acts in them, and they take no time.
void BotPauze(uint32_t ms) {
    Run& r = *gRun;
    if (++r.pauzes == r.sluitBij) Sluit();
    if (r.gesloten) return;
    if (ms == kFramePauze) {
        NaFrame();
    } else if (ms == kBerichtPauze || ms == kWinstPauze) {
        NaBericht(ms);
    }
}

}  // namespace

int Play(const Options& options, Tally& tally) {
    Run run;
    run.options = options;
    run.tally = &tally;
    run.rng.seed(options.seed);
    gRun = &run;
    if (options.closeWithin > 0) run.sluitBij = Tussen(1, options.closeWithin);
    StandardLib::SeedSystemGenerator(options.seed);
    SetPauze(BotPauze);
    StandardMenu::detail::SetPause(BotMenuPauze);
    const int status = Programma();
    StandardMenu::detail::SetPause(nullptr);
    SetPauze(nullptr);
    EindeVanSpel();
    gRun = nullptr;
    return status;
}

}  // namespace Bot
