#include "State.h"

#include "TileLayer.h"

namespace Zarvok {

uint32_t Resterende_vijanden = 0;
uint32_t Delta_vijand_app = 0;
uint32_t Highscore = 0;
uint32_t Difficulty = 0;
uint32_t Teller_spring = 0;
uint32_t Meter_vijand_app = 0;
NUMBER_OF_LEVEL Levelvar = LEVEL1;
ADD_BITMAPS_AR Bitmaps;
BITMAPS_MANNEKE_AR Bmps_manneke;
BITMAPS_VIJAND_AR Bmps_vijand;
MANNEKE_RC Manneke;
VIJANDEN_AR Vijanden_ar;
BACKGROUND Background;
uint32_t Array_index_vijanden = 0;
KOGELS_AR Kogels;
bool Eerstekeer = false;
bool Menubeelden_geladen = false;
bool Q_pressed = false;

const Moeilijkheid& MoeilijkheidVan(uint32_t difficulty) {
    static const RangeArray<Moeilijkheid, 0, 2> table = [] {
        RangeArray<Moeilijkheid, 0, 2> rows;
        rows[0] = {1, 75, 2, 1};
        rows[1] = {2, 0, 1, 1};  // medium keeps the level's interval
        rows[2] = {4, 25, 1, 2};
        return rows;
    }();
    return table[difficulty];
}

void ResetState() {
    Resterende_vijanden = 0;
    Delta_vijand_app = 0;
    Highscore = 0;
    Difficulty = 0;
    Teller_spring = 0;
    Meter_vijand_app = 0;
    Levelvar = LEVEL1;
    Bitmaps = {};
    Bmps_manneke = {};
    Bmps_vijand = {};
    Manneke = {};
    Vijanden_ar = {};
    Background = {};
    Array_index_vijanden = 0;
    Kogels = {};
    Q_pressed = false;
    Menubeelden_geladen = false;
    Eerstekeer = true;
    VergeetTegellaag();
}

}  // namespace Zarvok
