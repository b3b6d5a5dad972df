#include "Text.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <memory>
#include <stdexcept>

namespace Artgen {

namespace {

constexpr const char* kFamily = "DejaVu Sans";

// The file of the bold face of the project's family; throws when fontconfig offers none.
std::string FindFontFile() {
    const Vuderiv::detail::FontMatch match = Vuderiv::detail::MatchFont(kFamily, true);
    FcFini();
    // Another family would make different pictures on another machine: refuse it.
    if (match.file.empty() || match.family != kFamily) {
        throw std::runtime_error(
            "font not found: DejaVu Sans:style=Bold (install fonts-dejavu-core)");
    }
    return match.file;
}

using FontPtr = std::unique_ptr<TTF_Font, decltype(&TTF_CloseFont)>;
using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

}  // namespace

TextRenderer::TextRenderer() : fontFile_(FindFontFile()) {
    if (TTF_Init() != 0) throw std::runtime_error(std::string("SDL_ttf: ") + TTF_GetError());
}

TextRenderer::~TextRenderer() {
    TTF_Quit();
}

CoverageMap TextRenderer::Render(const std::string& text, int size, int outline) const {
    FontPtr font(TTF_OpenFont(fontFile_.c_str(), size), &TTF_CloseFont);
    if (!font) throw std::runtime_error("cannot open " + fontFile_ + ": " + TTF_GetError());
    TTF_SetFontHinting(font.get(), TTF_HINTING_NORMAL);
    TTF_SetFontOutline(font.get(), outline);
    const SDL_Color white{255, 255, 255, 255};
    SurfacePtr rendered(TTF_RenderUTF8_Blended(font.get(), text.c_str(), white), &SDL_FreeSurface);
    if (!rendered) throw std::runtime_error(std::string("cannot render text: ") + TTF_GetError());
    return Vuderiv::detail::CoverageOf(*rendered);
}

}  // namespace Artgen
