// Fonts in a browser: there is no font service, so the faces ship with the page's data,
// in one folder, each in the file its family's name gives: "DejaVu Sans Mono", bold, is
// /fonts/DejaVuSansMono-Bold.ttf.
#include <sys/stat.h>

#include "Fonts.h"

namespace Vuderiv::detail {

namespace {

constexpr const char* kFontFolder = "/fonts/";

}  // namespace

FontMatch MatchFont(const char* family, bool bold) {
    std::string file = kFontFolder;
    for (const char* c = family; *c != '\0'; ++c) {
        if (*c != ' ') file += *c;
    }
    file += bold ? "-Bold.ttf" : ".ttf";
    struct stat status {};
    if (stat(file.c_str(), &status) != 0) return {};
    FontMatch found;
    found.file = file;
    found.family = family;
    found.face = std::string(family) + (bold ? " Bold" : "");
    return found;
}

}  // namespace Vuderiv::detail
