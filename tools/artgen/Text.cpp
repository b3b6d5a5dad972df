#include "Text.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <memory>
#include <stdexcept>

namespace Artgen {

namespace {

constexpr const char* kFamily = "DejaVu Sans";
constexpr const char* kPattern = "DejaVu Sans:style=Bold";

// The file of the bold face of the project's family; throws when fontconfig offers none.
std::string FindFontFile() {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kPattern));
    if (pattern == nullptr) throw std::runtime_error("fontconfig cannot parse the font name");
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    std::string file, family;
    FcChar8* value = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch) {
        file = reinterpret_cast<const char*>(value);
    }
    if (match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch) {
        family = reinterpret_cast<const char*>(value);
    }
    if (match != nullptr) FcPatternDestroy(match);
    FcFini();
    // Another family would make different pictures on another machine: refuse it.
    if (file.empty() || family != kFamily) {
        throw std::runtime_error(std::string("font not found: ") + kPattern +
                                 " (install fonts-dejavu-core)");
    }
    return file;
}

using FontPtr = std::unique_ptr<TTF_Font, decltype(&TTF_CloseFont)>;
using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

CoverageMap CoverageOf(const SDL_Surface& surface) {
    CoverageMap map{surface.w, surface.h, {}};
    map.alpha.resize(static_cast<size_t>(surface.w) * surface.h);
    const SDL_PixelFormat& format = *surface.format;
    for (int y = 0; y < surface.h; ++y) {
        const auto* row =
            static_cast<const uint8_t*>(surface.pixels) + static_cast<size_t>(y) * surface.pitch;
        for (int x = 0; x < surface.w; ++x) {
            uint32_t pixel = 0;
            SDL_memcpy(&pixel, row + static_cast<size_t>(x) * 4, 4);
            map.alpha[static_cast<size_t>(y) * surface.w + x] =
                static_cast<uint8_t>((pixel & format.Amask) >> format.Ashift);
        }
    }
    return map;
}

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
    SurfacePtr argb(SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0),
                    &SDL_FreeSurface);
    if (!argb) throw std::runtime_error(std::string("cannot convert text: ") + SDL_GetError());
    return CoverageOf(*argb);
}

}  // namespace Artgen
