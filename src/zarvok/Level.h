// The level files and the level set-up: reading a grid of 2000 tile codes, loading the
// game's images, and putting the state into the starting position of a level.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "State.h"

namespace Zarvok {

// What is wrong with a level: why its file was refused, or a condition its grid breaks.
struct LevelProblem {
    uint32_t rij = 0;     // row 1..40 of the cell concerned, 0 when the problem has no cell
    uint32_t kolom = 0;   // column 1..50 likewise
    std::string text;     // what is wrong, in a plain English sentence for level authors
    std::string bestand;  // the file, when the problem is the file's
    // "file, row r, column c: text", or "file: text" without a cell.
    std::string Bericht() const;
};

// What a reading notes that the game accepts but a level author may not have meant.
struct LevelOpmerkingen {
    std::vector<LevelProblem> vreemd;  // each item that is no plain number, at its cell
    uint32_t items = 0;                // the items read, at most 2000
};

// A level file that cannot be used; what() is LevelProblem::Bericht().
class LevelFileError : public std::runtime_error {
public:
    explicit LevelFileError(const LevelProblem& fout);
};

// Reads the first 2000 codes of a level text into the grid, row by row; missing codes are
// 0 and the rest of the text is not read. Separators: space, tab, LF, CR and character 26.
// An item may start with "+"; an item that is no plain number counts for the digits at its
// start (after a "+" or "-"), 0 with none. A code other than 0, 1, 2 or a number above
// 4294967295 is refused: the grid is then left as it was.
// A plain number is digits after at most a "+"; every other item read is noted in
// `opmerkingen` when given, as is the count of items.
std::optional<LevelProblem> LeesLevel(std::istream& invoer, const std::string& naam,
                                      BACKGROUND& grid, LevelOpmerkingen* opmerkingen = nullptr);
// The same from a file; a file that cannot be opened, a directory, a device, a pipe or a
// file of more than 1 MiB (no level comes near) is refused.
std::optional<LevelProblem> LeesLevelBestand(const std::string& pad, BACKGROUND& grid,
                                             LevelOpmerkingen* opmerkingen = nullptr);

// "level1.txt" or "level2.txt".
const char* LevelBestand(NUMBER_OF_LEVEL level);

// Loads the tile images (once; later set-ups reuse the handles) and reads the level file of
// Levelvar into Background. Throws LevelFileError when the file is refused.
void LoadBackground();
// Puts the game into the starting position of the level Levelvar: loads the sprites at the
// first call, places the player, frees the bullets, resets enemy generation, reads the level.
// The level's set-up, unrelated to the settings file and to the menu's settings button.
void Settings();

}  // namespace Zarvok
