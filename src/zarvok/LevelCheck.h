// The conditions the game relies on that a level must meet: free start cells for the
// player and the enemies, the enemies' floor, and no probe of any reachable position
// looking outside the grid. Used by the game's tests and by the level checker tool.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Level.h"
#include "State.h"

namespace Zarvok {

// Every condition the game relies on that the level file breaks; empty when the level is
// sound. A file that cannot be read, or holds a code other than 0, 1, 2 (or a number too
// large), gives its reading problem (with row and column where there is one) and no more.
std::vector<LevelProblem> CheckLevelFile(const std::string& path, NUMBER_OF_LEVEL level);
// What a level author should hear about a file the game reads all the same: each item that
// is no plain number (read by its leading digits), and a file of fewer than 2000 items (the
// cells after its last item are sky). Empty for a file of plain numbers only.
std::vector<LevelProblem> LevelFileWarnings(const std::string& path);
// The same checks on a grid already read.
std::vector<LevelProblem> CheckLevel(const BACKGROUND& grid, NUMBER_OF_LEVEL level);

// Every (x, y) where the player can stand still on the grid, reached from the level's start
// by any keys: the places a level offers him.
std::set<std::pair<int32_t, int32_t>> StaanPlaatsen(const BACKGROUND& grid, NUMBER_OF_LEVEL level);

}  // namespace Zarvok
