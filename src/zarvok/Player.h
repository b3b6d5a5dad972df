// The player's movement against the tile grid, the four probes around a 60 x 60 body,
// and firing. The probes also serve the enemies and the level checks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "State.h"

namespace Zarvok {

// Which side of a body a probe looks at.
enum ProbeZijde : uint8_t { PROBE_LINKS = 0, PROBE_RECHTS = 1, PROBE_BOVEN = 2, PROBE_ONDER = 3 };

// A probe that wanted a cell outside the grid: which probe, for which body, which cell.
struct ProbeBuiten {
    ProbeZijde zijde;    // the probe
    int32_t px, py;      // the body's top-left corner
    int64_t rij, kolom;  // the cell it wanted, outside 1..40 x 1..50
};

// The first lookup outside the grid by each probe (the level checks keep one).
struct BuitenLog {
    std::array<std::optional<ProbeBuiten>, 4> eerste;  // indexed by ProbeZijde
};

// A tile grid as the probes see it: a cell outside the grid counts as blocking, and is
// noted in the log, if there is one; nothing outside the grid is read.
struct TegelZicht {
    const BACKGROUND& grid;
    BuitenLog* log = nullptr;

    // True when the cell holds code 0.
    bool Vrij(ProbeZijde zijde, int32_t px, int32_t py, int64_t rij, int64_t kolom) const;
};

// The probes of a body at (px, py): 1 when every probed cell is free, 0 otherwise.
int32_t ProbeLinks(const TegelZicht& zicht, int32_t px, int32_t py);   // column left, 4 rows
int32_t ProbeRechts(const TegelZicht& zicht, int32_t px, int32_t py);  // column right, 4 rows
int32_t ProbeBoven(const TegelZicht& zicht, int32_t px, int32_t py);   // the 3 cells above
int32_t ProbeOnder(const TegelZicht& zicht, int32_t px, int32_t py);   // the 3 cells below

// The four keys of one call of KeyControle.
struct Toetsen {
    bool rechts = false;   // right arrow (39)
    bool links = false;    // left arrow (37)
    bool omhoog = false;   // up arrow (38)
    bool control = false;  // Ctrl (17)
};

// The jump blocks and the walking / jump start block of one call, before firing.
void BeweegManneke(const TegelZicht& zicht, MANNEKE_RC& m, uint32_t& teller, const Toetsen& t);
// The gravity step: one tile down and Val TRUE when the cells below are free, else Val FALSE.
void Zwaartekracht(const TegelZicht& zicht, MANNEKE_RC& m);
// One bullet into the lowest free slot at (x + 20, y + 8), the player's way; none if all fly.
void VuurKogel(const MANNEKE_RC& m, KOGELS_AR& kogels);

// The same on the game's state.
int32_t Checklinkerkant_Manneke();
int32_t Checkrechterkant_Manneke();
int32_t Checkbovenkant_Manneke();
// Below the player (MANNEKE, index ignored) or below enemy Vijanden_ar[index] (VIJAND).
int32_t Checkonderkant(KARAKTER_EN karakter, uint32_t array_index_vijand);
void CheckPositionval();
// One frame of the player: reads the four keys, moves, fires, applies gravity.
void KeyControle(NUMBER_OF_LEVEL level);
// The same with the keys given; KeyControle reads them from the keyboard.
void KeyControleMet(const Toetsen& toetsen);

}  // namespace Zarvok
