#include "DataFolder.h"

#include <system_error>

#include "Melding.h"

namespace Zarvok {

namespace fs = std::filesystem;

namespace {

// Fixed when the program is built: the installed data folder relative to the installed
// program's folder, the build folder and the source tree's data folder.
constexpr const char* kDataVanafProgramma = ZARVOK_DATA_FROM_BIN;
constexpr const char* kBouwMap = ZARVOK_BUILD_DIR;
constexpr const char* kBronData = ZARVOK_SOURCE_DATA;

bool Bestaat(const fs::path& pad, fs::file_type soort) {
    std::error_code fout;
    return fs::status(pad, fout).type() == soort;
}

bool ZelfdeMap(const fs::path& a, const fs::path& b) {
    std::error_code fout;
    return fs::equivalent(a, b, fout);
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
    if (!programma.empty() && ZelfdeMap(programmaMap, kBouwMap)) kandidaten.emplace_back(kBronData);
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
