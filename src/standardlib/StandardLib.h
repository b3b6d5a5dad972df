// StandardLib: random unsigned numbers in an interval, from the system generator or
// from a short fixed-seed sequence of its own that makes runs repeatable.
#pragma once

#include <cstdint>

namespace StandardLib {

// True: RandomCard draws on the module's own sequence (seed 94); false: on the system
// generator, seeded once from the clock. True at start.
extern bool gPseudoRandom;

// Seeds the system generator anew, so that a run can be repeated exactly (the play bot).
void SeedSystemGenerator(uint32_t seed);

// A random number in [min, max]. With max < min it writes an error line and gives min.
uint32_t RandomCard(uint32_t min, uint32_t max);

}  // namespace StandardLib
