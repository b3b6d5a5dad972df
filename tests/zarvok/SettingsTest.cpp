// The settings file: its text read and written, the file on disk, and the rule that an
// option on the command line beats the file for one run.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "GameFixture.h"
#include "MainLoop.h"
#include "SettingsFile.h"
#include "SoundEffects.h"
#include "ToolHarness.h"
#include "Vuderiv.h"

namespace {

using ToolTests::ReadFile;
using ToolTests::ScratchDir;
using ToolTests::WriteFile;
using Zarvok::Instellingen;
using Zarvok::LeesInstellingen;
using namespace std::string_literals;

TEST(SettingsText, EveryKeyWithCommentsBlanksCrlfAndNoFinalNewlineAndBackAgain) {
    const auto gelezen = LeesInstellingen(
        "# mine\n\n  scale=auto \r\nfullscreen = Yes\nmute =off\nvolume\t=  40 # quiet\nscale = 3");
    EXPECT_TRUE(gelezen.fouten.empty()) << gelezen.fouten.front();
    const Instellingen verwacht{3u, true, false, 40u};
    EXPECT_EQ(gelezen.waarden, verwacht);
    const Instellingen automatisch{0u, std::nullopt, true, std::nullopt};
    const std::string tekst = Zarvok::SchrijfInstellingen(automatisch);
    EXPECT_NE(tekst.find("scale = auto\nmute = yes\n"), std::string::npos) << tekst;
    EXPECT_EQ(LeesInstellingen(tekst).waarden, automatisch);
    EXPECT_EQ(LeesInstellingen(Zarvok::SchrijfInstellingen(verwacht)).waarden, verwacht);
    const Instellingen passend{Zarvok::kSchaalPassend, std::nullopt, std::nullopt, std::nullopt};
    EXPECT_EQ(LeesInstellingen("scale = fit\n").waarden, passend);
    EXPECT_NE(Zarvok::SchrijfInstellingen(passend).find("scale = fit\n"), std::string::npos);
}

TEST(SettingsText, EachKindOfBadContentIsOneFaultAndTheDefault) {
    struct Geval {
        std::string tekst;
        std::string fout;
    };
    const std::vector<Geval> gevallen = {
        {"scale = 0\nvolume = 5\n",
         "line 1: scale takes a whole number from 1, auto or fit, not '0'"},
        {"volume = 5\nscale = -2", "line 2: scale takes"},
        {"volume = 5\nvolume = 101\n", "line 2: volume takes a whole number 0..100, not '101'"},
        {"volume = 5\nmute = maybe\n", "line 2: mute takes yes or no, not 'maybe'"},
        {"volume = 5\nfullscreen =\n", "line 2: fullscreen takes yes or no, not ''"},  // cut off
        {"volume = 5\ncolour = red\n", "line 2: unknown key 'colour'"},
        {"volume = 5\nwords\n", "line 2: 'words' is no key = value line"},
        {"volume = 5\nscale = " + std::string(100, '9'),
         "line 2: scale takes a whole number from 1, auto or fit, not '9999"},
        // the numbers that stand for fit and for no choice are no scales
        {"volume = 5\nscale = 4294967295\n", "line 2: scale takes"},
        {"volume = 5\nscale = 4294967294\n", "line 2: scale takes"},
        {"volume = 5\0\n"s, "holds binary data"},
        {"volume = 5\n\x1b[2J", "holds binary data"},
        {"volume = 5\nmute = \xC2\x9B[2J", "line 2: mute takes yes or no, not '\\xC2\\x9B[2J'"},
        {"volume = 5\n" + std::string(Zarvok::kInstellingenMax, '#'), "larger than 64 KiB"},
    };
    const Instellingen alleenVolume{{}, {}, {}, 5u};
    for (const Geval& geval : gevallen) {
        const auto gelezen = LeesInstellingen(geval.tekst);
        ASSERT_EQ(gelezen.fouten.size(), 1u) << geval.fout;
        EXPECT_NE(gelezen.fouten[0].find(geval.fout), std::string::npos) << gelezen.fouten[0];
        const bool heel = geval.fout.starts_with("line");  // the sound lines still count
        EXPECT_EQ(gelezen.waarden, heel ? alleenVolume : Instellingen{}) << geval.fout;
    }
    const auto honderd = LeesInstellingen([] {
        std::string t;
        for (int i = 0; i < 100; ++i)
            t += "junk\n";
        return t;
    }());
    ASSERT_EQ(honderd.fouten.size(), 9u) << "a flood of faults is counted, not listed";
    EXPECT_EQ(honderd.fouten.back(), "92 more faulty lines, ignored");
}

TEST(SettingsText, AWrittenValueChangesOnlyItsKeysLinesAndAMissingKeyIsAppended) {
    const std::string oud =
        "\xEF\xBB\xBF# mine\r\nfullscreen = no   # F11\r\ncolour = red\nfullscreen=\nmute = maybe";
    EXPECT_EQ(Zarvok::SchrijfInstellingen({{}, true, false, 70u}, oud),
              "\xEF\xBB\xBF# mine\r\nfullscreen = yes   # F11\r\ncolour = red\nfullscreen= yes\n"
              "mute = no\nvolume = 70\n");
    const auto gelezen = LeesInstellingen("\xEF\xBB\xBFscale = 2\n");
    EXPECT_TRUE(gelezen.fouten.empty()) << gelezen.fouten.front();
    EXPECT_EQ(gelezen.waarden.schaal, 2u);
}

TEST(SettingsText, AnOptionOnTheCommandLineBeatsTheFileForItsKeyOnly) {
    const auto bestand = LeesInstellingen("scale = 2\nfullscreen = yes\nmute = no\nvolume = 30\n");
    std::vector<const char*> args = {"zarvok", "--scale", "1", "--mute"};
    const auto opdracht = Zarvok::LeesOpdrachtregel(static_cast<int>(args.size()), args.data());
    const Instellingen& w = bestand.waarden;
    const auto weergave = Zarvok::KiesWeergave(opdracht.weergave, {w.schaal, w.volledigScherm});
    EXPECT_EQ(weergave.schaal, 1u);
    EXPECT_TRUE(weergave.volledigScherm);
    const auto geluid = Zarvok::KiesGeluid(Zarvok::GevraagdGeluid(opdracht), {w.stil, w.volume});
    EXPECT_TRUE(geluid.stil);
    EXPECT_EQ(geluid.volume, 30u);
    const auto standaard = Zarvok::KiesGeluid(Zarvok::GevraagdGeluid({}), {});
    EXPECT_FALSE(standaard.stil);
    EXPECT_EQ(standaard.volume, Zarvok::kVolleVolume);
}

TEST(SettingsFile, TheXdgFolderWhenAbsoluteElseHomesConfig) {
    EXPECT_EQ(Zarvok::InstellingenPad("/x", "/h"), "/x/zarvok/settings");
    EXPECT_EQ(Zarvok::InstellingenPad("", "/h"), "/h/.config/zarvok/settings");
    EXPECT_EQ(Zarvok::InstellingenPad("rel", "/h"), "/h/.config/zarvok/settings");
    EXPECT_EQ(Zarvok::InstellingenPad(nullptr, nullptr), "");
    EXPECT_EQ(Zarvok::InstellingenPad(nullptr, "."), "");
}

TEST(SettingsFile, MissingIsSilentAnythingElseUnusableIsOneLine) {
    ScratchDir map;
    testing::internal::CaptureStderr();
    EXPECT_EQ(Zarvok::LaadInstellingen(map.Path() / "settings"), Instellingen{});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(mkfifo((map.Path() / "fifo").c_str(), 0600), 0);
    for (const char* naam : {"fifo", "."}) {  // a FIFO must not hold up the start
        testing::internal::CaptureStderr();
        EXPECT_EQ(Zarvok::LaadInstellingen(map.Path() / naam), Instellingen{});
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Zarvok: " + (map.Path() / naam).string() +
                      ": is not a plain file, so no settings are read from it\n");
    }
}

