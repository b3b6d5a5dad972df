// The game's sounds as a player hears them, through SDL's disk driver: silence until the
// frame that fires, the shot after it; muted silence until M turns the sound on; the volume
// the player chose.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "CommandLine.h"
#include "DiskAudio.h"
#include "GameFixture.h"
#include "SettingsFile.h"
#include "SoundEffects.h"
#include "Vuderiv.h"

using namespace Zarvok;
using namespace GameTest;
using TestSupport::DiskAudio;
using TestSupport::FirstSound;

namespace {

constexpr size_t kCallbackBytes = 512 * 2;  // one callback of 16-bit mono samples

class GameSound : public GameTest::GameTest {
protected:
    void SetUp() override {
        GameTest::GameTest::SetUp();
        std::filesystem::copy(std::filesystem::path(ZARVOK_SOURCE_DIR) / "data/sounds", "sounds");
        StartLevel();
        PlacePlayer(kSafeX, kSafeY);
    }
    void TearDown() override {
        StopGeluid();
        Vuderiv::SetMute(false);
        GameTest::GameTest::TearDown();
    }
    // Fires one bullet in a frame of its own and lets the device play on; the samples
    // written before that frame began come back in `before`.
    static void ShootOnce(const DiskAudio& disk, size_t& before) {
        before = disk.Written() / 2;
        Hold({SDLK_LCTRL});
        Frames(1);
        Release({SDLK_LCTRL});
        ASSERT_EQ(Kogels[1].Status, ALIVE);
        Kogels[1].Status = DEAD;
        disk.WaitFor(16 * kCallbackBytes);
    }
};

// The loudest and the softest sample of the shot as its file holds them (16-bit mono
// after the sound generator's 44-byte header).
std::pair<int16_t, int16_t> ShotPeaks() {
    std::ifstream in("sounds/schot.wav", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<int16_t> samples((bytes.size() - 44) / 2);
    std::copy_n(bytes.data() + 44, samples.size() * 2, reinterpret_cast<char*>(samples.data()));
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    return {*high, *low};
}

}  // namespace

TEST_F(GameSound, AShotIsHeardAfterTheFrameThatFiresItAndNotBefore) {
    const DiskAudio disk;
    StartGeluid({});
    ASSERT_TRUE(Vuderiv::SoundIsOpen());
    Frames(3);  // walking about makes no sound
    disk.WaitFor(4 * kCallbackBytes);
    size_t before = 0;
    ShootOnce(disk, before);
    StopGeluid();
    const auto out = disk.Samples();
    ASSERT_GT(before, 0u);
    const size_t first = FirstSound(out);
    ASSERT_NE(first, std::string::npos) << "the shot was not heard";
    EXPECT_GE(first, before);
}

TEST_F(GameSound, MutedShotsAreSilentUntilTheMKeyTurnsTheSoundOn) {
    const DiskAudio disk;
    StartGeluid({.stil = true});
    disk.WaitFor(4 * kCallbackBytes);
    size_t muted = 0, heard = 0;
    ShootOnce(disk, muted);
    Hold({SDLK_m});
    Release({SDLK_m});
    EXPECT_FALSE(Vuderiv::Muted());
    ShootOnce(disk, heard);
    StopGeluid();
    const auto out = disk.Samples();
    const size_t first = FirstSound(out);
    ASSERT_NE(first, std::string::npos) << "nothing heard once M turned the sound on";
    EXPECT_GE(first, heard);
}

// The volume in the settings file is heard, and --volume beats it.
TEST_F(GameSound, TheVolumeOfTheSettingsFileOrTheCommandLineIsHeard) {
    std::ofstream("settings") << "volume = 30\n";
    const Instellingen bestand = LaadInstellingen("settings");
    const auto [high, low] = ShotPeaks();
    const std::vector<std::pair<std::vector<const char*>, int32_t>> runs = {
        {{"zarvok"}, 30}, {{"zarvok", "--volume", "40"}, 40}};
    for (const auto& [args, volume] : runs) {
        const Opdracht opdracht = LeesOpdrachtregel(static_cast<int>(args.size()), args.data());
        const DiskAudio disk;
        StartGeluid(KiesGeluid(GevraagdGeluid(opdracht), {bestand.stil, bestand.volume}));
        disk.WaitFor(4 * kCallbackBytes);
        size_t before = 0;
        ShootOnce(disk, before);
        StopGeluid();
        const auto out = disk.Samples();
        const auto [quietest, loudest] = std::minmax_element(out.begin(), out.end());
        EXPECT_EQ(*loudest, high * volume / 100) << args.size();
        EXPECT_EQ(*quietest, low * volume / 100) << args.size();
    }
}
