#include "DiskAudio.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace TestSupport {

namespace fs = std::filesystem;

DiskAudio::DiskAudio()
    : path_(fs::temp_directory_path() / ("zarvok-audio-" + std::to_string(getpid()) + ".raw")) {
    fs::remove(path_);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
}

DiskAudio::~DiskAudio() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

size_t DiskAudio::Written() const {
    std::error_code error;
    const auto size = fs::file_size(path_, error);
    return error ? 0 : static_cast<size_t>(size);
}

// Order, not time: the wait is bounded only to end a hung device.
void DiskAudio::WaitFor(size_t bytes) const {
    const size_t target = Written() + bytes;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (Written() < target) {
        ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "the audio device stopped";
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::vector<int16_t> DiskAudio::Samples() const {
    std::ifstream in(path_, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::copy_n(bytes.data(), samples.size() * sizeof(int16_t),
                reinterpret_cast<char*>(samples.data()));
    return samples;
}

size_t FirstSound(const std::vector<int16_t>& samples, size_t from) {
    for (size_t i = from; i < samples.size(); ++i)
        if (samples[i] != 0) return i;
    return std::string::npos;
}

std::vector<int16_t> Beep(size_t count) {
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = (i / 25) % 2 == 0 ? 8000 : -8000;
    return samples;
}

}  // namespace TestSupport
