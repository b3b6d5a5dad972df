// StandardLib: random unsigned numbers in an interval, from the system generator or
// from a short fixed-seed sequence of its own that makes runs repeatable; and the
// program's run-time error, which every module uses for range and overflow errors.
#pragma once

#include <cstdint>
#include <string>

namespace StandardLib {

// True: RandomCard draws on the module's own sequence (seed 94); false: on the system
// generator, seeded once from the clock. True at start.
extern bool gPseudoRandom;

// Seeds the system generator anew, so that a run can be repeated exactly (the play bot).
void SeedSystemGenerator(uint32_t seed);

// A random number in [min, max]. With max < min it writes an error line and gives min.
uint32_t RandomCard(uint32_t min, uint32_t max);

// Writes "Zarvok: run-time error: <what>" to the console and stops the program.
[[noreturn]] void RunTimeError(const std::string& what);

// a + b and a - b, stopping the program when the result does not fit its type.
template <typename T>
T CheckedAdd(T a, T b) {
    T result;
    if (__builtin_add_overflow(a, b, &result)) RunTimeError("arithmetic overflow");
    return result;
}
template <typename T>
T CheckedSub(T a, T b) {
    T result;
    if (__builtin_sub_overflow(a, b, &result)) RunTimeError("arithmetic overflow");
    return result;
}

}  // namespace StandardLib
