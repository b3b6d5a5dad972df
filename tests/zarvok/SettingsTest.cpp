// The settings file: its text read and written, the file on disk, and the rule that an
// option on the command line beats the file for one run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "GameFixture.h"
#include "Geluid.h"
#include "InstellingenBestand.h"
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

TEST(SettingsFile, AToggleRewritesTheFileValuesWithTheToggledOneChanged) {
    ScratchDir map;
    const auto bestand = map.Path() / "new" / "zarvok" / "settings";
    Zarvok::OnthoudInstellingen(bestand, LeesInstellingen("scale = 2\n").waarden);
    Zarvok::OnthoudVolledigScherm(true);
    Zarvok::OnthoudStil(true);
    EXPECT_EQ(LeesInstellingen(ReadFile(bestand)).waarden, (Instellingen{2u, true, true, {}}));
    EXPECT_EQ(ToolTests::FilesIn(bestand.parent_path()), std::set<std::string>{"settings"});

    WriteFile(map.Path() / "plain", "");  // a folder that cannot be made
    Zarvok::OnthoudInstellingen(map.Path() / "plain" / "zarvok" / "settings", {});
    testing::internal::CaptureStderr();
    Zarvok::OnthoudStil(false);
    Zarvok::OnthoudVolledigScherm(false);
    const std::string gemeld = testing::internal::GetCapturedStderr();
    EXPECT_NE(gemeld.find("cannot be written (its folder cannot be made"), std::string::npos)
        << gemeld;
    EXPECT_EQ(std::count(gemeld.begin(), gemeld.end(), '\n'), 1) << "one line per run";
    Zarvok::OnthoudInstellingen({}, {});
}

// F11 and M pressed in the window: the window thread rewrites the file.
class SettingsInTheWindow : public GameTest::GameTest {
protected:
    void TearDown() override {
        Vuderiv::EnableWindowKeys(false);
        Vuderiv::OnKeyPress(nullptr);
        Vuderiv::SetFullscreen(false);
        Vuderiv::SetMute(false);
        Zarvok::OnthoudInstellingen({}, {});
        GameTest::GameTest::TearDown();
    }
};

TEST_F(SettingsInTheWindow, F11AndMAreRememberedWithTheFilesOtherValues) {
    const auto bestand = std::filesystem::path(dir_) / "config" / "zarvok" / "settings";
    Zarvok::OnthoudInstellingen(bestand, LeesInstellingen("volume = 40\n").waarden);
    Vuderiv::EnableWindowKeys(true);
    Vuderiv::OnKeyPress(Zarvok::GeluidToets);
    ::GameTest::Hold({SDLK_F11, SDLK_m});
    ::GameTest::Release({SDLK_F11, SDLK_m});
    EXPECT_EQ(LeesInstellingen(ReadFile(bestand)).waarden, (Instellingen{{}, true, true, 40u}));
}

}  // namespace
