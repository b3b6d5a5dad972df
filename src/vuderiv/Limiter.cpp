#include "Limiter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace Vuderiv::detail {

namespace {

constexpr size_t kBlock = 1024;  // samples worked at once; longer blocks go in parts
// The gain falls by at most this much a sample ahead of a peak: from 1 to 0 in 64
// samples, about 3 ms at 22050 Hz.
constexpr float kAttackStep = 1.0F / 64;
// Each sample the gain rises by this share of what it lacks to 1: a time constant of
// about 100 ms at 22050 Hz.
constexpr float kRelease = 1.0F / 2205;

// The largest gain that keeps the sample within the ceiling.
float NeededGain(int32_t sample) {
    const auto size = static_cast<float>(std::abs(static_cast<int64_t>(sample)));
    return size > Limiter::kCeiling ? static_cast<float>(Limiter::kCeiling) / size : 1.0F;
}

}  // namespace

void Limiter::Apply(std::span<const int32_t> mix, std::span<int16_t> out) {
    for (size_t from = 0; from < mix.size(); from += kBlock) {
        const size_t n = std::min(kBlock, mix.size() - from);
        // Backwards: the gain each sample may have so that the ramp reaches every later
        // peak's needed gain in time.
        std::array<float, kBlock> allowed;
        float next = 1.0F;
        for (size_t i = n; i-- > 0;) {
            next = std::min(NeededGain(mix[from + i]), next + kAttackStep);
            allowed[i] = next;
        }
        // Forwards: rise slowly after a peak, never above what is allowed.
        for (size_t i = 0; i < n; ++i) {
            gain_ = std::min(allowed[i], gain_ + (1.0F - gain_) * kRelease);
            if (gain_ > 1.0F - 1e-6F) gain_ = 1.0F;  // float steps alone stall just below 1
            const float limited = static_cast<float>(mix[from + i]) * gain_;
            out[from + i] = static_cast<int16_t>(std::lround(
                std::clamp(limited, -static_cast<float>(kCeiling), static_cast<float>(kCeiling))));
        }
    }
}

}  // namespace Vuderiv::detail
