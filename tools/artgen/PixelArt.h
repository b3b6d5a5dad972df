// Pixel-art grids: a readable text file of one character per pixel with a palette.
//
//   # comment
//   scale 2              each grid cell becomes a 2 x 2 block (default 1)
//   colour K #1b1b2f     a palette character and its colour
//   colour . clear       a character that leaves the target as it is
//   grid                 every line after this is one row of the grid
//   ...KK...
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Image.h"

namespace Artgen {

struct PixelArt {
    int scale = 1;
    std::map<char, std::optional<Colour>> palette;  // nullopt: clear
    std::vector<std::string> rows;                  // all of one length

    int Width() const { return rows.empty() ? 0 : static_cast<int>(rows[0].size()) * scale; }
    int Height() const { return static_cast<int>(rows.size()) * scale; }
};

// Reads a grid file; throws SourceError naming the file and line of any fault.
PixelArt ReadPixelArt(const std::string& path);
// Draws the grid with its top-left corner at (x, y), mirrored left to right if asked.
void StampPixelArt(Image& image, const PixelArt& art, int x, int y, bool mirror);

}  // namespace Artgen
