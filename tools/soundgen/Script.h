// The file that describes every sound effect, one command a line:
//
//   sound NAME.wav SECONDS          starts a sound of that length
//   WAVE [KEY VALUE]...             adds a voice to it; WAVE is sine, square, triangle,
//                                   saw or noise, and the keys are
//     at S          start, seconds after the sound's start (0)
//     for S         length in seconds (to the sound's end)
//     pitch F [G]   Hz, sweeping evenly in octaves to G (noise: new values per second)
//     volume V      peak level 0..1 (0.5)
//     attack S      rise from silence (0.002)
//     decay S       the level halves every S seconds (no decay)
//     release S     fall to silence at the voice's end (0.01)
//     seed N        which noise sequence (1)
//
// Lines starting with # are comments.
#pragma once

#include <string>
#include <vector>

#include "Sound.h"

namespace Soundgen {

// Reads the description file; throws Artgen::SourceError naming file and line of a fault.
std::vector<Sound> ReadSounds(const std::string& file);

}  // namespace Soundgen
