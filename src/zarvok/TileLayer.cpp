#include "TileLayer.h"

#include <array>

#include "Scene.h"
#include "State.h"
#include "Vuderiv.h"

namespace Zarvok {

namespace {

using TEGELBEELDEN_AR = std::array<uint32_t, 3>;  // sky, brick, ground

// The layer and what it was drawn from.
struct Tegellaag {
    uint32_t beeld = 0;     // the bitmap; 0 while there is none
    bool getekend = false;  // it holds the tiles of grid and tegels
    BACKGROUND grid;
    TEGELBEELDEN_AR tegels{};
};
Tegellaag gLaag;

TEGELBEELDEN_AR Tegelbeelden() {
    return {Bitmaps[BMP_LUCHT], Bitmaps[BMP_BAKSTEEN], Bitmaps[BMP_GROND]};
}

bool AlleBeeldenGeladen(const TEGELBEELDEN_AR& tegels) {
    for (const uint32_t beeld : tegels) {
        if (beeld == 0) return false;
    }
    return true;
}

// Every code of the grid has a tile image (the level reader refuses other codes).
bool AlleCodesBekend() {
    for (int32_t rij = 1; rij <= kRijen; ++rij) {
        for (int32_t kolom = 1; kolom <= kKolommen; ++kolom) {
            if (Background[rij][kolom] > GROND) return false;
        }
    }
    return true;
}

// Draws every tile into the layer, as DrawBackground draws them into the buffer; false
// when a cell has no image to draw.
bool VulLaag(const TEGELBEELDEN_AR& tegels) {
    gLaag.grid = Background;
    gLaag.tegels = tegels;
    if (!AlleCodesBekend()) return false;
    for (int32_t rij = 1; rij <= kRijen; ++rij) {
        for (int32_t kolom = 1; kolom <= kKolommen; ++kolom) {
            Vuderiv::CopyBitmap(tegels[Background[rij][kolom]], gLaag.beeld, 0, 0,
                                (kolom - 1) * kTegel, (rij - 1) * kTegel, kTegel, kTegel);
        }
    }
    return true;
}

// The layer for the grid and images of now, drawn anew when they changed; false when
// there is none.
bool LaagBijgewerkt() {
    const TEGELBEELDEN_AR tegels = Tegelbeelden();
    if (!AlleBeeldenGeladen(tegels)) return false;
    if (gLaag.beeld == 0) {
        gLaag.beeld = Vuderiv::CreateBitmap(kKolommen * kTegel, kRijen * kTegel);
        if (gLaag.beeld == 0) return false;
        gLaag.getekend = VulLaag(tegels);
    } else if (gLaag.grid != Background || gLaag.tegels != tegels) {
        gLaag.getekend = VulLaag(tegels);
    }
    return gLaag.getekend;
}

}  // namespace

void TekenTegellaag() {
    if (LaagBijgewerkt()) {
        Vuderiv::DrawBitmap(gLaag.beeld, 0, 0);
    } else {
        DrawBackground();
    }
}

void VergeetTegellaag() {
    gLaag = Tegellaag{};
}

}  // namespace Zarvok
