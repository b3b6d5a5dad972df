#include "Surface.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace Vuderiv::detail {

namespace {

constexpr size_t kLargePage = size_t{2} << 20;
#if defined(__linux__)
constexpr bool kLargePages = true;
#else
constexpr bool kLargePages = false;  // elsewhere the common allocation serves every size
#endif

// The block's size in whole large pages.
size_t Whole(size_t bytes) {
    return (bytes + kLargePage - 1) / kLargePage * kLargePage;
}

// Large pages serve blocks of 1 MiB or more that they hold with no more than a third spare.
bool Large(size_t bytes) {
    return kLargePages && bytes >= kLargePage / 2 && bytes <= SIZE_MAX / 2 &&
           Whole(bytes) - bytes <= bytes / 3;
}

}  // namespace

void* AllocatePixels(size_t bytes) {
    if (!Large(bytes)) return ::operator new(bytes);
    const size_t whole = Whole(bytes);
    void* pixels = std::aligned_alloc(kLargePage, whole);
    if (pixels == nullptr) throw std::bad_alloc();
#if defined(__linux__)
    madvise(pixels, whole, MADV_HUGEPAGE);  // a refusal leaves small pages: only slower
#endif
    return pixels;
}

void FreePixels(void* pixels, size_t bytes) {
    if (Large(bytes)) {
        std::free(pixels);
    } else {
        ::operator delete(pixels);
    }
}

Block Clip(const Surface& s, int64_t x, int64_t y, int64_t w, int64_t h) {
    const int64_t x0 = std::max<int64_t>(x, 0);
    const int64_t y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>(x + w, s.width);
    const int64_t y1 = std::min<int64_t>(y + h, s.height);
    if (x1 <= x0 || y1 <= y0) return {};
    return {static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(x1 - x0),
            static_cast<int32_t>(y1 - y0)};
}

void CopyBlock(Surface& dst, int64_t dx, int64_t dy, const Surface& src, int64_t sx, int64_t sy,
               int64_t w, int64_t h) {
    // Clip against the source, then move the same cut to the target, and clip there.
    const Block in = Clip(src, sx, sy, w, h);
    if (in.Empty()) return;
    const Block out = Clip(dst, dx + (in.x - sx), dy + (in.y - sy), in.w, in.h);
    if (out.Empty()) return;
    const int64_t fromX = in.x + (out.x - (dx + (in.x - sx)));
    const int64_t fromY = in.y + (out.y - (dy + (in.y - sy)));
    const size_t rowBytes = static_cast<size_t>(out.w) * sizeof(uint32_t);
    const uint32_t* from = src.Row(static_cast<int32_t>(fromY)) + fromX;
    uint32_t* to = dst.Row(out.y) + out.x;
    for (int32_t row = 0; row < out.h; ++row, from += src.width, to += dst.width)
        std::memcpy(to, from, rowBytes);
}

}  // namespace Vuderiv::detail
