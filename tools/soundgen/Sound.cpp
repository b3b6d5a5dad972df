// The voices are rendered in whole-number arithmetic: fixed-point levels, a 32-bit phase,
// and sine, log2 and exp2 of our own, so the samples are the same bytes on every machine
// (no maths library's last bits). The description's numbers are turned into whole
// numbers once, each by one multiplication and a rounding, which every IEEE machine does
// alike.
#include "Sound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace Soundgen {

namespace {

constexpr int kOne = 30;  // levels and wave values: 1.0 is 2^30
constexpr int64_t kUnit = int64_t{1} << kOne;
constexpr int kLogBits = 20;                   // log2 values (octaves): 1.0 is 2^20
constexpr uint64_t kTurn = uint64_t{1} << 32;  // one period of the phase

// 2^(2^-k) for k = 1..20, with 1.0 as 2^30.
constexpr std::array<int64_t, kLogBits> kRoots = {
    1518500250, 1276901417, 1170923762, 1121280436, 1097253708, 1085434106, 1079572136,
    1076653033, 1075196443, 1074468888, 1074105294, 1073923544, 1073832680, 1073787251,
    1073764537, 1073753181, 1073747502, 1073744663, 1073743244, 1073742534};

// sin(pi/2 u) = u (c1 + u^2 (c3 + u^2 (c5 + ...))), its Taylor terms to u^11, 1.0 as 2^30.
constexpr std::array<int64_t, 6> kSine = {1686629713, -693598668, 85569306,
                                          -5026995,   172272,     -3864};

int64_t Fixed(double value, int bits) {
    return std::llround(value * static_cast<double>(int64_t{1} << bits));
}

int64_t Samples(double seconds) {
    return std::llround(seconds * kRate);
}

// log2 of a whole number x > 0, with 1.0 as 2^20.
int64_t Log2(uint64_t x) {
    int64_t whole = 0;
    while ((x >> whole) > 1)
        ++whole;
    // y in [1, 2) with 1.0 as 2^30; each squaring gives one more bit of the fraction.
    uint64_t y = whole > kOne ? x >> (whole - kOne) : x << (kOne - whole);
    int64_t result = whole << kLogBits;
    for (int bit = kLogBits - 1; bit >= 0; --bit) {
        y = (y * y) >> kOne;
        if (y >= (uint64_t{2} << kOne)) {
            y >>= 1;
            result |= int64_t{1} << bit;
        }
    }
    return result;
}

// 2^(x / 2^20) times 2^shift, for a result that fits 63 bits.
int64_t Exp2(int64_t x, int shift) {
    const int64_t whole = x >> kLogBits;  // rounds down, so the fraction is never negative
    const int64_t fraction = x - (whole << kLogBits);
    int64_t y = kUnit;
    for (int k = 0; k < kLogBits; ++k)
        if (fraction & (int64_t{1} << (kLogBits - 1 - k))) y = (y * kRoots[k] + kUnit / 2) >> kOne;
    const int64_t up = whole + shift - kOne;
    return up >= 0 ? y << up : (up > -63 ? y >> -up : 0);
}

// sin(pi/2 u) for u in [0, 1], both with 1.0 as 2^30.
int64_t QuarterSine(int64_t u) {
    const int64_t u2 = (u * u) >> kOne;
    int64_t sum = kSine.back();
    for (auto c = kSine.rbegin() + 1; c != kSine.rend(); ++c)
        sum = *c + ((sum * u2) >> kOne);
    return (sum * u) >> kOne;
}

// The waveform at phase p (a 32-bit fraction of its period), 1.0 as 2^30.
int64_t Shape(Wave wave, uint64_t p) {
    const auto half = kTurn / 2;
    const auto phase = static_cast<int64_t>(p >> 2);  // 1.0 as 2^30
    switch (wave) {
        case Wave::Sine: {
            const int64_t quarter = phase & (kUnit / 4 - 1);
            const int64_t u = quarter * 4;
            const int64_t quadrant = phase / (kUnit / 4);
            const int64_t rise = QuarterSine(quadrant % 2 == 0 ? u : kUnit - u);
            return quadrant < 2 ? rise : -rise;
        }
        case Wave::Square:
            return p < half ? kUnit : -kUnit;
        case Wave::Triangle:
            return p < half ? 4 * phase - kUnit : 3 * kUnit - 4 * phase;
        case Wave::Saw:
            return 2 * phase - kUnit;
        case Wave::Noise:
            return 0;
    }
    return 0;
}

// A reproducible noise source: xorshift32, values -1..1 with 1.0 as 2^30.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed != 0 ? seed : 1) {}
    int64_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (static_cast<int64_t>(state_) - (int64_t{1} << 31)) >> 1;
    }

