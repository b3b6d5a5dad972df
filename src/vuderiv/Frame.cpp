#include "Frame.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VUDERIV_AVX2 1
#endif

#include <algorithm>
#include <cstring>

namespace Vuderiv::detail {

namespace {

// 0x00BBGGRR into 0x00RRGGBB and back: red and blue change places.
uint32_t SwapRedBlue(uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

#if defined(__SSE2__)
// SwapRedBlue of the four pixels at `from`.
__m128i SwapRedBlue4(const uint32_t* from) {
    const __m128i low = _mm_set1_epi32(0xFF);
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i red = _mm_slli_epi32(_mm_and_si128(p, low), 16);
    const __m128i blue = _mm_and_si128(_mm_srli_epi32(p, 16), low);
    return _mm_or_si128(_mm_or_si128(red, blue), _mm_and_si128(p, _mm_set1_epi32(0xFF00)));
}
#endif

// One row of SwapRedBlue, four pixels at a time where the processor allows.
void SwapRedBlueRow(uint32_t* to, const uint32_t* from, int32_t n) {
    int32_t x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= n; x += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x), SwapRedBlue4(from + x));
#endif
    for (; x < n; ++x)
        to[x] = SwapRedBlue(from[x]);
}

// n pixels of SwapRedBlue, each written scale times.
void SwapScaleRow(uint32_t* to, const uint32_t* from, int32_t n, int32_t scale) {
    if (scale == 1) {
        SwapRedBlueRow(to, from, n);
        return;
    }
    for (int32_t x = 0; x < n; ++x) {
        const uint32_t shown = SwapRedBlue(from[x]);
        for (int32_t k = 0; k < scale; ++k)
            *to++ = shown;
    }
}

// The common window layout, 0x00RRGGBB in 32 bits, goes the fast way.
bool NativeLayout(const SDL_Surface* surface) {
    return surface->format->format == SDL_PIXELFORMAT_RGB888;
}

// A buffer colour in any other surface layout.
uint32_t MapColor(const SDL_PixelFormat* format, uint32_t p) {
    return SDL_MapRGB(format, p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF);
}

// The window columns [first, end) that buffer columns [x0, x0 + n) cover, inside the frame.
Span Columns(const Frame& frame, int32_t x0, int32_t n) {
    const int64_t first = frame.left + int64_t{x0} * frame.scale;
    const int64_t end = first + int64_t{n} * frame.scale;
    return {static_cast<int32_t>(std::clamp<int64_t>(first, 0, frame.width)),
            static_cast<int32_t>(std::clamp<int64_t>(end, 0, frame.width))};
}

// Writes one buffer row's block [x0, x0 + n) into window row `wy`, scaled. The window
// columns written.
Span WriteRow(const Frame& frame, int32_t wy, const uint32_t* from, int32_t x0, int32_t n) {
    const Span span = Columns(frame, x0, n);
    if (span.end <= span.first) return {};
    uint8_t* row = WindowRow(frame, wy);
    const int32_t bytes = frame.surface->format->BytesPerPixel;
    const int32_t skip = span.first - frame.left;
    if (NativeLayout(frame.surface) && skip % frame.scale == 0 &&
        (span.end - span.first) % frame.scale == 0) {  // whole pixels: the fast way
        SwapScaleRow(reinterpret_cast<uint32_t*>(row) + span.first, from + skip / frame.scale,
                     (span.end - span.first) / frame.scale, frame.scale);
        return span;
    }
    // Each buffer pixel once, converted, then written to its scale window columns.
    const bool native = NativeLayout(frame.surface);
    int32_t sx = (span.first - frame.left) / frame.scale;
    for (int32_t wx = span.first; wx < span.end; ++sx) {
        const uint32_t shown =
            native ? SwapRedBlue(from[sx]) : MapColor(frame.surface->format, from[sx]);
        const int32_t stop = std::min(span.end, frame.left + (sx + 1) * frame.scale);
        if (native) {
            std::fill(reinterpret_cast<uint32_t*>(row) + wx,
                      reinterpret_cast<uint32_t*>(row) + stop, shown);
            wx = stop;
        }
        for (; wx < stop; ++wx)
            std::memcpy(row + static_cast<ptrdiff_t>(wx) * bytes, &shown, bytes);
    }
    return span;
}

// Rows are compared with what the frame last took in pieces of this many pixels, to find
// where a change begins and ends.
constexpr int32_t kPiece = 64;

// The buffer columns of row y within [x0, x0 + n) from the first to the last pixel that
// differs from the frame's copy of the buffer, which is brought up to date there.
Span TakeChanges(Surface& copy, const Surface& buffer, int32_t y, int32_t x0, int32_t n) {
    const uint32_t* from = buffer.Row(y) + x0;
    uint32_t* to = copy.Row(y) + x0;
    const auto same = [&](int32_t a, int32_t b) {
        return std::memcmp(from + a, to + a, static_cast<size_t>(b - a) * sizeof(uint32_t)) == 0;
    };
    if (same(0, n)) return {};
    int32_t first = 0;
    while (same(first, std::min(first + kPiece, n)))
        first += kPiece;
    int32_t end = n;  // the piece at first differs, so this stops short of it
    for (int32_t before = std::max(end - kPiece, first); same(before, end);
         before = std::max(end - kPiece, first))
        end = before;
    std::memcpy(to + first, from + first, static_cast<size_t>(end - first) * sizeof(uint32_t));
    return {x0 + first, x0 + end};
}

#if defined(VUDERIV_AVX2)
// WriteDifferences' first part on processors with AVX2: sixteen pixels at a time, red and blue
// exchanged by one byte shuffle. Widens [first, end) by the columns written; returns where
// the rest begins.
__attribute__((target("avx2"))) int32_t WriteDifferencesWide(uint32_t* to, const uint32_t* from,
                                                             int32_t n, int32_t& first,
                                                             int32_t& end) {
    constexpr int32_t kStep = 16;
    const __m256i order =
        _mm256_setr_epi8(2, 1, 0, -128, 6, 5, 4, -128, 10, 9, 8, -128, 14, 13, 12, -128, 2, 1, 0,
                         -128, 6, 5, 4, -128, 10, 9, 8, -128, 14, 13, 12, -128);
    int32_t x = 0;
    for (; x + kStep <= n; x += kStep) {
        const auto* in = reinterpret_cast<const __m256i*>(from + x);
        auto* at = reinterpret_cast<__m256i*>(to + x);
        const __m256i a = _mm256_shuffle_epi8(_mm256_loadu_si256(in), order);
        const __m256i b = _mm256_shuffle_epi8(_mm256_loadu_si256(in + 1), order);
        const __m256i same = _mm256_and_si256(_mm256_cmpeq_epi32(a, _mm256_loadu_si256(at)),
                                              _mm256_cmpeq_epi32(b, _mm256_loadu_si256(at + 1)));
        if (_mm256_movemask_epi8(same) == -1) continue;
        _mm256_storeu_si256(at, a);
        _mm256_storeu_si256(at + 1, b);
        first = std::min(first, x);
        end = x + kStep;
    }
    return x;
}

const bool kWide = __builtin_cpu_supports("avx2");
#endif

// Writes the pixels of from[0, n) that the window row `to` (native layout) does not show
// yet, eight at a time, and returns the columns from the first to the last one written.
Span WriteDifferences(uint32_t* to, const uint32_t* from, int32_t n) {
    int32_t first = n, end = 0, x = 0;
#if defined(VUDERIV_AVX2)
    if (kWide) x = WriteDifferencesWide(to, from, n, first, end);
#endif
#if defined(__SSE2__)
    constexpr int32_t kStep = 8;
    for (; x + kStep <= n; x += kStep) {
        const __m128i a = SwapRedBlue4(from + x), b = SwapRedBlue4(from + x + 4);
        auto* at = reinterpret_cast<__m128i*>(to + x);
        const __m128i same = _mm_and_si128(_mm_cmpeq_epi32(a, _mm_loadu_si128(at)),
                                           _mm_cmpeq_epi32(b, _mm_loadu_si128(at + 1)));
        if (_mm_movemask_epi8(same) == 0xFFFF) continue;
        _mm_storeu_si128(at, a);
        _mm_storeu_si128(at + 1, b);
        first = std::min(first, x);
        end = x + kStep;
    }
#endif
    for (; x < n; ++x) {
        const uint32_t shown = SwapRedBlue(from[x]);
        if (to[x] == shown) continue;
        to[x] = shown;
        first = std::min(first, x);
        end = x + 1;
    }
    return first < end ? Span{first, end} : Span{};
}

// The direct way: row `by`'s block [x0, x0 + n) written where the window differs from it;
// the window columns written.
Span WriteDirect(const Frame& frame, const Surface& buffer, int32_t by, int32_t x0, int32_t n) {
    uint32_t* row = reinterpret_cast<uint32_t*>(WindowRow(frame, frame.top + by)) + frame.left;
    const Span changed = WriteDifferences(row + x0, buffer.Row(by) + x0, n);
    if (changed.end <= changed.first) return {};
    return {frame.left + x0 + changed.first, frame.left + x0 + changed.end};
}

// Whether the frame can compare the buffer with the window surface itself: one window pixel
// per buffer pixel, in the native layout, the whole picture on the surface.
bool Direct(const Frame& frame, int32_t w, int32_t h) {
    return frame.scale == 1 && !frame.fitted && NativeLayout(frame.surface) && frame.left >= 0 &&
           frame.top >= 0 && frame.left + w <= frame.width && frame.top + h <= frame.height;
}

}  // namespace