// A toggle recorded and written as the program thread does.
std::string Toggle(const std::filesystem::path& bestand, bool stil) {
    Zarvok::OnthoudInstellingen(bestand);
    Zarvok::OnthoudStil(stil);
    testing::internal::CaptureStderr();
    Zarvok::BewaarWensen();
    Zarvok::OnthoudInstellingen({});
    return testing::internal::GetCapturedStderr();
}

TEST(SettingsFile, AToggleChangesItsLineInTheFileAsItStandsNow) {
    ScratchDir map;
    const auto bestand = map.Path() / "new" / "zarvok" / "settings";
    Zarvok::OnthoudInstellingen(bestand);
    Zarvok::OnthoudVolledigScherm(true);
    Zarvok::OnthoudStil(false);
    Zarvok::BewaarWensen();
    EXPECT_EQ(LeesInstellingen(ReadFile(bestand)).waarden, (Instellingen{{}, true, false, {}}));
    // Edited while the game runs (by the player, or by a second game); a write that an
    // ended process left half-way, and one of a process still running.
    WriteFile(bestand, "# mine\nmute = no\nvolume = 40\nfullscreen = yes\n");
    WriteFile(bestand.string() + ".999999999.new", "half");
    WriteFile(bestand.string() + ".1.new", "busy");
    EXPECT_EQ(Toggle(bestand, true), "");
    EXPECT_EQ(ReadFile(bestand), "# mine\nmute = yes\nvolume = 40\nfullscreen = yes\n");
    EXPECT_EQ(ToolTests::FilesIn(bestand.parent_path()),
              (std::set<std::string>{"settings", "settings.1.new"}));

    WriteFile(map.Path() / "plain", "");  // a folder that cannot be made
    Zarvok::OnthoudInstellingen(map.Path() / "plain" / "zarvok" / "settings");
    testing::internal::CaptureStderr();
    Zarvok::OnthoudStil(true);
    Zarvok::BewaarWensen();
    Zarvok::OnthoudVolledigScherm(true);
    Zarvok::BewaarWensen();  // tried again, without another line
    Zarvok::OnthoudInstellingen({});
    const std::string gemeld = testing::internal::GetCapturedStderr();
    EXPECT_EQ(gemeld, "Zarvok: " + (map.Path() / "plain" / "zarvok" / "settings").string() +
                          ": cannot be read: Not a directory; the toggle is not remembered\n");
}

