#include "Colours.h"

#include <cctype>

namespace Artgen {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

std::optional<uint8_t> HexByte(const std::string& text, size_t at) {
    const int high = HexDigit(text[at]);
    const int low = HexDigit(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    return static_cast<uint8_t>(high * 16 + low);
}

}  // namespace

std::optional<Colour> ParseColour(const std::string& text) {
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#') return std::nullopt;
    uint8_t parts[4] = {0, 0, 0, 255};
    for (size_t i = 0; i * 2 + 1 < text.size(); ++i) {
        const std::optional<uint8_t> byte = HexByte(text, 1 + i * 2);
        if (!byte) return std::nullopt;
        parts[i] = *byte;
    }
    return Colour{parts[0], parts[1], parts[2], parts[3]};
}

}  // namespace Artgen
