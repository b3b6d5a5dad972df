// The mixer's limiter: keeps a mix of overlapping sounds inside 16 bits without cutting
// its peaks off. Private to Vuderiv; used on the audio thread only.
#pragma once

#include <cstdint>
#include <span>

namespace Vuderiv::detail {

// A look-ahead limiter over each block of mixed samples. The gain is 1 while the mix stays
// within the ceiling, so such a mix passes sample for sample. Where it would pass the
// ceiling the gain falls in a straight ramp over the samples before the peak (at once only
// at the block's first sample), and rises back towards 1 afterwards, slowly enough to be
// heard as a change of loudness rather than a distortion. No output passes the ceiling.
class Limiter {
public:
    // The loudest output, about 1.4 dB below full scale: louder than any single effect
    // the game plays, so that one sound alone is never touched.
    static constexpr int32_t kCeiling = 28000;

    // Writes the block `mix` (any 32-bit values) to `out`, which has the same length.
    void Apply(std::span<const int32_t> mix, std::span<int16_t> out);

private:
    float gain_ = 1.0F;  // the gain of the last sample of the previous block
};

}  // namespace Vuderiv::detail
