// Reading level files, refusing broken ones, and setting up a level.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "GameFixture.h"
#include "Level.h"
#include "Shared.h"

using namespace Zarvok;
using namespace GameTest;

namespace {

// A grid whose codes depend on the cell, so that any shift shows.
BACKGROUND Pattern() {
    BACKGROUND grid{};
    for (int rij = 1; rij <= kRijen; ++rij) {
        for (int kolom = 1; kolom <= kKolommen; ++kolom)
            grid[rij][kolom] = (rij * 7 + kolom) % 3;
    }
    return grid;
}

// The codes of the grid in order, each followed by the separator.
std::string Codes(const BACKGROUND& grid, const std::string& separator) {
    std::string text;
    for (int rij = 1; rij <= kRijen; ++rij) {
        for (int kolom = 1; kolom <= kKolommen; ++kolom) {
            text += std::to_string(grid[rij][kolom]) + separator;
        }
    }
    return text;
}

std::optional<LevelProblem> Read(const std::string& text, BACKGROUND& grid) {
    std::istringstream in(text);
    return LeesLevel(in, "test.txt", grid);
}

}  // namespace

TEST(LevelReader, SeparatorsAndLayoutsReadTheSameGrid) {
    const BACKGROUND expected = Pattern();
    for (const std::string separator : {" ", "\t", "\r\n", "\n", "\x1a", " \t\r \n"}) {
        BACKGROUND grid;
        ASSERT_FALSE(Read(Codes(expected, separator), grid));
        EXPECT_EQ(grid, expected);
    }
    BACKGROUND grid;
    std::string text = "   \n";
    for (int rij = 1; rij <= kRijen; ++rij) {  // 40 lines of 50
        for (int kolom = 1; kolom <= kKolommen; ++kolom)
            text += std::to_string(expected[rij][kolom]) + " ";
        text += "\n";
    }
    ASSERT_FALSE(Read(text, grid));
    EXPECT_EQ(grid, expected);
}

TEST(LevelReader, ShortLongAndOddItems) {
    BACKGROUND grid;
    std::string text = Codes(Pattern(), " ");
    ASSERT_FALSE(Read(text.substr(0, 1990 * 2), grid));  // 1990 codes
    for (int kolom = 1; kolom <= 40; ++kolom)
        EXPECT_EQ(grid[40][kolom], Pattern()[40][kolom]);
    for (int kolom = 41; kolom <= 50; ++kolom)
        EXPECT_EQ(grid[40][kolom], 0u);

    ASSERT_FALSE(Read(text + "7 abc 99999999999999 ", grid));  // ignored after the 2000th
    EXPECT_EQ(grid, Pattern());

    ASSERT_FALSE(Read("+1 1,2 abc -2 0002 2x +", grid));
    EXPECT_EQ(grid[1][1], 1u);  // "+" accepted
    EXPECT_EQ(grid[1][2], 1u);  // leading digits
    EXPECT_EQ(grid[1][3], 0u);  // no digits
    EXPECT_EQ(grid[1][4], 2u);  // after a sign
    EXPECT_EQ(grid[1][5], 2u);
    EXPECT_EQ(grid[1][6], 2u);
    EXPECT_EQ(grid[1][7], 0u);

    ASSERT_FALSE(Read("", grid));
    EXPECT_EQ(grid, BACKGROUND{});  // an empty file is all sky
}

TEST(LevelReader, RefusesCodesOtherThanTileCodes) {
    struct Case {
        std::string text;
        uint32_t rij, kolom;
        std::string message;
    };
    const std::string row1 = Codes(Pattern(), " ").substr(0, 50 * 2);
    const Case cases[] = {
        {"3", 1, 1, "test.txt, row 1, column 1: \"3\" is not a tile code"},
        {row1 + "0 0 12abc", 2, 3, "test.txt, row 2, column 3: \"12abc\" is not a tile code"},
        {"1 4294967296", 1, 2, "\"4294967296\" is a number above 4294967295"},
        {std::string(40, '9'), 1, 1, "\"" + std::string(24, '9') + "...\" is a number above"},
        {"1 4294967295", 1, 2, "\"4294967295\" is not a tile code"},
        {"7\x01\xff", 1, 1, "\"7\\x01\\xFF\" is not a tile code"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        BACKGROUND grid = Pattern();
        const auto fout = Read(c.text, grid);
        ASSERT_TRUE(fout);
        EXPECT_EQ(fout->rij, c.rij);
        EXPECT_EQ(fout->kolom, c.kolom);
        EXPECT_NE(fout->Bericht().find(c.message), std::string::npos) << fout->Bericht();
        EXPECT_EQ(grid, Pattern());  // left as it was
    }
    BACKGROUND grid;
    const auto missing = LeesLevelBestand("no/such/level.txt", grid);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->rij, 0u);
    EXPECT_EQ(missing->Bericht(), "no/such/level.txt: cannot be opened: No such file or directory");
    EXPECT_TRUE(LeesLevelBestand("/tmp", grid));
}

