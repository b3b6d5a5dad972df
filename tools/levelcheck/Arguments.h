// The command line of levelcheck: `levelcheck [--level 1|2] FILE...`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "State.h"

namespace LevelCheckTool {

struct Arguments {
    std::optional<Zarvok::NUMBER_OF_LEVEL> level;  // --level; else inferred per file
    std::vector<std::string> files;
};

// The parsed command line, or an error message for the user.
struct Parsed {
    Arguments arguments;
    std::string error;  // empty when the command line is sound
};

Parsed ParseArguments(const std::vector<std::string>& words);

// The level a file is for: the --level given, else 1 or 2 for a name ending in
// "level1.txt" or "level2.txt"; nothing when neither says.
std::optional<Zarvok::NUMBER_OF_LEVEL> LevelOf(const Arguments& arguments, const std::string& file);

}  // namespace LevelCheckTool