uint8_t* WindowRow(const Frame& frame, int32_t y) {
    return static_cast<uint8_t*>(frame.surface->pixels) +
           static_cast<ptrdiff_t>(y) * frame.surface->pitch;
}

uint32_t WindowColor(const SDL_PixelFormat* format, uint32_t p) {
    return format->format == SDL_PIXELFORMAT_RGB888 ? SwapRedBlue(p) : MapColor(format, p);
}

// Where the frame's copy cannot tell (it was made for a buffer of another size), the
// whole block counts as changed.
Span Changes(Frame& frame, const Surface& buffer, int32_t y, int32_t x0, int32_t n) {
    if (frame.copy.width != buffer.width || frame.copy.height != buffer.height) {
        return {x0, x0 + n};
    }
    return TakeChanges(frame.copy, buffer, y, x0, n);
}

namespace {

// Fits the picture to the frame's surface, unless that gives the whole scale already or the
// surface is too small for the picture's shape.
void FitPicture(Frame& frame, int32_t w, int32_t h) {
    int32_t fittedWidth = 0, fittedHeight = 0;
    FittedSize(w, h, frame.width, frame.height, fittedWidth, fittedHeight);
    if (fittedWidth == frame.shownWidth || fittedWidth > frame.width ||
        fittedHeight > frame.height) {
        return;
    }
    frame.fitted = true;
    frame.shownWidth = fittedWidth;
    frame.shownHeight = fittedHeight;
    frame.columns = AxisTaps(w, fittedWidth);
    frame.rows = AxisTaps(h, fittedHeight);
    frame.changedRows.assign(static_cast<size_t>(h), Span{});
}

}  // namespace

