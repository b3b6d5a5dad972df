#include "Sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Soundgen {

namespace {

// A reproducible noise source: xorshift32, values -1..1.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed != 0 ? seed : 1) {}
    double Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483647.5 - 1.0;
    }

private:
    uint32_t state_;
};

// The waveform at phase p (0..1) of its period.
double Shape(Wave wave, double p) {
    switch (wave) {
        case Wave::Sine:
            return std::sin(2 * std::numbers::pi * p);
        case Wave::Square:
            return p < 0.5 ? 1.0 : -1.0;
        case Wave::Triangle:
            return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
        case Wave::Saw:
            return 2 * p - 1;
        case Wave::Noise:
            return 0;
    }
    return 0;
}

// The level at t seconds into a voice of `length` seconds.
double Envelope(const Voice& v, double t, double length) {
    double level = v.volume;
    if (v.attack > 0 && t < v.attack) level *= t / v.attack;
    if (v.halfLife > 0) level *= std::exp2(-t / v.halfLife);
    if (v.release > 0 && length - t < v.release) level *= std::max(0.0, length - t) / v.release;
    return level;
}

void AddVoice(const Voice& v, double soundLength, std::vector<double>& mix) {
    const double length = v.length < 0 ? soundLength - v.at : v.length;
    const auto first = static_cast<size_t>(std::lround(v.at * kRate));
    const auto count = static_cast<size_t>(std::lround(length * kRate));
    Noise noise(v.seed);
    double phase = 0, held = noise.Next();
    for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double pitch = v.pitchFrom * std::pow(v.pitchTo / v.pitchFrom, t / length);
        const double value = v.wave == Wave::Noise ? held : Shape(v.wave, phase);
        mix[first + i] += value * Envelope(v, t, length);
        phase += pitch / kRate;
        if (phase >= 1) {
            phase -= std::floor(phase);
            held = noise.Next();
        }
    }
}

}  // namespace

std::vector<int16_t> Render(const Sound& sound) {
    std::vector<double> mix(static_cast<size_t>(std::lround(sound.length * kRate)), 0.0);
    for (const Voice& v : sound.voices)
        AddVoice(v, sound.length, mix);
    std::vector<int16_t> samples(mix.size());
    std::transform(mix.begin(), mix.end(), samples.begin(), [](double x) {
        return static_cast<int16_t>(std::lround(std::clamp(x, -1.0, 1.0) * 32767));
    });
    return samples;
}

}  // namespace Soundgen
