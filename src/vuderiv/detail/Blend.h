// Blending: a colour laid over buffer pixels with coverages or opacities 0..255, as
// antialiased text and translucent pictures are drawn. Private to Vuderiv.
#pragma once

#include <cstdint>

namespace Vuderiv::detail {

// `over` laid on `under` with opacity `alpha` (0..255): channel by channel
// (over · alpha + under · (255 - alpha) + 127) / 255, rounded down.
uint32_t MixColor(uint32_t over, uint32_t under, uint32_t alpha);

// Lays the colour over n pixels of a row, each with its coverage: channel by channel
// (colour · coverage + pixel · (255 - coverage) + 127) / 255, rounded down. Coverage 0
// leaves a pixel as it is; 255 makes it the colour.
void BlendRow(uint32_t* pixel, const uint8_t* coverage, int32_t n, uint32_t color);

}  // namespace Vuderiv::detail