TEST(LevelReader, DevicesPipesAndFilesLargerThanAnyLevelAreRefused) {
    BACKGROUND grid = Pattern();
    const auto device = LeesLevelBestand("/dev/zero", grid);  // would never end
    ASSERT_TRUE(device);
    EXPECT_EQ(device->Bericht(), "/dev/zero: cannot be opened: it is not a plain file");
    const std::string dir = testing::TempDir() + "levels-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    const std::string pipe = dir + "/pipe.txt";  // opening it would wait for a writer
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_TRUE(LeesLevelBestand(pipe, grid));
    EXPECT_EQ(grid, Pattern());

    // 1 MiB: the codes, then a run of NUL characters to the end, one item without digits.
    const std::string huge = dir + "/huge.txt";
    std::ofstream(huge) << Codes(Pattern(), "\r\n").substr(0, 1999 * 3);
    std::filesystem::resize_file(huge, 1 << 20);
    grid = BACKGROUND{};
    EXPECT_FALSE(LeesLevelBestand(huge, grid));
    EXPECT_EQ(grid, Pattern());  // the 2000th code reads as sky, as does Pattern()'s
    // One byte more, or 40 GB, is refused at once with the file's size; nothing is read.
    for (const uintmax_t bytes : {(1u << 20) + 1ull, 40'000'000'000ull}) {
        std::filesystem::resize_file(huge, bytes);
        grid = BACKGROUND{};
        const auto groot = LeesLevelBestand(huge, grid);
        ASSERT_TRUE(groot);
        EXPECT_EQ(groot->Bericht(), huge + ": cannot be used: it holds " + std::to_string(bytes) +
                                        " bytes, more than any level (1048576 at most)");
        EXPECT_EQ(grid, BACKGROUND{});
    }
    std::filesystem::remove_all(dir);
}

class LevelSetUp : public GameTest::GameTest {};

TEST_F(LevelSetUp, ImagesAreLoadedOnceAndTheirHandlesKept) {
    StartLevel();
    const uint32_t table = Vuderiv::detail::BitmapTableLength();
    EXPECT_EQ(table, 10u);  // seven sprites, three tiles
    const ADD_BITMAPS_AR bitmaps = Bitmaps;
    for (int i = 1; i <= 5; ++i)
        EXPECT_NE(Bitmaps[i], 0u);
    Levelvar = LEVEL2;
    Settings();
    Levelvar = LEVEL1;
    Settings();
    EXPECT_EQ(Vuderiv::detail::BitmapTableLength(), table);
    EXPECT_EQ(Bitmaps, bitmaps);
}

TEST_F(LevelSetUp, LevelOneStartsAGameAndClearsTheExplosionFlags) {
    StartLevel();
    Manneke = {};
    Highscore = 700;
    Array_index_vijanden = 2;
    Vijanden_ar[1].DoodEnGetekend = true;
    Vijanden_ar[2].DoodEnGetekend = true;
    Vijanden_ar[3].DoodEnGetekend = true;  // not in play: kept
    Kogels[7].Status = ALIVE;
    Settings();
    EXPECT_EQ(Manneke.Huidigepos_x, 100);
    EXPECT_EQ(Manneke.Huidigepos_y, 40);
    EXPECT_EQ(Manneke.Levens, 100);
    EXPECT_EQ(Manneke.Sprong, NIHIL);
    EXPECT_EQ(Highscore, 0u);
    EXPECT_FALSE(Vijanden_ar[1].DoodEnGetekend);
    EXPECT_FALSE(Vijanden_ar[2].DoodEnGetekend);
    EXPECT_TRUE(Vijanden_ar[3].DoodEnGetekend);
    EXPECT_EQ(Kogels[7].Status, DEAD);
    EXPECT_EQ(Delta_vijand_app, 50u);
    EXPECT_EQ(Teller_spring, 1u);
    EXPECT_EQ(Background, FlatLevel());
}

TEST(RunTimeChecks, IndexOutsideAndOverflowStopTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(Kogels[31].Status = DEAD, "run-time error: index 31 outside 1..30");
    EXPECT_DEATH(Background[0][1] = 0, "index 0 outside 1..40");
    EXPECT_DEATH(CheckedSub(0u, 1u), "run-time error: arithmetic overflow");
    EXPECT_DEATH(MoeilijkheidVan(3), "index 3 outside 0..2");
}
