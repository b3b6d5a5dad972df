#include "PixelArt.h"

#include <fstream>
#include <sstream>

#include "Colours.h"
#include "Errors.h"

namespace Artgen {

namespace {

struct Reader {
    std::string path;
    int line = 0;
    [[noreturn]] void Fail(const std::string& what) const {
        throw SourceError(path + ":" + std::to_string(line), what);
    }
};

void ReadPaletteEntry(const Reader& at, std::istringstream& words, PixelArt& art) {
    std::string key, value;
    if (!(words >> key >> value) || key.size() != 1) at.Fail("expected: colour CHAR #RRGGBB");
    if (value == "clear") {
        art.palette[key[0]] = std::nullopt;
        return;
    }
    const std::optional<Colour> c = ParseColour(value);
    if (!c) at.Fail("not a colour: " + value);
    art.palette[key[0]] = *c;
}

void ReadGridRow(const Reader& at, const std::string& row, PixelArt& art) {
    if (!art.rows.empty() && row.size() != art.rows[0].size()) {
        at.Fail("row has " + std::to_string(row.size()) + " cells, the first row " +
                std::to_string(art.rows[0].size()));
    }
    for (char c : row) {
        if (!art.palette.contains(c)) at.Fail(std::string("no colour for '") + c + "'");
    }
    art.rows.push_back(row);
}

}  // namespace

PixelArt ReadPixelArt(const std::string& path) {
    std::ifstream file(path);
    Reader at{path};
    if (!file) at.Fail("cannot open the file");
    PixelArt art;
    bool inGrid = false;
    for (std::string text; std::getline(file, text);) {
        ++at.line;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (inGrid) {
            if (!text.empty()) ReadGridRow(at, text, art);
            continue;
        }
        std::istringstream words(text);
        std::string word;
        if (!(words >> word) || word[0] == '#') continue;
        if (word == "scale") {
            if (!(words >> art.scale) || art.scale < 1 || art.scale > 16) at.Fail("scale 1..16");
        } else if (word == "colour") {
            ReadPaletteEntry(at, words, art);
        } else if (word == "grid") {
            inGrid = true;
        } else {
            at.Fail("unknown word: " + word);
        }
    }
    if (art.rows.empty()) at.Fail("no grid");
    return art;
}

void StampPixelArt(Image& image, const PixelArt& art, int x, int y, bool mirror) {
    const int columns = static_cast<int>(art.rows[0].size());
    for (int row = 0; row < static_cast<int>(art.rows.size()); ++row) {
        for (int column = 0; column < columns; ++column) {
            const char cell = art.rows[row][mirror ? columns - 1 - column : column];
            const std::optional<Colour>& colour = art.palette.at(cell);
            if (!colour) continue;
            for (int dy = 0; dy < art.scale; ++dy) {
                for (int dx = 0; dx < art.scale; ++dx) {
                    image.Blend(x + column * art.scale + dx, y + row * art.scale + dy, *colour);
                }
            }
        }
    }
}

}  // namespace Artgen
