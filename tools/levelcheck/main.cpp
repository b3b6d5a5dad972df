// levelcheck: tells level authors whether a level file meets every condition the game
// relies on, with the same checks the game's own level test uses.
//
//   levelcheck [--level 1|2] FILE...
//
// Prints each problem as FILE:ROW:COLUMN: text (FILE: text when no cell is concerned), each
// item the game reads although it is no plain number as FILE:ROW:COLUMN: warning: text, and
// exits with 1 when any file has a problem, with 0 and "FILE: ok" for each sound file,
// and with 2 for a wrong command line.
#include <iostream>
#include <string>
#include <vector>

#include "Arguments.h"
#include "LevelCheck.h"
#include "StandardLib.h"

namespace {

constexpr const char* kUsage =
    "usage: levelcheck [--level 1|2] FILE...\n"
    "  The level is taken from a name ending in level1.txt or level2.txt unless --level says.\n";

// FILE:ROW:COLUMN: text, or FILE: text; a warning says so before its text.
void Report(const std::string& file, const Zarvok::LevelProblem& problem, const char* kind = "") {
    std::cout << file;
    if (problem.rij != 0) std::cout << ":" << problem.rij << ":" << problem.kolom;
    std::cout << ": " << kind << problem.text << "\n";
}

// True when the file is sound.
bool CheckOne(const LevelCheckTool::Arguments& arguments, const std::string& file) {
    const auto level = LevelCheckTool::LevelOf(arguments, file);
    if (!level) {
        std::cout << file << ": cannot tell which level this is; name it level1.txt or "
                  << "level2.txt, or give --level 1 or --level 2\n";
        return false;
    }
    for (const Zarvok::LevelProblem& warning : Zarvok::LevelFileWarnings(file))
        Report(file, warning, "warning: ");
    const std::vector<Zarvok::LevelProblem> problems = Zarvok::CheckLevelFile(file, *level);
    for (const Zarvok::LevelProblem& problem : problems)
        Report(file, problem);
    if (problems.empty()) std::cout << file << ": ok\n";
    return problems.empty();
}

}  // namespace

int main(int argc, char** argv) {
    StandardLib::SetProgramName("Zarvok");  // the game's checks stop with the game's wording
    const LevelCheckTool::Parsed parsed =
        LevelCheckTool::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << "levelcheck: " << parsed.error << "\n" << kUsage;
        return 2;
    }
    bool allSound = true;
    for (const std::string& file : parsed.arguments.files) {
        allSound = CheckOne(parsed.arguments, file) && allSound;
    }
    return allSound ? 0 : 1;
}
