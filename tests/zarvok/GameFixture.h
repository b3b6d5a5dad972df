// What the game-core tests share: a window, a temporary working directory holding the
// level files and one-colour images the game loads, a recorded pause, and the keyboard.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "Harness.h"
#include "State.h"

namespace GameTest {

// The colour of each image the fixture writes (0x00BBGGRR).
constexpr uint32_t kLucht = 0xF0D0A0, kBaksteen = 0x3060A0, kGrond = 0x204020;
constexpr uint32_t kMannekeLinks = 0x10E0E0, kMannekeRechts = 0xE010E0;
constexpr uint32_t kVijandLinks = 0xE0E010, kVijandRechts = 0x808080, kOntploft = 0x4080FF;
constexpr uint32_t kKogelLinks = 0x102030, kKogelRechts = 0x302010;
constexpr uint32_t kGroen = 0x00FF00, kRood = 0x0000B0;

// Writes a BMP of one colour.
void WriteBmp(const std::string& path, int32_t width, int32_t height, uint32_t color);
// Writes the game's picture in one colour, where the game looks for it.
void WriteBeeld(const Zarvok::Beeld& beeld, uint32_t color);
// Writes a level file: 40 lines of 50 codes.
void WriteLevel(const std::string& path, const Zarvok::BACKGROUND& grid);
// A ceiling in row 1, ground in rows 36 to 40, sky between but for a short brick ledge in
// row 20, columns 30 to 34: a player standing on it at (kSafeX, kSafeY) meets no enemy.
Zarvok::BACKGROUND FlatLevel();
constexpr int32_t kSafeX = 600, kSafeY = 320;
// Puts the code into row rij from column van to column tot.
void Tiles(Zarvok::BACKGROUND& grid, int rij, int van, int tot, uint32_t code = Zarvok::BAKSTEEN);

// One pause the game asked for, and whether white text stood in the message area then.
struct Pause {
    uint32_t ms;
    int32_t textRight;  // rightmost white pixel at y 400..420, x 500..999, or -1
};
extern std::vector<Pause> gPauses;

// Opens the window; makes and enters a temporary working directory with both level files
// (FlatLevel) and the images of tiles and figures; resets the game state as the program's entry
// does, with buffering on, the fixed random sequence and a pause that only records. In
// the start menu the player clicks start (MenuScript replaces that).
class GameTest : public TestSupport::WindowTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Sets up level 1 (Settings) with the layout given.
    void StartLevel(const Zarvok::BACKGROUND& grid = FlatLevel());

    std::string dir_;

private:
    std::string previous_;
};

// Presses or releases keys through the window, as the user does.
void Hold(std::initializer_list<SDL_Keycode> keys);
void Release(std::initializer_list<SDL_Keycode> keys);
// Runs n frames of the game.
void Frames(int n);
// Runs n frames without drawing or pausing, for long stretches where only the logic counts.
void LogicFrames(int n);
// Puts the player at (x, y), standing.
void PlacePlayer(int32_t x, int32_t y);
// Fills the next enemy slot with a living enemy of the current difficulty at (x, y).
Zarvok::VIJAND_RC& AddEnemy(int32_t x, int32_t y, Zarvok::BEWEGING_VIJAND_EN way);

}  // namespace GameTest
