// The game's state: its types, the difficulty table and the module-level variables that
// every part of the game reads and changes. Program thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "StandardLib.h"

namespace Zarvok {

// --- Run-time checks ------------------------------------------------------------------

using StandardLib::CheckedAdd;    // a + b, stopping the program on overflow
using StandardLib::CheckedSub;    // a - b, likewise
using StandardLib::RunTimeError;  // stops the program with a run-time error message

// A fixed array indexed First..Last; any other index stops the program.
template <typename T, int64_t First, int64_t Last>
class RangeArray {
public:
    static constexpr int64_t kFirst = First;  // the lowest index
    static constexpr int64_t kLast = Last;    // the highest index

    T& operator[](int64_t i) { return items_[Offset(i)]; }
    const T& operator[](int64_t i) const { return items_[Offset(i)]; }
    bool operator==(const RangeArray&) const = default;

private:
    static size_t Offset(int64_t i) {
        if (i < First || i > Last) {
            RunTimeError("index " + std::to_string(i) + " outside " + std::to_string(First) + ".." +
                         std::to_string(Last));
        }
        return static_cast<size_t>(i - First);
    }
    std::array<T, static_cast<size_t>(Last - First + 1)> items_{};
};

// --- Geometry -------------------------------------------------------------------------

constexpr int32_t kBreedte = 1000;  // the window's client area and the playfield, pixels
constexpr int32_t kHoogte = 800;
constexpr int32_t kTegel = 20;            // tile size in pixels, the unit of all movement
constexpr int32_t kRijen = 40;            // rows of the tile grid
constexpr int32_t kKolommen = 50;         // columns of the tile grid
constexpr int32_t kFiguur = 60;           // player and enemy images are 60 x 60
constexpr int32_t kMinX = 20;             // leftmost x of a figure
constexpr int32_t kMaxX = 920;            // rightmost x of a figure
constexpr int32_t kVijandenVloer = 640;   // the row of figures where enemies reach the top
constexpr uint32_t kAantalVijanden = 15;  // enemies per level
constexpr uint32_t kAantalKogels = 30;    // bullet slots

// Tile codes: 0 is free, every other code blocks.
constexpr uint32_t LUCHT = 0, BAKSTEEN = 1, GROND = 2;

// --- Enumerations (one byte each) ---------------------------------------------------

enum NUMBER_OF_LEVEL : uint8_t { LEVEL1 = 0, LEVEL2 = 1 };
enum ARSENAAL_EN : uint8_t { NORMAL_GUN = 0 };
enum RICHTING_MANNEKE_EN : uint8_t { KIJKLINKS = 0, KIJKRECHTS = 1 };
enum SPRONG_EN : uint8_t { JUMPUP = 0, JUMPDOWN = 1, NIHIL = 2 };
enum STATUS_EN : uint8_t { LEVEND = 0, DOOD = 1 };
enum BEWEGING_VIJAND_EN : uint8_t { V_LINKS = 0, V_RECHTS = 1, V_VAL = 2 };
enum STATUS_KOGEL_EN : uint8_t { ALIVE = 0, DEAD = 1 };
enum KARAKTER_EN : uint8_t { MANNEKE = 0, VIJAND = 1 };

// --- Start places (a figure's top-left corner, pixels) ---------------------------------

struct Plek {
    int32_t x, y;
};
constexpr std::array<Plek, 2> kSpelerStart = {{{100, 40}, {100, 640}}};  // by NUMBER_OF_LEVEL
constexpr Plek kSpawnVloer = {80, kVijandenVloer};  // where enemies appear on their floor
constexpr Plek kSpawnTop = {40, 40};                // and where at the top left

// --- Pictures -------------------------------------------------------------------------

// A picture the game draws: its file below the data folder, as LoadBitmap takes it ("\" or
// "/" between the parts), and the size it is loaded at.
struct Beeld {
    const char* bestand;
    uint32_t breedte, hoogte;
};
constexpr Beeld kLuchtBeeld{"images/lucht.bmp", kTegel, kTegel};  // the tiles
constexpr Beeld kBaksteenBeeld{"images/baksteen.bmp", kTegel, kTegel};
constexpr Beeld kGrondBeeld{"images/grond.bmp", kTegel, kTegel};
constexpr Beeld kKogelLinksBeeld{"images\\kogel_links.bmp", 20, 12};  // the sprites
constexpr Beeld kKogelRechtsBeeld{"images\\kogel_rechts.bmp", 20, 12};
constexpr Beeld kMannekeLinksBeeld{"images\\manneke_links.bmp", kFiguur, kFiguur};
constexpr Beeld kMannekeRechtsBeeld{"images\\manneke_rechts.bmp", kFiguur, kFiguur};
constexpr Beeld kVijandLinksBeeld{"images\\vijand_links.bmp", kFiguur, kFiguur};
constexpr Beeld kVijandRechtsBeeld{"images\\vijand_rechts.bmp", kFiguur, kFiguur};
constexpr Beeld kOntploftBeeld{"images\\vijandje_ontploft.bmp", kFiguur, kFiguur};
constexpr Beeld kMenuBeeld{"images/Menu.bmp", kBreedte, kHoogte};  // behind the menus
constexpr Beeld kIcoonBeeld{"images/icoon.bmp", 64, 64};           // the window's icon
// Every picture above (the menus' buttons are made in Menu.cpp).
constexpr std::array<Beeld, 12> kSpelBeelden = {
    kLuchtBeeld,        kBaksteenBeeld,     kGrondBeeld,         kKogelLinksBeeld,
    kKogelRechtsBeeld,  kMannekeLinksBeeld, kMannekeRechtsBeeld, kVijandLinksBeeld,
    kVijandRechtsBeeld, kOntploftBeeld,     kMenuBeeld,          kIcoonBeeld};

// --- Records --------------------------------------------------------------------------

struct MANNEKE_RC {                            // the player
    int32_t Huidigepos_x = 0;                  // left edge of his image, pixels
    int32_t Posx_0 = 0;                        // unused
    int32_t Huidigepos_y = 0;                  // top edge of his image, pixels
    int32_t Levens = 0;                        // health; the game is lost at 0 or less
    ARSENAAL_EN Wapen = NORMAL_GUN;            // weapon
    RICHTING_MANNEKE_EN Richting = KIJKLINKS;  // facing, and the way of jumps and shots
    SPRONG_EN Sprong = JUMPUP;                 // jump phase
    bool Val = false;                          // falling

