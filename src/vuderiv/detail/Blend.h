// Coverage blending: a colour laid over buffer pixels with coverages 0..255, as antialiased
// text is drawn. Private to Vuderiv.
#pragma once

#include <cstdint>

namespace Vuderiv::detail {

// Lays the colour over n pixels of a row, each with its coverage: channel by channel
// (colour · coverage + pixel · (255 - coverage) + 127) / 255, rounded down. Coverage 0
// leaves a pixel as it is; 255 makes it the colour.
void BlendRow(uint32_t* pixel, const uint8_t* coverage, int32_t n, uint32_t color);

}  // namespace Vuderiv::detail