int32_t LargestScale(int32_t w, int32_t h, int32_t room, int32_t roomHeight) {
    if (w <= 0 || h <= 0) return 1;
    return std::max(1, std::min(room / w, roomHeight / h));
}

Frame FitFrame(SDL_Surface* surface, int32_t w, int32_t h, bool fit) {
    Frame frame;
    if (surface == nullptr) return frame;
    frame.surface = surface;
    frame.width = surface->w;
    frame.height = surface->h;
    frame.scale = LargestScale(w, h, surface->w, surface->h);
    frame.shownWidth = w * frame.scale;
    frame.shownHeight = h * frame.scale;
    if (fit && w > 0 && h > 0) FitPicture(frame, w, h);
    frame.left = (surface->w - frame.shownWidth) / 2;
    frame.top = (surface->h - frame.shownHeight) / 2;
    frame.direct = Direct(frame, w, h);
    frame.copy = Surface(w, h);
    frame.drawnRows.assign(static_cast<size_t>(std::max(h, 0)), Span{0, w});
    frame.rowSources.assign(frame.drawnRows.size(), RowSource{});
    frame.drawnOver.assign(frame.drawnRows.size(), Span{});
    ClearFrame(frame);
    return frame;
}

namespace {

// Writes what changed in buffer row `by` within the block's columns into the frame.
void ShowRow(Frame& frame, const Surface& buffer, int32_t by, const Block& block) {
    if (frame.direct && frame.copy.width == buffer.width && frame.copy.height == buffer.height) {
        const Span written = WriteDirect(frame, buffer, by, block.x, block.w);
        frame.damage.Add(frame.top + by, frame.top + by + 1, written.first, written.end);
        return;
    }
    const Span changed = Changes(frame, buffer, by, block.x, block.w);
    if (changed.end <= changed.first) return;
    // The first window row of this buffer row is written; the others copy it.
    const int64_t top = frame.top + int64_t{by} * frame.scale;
    const auto first = static_cast<int32_t>(std::clamp<int64_t>(top, 0, frame.height));
    const auto end = static_cast<int32_t>(std::clamp<int64_t>(top + frame.scale, 0, frame.height));
    if (end <= first) return;
    const Span written =
        WriteRow(frame, first, buffer.Row(by), changed.first, changed.end - changed.first);
    if (written.end <= written.first) return;
    const int32_t bytes = frame.surface->format->BytesPerPixel;
    const ptrdiff_t at = static_cast<ptrdiff_t>(written.first) * bytes;
    const auto length = static_cast<size_t>(written.end - written.first) * bytes;
    for (int32_t wy = first + 1; wy < end; ++wy)
        std::memcpy(WindowRow(frame, wy) + at, WindowRow(frame, first) + at, length);
    frame.damage.Add(first, end, written.first, written.end);
}

}  // namespace

