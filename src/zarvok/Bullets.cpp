#include "Bullets.h"

#include "Player.h"
#include "SoundEffects.h"
#include "State.h"

namespace Zarvok {

namespace {

constexpr int32_t kKogelStap = 40;                     // pixels per frame
constexpr uint32_t kKogelSchade = 10;                  // what one bullet of the NORMAL_GUN takes
constexpr int32_t kVeldLinks = 20, kVeldRechts = 960;  // a bullet outside these is gone

// A living enemy whose body holds the point: top and bottom edge included, sides not.
bool Raakt(const VIJAND_RC& e, int32_t bx, int32_t by) {
    const int64_t ex = e.Huidigepos_x, ey = e.Huidigepos_y;
    return ey <= by && by <= ey + kFiguur && ex < bx && bx < ex + kFiguur && e.Status == LEVEND;
}

void Sterft(VIJAND_RC& e) {
    e.Status = DOOD;
    Resterende_vijanden = CheckedSub(Resterende_vijanden, 1u);
}

void Treffer(VIJAND_RC& e, uint32_t damage) {
    e.Levens = CheckedSub(e.Levens, damage);
    if (e.Levens != 0) {
        Speel(G_TREFFER);
        return;
    }
    Speel(G_VIJAND_DOOD);
    Sterft(e);
    Highscore = CheckedAdd(Highscore, e.Score);
}

// The first enemy the bullet lies in takes the hit; the bullet is gone.
void RaakVijanden(KOGEL_RC& k, uint32_t damage) {
    for (uint32_t indexvijand = 1; indexvijand <= Array_index_vijanden; ++indexvijand) {
        VIJAND_RC& e = Vijanden_ar[indexvijand];
        if (!Raakt(e, k.Huidigepos_x, k.Huidigepos_y)) continue;
        Treffer(e, damage);
        k.Status = DEAD;
        return;
    }
}

// A bullet on a blocking tile is gone; a cell outside the grid blocks as well.
void RaakTegels(KOGEL_RC& k) {
    const int32_t bx = k.Huidigepos_x, by = k.Huidigepos_y;
    if (bx <= 0 || bx >= kBreedte) return;
    const int64_t kolom = bx / kTegel + 1;
    const int64_t rij = by / kTegel + 1;
    if (!TegelZicht{Background}.Vrij(PROBE_ONDER, bx, by, rij, kolom)) k.Status = DEAD;
}

}  // namespace

void UpdateKogel() {
    for (int64_t i = KOGELS_AR::kFirst; i <= KOGELS_AR::kLast; ++i) {
        KOGEL_RC& k = Kogels[i];
        if (k.Status != ALIVE) continue;
        k.Huidigepos_x =
            CheckedAdd(k.Huidigepos_x, k.Richting == KIJKRECHTS ? kKogelStap : -kKogelStap);
    }
}

void CheckKogel() {
    const uint32_t damage = kKogelSchade;
    for (int64_t i = KOGELS_AR::kFirst; i <= KOGELS_AR::kLast; ++i) {
        KOGEL_RC& k = Kogels[i];
        if (k.Status != ALIVE) continue;  // the tests change nothing on a free slot
        if (k.Huidigepos_x < kVeldLinks || k.Huidigepos_x > kVeldRechts) k.Status = DEAD;
        if (k.Status == ALIVE) RaakVijanden(k, damage);
        if (k.Status == ALIVE) RaakTegels(k);
    }
}

void ControleerMannekeGeraakt() {
    const int64_t x = Manneke.Huidigepos_x, y = Manneke.Huidigepos_y;
    for (uint32_t indexvijand = 1; indexvijand <= Array_index_vijanden; ++indexvijand) {
        VIJAND_RC& e = Vijanden_ar[indexvijand];
        if (e.Status != LEVEND || e.Huidigepos_y != y) continue;
        if (x - kFiguur <= e.Huidigepos_x && e.Huidigepos_x < x + kFiguur) {
            Manneke.Levens = CheckedSub(Manneke.Levens, e.Damage);
            Speel(G_MANNEKE_GERAAKT);
            Sterft(e);
        }
    }
}

}  // namespace Zarvok
