// Writing sound files: 16-bit mono PCM WAV.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Soundgen {

// The WAV file of the samples at `rate` samples per second.
std::string WavFile(const std::vector<int16_t>& samples, uint32_t rate);

}  // namespace Soundgen
