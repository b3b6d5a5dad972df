// Fonts found through fontconfig and texts rendered into glyph coverage: the text operations
// use them, and so does the picture generator, so that both find and read faces alike.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Vuderiv::detail {

// A font file that fontconfig matched to a family.
struct FontMatch {
    std::string file;          // its path; empty when fontconfig offers none
    int index = 0;             // the face within the file
    std::string family;        // the family it holds, which may differ from the one asked for
    std::string face;          // its full name ("DejaVu Sans Bold")
    bool substituted = false;  // none of the families it holds is the one asked for
};
// The scalable upright face of a family, bold or regular, that fontconfig matches.
FontMatch MatchFont(const char* family, bool bold);

// How much a rendered text covers each pixel, 0..255, row by row from the top.
struct Coverage {
    int32_t w = 0;
    int32_t h = 0;
    std::vector<uint8_t> alpha;

    // The coverage at (x, y); 0 outside.
    uint8_t At(int32_t x, int32_t y) const {
        return x < 0 || y < 0 || x >= w || y >= h ? 0 : alpha[static_cast<size_t>(y) * w + x];
    }
};
// The coverage of a surface that SDL_ttf rendered blended; empty unless 32 bits a pixel.
Coverage CoverageOf(const SDL_Surface& glyphs);

}  // namespace Vuderiv::detail
