// Text in the project's bold face (DejaVu Sans Bold, found through fontconfig), rendered
// antialiased into coverage maps that the drawing commands lay over a picture.
#pragma once

#include <string>

#include "Fonts.h"

namespace Artgen {

// How much a text covers each pixel, 0..255, row by row from the top.
using CoverageMap = Vuderiv::detail::Coverage;

// Finds the face once and keeps the text library open while it lives. Throws
// std::runtime_error when the face cannot be found or opened.
class TextRenderer {
public:
    TextRenderer();
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // The text at `size` pixels, widened by an outline of `outline` pixels (0: none). With
    // an outline the map is 2 x outline larger each way, the plain text centred in it.
    CoverageMap Render(const std::string& text, int size, int outline) const;
    const std::string& FontFile() const { return fontFile_; }

private:
    std::string fontFile_;
};

}  // namespace Artgen
