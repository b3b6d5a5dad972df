// A block of 0x00BBGGRR pixels, and the clipped block copy that every blit shares.
// Private to Vuderiv: the off-screen buffer, the window's picture and every bitmap are one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Vuderiv::detail {

// Memory for pixels. A block of 1 MiB or more that whole large pages of 2 MiB hold with a
// third spare at most (800 x 600, 1000 x 800, 1920 x 1080 pixels) is given them where the
// system offers them: a walk down a picture's rows, each a page apart or more, then looks
// up one page per 2 MiB instead of one per row.
void* AllocatePixels(size_t bytes);
void FreePixels(void* pixels, size_t bytes);

template <typename T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <typename U>
    PixelAllocator(const PixelAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(AllocatePixels(n * sizeof(T))); }
    void deallocate(T* pixels, size_t n) { FreePixels(pixels, n * sizeof(T)); }
    bool operator==(const PixelAllocator&) const = default;
};

struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    // width * height, row by row from the top
    std::vector<uint32_t, PixelAllocator<uint32_t>> pixels;

    Surface() = default;
    Surface(int32_t w, int32_t h) : width(w), height(h), pixels(Area(w, h), 0) {}

    bool Empty() const { return pixels.empty(); }
    uint32_t* Row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * Width(); }
    const uint32_t* Row(int32_t y) const {
        return pixels.data() + static_cast<size_t>(y) * Width();
    }
    bool Contains(int64_t x, int64_t y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    // The pixel at (x, y), or 0 outside the surface.
    uint32_t At(int64_t x, int64_t y) const {
        return Contains(x, y) ? Row(static_cast<int32_t>(y))[x] : 0;
    }

private:
    size_t Width() const { return static_cast<size_t>(width); }
    static size_t Area(int32_t w, int32_t h) {
        return w > 0 && h > 0 ? static_cast<size_t>(w) * static_cast<size_t>(h) : 0;
    }
};

// A rectangle in surface coordinates; w or h of 0 means nothing.
struct Block {
    int32_t x = 0, y = 0, w = 0, h = 0;
    bool Empty() const { return w <= 0 || h <= 0; }
};

// The part of the rectangle (x, y, w, h) that lies inside the surface. Works in 64 bits,
// so any 32-bit position and size is safe.
Block Clip(const Surface& s, int64_t x, int64_t y, int64_t w, int64_t h);

// Copies the w x h block at (sx, sy) of src to (dx, dy) of dst, row by row, leaving out
// whatever falls outside either surface. src and dst may be the same surface only when
// the blocks do not overlap.
void CopyBlock(Surface& dst, int64_t dx, int64_t dy, const Surface& src, int64_t sx, int64_t sy,
               int64_t w, int64_t h);

}  // namespace Vuderiv::detail
