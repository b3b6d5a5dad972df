// Parts of bitmaps drawn mirrored or not, with their opacity blended and their colour key
// left out: sprite sheets, PNG pictures and colour-keyed pictures.
#include <algorithm>
#include <cstring>

#include "Blend.h"
#include "Handles.h"
#include "Images.h"
#include "Vuderiv.h"

namespace Vuderiv::detail {

namespace {

// A run of columns or rows, from `first` up to but not including `end`.
struct Range {
    int64_t first = 0;
    int64_t end = 0;
    bool Empty() const { return end <= first; }
};

Range Meet(Range a, Range b) {
    return {std::max(a.first, b.first), std::min(a.end, b.end)};
}

// One axis of a mirrored copy: source position `s` lands on `to + (s - from)`, or when
// mirrored on `to + (from + size - 1 - s)`.
struct Axis {
    int64_t from = 0;
    int64_t size = 0;
    int64_t to = 0;
    bool mirrored = false;

    int64_t Source(int64_t target) const {
        return mirrored ? from + size - 1 - (target - to) : from + (target - to);
    }
    // The targets of the sources in `sources`.
    Range Targets(Range sources) const {
        if (!mirrored) return {to + sources.first - from, to + sources.end - from};
        return {to + from + size - sources.end, to + from + size - sources.first};
    }
};

// The target positions of one axis whose source lies in [0, drawn) and whose target in
// [0, room).
Range Covered(const Axis& axis, int64_t drawn, int64_t room) {
    const Range sources = Meet({axis.from, axis.from + axis.size}, {0, drawn});
    if (sources.Empty()) return {};
    return Meet(axis.Targets(sources), {0, room});
}

// One target row of a part: the pixels of source row `sy` for target columns `columns`.
void DrawRow(Surface& target, int64_t y, const BitStruct& bitmap, int64_t sy, const Axis& across,
             Range columns) {
    const uint32_t* source = bitmap.surface.Row(static_cast<int32_t>(sy));
    uint32_t* out = target.Row(static_cast<int32_t>(y));
    if (Opaque(bitmap) && !across.mirrored) {
        std::memcpy(out + columns.first, source + across.Source(columns.first),
                    static_cast<size_t>(columns.end - columns.first) * sizeof(uint32_t));
        return;
    }
    const uint8_t* alpha =
        bitmap.alpha.empty() ? nullptr : bitmap.alpha.data() + sy * int64_t{bitmap.surface.width};
    for (int64_t x = columns.first; x < columns.end; ++x) {
        const int64_t sx = across.Source(x);
        const uint32_t pixel = source[sx];
        const uint32_t a = alpha != nullptr ? alpha[sx] : 255;
        if (pixel == bitmap.colorKey || a == 0) continue;
        out[x] = a == 255 ? pixel : MixColor(pixel, out[x], a);
    }
}

}  // namespace

bool Opaque(const BitStruct& bitmap) {
    return bitmap.alpha.empty() && bitmap.colorKey == kNoColorKey;
}

void DrawPart(Canvas& canvas, const BitStruct& bitmap, Part part, int64_t x, int64_t y,
              uint32_t flip) {
    const Surface& buffer = canvas.Buffer();
    const Axis across{part.x, part.w, x, (flip & FlipHorizontal) != 0};
    const Axis down{part.y, part.h, y, (flip & FlipVertical) != 0};
    const int64_t drawnWidth = std::min<int64_t>(bitmap.width, bitmap.surface.width);
    const int64_t drawnHeight = std::min<int64_t>(bitmap.height, bitmap.surface.height);
    const Range columns = Covered(across, drawnWidth, buffer.width);
    const Range rows = Covered(down, drawnHeight, buffer.height);
    if (columns.Empty() || rows.Empty()) return;
    Surface& target = canvas.DrawBlock(columns.first, rows.first, columns.end - columns.first,
                                       rows.end - rows.first);
    for (int64_t row = rows.first; row < rows.end; ++row)
        DrawRow(target, row, bitmap, down.Source(row), across, columns);
    if (!canvas.Buffering()) {
        canvas.Show(columns.first, rows.first, columns.end - columns.first, rows.end - rows.first);
    }
}

}  // namespace Vuderiv::detail

namespace Vuderiv {

void DrawBitmapPart(uint32_t bitmap, int32_t xsrc, int32_t ysrc, uint32_t width, uint32_t height,
                    int32_t x, int32_t y, uint32_t flip) {
    detail::Canvas canvas;
    const detail::BitStruct* picture = detail::LiveBitmap(detail::shared(), bitmap);
    if (!canvas.Open() || picture == nullptr) return;
    detail::DrawPart(canvas, *picture, {xsrc, ysrc, width, height}, x, y, flip);
}

}  // namespace Vuderiv
