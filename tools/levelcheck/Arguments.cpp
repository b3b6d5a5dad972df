#include "Arguments.h"

namespace LevelCheckTool {

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

Parsed ParseArguments(const std::vector<std::string>& words) {
    Parsed parsed;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--level") {
            const std::string value = i + 1 < words.size() ? words[++i] : "";
            if (value == "1") {
                parsed.arguments.level = Zarvok::LEVEL1;
            } else if (value == "2") {
                parsed.arguments.level = Zarvok::LEVEL2;
            } else {
                parsed.error = "--level takes 1 or 2";
                return parsed;
            }
        } else if (word.starts_with("--")) {
            parsed.error = "unknown option " + word;
            return parsed;
        } else {
            parsed.arguments.files.push_back(word);
        }
    }
    if (parsed.arguments.files.empty()) parsed.error = "no level file given";
    return parsed;
}

std::optional<Zarvok::NUMBER_OF_LEVEL> LevelOf(const Arguments& arguments,
                                               const std::string& file) {
    if (arguments.level) return arguments.level;
    if (EndsWith(file, "level1.txt")) return Zarvok::LEVEL1;
    if (EndsWith(file, "level2.txt")) return Zarvok::LEVEL2;
    return std::nullopt;
}

}  // namespace LevelCheckTool
