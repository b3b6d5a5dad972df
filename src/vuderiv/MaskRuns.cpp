#include "MaskRuns.h"

namespace Vuderiv::detail {

bool Light(uint32_t pixel) {
    return (pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF) >= 3 * 128;
}

void MaskRuns::Make(const Surface& mask) {
    Forget();
    rowStart_.reserve(static_cast<size_t>(mask.height) + 1);
    for (int32_t y = 0; y < mask.height; ++y) {
        rowStart_.push_back(static_cast<uint32_t>(runs_.size()));
        const uint32_t* row = mask.Row(y);
        for (int32_t x = 0; x < mask.width;) {
            if (!Light(row[x])) {
                ++x;
                continue;
            }
            const int32_t first = x;
            while (x < mask.width && Light(row[x]))
                ++x;
            runs_.push_back({first, x - first});
        }
    }
    rowStart_.push_back(static_cast<uint32_t>(runs_.size()));
}

void MaskRuns::Forget() {
    rowStart_.clear();
    runs_.clear();
}

}  // namespace Vuderiv::detail
