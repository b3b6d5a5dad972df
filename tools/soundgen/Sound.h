// A sound effect as its description says it: voices of a plain waveform or noise, each
// with its own start, length, pitch sweep and envelope, added together.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Soundgen {

constexpr uint32_t kRate = 22050;  // samples per second of every sound

enum class Wave : uint8_t { Sine, Square, Triangle, Saw, Noise };

struct Voice {
    Wave wave = Wave::Sine;
    double at = 0;           // start, seconds from the sound's start
    double length = -1;      // seconds; negative: to the sound's end
    double pitchFrom = 440;  // Hz at the start (noise: new values per second)
    double pitchTo = 440;    // Hz at the end, reached by an even sweep in octaves
    double volume = 0.5;     // peak level, 0..1
    double attack = 0.002;   // seconds of rise from silence
    double halfLife = 0;     // seconds in which the level halves; 0: no decay
    double release = 0.01;   // seconds of fall to silence at the voice's end
    uint32_t seed = 1;       // the noise sequence
};

struct Sound {
    std::string name;   // the file name, NAME.wav
    double length = 0;  // seconds
    std::vector<Voice> voices;
};

// The sound's 16-bit samples at kRate: the voices added, clipped to full scale. Whole-number
// arithmetic throughout: the same samples on every machine and with every compiler.
std::vector<int16_t> Render(const Sound& sound);

}  // namespace Soundgen
