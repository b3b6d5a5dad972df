#include "Scene.h"

#include "State.h"
#include "TileLayer.h"
#include "Vuderiv.h"

namespace Zarvok {

namespace {

constexpr uint32_t kGroen = 0x00FF00, kRood = 0x0000B0, kWit = 0xFFFFFF, kZwart = 0;

uint32_t TegelBeeld(uint32_t code) {
    switch (code) {
        case LUCHT:
            return Bitmaps[BMP_LUCHT];
        case BAKSTEEN:
            return Bitmaps[BMP_BAKSTEEN];
        case GROND:
            return Bitmaps[BMP_GROND];
        default:
            return 0;  // no image: the level reader refuses such codes
    }
}

uint32_t Beeld(const BITMAPS_VIJAND_AR& beelden, RICHTING_MANNEKE_EN r) {
    return beelden[r == KIJKLINKS ? BMP_KIJKLINKS : BMP_KIJKRECHTS];
}

// The red part of an enemy's bar: lost health scaled so that a full bar is 60 pixels.
int32_t RoodeLengte(const VIJAND_RC& e) {
    const int64_t verloren = int64_t{e.Beginwaarde_levens} - e.Levens;
    const Moeilijkheid& m = MoeilijkheidVan(Difficulty);
    return static_cast<int32_t>(verloren * m.balkTeller / m.balkNoemer);
}

void GezondheidsBalk(const VIJAND_RC& e) {
    const int32_t x = e.Huidigepos_x;
    const int32_t y0 = e.Huidigepos_y - 10;
    Vuderiv::ThickLine(x, y0, x + kFiguur, y0, kGroen, 6);
    if (int64_t{e.Beginwaarde_levens} != e.Levens) {
        Vuderiv::ThickLine(x + kFiguur - RoodeLengte(e), y0, x + kFiguur - 1, y0, kRood, 4);
    }
}

void TekenVijand(VIJAND_RC& e) {
    if (e.Status == DOOD && !e.DoodEnGetekend) {
        Vuderiv::DrawBitmap(Bmps_vijand[BMP_ONTPLOFT], e.Huidigepos_x, e.Huidigepos_y);
        e.DoodEnGetekend = true;
    } else if (e.Status == LEVEND) {
        Vuderiv::DrawBitmap(Beeld(Bmps_vijand, e.Richting), e.Huidigepos_x, e.Huidigepos_y);
    }
    if (e.Status == LEVEND) GezondheidsBalk(e);
}

void TekenKogels() {
    for (int64_t i = KOGELS_AR::kFirst; i <= KOGELS_AR::kLast; ++i) {
        const KOGEL_RC& k = Kogels[i];
        if (k.Status != ALIVE) continue;
        const int64_t beeld = k.Richting == KIJKLINKS ? BMP_KOGEL_LINKS : BMP_KOGEL_RECHTS;
        Vuderiv::DrawBitmap(Bitmaps[beeld], k.Huidigepos_x, k.Huidigepos_y);
    }
}

void StatusPaneel() {
    Vuderiv::SetFont(0, kZwart);
    Vuderiv::ThickLine(450, 40, 550, 40, kGroen, 10);
    Vuderiv::Text("HEALTH", 400, 34);
    if (Manneke.Levens < 100) {
        const int32_t verloren = CheckedSub(100, Manneke.Levens);
        Vuderiv::ThickLine(CheckedSub(549, verloren), 40, 549, 40, kRood, 8);
    }
    Vuderiv::TextInt(Manneke.Levens, 492, 34);
    Vuderiv::Text("Highscore", 600, 34);
    Vuderiv::TextCard(Highscore, 650, 34);
    Vuderiv::Text("Aantal resterende vijanden", 750, 34);
    Vuderiv::TextCard(Resterende_vijanden, 900, 34);
}

void HulpRegels() {
    Vuderiv::SetFont(1, kWit);
    Vuderiv::Text("Links-rechts: Pijltjes links-rechts", 20, 710);
    Vuderiv::Text("Links-rechts springen: Pijltjes links-rechts + pijltje boven", 20, 730);
    Vuderiv::Text("schieten: Control", 20, 750);
    Vuderiv::Text("Terug naar menu: q", 20, 770);
}

}  // namespace

void DrawBackground() {
    for (int32_t rij = 1; rij <= kRijen; ++rij) {
        for (int32_t kolom = 1; kolom <= kKolommen; ++kolom) {
            Vuderiv::DrawBitmap(TegelBeeld(Background[rij][kolom]), (kolom - 1) * kTegel,
                                (rij - 1) * kTegel);
        }
    }
}

void Draw() {
    TekenTegellaag();
    Vuderiv::DrawBitmap(
        Bmps_manneke[Manneke.Richting == KIJKLINKS ? BMP_KIJKLINKS : BMP_KIJKRECHTS],
        Manneke.Huidigepos_x, Manneke.Huidigepos_y);
    for (uint32_t i = 1; i <= Array_index_vijanden; ++i)
        TekenVijand(Vijanden_ar[i]);
    TekenKogels();
    StatusPaneel();
    HulpRegels();
    Vuderiv::UpdateWindow();
}

}  // namespace Zarvok
