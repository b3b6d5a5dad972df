// Text: six fixed fonts found through fontconfig, rendered antialiased by SDL_ttf and
// blended over the buffer without a background box. Everything here runs on the program
// thread, and the font state is this file's own.
#include <SDL_ttf.h>

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Blend.h"
#include "Fonts.h"
#include "Report.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv::detail {

namespace {

// A font style's face: a family, its weight and its size in pixels.
struct FontFace {
    const char* family;
    bool bold;
    int pixels;
};

// Style 0, and any number above 5, selects the first face: the default interface font, narrow
// and small, so that a label and the number drawn 50 pixels to its right do not meet.
constexpr std::array<FontFace, 6> kFaces{{
    {"DejaVu Sans Condensed", false, 11},
    {"DejaVu Sans", true, 16},
    {"DejaVu Sans Mono", false, 16},
    {"DejaVu Sans", false, 13},
    {"DejaVu Sans Mono", false, 13},
    {"DejaVu Sans Mono", true, 12},
}};

// The chosen style and colour, and each face once it is opened (kept for good).
struct FontState {
    uint32_t style = 0;
    uint32_t color = 0;
    std::array<TTF_Font*, kFaces.size()> opened{};
    std::array<bool, kFaces.size()> tried{};
    bool missingReported = false;
};

FontState font;

size_t FaceIndex(uint32_t style) {
    return style < kFaces.size() ? style : 0;
}

TTF_Font* OpenFace(const FontFace& face) {
    if (TTF_WasInit() == 0 && TTF_Init() != 0) return nullptr;
    const FontMatch match = MatchFont(face.family, face.bold);
    if (match.file.empty()) return nullptr;
    if (match.substituted) {  // another face draws the style: its texts take other widths
        Report(std::string("Vuderiv: font \"") + face.family + "\" not found; fontconfig gave \"" +
               match.face + "\" in its place, so texts in that style take other widths");
    }
    return TTF_OpenFontIndex(match.file.c_str(), face.pixels, match.index);
}

void ReportMissing(const FontFace& face) {
    if (font.missingReported) return;
    font.missingReported = true;
    Report(std::string("Vuderiv: font \"") + face.family +
           "\" not found (fontconfig, SDL_ttf: " + TTF_GetError() + "); texts are not drawn.");
}

// The font of a style, opened the first time it is asked for; nullptr when none exists.
TTF_Font* CreateFont(uint32_t style) {
    const size_t face = FaceIndex(style);
    if (!font.tried[face]) {
        font.tried[face] = true;
        font.opened[face] = OpenFace(kFaces[face]);
        if (font.opened[face] == nullptr) ReportMissing(kFaces[face]);
    }
    return font.opened[face];
}

// The number of characters of the decimal form of nr, the minus sign included.
int32_t intlen(int64_t nr) {
    int32_t len = 1;
    if (nr < 0) {
        nr = -nr;
        len = 2;
    }
    for (; nr > 9; nr /= 10)
        ++len;
    return len;
}

// The decimal form of nr, then a NUL; chp holds at least intlen(nr) + 1 characters.
void Int2Char(char* chp, int64_t nr) {
    const int32_t len = intlen(nr);
    int32_t first = 0;
    if (nr < 0) {
        chp[0] = '-';
        nr = -nr;
        first = 1;
    }
    for (int32_t i = len; i > first; --i, nr /= 10)
        chp[i - 1] = static_cast<char>('0' + nr % 10);
    chp[len] = '\0';
}

// The decimal form of every signed and unsigned 32-bit number fits.
using NumberText = std::array<char, 24>;

// Texts come back frame after frame (labels, help lines, the same numbers), so each is
// rendered once per face and kept; the store is emptied when it grows past this many.
constexpr size_t kMaxRenderedTexts = 512;
std::unordered_map<std::string, Coverage> rendered;

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// The number of bytes of a UTF-8 character from its first byte; 0 for a byte that
// cannot start one.
size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8Length(static_cast<unsigned char>(text[i]));
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

// A text as UTF-8: as it is when it is UTF-8, else read as Latin-1, one character a byte
// (a Latin-1 text with an accent is almost never valid UTF-8).
std::string AsUtf8(const char* text) {
    std::string utf8(text);
    if (IsUtf8(utf8)) return utf8;
    utf8.clear();
    for (const char* c = text; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte < 0x80) {
            utf8 += *c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

// A text as its face draws it; empty when it draws nothing (an empty text, for one).
Coverage Render(TTF_Font* face, const char* text) {
    const SDL_Color white{0xFF, 0xFF, 0xFF, 0xFF};
    const SurfacePtr glyphs(TTF_RenderUTF8_Blended(face, text, white), &SDL_FreeSurface);
    return glyphs ? CoverageOf(*glyphs) : Coverage{};
}

// The coverage of a text in the face of a style, rendered the first time it is asked for.
const Coverage& RenderedText(uint32_t style, TTF_Font* face, const char* text) {
    std::string key(1, static_cast<char>('0' + FaceIndex(style)));
    key += text;
    auto found = rendered.find(key);
    if (found != rendered.end()) return found->second;
    if (rendered.size() >= kMaxRenderedTexts) rendered.clear();
    return rendered.emplace(std::move(key), Render(face, text)).first->second;
}

// Blends a text's coverage in the colour into the target at (x, y); uncovered pixels keep
// what they were.
void BlendGlyphs(Surface& target, const Coverage& glyphs, int64_t x, int64_t y, uint32_t color) {
    const Block block = Clip(target, x, y, glyphs.w, glyphs.h);
    for (int32_t row = 0; row < block.h; ++row) {
        const uint8_t* coverage =
            &glyphs.alpha[static_cast<size_t>((block.y + row - y) * glyphs.w + (block.x - x))];
        BlendRow(target.Row(block.y + row) + block.x, coverage, block.w, color);
    }
}

}  // namespace

}  // namespace Vuderiv::detail

namespace Vuderiv {

using namespace detail;

void SetFont(uint32_t style, uint32_t color) {
    font.style = style;
    font.color = color & 0x00FFFFFF;
}

void GetTextSize(const char* text, uint32_t style, uint32_t& width, uint32_t& height) {
    width = 0;
    height = 0;
    if (text == nullptr || !WindowIsOpen()) return;
    TTF_Font* face = CreateFont(style);
    int w = 0;
    int h = 0;
    if (face == nullptr || TTF_SizeUTF8(face, AsUtf8(text).c_str(), &w, &h) != 0) return;
    width = static_cast<uint32_t>(w);
    height = static_cast<uint32_t>(h);
}

void Text(const char* text, int32_t x, int32_t y) {
    if (text == nullptr || !WindowIsOpen()) return;
    TTF_Font* face = CreateFont(font.style);
    if (face == nullptr) return;
    const Coverage& glyphs = RenderedText(font.style, face, AsUtf8(text).c_str());
    if (glyphs.alpha.empty()) return;  // nothing to draw, an empty text for one
    Canvas canvas;
    if (!canvas.Open()) return;
    BlendGlyphs(canvas.DrawBlock(x, y, glyphs.w, glyphs.h), glyphs, x, y, font.color);
    if (!canvas.Buffering()) {
        canvas.Show(x, y, static_cast<uint32_t>(glyphs.w), static_cast<uint32_t>(glyphs.h));
    }
}

void TextInt(int32_t number, int32_t x, int32_t y) {
    NumberText digits{};
    Int2Char(digits.data(), number);
    Text(digits.data(), x, y);
}

void TextCard(uint32_t number, int32_t x, int32_t y) {
    NumberText digits{};
    Int2Char(digits.data(), number);
    Text(digits.data(), x, y);
}

}  // namespace Vuderiv
