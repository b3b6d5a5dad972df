#include "Enemies.h"

#include "StandardLib.h"

namespace Zarvok {

namespace {

constexpr int32_t kTopRechtsX = 900;  // where an enemy leaving the floor on the left reappears

uint32_t WillekeurigeRichting() {
    return StandardLib::RandomCard(1, 2);
}

void Loop(VIJAND_RC& e, RICHTING_MANNEKE_EN r) {
    e.Beweging = r == KIJKLINKS ? V_LINKS : V_RECHTS;
    e.Richting = r;
}

void Verplaats(VIJAND_RC& e, Plek p) {
    e.Huidigepos_x = p.x;
    e.Huidigepos_y = p.y;
}

// At a side limit an enemy on the floor is carried to the top of the other side; anywhere
// else it turns.
void Zijgrenzen(VIJAND_RC& e) {
    if (e.Huidigepos_x <= kMinX) {
        if (e.Huidigepos_y == kVijandenVloer) {
            Verplaats(e, {kTopRechtsX, kSpawnTop.y});
        } else {
            Loop(e, KIJKRECHTS);
        }
    } else if (e.Huidigepos_x >= kMaxX) {
        if (e.Huidigepos_y == kVijandenVloer) {
            Verplaats(e, kSpawnTop);
        } else {
            Loop(e, KIJKLINKS);
        }
    }
}

void Vallen(VIJAND_RC& e) {
    e.Huidigepos_y = CheckedAdd(e.Huidigepos_y, e.V_y);
    e.Beweging = V_VAL;
}

void GenereerVijand() {
    Array_index_vijanden = CheckedAdd(Array_index_vijanden, 1u);
    VIJAND_RC& e = Vijanden_ar[Array_index_vijanden];
    const uint32_t keuze_kamp = StandardLib::RandomCard(1, 2);
    if (keuze_kamp == 1) {
        Verplaats(e, kSpawnVloer);
    } else {
        Verplaats(e, kSpawnTop);
    }
    const Moeilijkheid& m = MoeilijkheidVan(Difficulty);
    if (m.delta != 0) Delta_vijand_app = m.delta;
    const uint32_t difficultypar = m.factor;
    e.V_x = kTegel;
    e.V_y = kTegel;
    e.Levens = 30 * difficultypar;
    e.Beginwaarde_levens = static_cast<int32_t>(e.Levens);
    e.Damage = static_cast<int32_t>(20 * difficultypar / 2);
    e.Score = 100 * difficultypar;
    e.Status = LEVEND;
    e.Gegenereerd = true;
    Loop(e, KIJKRECHTS);
}

}  // namespace

void BewegenVijand(const TegelZicht& zicht, VIJAND_RC& e, KiesRichting kies) {
    Zijgrenzen(e);
    const int32_t checkonder = ProbeOnder(zicht, e.Huidigepos_x, e.Huidigepos_y);
    switch (e.Beweging) {
        case V_LINKS:
        case V_RECHTS:
            if (checkonder == 1) {
                Vallen(e);
            } else {
                const int32_t stap = e.Beweging == V_LINKS ? -e.V_x : e.V_x;
                e.Huidigepos_x = CheckedAdd(e.Huidigepos_x, stap);
            }
            break;
        case V_VAL:
            if (checkonder == 1) {
                Vallen(e);
            } else {
                Loop(e, kies() == 1 ? KIJKLINKS : KIJKRECHTS);  // lands; stands this frame
            }
            break;
    }
}

void UpdateVijanden() {
    const TegelZicht zicht{Background};
    for (uint32_t array_index = 1; array_index <= Array_index_vijanden; ++array_index) {
        VIJAND_RC& e = Vijanden_ar[array_index];
        if (e.Status == LEVEND) BewegenVijand(zicht, e, WillekeurigeRichting);
    }
}

void CheckMeterVijand() {
    if (Meter_vijand_app == Delta_vijand_app && Array_index_vijanden < kAantalVijanden) {
        Meter_vijand_app = 0;
        GenereerVijand();
    }
}

}  // namespace Zarvok
