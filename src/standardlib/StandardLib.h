// StandardLib: random unsigned numbers in an interval, from the system generator or
// from a short fixed-seed sequence of its own that makes runs repeatable; and the
// program's run-time error, which every module uses for range and overflow errors.
#pragma once

#include <cstdint>
#include <string>

// The version of this header: major, minor, patch.
#define STANDARDLIB_VERSION_MAJOR 1
#define STANDARDLIB_VERSION_MINOR 0
#define STANDARDLIB_VERSION_PATCH 0

namespace StandardLib {

// The version of the library linked into the program, "major.minor.patch".
const char* Version();

// True: RandomCard draws on the module's own sequence (seed 94), which repeats after 1012
// numbers and is the same in every run; false: on the system generator, seeded once from
// the clock. True at start.
extern bool gPseudoRandom;

// Seeds the system generator anew, so that a run can be repeated exactly (the play bot).
void SeedSystemGenerator(uint32_t seed);

// A random number in [min, max]. With max < min it writes an error line and gives min.
uint32_t RandomCard(uint32_t min, uint32_t max);

// The exit status of a program stopped by a run-time error.
constexpr int kRunTimeErrorStatus = 70;

// Writes "<name>: run-time error: <what>" to standard error and stops the program with
// exit status kRunTimeErrorStatus (no core dump). <name> is the program's name once
// SetProgramName has given one, else the library that found the error.
[[noreturn]] void RunTimeError(const std::string& what, const char* library = "StandardLib");

// Names the program in every later run-time error, in place of the library's name; nullptr
// or "" brings the libraries' names back. Call it at start, before other threads run.
void SetProgramName(const char* name);

// a + b and a - b, stopping the program with a run-time error of the library named when the
// result does not fit its type.
template <typename T>
T CheckedAdd(T a, T b, const char* library = "StandardLib") {
    T result;
    if (__builtin_add_overflow(a, b, &result)) RunTimeError("arithmetic overflow", library);
    return result;
}
template <typename T>
T CheckedSub(T a, T b, const char* library = "StandardLib") {
    T result;
    if (__builtin_sub_overflow(a, b, &result)) RunTimeError("arithmetic overflow", library);
    return result;
}

}  // namespace StandardLib