void ShowBlock(Frame& frame, const Surface& buffer, int64_t x, int64_t y, int64_t w, int64_t h) {
    if (frame.surface == nullptr) return;
    const Block block = Clip(buffer, x, y, w, h);
    if (block.Empty()) return;
    if (frame.fitted) {
        ShowFitted(frame, buffer, block);
        return;
    }
    // Only the columns drawn into since a row was last shown whole are looked at; a row
    // shown whole is as shown until a drawing notes it again.
    const bool marked = frame.drawnRows.size() == static_cast<size_t>(buffer.height);
    const bool whole = marked && block.x == 0 && block.w == buffer.width;
    if (whole) frame.allNoted = false;
    for (int32_t by = block.y; by < block.y + block.h; ++by) {
        Block part = block;
        if (marked) {
            Span& drawn = frame.drawnRows[static_cast<size_t>(by)];
            part.x = std::max(block.x, drawn.first);
            part.w = std::min(block.x + block.w, drawn.end) - part.x;
            if (whole) drawn = {};
            if (part.w <= 0) continue;
        }
        ShowRow(frame, buffer, by, part);
    }
}

namespace {

// The columns of both spans and those between them.
Span Joined(Span a, Span b) {
    if (a.end <= a.first) return b;
    if (b.end <= b.first) return a;
    return {std::min(a.first, b.first), std::max(a.end, b.end)};
}

}  // namespace

void NoteBlock(Frame& frame, int64_t x, int64_t y, int64_t w, int64_t h) {
    if (frame.allNoted) return;
    const auto rows = static_cast<int64_t>(frame.drawnRows.size());
    const int64_t top = std::clamp<int64_t>(y, 0, rows);
    const int64_t bottom = std::clamp<int64_t>(y + std::max<int64_t>(h, 0), top, rows);
    const int64_t width = frame.copy.width;
    const Span columns{
        static_cast<int32_t>(std::clamp<int64_t>(x, 0, width)),
        static_cast<int32_t>(std::clamp<int64_t>(x + std::max<int64_t>(w, 0), 0, width))};
    if (columns.end <= columns.first) return;
    for (auto at = static_cast<size_t>(top); at < static_cast<size_t>(bottom); ++at) {
        frame.drawnRows[at] = Joined(frame.drawnRows[at], columns);
        frame.drawnOver[at] = Joined(frame.drawnOver[at], columns);
    }
    frame.allNoted = top == 0 && bottom == rows && columns.first == 0 && columns.end == width;
}

