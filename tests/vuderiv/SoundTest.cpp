// The sound service heard through SDL's disk driver: what is played comes out after the
// silence before it, mute and volume 0 silence it, and files or devices that fail cost
// one line on standard error and nothing else.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DiskAudio.h"
#include "Vuderiv.h"
#include "Wav.h"

namespace {

namespace fs = std::filesystem;
using TestSupport::DiskAudio;
using TestSupport::FirstSound;

constexpr size_t kBeepSamples = 4000;
constexpr size_t kCallbackBytes = 512 * 2;  // one callback of 16-bit mono samples

// A scratch file of the given bytes, removed when this object goes.
class ScratchFile {
public:
    ScratchFile(const std::string& name, const std::string& bytes)
        : path_(fs::temp_directory_path() / (std::to_string(getpid()) + "-" + name)) {
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~ScratchFile() { fs::remove(path_); }
    const char* Path() const { return path_.c_str(); }

private:
    fs::path path_;
};

class SoundTest : public ::testing::Test {
protected:
    void TearDown() override {
        Vuderiv::CloseSound();
        Vuderiv::SetMute(false);
        Vuderiv::SetVolume(100);
    }
    // Plays the beep once the device runs, and returns what came out: the samples
    // written before the play (all of them silent, if the device is right) in `before`.
    std::vector<int16_t> PlayBeep(size_t& before) {
        const DiskAudio disk;
        const ScratchFile wav("beep.wav",
                              Soundgen::WavFile(TestSupport::Beep(kBeepSamples), 22050));
        EXPECT_TRUE(Vuderiv::OpenSound());
        const uint32_t beep = Vuderiv::LoadSound(wav.Path());
        EXPECT_NE(beep, 0u);
        disk.WaitFor(4 * kCallbackBytes);
        before = disk.Written() / 2;
        Vuderiv::PlaySound(beep);
        disk.WaitFor(kBeepSamples * 2 + 4 * kCallbackBytes);
        Vuderiv::CloseSound();
        return disk.Samples();
    }
};

TEST_F(SoundTest, APlayedSoundIsHeardAfterTheSilenceBeforeIt) {
    size_t before = 0;
    const std::vector<int16_t> out = PlayBeep(before);
    ASSERT_GT(before, 0u);
    const size_t first = FirstSound(out);
    ASSERT_NE(first, std::string::npos) << "nothing was heard";
    EXPECT_GE(first, before);
    // The whole beep, at full volume, then silence again.
    EXPECT_EQ(out[first], 8000);
    EXPECT_EQ(FirstSound(out, first + kBeepSamples), std::string::npos);
    EXPECT_EQ(out[first + kBeepSamples - 1], -8000);
}

TEST_F(SoundTest, MuteAndVolumeZeroAreSilentAndHalfVolumeIsHalf) {
    size_t before = 0;
    Vuderiv::SetMute(true);
    EXPECT_EQ(FirstSound(PlayBeep(before)), std::string::npos) << "muted";
    Vuderiv::SetMute(false);
    Vuderiv::SetVolume(0);
    EXPECT_EQ(FirstSound(PlayBeep(before)), std::string::npos) << "volume 0";
    Vuderiv::SetVolume(50);
    const std::vector<int16_t> half = PlayBeep(before);
    const size_t first = FirstSound(half);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(half[first], 4000);
    Vuderiv::SetVolume(250);
    EXPECT_EQ(Vuderiv::Volume(), 100u);
}

// Each bad file: handle 0 and one line naming it; playing the 0 handle stays silent.
TEST_F(SoundTest, ABadFileGivesOneLineNamingItAndSilence) {
    const std::string wav = Soundgen::WavFile(TestSupport::Beep(100), 22050);
    const ScratchFile garbage("garbage.wav", "this is not a sound at all");
    const ScratchFile cut("cut.wav", wav.substr(0, 30));
    const ScratchFile empty("empty.wav", Soundgen::WavFile({}, 22050));
    const DiskAudio disk;
    ASSERT_TRUE(Vuderiv::OpenSound());
    for (const char* file : {garbage.Path(), cut.Path(), empty.Path(), "/nonexistent/x.wav"}) {
        testing::internal::CaptureStderr();
        const uint32_t sound = Vuderiv::LoadSound(file);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(sound, 0u) << file;
        EXPECT_NE(err.find(file), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        Vuderiv::PlaySound(sound);
    }
    Vuderiv::PlaySound(7);  // never loaded
    disk.WaitFor(8 * kCallbackBytes);
    Vuderiv::CloseSound();
    EXPECT_EQ(FirstSound(disk.Samples()), std::string::npos);
}

TEST_F(SoundTest, NoUsableDeviceGivesOneLineAndEveryCallStaysHarmless) {
    setenv("SDL_AUDIODRIVER", "nothing-by-this-name", 1);
    const ScratchFile wav("beep.wav", Soundgen::WavFile(TestSupport::Beep(100), 22050));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Vuderiv::OpenSound());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("no sound"), std::string::npos) << err;
    EXPECT_FALSE(Vuderiv::SoundIsOpen());
    const uint32_t beep = Vuderiv::LoadSound(wav.Path());
    EXPECT_NE(beep, 0u);  // loading does not need a device
    Vuderiv::PlaySound(beep);
    Vuderiv::SetMute(true);
    Vuderiv::CloseSound();
}

}  // namespace

