// Where the game reads its levels and images: the working directory when it holds them,
// else the folder installed beside the program, else (for the program in its build
// folder) the source tree's data folder. The game then works inside the chosen folder
// with the same relative names.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace Zarvok {

// True when the folder holds something unmistakably the game's: level1.txt, level2.txt or
// images/Menu.bmp (a folder named images alone is not enough).
bool HoudtSpelData(const std::filesystem::path& map);

// The folders to try, in order, for the program file `programma` started in `werkmap`:
// the working directory; the installed data folder beside the program; and, for the
// program in its build folder, the source tree's data folder, which the file
// zarvok-source-data beside it names (never installed).
std::vector<std::filesystem::path> DataKandidaten(const std::filesystem::path& werkmap,
                                                  const std::filesystem::path& programma);

// The first of the folders that holds game data, or nothing.
std::optional<std::filesystem::path> KiesDataMap(
    const std::vector<std::filesystem::path>& kandidaten);

// The one console line when none of the folders holds game data.
std::string GeenDataBericht(const std::vector<std::filesystem::path>& kandidaten);

// The candidates for this program in its working directory.
std::vector<std::filesystem::path> EigenDataKandidaten();

// Enters the data folder: `gekozen` when not empty (the --data option), else the first
// candidate that holds game data. False, after one line on the console, when there is
// none or the folder cannot be entered.
bool GaNaarDataMap(const std::string& gekozen);

}  // namespace Zarvok
