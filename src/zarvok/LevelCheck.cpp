#include "LevelCheck.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "Enemies.h"
#include "Level.h"
#include "Player.h"

namespace Zarvok {

namespace {

constexpr Plek kVijandStart[] = {kSpawnVloer, kSpawnTop};

// Explores every state reachable from the start states; Volgende(state, add) offers the
// states one frame later. Returns the states seen.
template <typename Staat, typename Sleutel, typename Volgende>
std::vector<Staat> Verken(std::vector<Staat> todo, Sleutel sleutel, Volgende volgende) {
    std::unordered_set<uint64_t> gezien;
    std::vector<Staat> alle;
    for (const Staat& s : todo)
        gezien.insert(sleutel(s));
    while (!todo.empty()) {
        const Staat s = todo.back();
        todo.pop_back();
        alle.push_back(s);
        volgende(s, [&](const Staat& n) {
            if (gezien.insert(sleutel(n)).second) todo.push_back(n);
        });
    }
    return alle;
}

uint64_t Veld(int64_t waarde, int schuif) {
    return (static_cast<uint64_t>(waarde) & 0xFFFF) << schuif;
}

struct Speler {
    MANNEKE_RC m;
    uint32_t teller;
};

uint64_t SpelerSleutel(const Speler& s) {
    return Veld(s.m.Huidigepos_x / kTegel, 0) | Veld(s.m.Huidigepos_y / kTegel, 16) |
           Veld(s.m.Sprong, 32) | Veld(s.m.Val, 36) | Veld(s.m.Richting, 40) | Veld(s.teller, 44);
}

// The player after Settings, looking either way (the facing carries over between games).
std::vector<Speler> SpelerBegin(NUMBER_OF_LEVEL level) {
    std::vector<Speler> begin;
    for (const RICHTING_MANNEKE_EN r : {KIJKLINKS, KIJKRECHTS}) {
        Speler s{};
        s.m.Huidigepos_x = kSpelerStart[level].x;
        s.m.Huidigepos_y = kSpelerStart[level].y;
        s.m.Sprong = NIHIL;
        s.m.Richting = r;
        s.teller = 1;
        begin.push_back(s);
    }
    return begin;
}

std::vector<Speler> VerkenSpeler(const TegelZicht& zicht, NUMBER_OF_LEVEL level) {
    return Verken(SpelerBegin(level), SpelerSleutel, [&](const Speler& s, auto voegToe) {
        for (int toetsen = 0; toetsen < 8; ++toetsen) {
            Speler n = s;
            const Toetsen t{(toetsen & 1) != 0, (toetsen & 2) != 0, (toetsen & 4) != 0, false};
            BeweegManneke(zicht, n.m, n.teller, t);
            if (n.m.Sprong == NIHIL) Zwaartekracht(zicht, n.m);
            voegToe(n);
        }
    });
}

uint64_t VijandSleutel(const VIJAND_RC& e) {
    return Veld(e.Huidigepos_x / kTegel, 0) | Veld(e.Huidigepos_y / kTegel, 16) |
           Veld(e.Beweging, 32) | Veld(e.Richting, 36);
}

uint32_t KiesLinks() {
    return 1;
}
uint32_t KiesRechts() {
    return 2;
}

void VerkenVijanden(const TegelZicht& zicht) {
    std::vector<VIJAND_RC> begin;
    for (const Plek& p : kVijandStart) {
        VIJAND_RC e{};
        e.Huidigepos_x = p.x;
        e.Huidigepos_y = p.y;
        e.V_x = kTegel;
        e.V_y = kTegel;
        e.Beweging = V_RECHTS;
        e.Richting = KIJKRECHTS;
        begin.push_back(e);
    }
    Verken(begin, VijandSleutel, [&](const VIJAND_RC& e, auto voegToe) {
        for (const KiesRichting kies : {KiesLinks, KiesRechts}) {
            VIJAND_RC n = e;
            BewegenVijand(zicht, n, kies);
            voegToe(n);
        }
    });
}

std::string Positie(int32_t x, int32_t y) {
    return "x " + std::to_string(x) + ", y " + std::to_string(y);
}

std::string Cel(int64_t rij, int64_t kolom) {
    return "row " + std::to_string(rij) + ", column " + std::to_string(kolom);
}

uint32_t Klem(int64_t waarde, int64_t grens) {
    return static_cast<uint32_t>(std::clamp<int64_t>(waarde, 1, grens));
}

// A problem at a cell of the grid.
LevelProblem OpCel(int64_t rij, int64_t kolom, std::string text) {
    return {static_cast<uint32_t>(rij), static_cast<uint32_t>(kolom), std::move(text), {}};
}

// The cells of a 60 x 60 body at (x, y) must be sky.
void VrijLichaam(const BACKGROUND& grid, Plek p, const std::string& wie,
                 std::vector<LevelProblem>& problemen) {
    for (int32_t rij = p.y / kTegel + 1; rij <= p.y / kTegel + 3; ++rij) {
        for (int32_t kolom = p.x / kTegel + 1; kolom <= p.x / kTegel + 3; ++kolom) {
            if (grid[rij][kolom] == LUCHT) continue;
            problemen.push_back(OpCel(rij, kolom,
                                      wie + " at " + Positie(p.x, p.y) + " needs sky in " +
                                          Cel(rij, kolom) + ", which blocks."));
        }
    }
}

// Enemies that reach a side limit at y = 640 are carried to the top: they need a floor there.
void VijandenVloer(const BACKGROUND& grid, std::vector<LevelProblem>& problemen) {
    const Plek p = kSpawnVloer;
    const int32_t rij = (p.y + kFiguur) / kTegel + 1;
    for (int32_t kolom = p.x / kTegel + 1; kolom <= p.x / kTegel + 3; ++kolom) {
        if (grid[rij][kolom] != LUCHT) continue;
        problemen.push_back(OpCel(rij, kolom,
                                  "Enemies walk on a floor at y 640 from their spawn point at " +
                                      Positie(p.x, p.y) + ": " + Cel(rij, kolom) +
                                      " under it must be brick or ground."));
    }
}

const char* ZijdeNaam(ProbeZijde zijde) {
    switch (zijde) {
        case PROBE_LINKS:
            return "left of";
        case PROBE_RECHTS:
            return "right of";
        case PROBE_BOVEN:
            return "above";
        case PROBE_ONDER:
            break;
    }
    return "below";
}

void BuitenGrid(const BuitenLog& log, const std::string& wie,
                std::vector<LevelProblem>& problemen) {
    for (const auto& eerste : log.eerste) {
        if (!eerste) continue;
        const ProbeBuiten& b = *eerste;
        problemen.push_back(OpCel(Klem(b.rij, kRijen), Klem(b.kolom, kKolommen),
                                  wie + " can reach " + Positie(b.px, b.py) + ", where the cells " +
                                      ZijdeNaam(b.zijde) + " the body reach " +
                                      Cel(b.rij, b.kolom) +
                                      ", outside the grid: close the way with brick or ground."));
    }
}

}  // namespace

std::vector<LevelProblem> CheckLevelFile(const std::string& path, NUMBER_OF_LEVEL level) {
    BACKGROUND grid;
    if (auto fout = LeesLevelBestand(path, grid)) return {*fout};
    return CheckLevel(grid, level);
}

std::vector<LevelProblem> LevelFileWarnings(const std::string& path) {
    BACKGROUND grid;
    LevelOpmerkingen opmerkingen;
    const bool gelezen = !LeesLevelBestand(path, grid, &opmerkingen);
    std::vector<LevelProblem> waarschuwingen = std::move(opmerkingen.vreemd);
    if (gelezen && opmerkingen.items < kRijen * kKolommen) {
        waarschuwingen.push_back({0, 0,
                                  "holds " + std::to_string(opmerkingen.items) +
                                      " items, fewer than 2000: the cells after the last are sky",
                                  path});
    }
    return waarschuwingen;
}

std::vector<LevelProblem> CheckLevel(const BACKGROUND& grid, NUMBER_OF_LEVEL level) {
    std::vector<LevelProblem> problemen;
    VrijLichaam(grid, kSpelerStart[level], "The player's start position", problemen);
    for (const Plek& p : kVijandStart)
        VrijLichaam(grid, p, "An enemy spawn point", problemen);
    VijandenVloer(grid, problemen);
    BuitenLog spelerLog, vijandLog;
    VerkenSpeler(TegelZicht{grid, &spelerLog}, level);
    VerkenVijanden(TegelZicht{grid, &vijandLog});
    BuitenGrid(spelerLog, "The player", problemen);
    BuitenGrid(vijandLog, "An enemy", problemen);
    return problemen;
}

std::set<std::pair<int32_t, int32_t>> StaanPlaatsen(const BACKGROUND& grid, NUMBER_OF_LEVEL level) {
    std::set<std::pair<int32_t, int32_t>> plaatsen;
    const TegelZicht zicht{grid};
    for (const Speler& s : VerkenSpeler(zicht, level)) {
        const MANNEKE_RC& m = s.m;
        if (m.Sprong == NIHIL && ProbeOnder(zicht, m.Huidigepos_x, m.Huidigepos_y) == 0) {
            plaatsen.insert({m.Huidigepos_x, m.Huidigepos_y});
        }
    }
    return plaatsen;
}

}  // namespace Zarvok
