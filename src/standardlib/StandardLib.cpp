#include "StandardLib.h"

#include <chrono>
#include <cmath>
#include <random>
#include <string>

#include "Report.h"

namespace StandardLib {

bool gPseudoRandom = true;

namespace {

// The last value of the module's own sequence.
uint32_t gSeed = 94;

// The next value of the sequence next = (seed * 351 + 138) mod 1013, which from 94 runs
// through every value 0..1012 but its fixed point 509, with period 1012.
uint32_t PseudoRandomCardGenerator() {
    uint32_t next = (gSeed * 351u + 138u) % 1013u;
    if (next == gSeed) next = next + 1;
    gSeed = next;
    return next;
}

// The system generator, seeded once from the clock at its first use.
std::mt19937& SystemGenerator() {
    static std::mt19937 generator(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return generator;
}

}  // namespace

void SeedSystemGenerator(uint32_t seed) {
    SystemGenerator().seed(seed);
}

uint32_t RandomCard(uint32_t min, uint32_t max) {
    if (max < min) {
        detail::Report("ERROR calling RandomCardFromInterval: min " + std::to_string(min) +
                       " is bigger than max " + std::to_string(max));
        return min;
    }
    if (gPseudoRandom) {
        // The scale is formed from single-precision constants in extended precision; since
        // the sequence never exceeds 1012, min + scale * v stays within [min, max].
        const long double scale =
            (static_cast<long double>(max - min) + static_cast<long double>(0.99999f)) /
            static_cast<long double>(1012.0f);
        const long double v = PseudoRandomCardGenerator();
        return min + static_cast<uint32_t>(std::trunc(scale * v));
    }
    // The distribution covers the whole interval, [0, 4294967295] included.
    return std::uniform_int_distribution<uint32_t>(min, max)(SystemGenerator());
}

// "major.minor.patch" from the header's numbers.
#define VERSION_TEXT(number) #number
#define VERSION_OF(major, minor, patch) \
    VERSION_TEXT(major) "." VERSION_TEXT(minor) "." VERSION_TEXT(patch)

const char* Version() {
    return VERSION_OF(STANDARDLIB_VERSION_MAJOR, STANDARDLIB_VERSION_MINOR,
                      STANDARDLIB_VERSION_PATCH);
}

}  // namespace StandardLib
