#include "Wav.h"

namespace Soundgen {

namespace {

void Put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string WavFile(const std::vector<int16_t>& samples, uint32_t rate) {
    constexpr uint32_t kBytesPerSample = 2;
    const auto dataBytes = static_cast<uint32_t>(samples.size() * kBytesPerSample);
    std::string out = "RIFF";
    Put(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);  // the format block's size
    Put(out, 1, 2);   // PCM
    Put(out, 1, 2);   // one channel
    Put(out, rate, 4);
    Put(out, rate * kBytesPerSample, 4);
    Put(out, kBytesPerSample, 2);
    Put(out, 16, 2);  // bits per sample
    out += "data";
    Put(out, dataBytes, 4);
    for (int16_t s : samples)
        Put(out, static_cast<uint16_t>(s), 2);
    return out;
}

}  // namespace Soundgen
