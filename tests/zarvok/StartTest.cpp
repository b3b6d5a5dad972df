// Before the window opens: the command line, and the choice of the folder the game
// reads its levels and images from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "DataFolder.h"
#include "ToolHarness.h"

namespace {

namespace fs = std::filesystem;
using ToolTests::ScratchDir;
using ToolTests::WriteFile;
using Zarvok::Opdracht;

Opdracht Lees(std::vector<const char*> args) {
    args.insert(args.begin(), "zarvok");
    return Zarvok::LeesOpdrachtregel(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, NamesTheDataFolderOrAsksForHelpVersionOrAGame) {
    EXPECT_EQ(Lees({}).soort, Opdracht::SPELEN);
    EXPECT_EQ(Lees({}).dataMap, "");
    EXPECT_EQ(Lees({"--data", "/a b"}).dataMap, "/a b");
    EXPECT_EQ(Lees({"--data=x", "--data", "y"}).dataMap, "y");
    EXPECT_EQ(Lees({"--data=x"}).soort, Opdracht::SPELEN);
    EXPECT_EQ(Lees({"--data=x"}).dataMap, "x");
    EXPECT_EQ(Lees({"--help"}).soort, Opdracht::HULP);
    EXPECT_EQ(Lees({"--data", "x", "--version"}).soort, Opdracht::VERSIE);
}

TEST(CommandLine, HelpSaysWhereTheSettingsFileLives) {
    const char* given = std::getenv("HOME");
    const std::string home = given != nullptr ? given : "";
    setenv("XDG_CONFIG_HOME", "/x/y", 1);
    EXPECT_NE(Zarvok::Hulptekst().find("\n  /x/y/zarvok/settings\n"), std::string::npos);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");  // nowhere to keep it: not mentioned
    EXPECT_EQ(Zarvok::Hulptekst().find("standing choice"), std::string::npos);
    if (given != nullptr) setenv("HOME", home.c_str(), 1);
}

TEST(CommandLine, AnythingElseIsAFaultNamingIt) {
    const std::vector<std::vector<const char*>> fouten = {
        {"--data"}, {"--data="}, {"--datax"}, {"level1.txt"}, {"-d", "x"}, {"--help=1"}};
    for (const auto& args : fouten) {
        const Opdracht opdracht = Lees(args);
        EXPECT_EQ(opdracht.soort, Opdracht::FOUT) << args[0];
        EXPECT_NE(opdracht.fout.find(args[0]), std::string::npos) << opdracht.fout;
    }
}

TEST(CommandLine, MuteAndAVolumeFrom0To100) {
    EXPECT_FALSE(Lees({}).stil);
    EXPECT_EQ(Lees({}).volume, -1);
    EXPECT_TRUE(Lees({"--mute", "--data", "x"}).stil);
    EXPECT_EQ(Lees({"--volume", "0"}).volume, 0);
    EXPECT_EQ(Lees({"--volume=100", "--mute"}).volume, 100);
    EXPECT_EQ(Lees({"--volume=7", "--volume", "42"}).volume, 42);
    for (const auto& args : std::vector<std::vector<const char*>>{{"--volume"},
                                                                  {"--volume="},
                                                                  {"--volume", "101"},
                                                                  {"--volume", "-1"},
                                                                  {"--volume", "5x"},
                                                                  {"--volume", "1000"},
                                                                  {"--mute=1"},
                                                                  {"--volumes=5"}}) {
        const Opdracht opdracht = Lees(args);
        EXPECT_EQ(opdracht.soort, Opdracht::FOUT) << args[0] << " " << args.back();
        EXPECT_NE(opdracht.fout.find(args[0]), std::string::npos) << opdracht.fout;
    }
}

// Three folders: the first empty, the others each with one piece of game data.
class DataChoice : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* naam : {"leeg", "beelden", "niveau"})
            fs::create_directory(root_.Path() / naam);
        fs::create_directory(Map("beelden") / "images");
        WriteFile(Map("beelden") / "images" / "Menu.bmp", "");
        WriteFile(Map("niveau") / "level2.txt", "0");
    }
    fs::path Map(const char* naam) const { return root_.Path() / naam; }

private:
    ScratchDir root_;
};

TEST_F(DataChoice, TheFirstFolderHoldingAnyPieceOfTheDataWins) {
    EXPECT_EQ(Zarvok::KiesDataMap({Map("leeg"), Map("beelden"), Map("niveau")}), Map("beelden"));
    EXPECT_EQ(Zarvok::KiesDataMap({Map("leeg"), Map("niveau"), Map("beelden")}), Map("niveau"));
    // A file named like the images folder, or a folder named like a level, is no data.
    WriteFile(Map("leeg") / "images", "");
    fs::create_directory(Map("leeg") / "level1.txt");
    EXPECT_FALSE(Zarvok::HoudtSpelData(Map("leeg")));
}

TEST_F(DataChoice, AFolderNamedImagesWithoutTheMenuPictureIsNoData) {
    fs::create_directories(Map("leeg") / "images" / "Menu.bmp" / "x");  // even with a folder
    WriteFile(Map("leeg") / "images" / "lucht.bmp", "");
    EXPECT_FALSE(Zarvok::HoudtSpelData(Map("leeg")));
    EXPECT_EQ(Zarvok::KiesDataMap({Map("leeg"), Map("niveau")}), Map("niveau"));
}

TEST_F(DataChoice, NoneFoundNamesEveryFolderLookedIn) {
    const std::vector<fs::path> kandidaten = {Map("leeg"), Map("nergens")};
    EXPECT_FALSE(Zarvok::KiesDataMap(kandidaten).has_value());
    const std::string bericht = Zarvok::GeenDataBericht(kandidaten);
    EXPECT_NE(bericht.find(Map("leeg").string() + ", " + Map("nergens").string()),
              std::string::npos)
        << bericht;
    EXPECT_EQ(bericht.find('\n'), std::string::npos) << "one line";
}

TEST(DataCandidates, InstalledBesideTheProgramAndTheSourceTreeOnlyForTheBuiltProgram) {
    const std::vector<fs::path> geinstalleerd =
        Zarvok::DataKandidaten("/werk", "/opt/spel/bin/zarvok");
    EXPECT_EQ(geinstalleerd, (std::vector<fs::path>{"/werk", "/opt/spel/share/zarvok"}));
    const std::vector<fs::path> gebouwd =
        Zarvok::DataKandidaten("/werk", fs::path(ZARVOK_BINARY_DIR) / "zarvok");
    ASSERT_EQ(gebouwd.size(), 3u);
    EXPECT_EQ(gebouwd[0], "/werk");
    EXPECT_EQ(gebouwd[2], fs::path(ZARVOK_SOURCE_DIR) / "data");
}

}  // namespace