    bool operator==(const MANNEKE_RC&) const = default;  // field by field
};

struct VIJAND_RC {                             // one enemy
    int32_t Huidigepos_x = 0;                  // left edge, pixels
    int32_t Huidigepos_y = 0;                  // top edge, pixels
    int32_t Beginwaarde_levens = 0;            // health at creation, for the health bar
    uint32_t Levens = 0;                       // health left
    int32_t Damage = 0;                        // health the player loses on contact
    int32_t V_x = 0;                           // walking step per frame
    int32_t V_y = 0;                           // falling step per frame
    STATUS_EN Status = LEVEND;                 // alive or dead
    bool Gegenereerd = false;                  // filled by generation once
    BEWEGING_VIJAND_EN Beweging = V_LINKS;     // walking left, right, or falling
    RICHTING_MANNEKE_EN Richting = KIJKLINKS;  // facing
    bool DoodEnGetekend = false;               // dead and its explosion shown
    uint32_t Score = 0;                        // points for shooting it dead

    bool operator==(const VIJAND_RC&) const = default;  // field by field
};

struct KOGEL_RC {                              // one bullet slot
    int32_t Huidigepos_x = 0;                  // left edge, the hit point's x
    int32_t Huidigepos_y = 0;                  // top edge, the hit point's y
    STATUS_KOGEL_EN Status = ALIVE;            // in flight, or a free slot
    RICHTING_MANNEKE_EN Richting = KIJKLINKS;  // flight direction

    bool operator==(const KOGEL_RC&) const = default;  // field by field
};

using BACKGROUND = RangeArray<RangeArray<uint32_t, 1, kKolommen>, 1, kRijen>;  // [rij][kolom]
using VIJANDEN_AR = RangeArray<VIJAND_RC, 1, kAantalVijanden>;
using KOGELS_AR = RangeArray<KOGEL_RC, 1, kAantalKogels>;
using ADD_BITMAPS_AR = RangeArray<uint32_t, 1, 5>;
using BITMAPS_MANNEKE_AR = RangeArray<uint32_t, 1, 2>;
using BITMAPS_VIJAND_AR = RangeArray<uint32_t, 1, 3>;

// Elements of Bitmaps, Bmps_manneke and Bmps_vijand.
constexpr int64_t BMP_KOGEL_LINKS = 1, BMP_KOGEL_RECHTS = 2, BMP_LUCHT = 3, BMP_BAKSTEEN = 4,
                  BMP_GROND = 5;
constexpr int64_t BMP_KIJKLINKS = 1, BMP_KIJKRECHTS = 2, BMP_ONTPLOFT = 3;

// --- Difficulty table -------------------------------------------------------------------

struct Moeilijkheid {
    uint32_t factor;      // strength factor f of a new enemy
    uint32_t delta;       // frames between enemies after the first; 0 keeps Delta_vijand_app
    uint32_t balkTeller;  // lost health times balkTeller / balkNoemer = red bar pixels
    uint32_t balkNoemer;
};
// The row of a Difficulty value (0 easy, 1 medium, 2 hard); any other value stops the program.
const Moeilijkheid& MoeilijkheidVan(uint32_t difficulty);

// --- Module-level variables ---------------------------------------------------------------

extern uint32_t Resterende_vijanden;     // enemies still to be beaten in this level
extern uint32_t Delta_vijand_app;        // frames from one enemy appearance to the next
extern uint32_t Highscore;               // score of the current game
extern uint32_t Difficulty;              // 0 easy, 1 medium, 2 hard
extern uint32_t Teller_spring;           // jump step counter, 1 when not jumping
extern uint32_t Meter_vijand_app;        // frames since the last enemy appearance
extern NUMBER_OF_LEVEL Levelvar;         // the current level
extern ADD_BITMAPS_AR Bitmaps;           // bullet left, bullet right, sky, brick, ground
extern BITMAPS_MANNEKE_AR Bmps_manneke;  // player looking left, right
extern BITMAPS_VIJAND_AR Bmps_vijand;    // enemy looking left, right, exploded
extern MANNEKE_RC Manneke;               // the player
extern VIJANDEN_AR Vijanden_ar;          // the enemy slots
extern BACKGROUND Background;            // the tile grid of the current level
extern uint32_t Array_index_vijanden;    // enemy slots filled in this level, 0..15
extern KOGELS_AR Kogels;                 // the bullet slots
extern bool Eerstekeer;                  // the sprite images are still to be loaded
extern bool Menubeelden_geladen;         // the menu's images are loaded (Menu keeps them)
extern bool Q_pressed;                   // the frame loop ends after this frame

// Every variable back to zero (as at program start), then Eerstekeer = TRUE. A new window
// has an empty bitmap table, so the images are loaded again after this.
void ResetState();

}  // namespace Zarvok