Span TakePictureRow(Frame& frame, int32_t y, RowSource source, int32_t width) {
    if (y < 0 || static_cast<size_t>(y) >= frame.drawnRows.size() || width != frame.copy.width)
        return {0, width};  // nothing known of the row: all of it
    const auto at = static_cast<size_t>(y);
    const bool held = source.version != 0 && frame.rowSources[at] == source;
    const Span copy = held ? frame.drawnOver[at] : Span{0, width};
    frame.rowSources[at] = source;
    frame.drawnOver[at] = {};
    frame.allNoted = false;
    frame.drawnRows[at] = Joined(frame.drawnRows[at], copy);
    return copy;
}

void ClearFrame(Frame& frame) {
    if (frame.surface == nullptr) return;
    SDL_FillRect(frame.surface, nullptr, SDL_MapRGB(frame.surface->format, 0, 0, 0));
    std::fill(frame.copy.pixels.begin(), frame.copy.pixels.end(), 0u);  // black, as shown
    frame.damage.Whole(frame.width, frame.height);
}

uint32_t FramePixel(const Frame& frame, int64_t x, int64_t y) {
    if (frame.surface == nullptr || x < 0 || y < 0 || frame.copy.Empty()) return 0;
    // The window pixel at the middle of the buffer pixel's place.
    const int64_t wx =
        frame.left + (2 * x + 1) * frame.shownWidth / (2 * int64_t{frame.copy.width});
    const int64_t wy =
        frame.top + (2 * y + 1) * frame.shownHeight / (2 * int64_t{frame.copy.height});
    if (wx < 0 || wy < 0 || wx >= frame.width || wy >= frame.height) return 0;
    const int32_t bytes = frame.surface->format->BytesPerPixel;
    uint32_t shown = 0;
    std::memcpy(&shown, WindowRow(frame, static_cast<int32_t>(wy)) + wx * bytes, bytes);
    if (NativeLayout(frame.surface)) return SwapRedBlue(shown);
    uint8_t r = 0, g = 0, b = 0;
    SDL_GetRGB(shown, frame.surface->format, &r, &g, &b);
    return r | (g << 8) | (uint32_t{b} << 16);
}

void Damage::Whole(int32_t width, int32_t height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    bands_.assign(static_cast<size_t>((height_ + kBandRows - 1) / kBandRows), {0, width_});
}

void Damage::Add(int32_t top, int32_t bottom, int32_t first, int32_t end) {
    top = std::max(top, 0);
    bottom = std::min(bottom, height_);
    first = std::max(first, 0);
    end = std::min(end, width_);
    if (bottom <= top || end <= first) return;
    for (int32_t band = top / kBandRows; band <= (bottom - 1) / kBandRows; ++band) {
        Columns& c = bands_[static_cast<size_t>(band)];
        c = c.end <= c.first ? Columns{first, end}
                             : Columns{std::min(c.first, first), std::max(c.end, end)};
    }
}

void Damage::Take(std::vector<SDL_Rect>& out) {
    out.clear();
    for (size_t band = 0; band < bands_.size(); ++band) {
        Columns& c = bands_[band];
        if (c.end <= c.first) continue;
        const auto y = static_cast<int32_t>(band) * kBandRows;
        const SDL_Rect rect{c.first, y, c.end - c.first, std::min(kBandRows, height_ - y)};
        SDL_Rect* last = out.empty() ? nullptr : &out.back();
        if (last != nullptr && last->x == rect.x && last->w == rect.w &&
            last->y + last->h == rect.y) {
            last->h += rect.h;  // the band below with the same columns: one rectangle
        } else {
            out.push_back(rect);
        }
        c = {};
    }
}

int32_t ToBuffer(int32_t v, int32_t offset, int32_t shown, int32_t size) {
    if (shown <= 0 || size <= 0) return 0;
    // floor((v - offset + 1/2) * size / shown), in whole numbers
    const int64_t n = (2 * (int64_t{v} - offset) + 1) * size;
    const int64_t d = 2 * int64_t{shown};
    const int64_t q = n >= 0 ? n / d : -((-n + d - 1) / d);
    return static_cast<int32_t>(q);
}

}  // namespace Vuderiv::detail