// --- Playing or not, waiting, looping, stopping, volume per sound, overlaps ----------------

namespace {

constexpr size_t kCallbackSamples = kCallbackBytes / 2;

// A square wave of `count` samples at +-`height`, 50 samples a period.
std::vector<int16_t> Square(size_t count, int16_t height) {
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>((i / 25) % 2 == 0 ? height : -height);
    return samples;
}

int LargestSize(const std::vector<int16_t>& samples) {
    int largest = 0;
    for (const int16_t v : samples)
        largest = std::max(largest, std::abs(static_cast<int>(v)));
    return largest;
}

}  // namespace

TEST_F(SoundTest, APlayIsUnderWayUntilItHasBeenHeardAndWaitSoundsLetsItEnd) {
    const DiskAudio disk;
    const ScratchFile wav("beep.wav", Soundgen::WavFile(TestSupport::Beep(kBeepSamples), 22050));
    EXPECT_FALSE(Vuderiv::SoundPlaying(0));  // no device
    ASSERT_TRUE(Vuderiv::OpenSound());
    const uint32_t beep = Vuderiv::LoadSound(wav.Path());
    Vuderiv::SetSoundVolume(beep, 50);
    EXPECT_FALSE(Vuderiv::SoundPlaying(beep));
    Vuderiv::PlaySound(beep);
    EXPECT_TRUE(Vuderiv::SoundPlaying(beep));
    EXPECT_TRUE(Vuderiv::SoundPlaying(0));
    EXPECT_TRUE(Vuderiv::WaitSounds(120000));  // bounded only to end a hung device
    EXPECT_FALSE(Vuderiv::SoundPlaying(beep));
    Vuderiv::CloseSound();  // at once: the whole beep has been mixed already
    const std::vector<int16_t> out = disk.Samples();
    const size_t first = FirstSound(out);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(out[first], 4000);  // at half its volume
    ASSERT_GE(out.size(), first + kBeepSamples);
    EXPECT_EQ(out[first + kBeepSamples - 1], -4000);
}

TEST_F(SoundTest, ALoopRepeatsUntilStoppedAndWaitSoundsDoesNotWaitForIt) {
    constexpr size_t kPeriod = 100;  // two square periods: a loop of it is one long square
    const DiskAudio disk;
    const ScratchFile wav("loop.wav", Soundgen::WavFile(TestSupport::Beep(kPeriod), 22050));
    ASSERT_TRUE(Vuderiv::OpenSound());
    const uint32_t loop = Vuderiv::LoadSound(wav.Path());
    Vuderiv::LoopSound(loop);
    EXPECT_TRUE(Vuderiv::WaitSounds(0));  // loops never end by themselves
    disk.WaitFor(8 * kCallbackBytes);
    EXPECT_TRUE(Vuderiv::SoundPlaying(loop));
    Vuderiv::StopSound(loop);
    disk.WaitFor(4 * kCallbackBytes);
    EXPECT_FALSE(Vuderiv::SoundPlaying(loop));
    const size_t stopped = disk.Written() / 2;
    disk.WaitFor(4 * kCallbackBytes);
    Vuderiv::CloseSound();
    const std::vector<int16_t> out = disk.Samples();
    const size_t first = FirstSound(out);
    ASSERT_NE(first, std::string::npos);
    // At least four callbacks' worth of the square without a break, then silence.
    for (size_t i = first; i < first + 4 * kCallbackSamples; ++i)
        ASSERT_EQ(out[i], ((i - first) / 25) % 2 == 0 ? 8000 : -8000) << i - first;
    EXPECT_EQ(FirstSound(out, stopped), std::string::npos);
}

// Two loud sounds together would add up to twice full scale: the mix is turned down, never
// cut off at full scale.
TEST_F(SoundTest, TwoLoudOverlappingSoundsStayBelowFullScale) {
    constexpr size_t kLength = 8 * kCallbackSamples;
    const DiskAudio disk;
    const ScratchFile wav("loud.wav", Soundgen::WavFile(Square(kLength, 30000), 22050));
    ASSERT_TRUE(Vuderiv::OpenSound());
    const uint32_t loud = Vuderiv::LoadSound(wav.Path());
    disk.WaitFor(2 * kCallbackBytes);
    Vuderiv::PlaySound(loud);
    Vuderiv::PlaySound(loud);
    ASSERT_TRUE(Vuderiv::WaitSounds(120000));
    Vuderiv::CloseSound();
    const std::vector<int16_t> out = disk.Samples();
    const size_t first = FirstSound(out);
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(LargestSize(out), 32767);
    EXPECT_GT(LargestSize(out), 20000);  // turned down, not silenced
}
