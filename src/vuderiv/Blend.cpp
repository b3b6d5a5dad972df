#include "Blend.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace Vuderiv::detail {

namespace {

// x / 255 rounded, for each 16-bit lane of x that holds at most 255 * 255.
uint32_t DivideLanesBy255(uint32_t x) {
    x += 0x00800080;
    return ((x + ((x >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
}

// One pixel of coverage `alpha` in the colour over *pixel.
void BlendPixel(uint32_t* pixel, uint32_t alpha, uint32_t color) {
    if (alpha == 255) {
        *pixel = color;
    } else if (alpha != 0) {
        *pixel = MixColor(color, *pixel, alpha);
    }
}

#if defined(__SSE2__)
// Mix of four pixels, each with its own coverage (the bytes of `alphas`), under one colour
// (`over`: its channels in 16-bit lanes, twice). Each channel's
// (over · a + under · (255 - a) + 127) / 255 is worked in 16-bit lanes, the division as
// (t + 1 + (t >> 8)) >> 8, which equals t / 255 for every t up to 255 · 255 + 127: the
// pixels are those of MixColor, coverages 0 and 255 included.
__m128i Mix4(__m128i under, __m128i over, uint32_t alphas) {
    const __m128i zero = _mm_setzero_si128();
    __m128i spread = _mm_cvtsi32_si128(static_cast<int>(alphas));
    spread = _mm_unpacklo_epi8(spread, spread);
    spread = _mm_unpacklo_epi16(spread, spread);  // each pixel's coverage in its 4 bytes
    const auto mix = [&](__m128i below, __m128i alpha) {
        const __m128i rest = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
        __m128i t = _mm_add_epi16(_mm_mullo_epi16(over, alpha), _mm_mullo_epi16(below, rest));
        t = _mm_add_epi16(t, _mm_set1_epi16(127));
        t = _mm_add_epi16(_mm_add_epi16(t, _mm_set1_epi16(1)), _mm_srli_epi16(t, 8));
        return _mm_srli_epi16(t, 8);
    };
    return _mm_packus_epi16(mix(_mm_unpacklo_epi8(under, zero), _mm_unpacklo_epi8(spread, zero)),
                            mix(_mm_unpackhi_epi8(under, zero), _mm_unpackhi_epi8(spread, zero)));
}
#endif

}  // namespace

// Red and blue together in the lanes of one word, then green.
uint32_t MixColor(uint32_t over, uint32_t under, uint32_t alpha) {
    const uint32_t rb = (over & 0xFF00FF) * alpha + (under & 0xFF00FF) * (255 - alpha);
    const uint32_t g = ((over >> 8) & 0xFF) * alpha + ((under >> 8) & 0xFF) * (255 - alpha);
    return DivideLanesBy255(rb) | (DivideLanesBy255(g) << 8);
}

// Four uncovered pixels at a time are passed over, and four covered ones blended at once.
void BlendRow(uint32_t* pixel, const uint8_t* coverage, int32_t n, uint32_t color) {
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128i over =
        _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), _mm_setzero_si128());
    for (; i + 4 <= n; i += 4) {
        uint32_t alphas = 0;
        std::memcpy(&alphas, coverage + i, sizeof alphas);
        if (alphas == 0) continue;
        auto* at = reinterpret_cast<__m128i*>(pixel + i);
        _mm_storeu_si128(at, Mix4(_mm_loadu_si128(at), over, alphas));
    }
#endif
    for (; i < n; ++i)
        BlendPixel(pixel + i, coverage[i], color);
}

}  // namespace Vuderiv::detail
