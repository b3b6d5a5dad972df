// The level checker as a level author runs it: shipped levels pass, and a level that breaks
// a condition the game relies on is rejected at the right row and column.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ToolHarness.h"

namespace {

namespace fs = std::filesystem;
using ToolTests::CommandResult;
using ToolTests::Quoted;
using ToolTests::RunCommand;
using ToolTests::ScratchDir;

const fs::path kData = fs::path(ZARVOK_SOURCE_DIR) / "data";

CommandResult Check(const std::string& arguments) {
    return RunCommand(std::string(LEVELCHECK_PATH) + " " + arguments);
}

// A level grid, [row - 1][column - 1], read from and written to level files.
using Grid = std::vector<std::vector<std::string>>;

Grid ReadGrid(const fs::path& path) {
    std::ifstream in(path);
    Grid grid(40, std::vector<std::string>(50));
    for (auto& row : grid) {
        for (auto& cell : row)
            in >> cell;
    }
    return grid;
}

fs::path WriteGrid(const fs::path& path, const Grid& grid) {
    std::ofstream out(path);
    for (const auto& row : grid) {
        for (size_t c = 0; c < row.size(); ++c)
            out << (c ? " " : "") << row[c];
        out << "\n";
    }
    return path;
}

size_t LineCount(const std::string& text) {
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

TEST(LevelCheck, ShippedLevelsPass) {
    const fs::path one = kData / "level1.txt", two = kData / "level2.txt";
    const CommandResult run = Check(Quoted(one) + " " + Quoted(two));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, one.string() + ": ok\n" + two.string() + ": ok\n");
}

// Each case changes cells of a shipped level and expects a problem at one cell.
TEST(LevelCheck, EachBrokenConditionIsReportedAtItsCell) {
    struct Change {
        int row, column;
        const char* code;
    };
    struct Case {
        const char* what;
        const char* base;  // the shipped level the file starts from
        const char* name;  // the file name (the level is inferred from it)
        std::vector<Change> changes;
        std::string where;  // "ROW:COLUMN:" expected after the file name
        std::string words;  // expected in the message
    };
    std::vector<Change> openBottom;
    for (int row = 36; row <= 40; ++row) {
        for (int column = 20; column <= 24; ++column)
            openBottom.push_back({row, column, "0"});
    }
    const std::vector<Case> cases = {
        {"blocked start, level 1",
         "level1.txt",
         "level1.txt",
         {{4, 7, "1"}},
         "4:7:",
         "start position"},
        {"blocked start, level 2",
         "level2.txt",
         "my_level2.txt",
         {{35, 8, "2"}},
         "35:8:",
         "start position"},
        {"blocked enemy spawn point",
         "level1.txt",
         "level1.txt",
         {{5, 3, "2"}},
         "5:3:",
         "spawn point"},
        {"no floor under the spawn point",
         "level2.txt",
         "level2.txt",
         {{36, 6, "0"}},
         "36:6:",
         "floor at y 640"},
        {"open bottom row", "level1.txt", "level1.txt", openBottom, "40:2", "outside the grid"},
        {"bad code", "level1.txt", "level1.txt", {{7, 12, "7"}}, "7:12:", "not a tile code"},
        {"number too large", "level2.txt", "level2.txt", {{1, 50, "4294967296"}}, "1:50:", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        Grid grid = ReadGrid(kData / c.base);
        for (const Change& change : c.changes)
            grid[change.row - 1][change.column - 1] = change.code;
        const fs::path file = WriteGrid(dir.Path() / c.name, grid);
        const CommandResult run = Check(Quoted(file));
        EXPECT_EQ(run.exitCode, 1) << run.output;
        const std::string expected = file.string() + ":" + c.where;
        EXPECT_EQ(run.output.rfind(expected, 0), 0u) << "expected " << expected << "\n"
                                                     << run.output;
        EXPECT_NE(run.output.find(c.words), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find(": ok"), std::string::npos) << run.output;
    }
}

TEST(LevelCheck, ItemsThatAreNoPlainNumberAreWarnedAboutAtTheirCells) {
    ScratchDir dir;
    Grid grid = ReadGrid(kData / "level1.txt");
    grid[0][0] = "-1";    // brick all the same
    grid[0][2] = "2abc";  // ground in place of brick
    grid[19][24] = "#";   // sky
    grid[19][25] = "+0";  // a plain number
    const fs::path file = WriteGrid(dir.Path() / "level1.txt", grid);
    const CommandResult run = Check(Quoted(file));
    EXPECT_EQ(run.exitCode, 0) << run.output;  // the game reads it as a sound level
    const std::string f = file.string();
    EXPECT_EQ(run.output,
              f + ":1:1: warning: \"-1\" is not a plain number: read as 1 (brick)\n" + f +
                  ":1:3: warning: \"2abc\" is not a plain number: read as 2 (ground)\n" + f +
                  ":20:25: warning: \"#\" is not a plain number: read as 0 (sky)\n" + f + ": ok\n");
}

TEST(LevelCheck, AFileOfFewerThan2000ItemsIsWarnedAbout) {
    ScratchDir dir;
    std::string text = ToolTests::ReadFile(kData / "level2.txt");
    text.resize(text.rfind('2') - 20);  // some of the last row's items gone
    const fs::path file = dir.Path() / "level2.txt";
    ToolTests::WriteFile(file, text);
    const CommandResult run = Check(Quoted(file));
    EXPECT_EQ(run.output.rfind(file.string() + ": warning: holds 19", 0), 0u) << run.output;
    EXPECT_NE(run.output.find(" items, fewer than 2000: the cells after the last are sky\n"),
              std::string::npos)
        << run.output;
}

TEST(LevelCheck, AReadingProblemIsTheOnlyOneReported) {
    ScratchDir dir;
    Grid grid = ReadGrid(kData / "level1.txt");
    grid[3][6] = "1";  // the player's start blocked...
    grid[9][9] = "3";  // ...and an unknown code, which stops the checks
    const fs::path file = WriteGrid(dir.Path() / "level1.txt", grid);
    const CommandResult run = Check(Quoted(file));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(LineCount(run.output), 1u) << run.output;
    EXPECT_EQ(run.output.rfind(file.string() + ":10:10:", 0), 0u) << run.output;
}

// The level comes from the file name unless --level names it: the same grid, blocked at
// level 2's start, fails as level 2 and passes as level 1.
TEST(LevelCheck, TheLevelComesFromTheNameOrTheOption) {
    ScratchDir dir;
    Grid grid = ReadGrid(kData / "level1.txt");
    grid[33][7] = "1";  // row 34, column 8: inside level 2's start, open sky in level 1
    const fs::path asTwo = WriteGrid(dir.Path() / "level2.txt", grid);
    const fs::path plain = WriteGrid(dir.Path() / "custom.txt", grid);
    EXPECT_EQ(Check(Quoted(asTwo)).exitCode, 1);
    EXPECT_EQ(Check("--level 2 " + Quoted(plain)).exitCode, 1);
    const CommandResult asOne = Check("--level 1 " + Quoted(plain));
    EXPECT_EQ(asOne.exitCode, 0) << asOne.output;
    EXPECT_EQ(asOne.output, plain.string() + ": ok\n");
    // Without a level the author is told how to give one.
    const CommandResult unknown = Check(Quoted(plain));
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.output.find("--level"), std::string::npos) << unknown.output;
}

TEST(LevelCheck, EveryFileIsCheckedAndOneFailureFailsTheRun) {
    ScratchDir dir;
    const fs::path missing = dir.Path() / "level1.txt";
    const fs::path good = kData / "level2.txt";
    const CommandResult run = Check(Quoted(missing) + " " + Quoted(good));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find(missing.string() + ": cannot be opened"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find(good.string() + ": ok"), std::string::npos) << run.output;
}

TEST(LevelCheck, AWrongCommandLineShowsTheUsage) {
    for (const std::string arguments : {"", "--level 3 x.txt", "--level", "--fast level1.txt"}) {
        SCOPED_TRACE(arguments);
        const CommandResult run = Check(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.output.find("usage: levelcheck"), std::string::npos) << run.output;
    }
}

}  // namespace
