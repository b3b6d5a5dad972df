// A mask as runs: for each row, the stretches of its light pixels. Found once for a mask
// and reused by every masked draw with it, so a draw copies stretches instead of testing
// each pixel. Private to Vuderiv.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Surface.h"

namespace Vuderiv::detail {

// A mask pixel is 1 where the mask image is light: the mean of red, green and blue is
// at least 128.
bool Light(uint32_t pixel);

class MaskRuns {
public:
    // Whether runs are held; false until Make and again after Forget.
    bool Made() const { return !rowStart_.empty(); }
    // Finds the runs of every row of the mask.
    void Make(const Surface& mask);
    // Drops the runs: whoever changes the mask's pixels calls this.
    void Forget();

    // Calls run(y, x, n) for each stretch of n target pixels from (x, y) inside `block`
    // where the mask, with its origin at (left, top) of the target, is light. The block
    // lies within the mask's rows (rows outside it have no runs).
    template <typename Run>
    void ForEach(const Block& block, int64_t left, int64_t top, Run run) const {
        const int64_t from = block.x - left, to = from + block.w;  // mask columns
        for (int32_t y = block.y; y < block.y + block.h; ++y) {
            const auto row = static_cast<size_t>(y - top);
            for (uint32_t i = rowStart_[row]; i < rowStart_[row + 1]; ++i) {
                const int64_t first = std::max<int64_t>(runs_[i].x, from);
                const int64_t end = std::min<int64_t>(runs_[i].x + int64_t{runs_[i].n}, to);
                if (first < end)
                    run(y, static_cast<int32_t>(first + left), static_cast<int32_t>(end - first));
            }
        }
    }

private:
    struct Run {
        int32_t x = 0;  // the first light column
        int32_t n = 0;  // how many light columns follow from it
    };
    std::vector<uint32_t> rowStart_;  // row y's runs: runs_[rowStart_[y]] up to rowStart_[y + 1]
    std::vector<Run> runs_;
};

}  // namespace Vuderiv::detail
