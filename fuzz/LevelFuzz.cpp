// Feeds arbitrary text to the level reader: it either reads a grid of tile codes or
// refuses the text with a cell inside the grid and a printable message, leaving the grid.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "Level.h"
#include "State.h"

namespace {

Zarvok::BACKGROUND Marked() {
    Zarvok::BACKGROUND grid{};
    grid[40][50] = 7;  // a value no level holds: a refused text must leave it
    return grid;
}

void Require(bool holds) {
    if (!holds) std::abort();
}

bool Printable(const std::string& text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    Zarvok::BACKGROUND grid = Marked();
    const auto fout = Zarvok::LeesLevel(input, "fuzz.txt", grid);
    if (fout) {
        Require(fout->rij >= 1 && fout->rij <= 40 && fout->kolom >= 1 && fout->kolom <= 50);
        Require(Printable(fout->Bericht()) && fout->Bericht().size() < 200);
        Require(grid == Marked());
        return 0;
    }
    for (int rij = 1; rij <= 40; ++rij) {
        for (int kolom = 1; kolom <= 50; ++kolom)
            Require(grid[rij][kolom] <= Zarvok::GROND);
    }
    return 0;
}
