#include "Fonts.h"

#ifndef __EMSCRIPTEN__  // in a browser the faces lie in the page's data (web/FontFiles.cpp)
#include <fontconfig/fontconfig.h>
#endif

namespace Vuderiv::detail {

#ifndef __EMSCRIPTEN__

namespace {

std::string StringOf(FcPattern* match, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(match, object, 0, &value) != FcResultMatch) return {};
    return reinterpret_cast<const char*>(value);
}

// True when one of the families the face holds (a face may hold several, "DejaVu Sans"
// and "DejaVu Sans Condensed", say) is the family, case aside.
bool HoldsFamily(FcPattern* match, const char* family) {
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(family)) == 0) return true;
    }
    return false;
}

}  // namespace

FontMatch MatchFont(const char* family, bool bold) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return {};
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return {};
    FontMatch found{StringOf(match, FC_FILE), 0, StringOf(match, FC_FAMILY),
                    StringOf(match, FC_FULLNAME), !HoldsFamily(match, family)};
    if (found.face.empty()) found.face = found.family;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &found.index) != FcResultMatch) found.index = 0;
    FcPatternDestroy(match);
    return found;
}

#endif

Coverage CoverageOf(const SDL_Surface& glyphs) {
    if (glyphs.format->BytesPerPixel != 4) return {};
    Coverage c{glyphs.w, glyphs.h, {}};
    c.alpha.resize(static_cast<size_t>(c.w) * static_cast<size_t>(c.h));
    const auto* base = static_cast<const uint8_t*>(glyphs.pixels);
    for (int32_t row = 0; row < c.h; ++row) {
        const auto* pixel = reinterpret_cast<const uint32_t*>(base + row * glyphs.pitch);
        for (int32_t column = 0; column < c.w; ++column) {
            c.alpha[static_cast<size_t>(row * c.w + column)] =
                static_cast<uint8_t>(pixel[column] >> glyphs.format->Ashift);
        }
    }
    return c;
}

}  // namespace Vuderiv::detail
