#include "Player.h"

#include <utility>

#include "SoundEffects.h"
#include "Vuderiv.h"

namespace Zarvok {

namespace {

constexpr uint32_t kSprongTop = 15;  // the jump counter at the top of a jump

// Every cell of the probe is looked at, even after a blocking one, so that the level
// checks see every lookup outside the grid.
template <typename CellOf>
int32_t AllesVrij(const TegelZicht& zicht, ProbeZijde zijde, int32_t px, int32_t py, int32_t n,
                  CellOf cellOf) {
    bool vrij = true;
    for (int32_t i = 0; i < n; ++i) {
        const auto [rij, kolom] = cellOf(i);
        if (!zicht.Vrij(zijde, px, py, rij, kolom)) vrij = false;
    }
    return vrij ? 1 : 0;
}

int64_t Cel(int64_t pixel) {
    return pixel / kTegel;
}

// The side probe of the way the player looks or jumps.
int32_t ProbeZijkant(const TegelZicht& zicht, const MANNEKE_RC& m, RICHTING_MANNEKE_EN r) {
    return r == KIJKLINKS ? ProbeLinks(zicht, m.Huidigepos_x, m.Huidigepos_y)
                          : ProbeRechts(zicht, m.Huidigepos_x, m.Huidigepos_y);
}

// Whether a step that way stays within the side limits.
bool BinnenGrens(const MANNEKE_RC& m, RICHTING_MANNEKE_EN r) {
    return r == KIJKLINKS ? m.Huidigepos_x > kMinX : m.Huidigepos_x < kMaxX;
}

// One diagonal step: 20 pixels that way and 20 up (dy = -20) or down (dy = +20).
void Stap(MANNEKE_RC& m, RICHTING_MANNEKE_EN r, int32_t dy) {
    m.Huidigepos_x = CheckedAdd(m.Huidigepos_x, r == KIJKLINKS ? -kTegel : kTegel);
    m.Huidigepos_y = CheckedAdd(m.Huidigepos_y, dy);
}

void Stijgen(const TegelZicht& zicht, MANNEKE_RC& m, uint32_t& teller) {
    const int32_t h = ProbeZijkant(zicht, m, m.Richting);
    const int32_t v = ProbeBoven(zicht, m.Huidigepos_x, m.Huidigepos_y);
    if (teller < kSprongTop && h == 1 && v == 1 && BinnenGrens(m, m.Richting)) {
        Stap(m, m.Richting, -kTegel);
        teller = CheckedAdd(teller, 1u);
    } else if (teller == kSprongTop) {
        m.Sprong = JUMPDOWN;
    } else if (h == 0 || v == 0) {
        Zwaartekracht(zicht, m);  // the ascent is cut off: one tile down at once
        m.Sprong = NIHIL;
        teller = 1;
    }
}

void Dalen(const TegelZicht& zicht, MANNEKE_RC& m, uint32_t& teller) {
    const int32_t h = ProbeZijkant(zicht, m, m.Richting);
    const int32_t v = ProbeOnder(zicht, m.Huidigepos_x, m.Huidigepos_y);
    if (BinnenGrens(m, m.Richting) && h == 1 && v == 1) {
        Stap(m, m.Richting, kTegel);
        if (teller == 2) m.Sprong = NIHIL;
        teller = CheckedSub(teller, 1u);
    } else if (h == 0 || v == 0) {
        m.Sprong = NIHIL;
        teller = 1;
    }
}

void Walk(MANNEKE_RC& m, RICHTING_MANNEKE_EN r) {
    if (!BinnenGrens(m, r)) return;
    m.Huidigepos_x = CheckedAdd(m.Huidigepos_x, r == KIJKLINKS ? -kTegel : kTegel);
    m.Richting = r;
}

void StartSprong(const TegelZicht& zicht, MANNEKE_RC& m, uint32_t& teller, RICHTING_MANNEKE_EN r) {
    const int32_t h = ProbeZijkant(zicht, m, r);
    const int32_t v = ProbeBoven(zicht, m.Huidigepos_x, m.Huidigepos_y);
    if (h == 1 && v == 1 && BinnenGrens(m, r)) {
        m.Sprong = JUMPUP;
        Stap(m, r, -kTegel);
        teller = CheckedAdd(teller, 1u);
    }
    m.Richting = r;
}

void Lopen(const TegelZicht& zicht, MANNEKE_RC& m, uint32_t& teller, const Toetsen& t) {
    if (t.rechts && !t.omhoog) {
        Walk(m, KIJKRECHTS);
    } else if (t.links && !t.omhoog) {
        Walk(m, KIJKLINKS);
    } else if (t.omhoog && t.links) {
        StartSprong(zicht, m, teller, KIJKLINKS);
    } else if (t.omhoog && t.rechts) {
        StartSprong(zicht, m, teller, KIJKRECHTS);
    }
}

TegelZicht Spel() {
    return TegelZicht{Background};
}

}  // namespace

bool TegelZicht::Vrij(ProbeZijde zijde, int32_t px, int32_t py, int64_t rij, int64_t kolom) const {
    if (rij < 1 || rij > kRijen || kolom < 1 || kolom > kKolommen) {
        if (log != nullptr && !log->eerste[zijde]) {
            log->eerste[zijde] = ProbeBuiten{zijde, px, py, rij, kolom};
        }
        return false;
    }
    return grid[rij][kolom] == LUCHT;
}

int32_t ProbeLinks(const TegelZicht& zicht, int32_t px, int32_t py) {
    return AllesVrij(zicht, PROBE_LINKS, px, py, 4, [&](int32_t i) {
        return std::pair{Cel(py) + i, Cel(px)};
    });
}

int32_t ProbeRechts(const TegelZicht& zicht, int32_t px, int32_t py) {
    return AllesVrij(zicht, PROBE_RECHTS, px, py, 4, [&](int32_t i) {
        return std::pair{Cel(py) + i, Cel(int64_t{px} + kFiguur) + 1};
    });
}

int32_t ProbeBoven(const TegelZicht& zicht, int32_t px, int32_t py) {
    return AllesVrij(zicht, PROBE_BOVEN, px, py, 3, [&](int32_t i) {
        return std::pair{Cel(py), Cel(px) + 1 + i};
    });
}

int32_t ProbeOnder(const TegelZicht& zicht, int32_t px, int32_t py) {
    return AllesVrij(zicht, PROBE_ONDER, px, py, 3, [&](int32_t i) {
        return std::pair{Cel(int64_t{py} + kFiguur) + 1, Cel(px) + 1 + i};
    });
}

void BeweegManneke(const TegelZicht& zicht, MANNEKE_RC& m, uint32_t& teller, const Toetsen& t) {
    for (const RICHTING_MANNEKE_EN r : {KIJKLINKS, KIJKRECHTS}) {
        if (m.Sprong == JUMPUP && m.Richting == r) Stijgen(zicht, m, teller);
        if (m.Sprong == JUMPDOWN && m.Richting == r) Dalen(zicht, m, teller);
    }
    if (!m.Val && m.Sprong == NIHIL) Lopen(zicht, m, teller, t);
}

void Zwaartekracht(const TegelZicht& zicht, MANNEKE_RC& m) {
    if (ProbeOnder(zicht, m.Huidigepos_x, m.Huidigepos_y) == 1) {
        m.Val = true;
        m.Huidigepos_y = CheckedAdd(m.Huidigepos_y, kTegel);
    } else {
        m.Val = false;
    }
}

void VuurKogel(const MANNEKE_RC& m, KOGELS_AR& kogels) {
    for (int64_t i = KOGELS_AR::kFirst; i <= KOGELS_AR::kLast; ++i) {
        KOGEL_RC& k = kogels[i];
        if (k.Status != DEAD) continue;
        k.Status = ALIVE;
        k.Richting = m.Richting;
        k.Huidigepos_x = CheckedAdd(m.Huidigepos_x, 20);
        k.Huidigepos_y = CheckedAdd(m.Huidigepos_y, 8);
        Speel(G_SCHOT);
        return;
    }
}

int32_t Checklinkerkant_Manneke() {
    return ProbeLinks(Spel(), Manneke.Huidigepos_x, Manneke.Huidigepos_y);
}

int32_t Checkrechterkant_Manneke() {
    return ProbeRechts(Spel(), Manneke.Huidigepos_x, Manneke.Huidigepos_y);
}

int32_t Checkbovenkant_Manneke() {
    return ProbeBoven(Spel(), Manneke.Huidigepos_x, Manneke.Huidigepos_y);
}

int32_t Checkonderkant(KARAKTER_EN karakter, uint32_t array_index_vijand) {
    if (karakter == VIJAND) {
        const VIJAND_RC& e = Vijanden_ar[array_index_vijand];
        return ProbeOnder(Spel(), e.Huidigepos_x, e.Huidigepos_y);
    }
    return ProbeOnder(Spel(), Manneke.Huidigepos_x, Manneke.Huidigepos_y);
}

void CheckPositionval() {
    Zwaartekracht(Spel(), Manneke);
}

void KeyControleMet(const Toetsen& toetsen) {
    BeweegManneke(Spel(), Manneke, Teller_spring, toetsen);
    if (toetsen.control) VuurKogel(Manneke, Kogels);
    if (Manneke.Sprong == NIHIL) CheckPositionval();
}

void KeyControle(NUMBER_OF_LEVEL /*level: movement is the same in both levels*/) {
    Toetsen toetsen;
    toetsen.rechts = Vuderiv::KeyDown(Vuderiv::Key::Right);
    toetsen.links = Vuderiv::KeyDown(Vuderiv::Key::Left);
    toetsen.omhoog = Vuderiv::KeyDown(Vuderiv::Key::Up);
    toetsen.control = Vuderiv::KeyDown(Vuderiv::Key::Ctrl);
    KeyControleMet(toetsen);
}

}  // namespace Zarvok