TEST(SettingsFile, AFileTheGameCannotReadIsNeverOverwritten) {
    ScratchDir map;
    const std::vector<std::string> inhouden = {
        "volume = 5\0\n"s,                                            // binary
        "\xFF\xFEm\0u\0t\0e\0 \0=\0 \0n\0o\0"s,                       // UTF-16
        "volume = 5\n" + std::string(Zarvok::kInstellingenMax, '#'),  // too large
    };
    for (const std::string& inhoud : inhouden) {
        const auto bestand = map.Path() / "settings";
        WriteFile(bestand, inhoud);
        const std::string gemeld = Toggle(bestand, true);
        EXPECT_EQ(ReadFile(bestand), inhoud);
        EXPECT_EQ(gemeld, "Zarvok: " + bestand.string() +
                              ": holds no settings the game can read, so it is left as it is; "
                              "the toggle is not remembered\n");
    }
    std::filesystem::create_directory(map.Path() / "folder");
    EXPECT_NE(Toggle(map.Path() / "folder", true).find("is not a plain file"), std::string::npos);
    EXPECT_EQ(ToolTests::FilesIn(map.Path()), (std::set<std::string>{"settings", "folder"}));
}

TEST(SettingsFile, ALinkedFileIsWrittenThroughTheLinkKeepingItsAccess) {
    ScratchDir map;
    const auto doel = map.Path() / "dotfiles" / "zarvok.conf";
    std::filesystem::create_directories(doel.parent_path());
    WriteFile(doel, "volume = 10\n");
    ASSERT_EQ(chmod(doel.c_str(), 0600), 0);
    const auto bestand = map.Path() / "config" / "settings";
    std::filesystem::create_directories(bestand.parent_path());
    std::filesystem::create_symlink("../dotfiles/zarvok.conf", bestand);
    EXPECT_EQ(Toggle(bestand, true), "");
    EXPECT_TRUE(std::filesystem::is_symlink(bestand));
    EXPECT_EQ(ReadFile(doel), "volume = 10\nmute = yes\n");
    struct stat status {};
    ASSERT_EQ(stat(doel.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    EXPECT_EQ(ToolTests::FilesIn(doel.parent_path()), std::set<std::string>{"zarvok.conf"});
}

TEST(SettingsFile, AFailedWriteGivesItsOwnReasonAndAFileSizeLimitEndsNoGame) {
    ScratchDir map;
    const auto bestand = map.Path() / "settings";
    std::string reden;
    const auto tijdelijk = bestand.string() + "." + std::to_string(getpid()) + ".new";
    std::filesystem::create_directory(tijdelijk);  // the temporary file cannot be made
    EXPECT_FALSE(Zarvok::BewaarInstellingen(bestand, {{}, {}, true, {}}, reden));
    EXPECT_EQ(reden, "cannot be written: Is a directory");
    std::filesystem::remove(tijdelijk);

    rlimit was{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &was), 0);
    rlimit klein = was;
    klein.rlim_cur = 8;  // smaller than any settings text
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &klein), 0);
    const bool bewaard = Zarvok::BewaarInstellingen(bestand, {{}, {}, true, {}}, reden);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &was), 0);
    EXPECT_FALSE(bewaard);
    EXPECT_EQ(reden, "cannot be written: File too large");
    EXPECT_TRUE(ToolTests::FilesIn(map.Path()).empty());
}

// F11 and M pressed in the window: the window thread records them, the program thread
// writes them.
class SettingsInTheWindow : public GameTest::GameTest {
protected:
    void TearDown() override {
        Vuderiv::EnableWindowKeys(false);
        Vuderiv::OnKeyPress(nullptr);
        Vuderiv::SetFullscreen(false);
        Vuderiv::SetMute(false);
        Zarvok::OnthoudInstellingen({});
        GameTest::GameTest::TearDown();
    }
};

TEST_F(SettingsInTheWindow, F11AndMAreRememberedWithTheFilesOtherValues) {
    const auto bestand = std::filesystem::path(dir_) / "config" / "zarvok" / "settings";
    std::filesystem::create_directories(bestand.parent_path());
    WriteFile(bestand, "volume = 40\n");
    Zarvok::OnthoudInstellingen(bestand);
    Vuderiv::EnableWindowKeys(true);
    Vuderiv::OnKeyPress(Zarvok::GeluidToets);
    ::GameTest::Hold({SDLK_F11, SDLK_m});
    ::GameTest::Release({SDLK_F11, SDLK_m});
    EXPECT_EQ(ReadFile(bestand), "volume = 40\n") << "the window thread writes no file";
    Zarvok::Pauze(0);  // the program thread does, at its next pause
    EXPECT_EQ(LeesInstellingen(ReadFile(bestand)).waarden, (Instellingen{{}, true, true, 40u}));
}

}  // namespace