private:
    uint32_t state_;
};

// A voice in whole numbers: samples for times, fixed point for levels and pitches.
struct Plan {
    int64_t first, count;     // the first sample and how many
    int64_t volume;           // 1.0 as 2^30
    int64_t attack, release;  // samples
    int64_t halfLife16;       // sixteenths of a sample; 0: no decay
    int64_t step;             // the phase step per sample at the start, 32-bit fraction
    int64_t octaves;          // the sweep, 1.0 as 2^20
};

// The phase step per sample at the pitch given, as a 32-bit fraction of a period.
int64_t Step(double pitch) {
    return std::max<int64_t>(1, Fixed(pitch / kRate, 32));
}

Plan MakePlan(const Voice& v, double soundLength) {
    const double length = v.length < 0 ? soundLength - v.at : v.length;
    const int64_t from = Step(v.pitchFrom), to = Step(v.pitchTo);
    return {Samples(v.at),
            Samples(length),
            Fixed(v.volume, kOne),
            Samples(v.attack),
            Samples(v.release),
            Fixed(v.halfLife * kRate, 4),
            from,
            Log2(static_cast<uint64_t>(to)) - Log2(static_cast<uint64_t>(from))};
}

// The phase step at sample i: the start's, an even sweep in octaves from there.
int64_t StepAt(const Plan& p, int64_t i) {
    constexpr int kBits = 20;
    if (p.octaves == 0) return p.step;
    return (p.step * Exp2(p.octaves * i / p.count, kBits)) >> kBits;
}

// The level at sample i of the voice, 1.0 as 2^30.
int64_t Envelope(const Plan& p, int64_t i) {
    int64_t level = p.volume;
    if (p.attack > 0 && i < p.attack) level = level * i / p.attack;
    if (p.halfLife16 > 0)
        level = (level * Exp2(-(i << (kLogBits + 4)) / p.halfLife16, kOne)) >> kOne;
    const int64_t left = p.count - i;
    if (p.release > 0 && left < p.release) level = level * std::max<int64_t>(0, left) / p.release;
    return level;
}

void AddVoice(const Voice& v, double soundLength, std::vector<int64_t>& mix) {
    const Plan p = MakePlan(v, soundLength);
    Noise noise(v.seed);
    uint64_t phase = 0;
    int64_t held = noise.Next();
    for (int64_t i = 0; i < p.count && p.first + i < static_cast<int64_t>(mix.size()); ++i) {
        const int64_t value = v.wave == Wave::Noise ? held : Shape(v.wave, phase);
        mix[static_cast<size_t>(p.first + i)] += (value * Envelope(p, i)) >> kOne;
        phase += static_cast<uint64_t>(StepAt(p, i));
        if (phase >= kTurn) {
            phase %= kTurn;
            held = noise.Next();
        }
    }
}

// A mixed level to a 16-bit sample: clipped to full scale, rounded half away from zero.
int16_t ToSample(int64_t x) {
    const int64_t scaled = std::clamp(x, -kUnit, kUnit) * 32767;
    const int64_t magnitude = (std::abs(scaled) + kUnit / 2) >> kOne;
    return static_cast<int16_t>(scaled < 0 ? -magnitude : magnitude);
}

}  // namespace

std::vector<int16_t> Render(const Sound& sound) {
    std::vector<int64_t> mix(static_cast<size_t>(Samples(sound.length)), 0);
    for (const Voice& v : sound.voices)
        AddVoice(v, sound.length, mix);
    std::vector<int16_t> samples(mix.size());
    std::transform(mix.begin(), mix.end(), samples.begin(), ToSample);
    return samples;
}

}  // namespace Soundgen
