#include "DataFolder.h"

#include <fstream>
#include <system_error>

#include "Messages.h"

namespace Zarvok {

namespace fs = std::filesystem;

namespace {

// Fixed when the program is built: the installed data folder relative to the installed
// program's folder.
constexpr const char* kDataVanafProgramma = ZARVOK_DATA_FROM_BIN;
// The file beside a program in its build folder that names the source tree's data folder.
constexpr const char* kBronDataBestand = "zarvok-source-data";

bool Bestaat(const fs::path& pad, fs::file_type soort) {
    std::error_code fout;
    return fs::status(pad, fout).type() == soort;
}

// The source tree's data folder named by the file beside the program, or "" without one.
fs::path BronData(const fs::path& programmaMap) {
    std::ifstream bestand(programmaMap / kBronDataBestand);
    std::string regel;
    std::getline(bestand, regel);
    return regel;
}

fs::path Werkmap() {
    std::error_code fout;
    fs::path map = fs::current_path(fout);
    return fout ? fs::path(".") : map;
}

fs::path DitProgramma() {
    std::error_code fout;
    fs::path pad = fs::read_symlink("/proc/self/exe", fout);
    return fout ? fs::path() : pad;
}

}  // namespace

// A folder named images alone is common (a home folder may hold one), so only the menu
// picture inside it counts.
bool HoudtSpelData(const fs::path& map) {
    return Bestaat(map / "level1.txt", fs::file_type::regular) ||
           Bestaat(map / "level2.txt", fs::file_type::regular) ||
           Bestaat(map / "images" / "Menu.bmp", fs::file_type::regular);
}

std::vector<fs::path> DataKandidaten(const fs::path& werkmap, const fs::path& programma) {
    const fs::path programmaMap = programma.parent_path();
    std::vector<fs::path> kandidaten{werkmap,
                                     (programmaMap / kDataVanafProgramma).lexically_normal()};
    const fs::path bron = programma.empty() ? fs::path() : BronData(programmaMap);
    if (!bron.empty()) kandidaten.push_back(bron);
    return kandidaten;
}

std::optional<fs::path> KiesDataMap(const std::vector<fs::path>& kandidaten) {
    for (const fs::path& map : kandidaten) {
        if (HoudtSpelData(map)) return map;
    }
    return std::nullopt;
}

std::string GeenDataBericht(const std::vector<fs::path>& kandidaten) {
    std::string lijst;
    for (const fs::path& map : kandidaten)
        lijst += (lijst.empty() ? "" : ", ") + map.string();
    return "Zarvok: the game's data (level1.txt, level2.txt, images) is in none of: " + lijst +
           "; name its folder with --data DIR";
}

std::vector<fs::path> EigenDataKandidaten() {
    return DataKandidaten(Werkmap(), DitProgramma());
}

bool GaNaarDataMap(const std::string& gekozen) {
    const std::vector<fs::path> kandidaten = EigenDataKandidaten();
    const std::optional<fs::path> map =
        gekozen.empty() ? KiesDataMap(kandidaten) : std::optional<fs::path>(gekozen);
    if (!map) {
        Meld(GeenDataBericht(kandidaten));
        return false;
    }
    if (!Bestaat(*map, fs::file_type::directory)) {
        Meld("Zarvok: " + map->string() + ": no such folder");
        return false;
    }
    if (!HoudtSpelData(*map)) {
        Meld("Zarvok: " + map->string() +
             " holds none of the game's data (level1.txt, level2.txt, images/Menu.bmp)");
        return false;
    }
    std::error_code fout;
    fs::current_path(*map, fout);
    if (fout) {
        Meld("Zarvok: " + map->string() + ": cannot be entered: " + fout.message());
        return false;
    }
    return true;
}

}  // namespace Zarvok
