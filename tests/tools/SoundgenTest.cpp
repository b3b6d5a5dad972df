// The game's sounds: the committed files are exactly what the generator makes from the
// descriptions, two runs give the same bytes, every sound loads in the sound service, and
// a faulty description names its file and line.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Sound.h"
#include "ToolHarness.h"
#include "Vuderiv.h"

namespace {

namespace fs = std::filesystem;
using ToolTests::FilesIn;
using ToolTests::Quoted;
using ToolTests::ReadFile;
using ToolTests::RunCommand;
using ToolTests::ScratchDir;
using ToolTests::WriteFile;

const fs::path kSourceDir = ZARVOK_SOURCE_DIR;
const fs::path kSounds = kSourceDir / "data/sounds";
const fs::path kDescription = kSourceDir / "tools/sounds/sounds.txt";

const std::set<std::string> kExpected = {
    "schot.wav",        "treffer.wav",        "vijand_dood.wav",   "manneke_geraakt.wav",
    "manneke_dood.wav", "level_gewonnen.wav", "spel_gewonnen.wav", "knop.wav",
};

ToolTests::CommandResult Generate(const fs::path& description, const fs::path& outDir) {
    return RunCommand(std::string(SOUNDGEN_PATH) + " " + Quoted(description) + " " +
                      Quoted(outDir));
}

TEST(SoundGenerator, CommittedSoundsAreWhatTwoRunsOfTheDescriptionMake) {
    ScratchDir first, second;
    ASSERT_EQ(Generate(kDescription, first.Path()).exitCode, 0);
    ASSERT_EQ(Generate(kDescription, second.Path()).exitCode, 0);
    EXPECT_EQ(FilesIn(first.Path()), kExpected);
    EXPECT_EQ(FilesIn(kSounds), kExpected);
    for (const std::string& name : kExpected) {
        const std::string made = ReadFile(first.Path() / name);
        EXPECT_GT(made.size(), 44u) << name;
        EXPECT_TRUE(made == ReadFile(second.Path() / name)) << name << " differs between runs";
        EXPECT_TRUE(made == ReadFile(kSounds / name))
            << name << " differs from its description: regenerate with `ninja sounds`";
        EXPECT_NE(Vuderiv::LoadSound((kSounds / name).c_str()), 0u) << name;
    }
}

// The whole-number voices against the waves they stand for, within 2 of 32767.
TEST(SoundGenerator, AVoiceIsTheWaveItsDescriptionSays) {
    using Soundgen::Wave;
    const auto render = [](Wave wave, double from, double to, double halfLife) {
        Soundgen::Voice v{wave, 0, -1, from, to, 0.5, 0, halfLife, 0, 1};
        return Soundgen::Render({"v.wav", 1.0, {v}});
    };
    const std::vector<int16_t> sine = render(Wave::Sine, 441, 441, 0);
    ASSERT_EQ(sine.size(), 22050u);
    for (size_t i = 0; i < sine.size(); i += 7) {
        const double wanted = 0.5 * 32767 * std::sin(2 * 3.14159265358979 * 441 * i / 22050.0);
        ASSERT_NEAR(sine[i], wanted, 2) << i;
    }
    // A square wave halves each half-life: 0.1 s is 2205 samples.
    const std::vector<int16_t> square =
        render(Wave::Square, 2, 2, 0.1);  // high all of the first 0.25 s
    EXPECT_NEAR(square[2205], 16384 / 2, 2);
    EXPECT_NEAR(square[4410], 16384 / 4, 2);
    // A saw sweeping one octave up: its rise per sample follows the pitch, 441 to 882 Hz.
    const std::vector<int16_t> saw = render(Wave::Saw, 441, 882, 0);
    EXPECT_NEAR(saw[101] - saw[100], 32767 * 441 / 22050.0, 2);
    EXPECT_NEAR(saw[22001] - saw[22000], 32767 * 882 / 22050.0 * (1 - 50 / 22050.0), 2);
}

TEST(SoundGenerator, FaultyDescriptionsAreReportedWithFileAndLine) {
    struct Case {
        std::string text, expected;
    };
    const std::vector<Case> cases = {
        {"square pitch 440\n", "sounds.txt:1: no sound started"},
        {"sound a.wav 1\nhum pitch 3\n", "sounds.txt:2: unknown command: hum"},
        {"sound a.wav 1\nsine pitch x\n", "sounds.txt:2: not a number: x"},
        {"sound a.wav 1\nsine pitch 0\n", "sounds.txt:2: pitch out of range: 0"},
        {"sound a.wav 1\nsine loud 1\n", "sounds.txt:2: unknown voice setting: loud"},
        {"sound a.wav 1\nsine at 2\n", "sounds.txt:2: start out of range: 2"},
        {"sound a.wav 1\nsine volume\n", "sounds.txt:2: missing volume"},
        {"sound a.wav 99\n", "sounds.txt:1: sound length out of range: 99"},
        {"sound a.wav 1\nsound a.wav 1\n", "sounds.txt:2: sound made twice: a.wav"},
        {"sound ../a.wav 1\n", "sounds.txt:1: not a plain NAME.wav: ../a.wav"},
    };
    for (const Case& c : cases) {
        ScratchDir in, out;
        WriteFile(in.Path() / "sounds.txt", c.text);
        const auto run = Generate(in.Path() / "sounds.txt", out.Path());
        EXPECT_EQ(run.exitCode, 1) << c.text;
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << c.text << run.output;
        EXPECT_TRUE(fs::is_empty(out.Path())) << c.text;
    }
    const auto missing = Generate("/nonexistent/sounds.txt", "/nonexistent/out");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("sounds.txt: cannot open the file"), std::string::npos);
}

}  // namespace
