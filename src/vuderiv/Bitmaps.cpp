// The bitmap table: BMP loading, blank bitmaps, plain and masked draws, copies between
// bitmaps. The table lives in the shared state and is guarded by the canvas lock; every
// bitmap is held in the buffer's own pixel layout, so a draw is a plain block copy.
#include "Bitmaps.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <utility>

#include "Files.h"
#include "Handles.h"
#include "Images.h"
#include "Report.h"

namespace Vuderiv::detail {

namespace {

constexpr uint32_t kColorBits = 0x00FFFFFF;
constexpr uint64_t kMaxSide = std::numeric_limits<int32_t>::max();

bool SizeFits(uint64_t width, uint64_t height, uint64_t maxPixels) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           width * height <= maxPixels;
}

// --- BMP header check --------------------------------------------------------------

uint32_t ReadLe(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// What the file's header promises: the picture's size and, for uncompressed rows, how
// many bytes the file must hold. Taken before decoding, so that a broken or hostile
// header costs no memory.
struct BmpShape {
    int64_t width = 0;
    int64_t height = 0;
    uint64_t bytesNeeded = 0;  // from the stream's start; 0 when the rows are compressed
};

constexpr const char* kCutOff = "cut off";

// Reads the header into `shape`; why it cannot, or nullptr.
const char* ReadShape(SDL_RWops* stream, BmpShape& shape) {
    constexpr int kCoreHeader = 12;
    std::array<uint8_t, 34> head{};
    const size_t got = SDL_RWread(stream, head.data(), 1, head.size());
    if (got < 2 || head[0] != 'B' || head[1] != 'M') return "not a BMP file";
    if (got < 26) return kCutOff;
    const uint32_t dataOffset = ReadLe(&head[10], 4);
    const uint32_t headerSize = ReadLe(&head[14], 4);
    uint32_t bitsPerPixel = 0;
    uint32_t compression = 0;
    if (headerSize == kCoreHeader) {
        shape.width = ReadLe(&head[18], 2);
        shape.height = ReadLe(&head[20], 2);
        bitsPerPixel = ReadLe(&head[24], 2);
    } else {
        if (got < 30) return kCutOff;
        shape.width = static_cast<int32_t>(ReadLe(&head[18], 4));
        shape.height = static_cast<int32_t>(ReadLe(&head[22], 4));
        bitsPerPixel = ReadLe(&head[28], 2);
        if (headerSize >= 20 && got >= 34) compression = ReadLe(&head[30], 4);
    }
    shape.height = shape.height < 0 ? -shape.height : shape.height;  // top-down rows
    const bool plainRows = compression == 0 || compression == 3 || compression == 6;
    if (plainRows) {
        const uint64_t rowBytes = (static_cast<uint64_t>(shape.width) * bitsPerPixel + 31) / 32 * 4;
        shape.bytesNeeded = dataOffset + rowBytes * static_cast<uint64_t>(shape.height);
    }
    return nullptr;
}

std::string SizeText(uint64_t width, uint64_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// Why the header cannot be decoded, or "" when it can: the stream is then back at its start.
std::string HeaderFault(SDL_RWops* stream, uint64_t maxPixels) {
    const Sint64 start = SDL_RWtell(stream);
    const Sint64 end = SDL_RWsize(stream);
    BmpShape shape;
    if (start < 0) return "cannot be read";
    if (const char* fault = ReadShape(stream, shape)) return fault;
    if (shape.width <= 0 || shape.height <= 0) return "not a BMP file: its header gives no pixels";
    const auto width = static_cast<uint64_t>(shape.width);
    const auto height = static_cast<uint64_t>(shape.height);
    if (!SizeFits(width, height, maxPixels)) return "too large: " + SizeText(width, height);
    if (end >= 0 && static_cast<uint64_t>(end - start) < shape.bytesNeeded) return kCutOff;
    return SDL_RWseek(stream, start, RW_SEEK_SET) == start ? "" : "cannot be read";
}

// An empty surface, with the reason where the caller asks for it.
Surface Failed(std::string* fault, std::string why) {
    if (fault != nullptr) *fault = std::move(why);
    return {};
}

// --- Conversion --------------------------------------------------------------------

// The source position that the centre of target cell `to` of `toCount` falls on.
int32_t Nearest(int64_t to, int64_t toCount, int64_t fromCount) {
    return static_cast<int32_t>((2 * to + 1) * fromCount / (2 * toCount));
}

// Fills `to` from a 32-bit SDL surface, sampling the nearest pixel when sizes differ, and
// keeping the bits of each pixel that `keep` has.
void Resample(const SDL_Surface& from, Surface& to, uint32_t keep) {
    std::vector<int32_t> column(static_cast<size_t>(to.width));
    for (int32_t x = 0; x < to.width; ++x)
        column[x] = Nearest(x, to.width, from.w);
    const auto* base = static_cast<const uint8_t*>(from.pixels);
    for (int32_t y = 0; y < to.height; ++y) {
        const size_t offset =
            static_cast<size_t>(Nearest(y, to.height, from.h)) * static_cast<size_t>(from.pitch);
        const auto* source = reinterpret_cast<const uint32_t*>(base + offset);
        uint32_t* target = to.Row(y);
        for (int32_t x = 0; x < to.width; ++x)
            target[x] = source[column[x]] & keep;
    }
}

}  // namespace

Surface ConvertSurface(SDL_Surface* loaded, uint32_t width, uint32_t height, uint64_t maxPixels,
                       bool keepAlpha) {
    const uint32_t format = keepAlpha ? SDL_PIXELFORMAT_ABGR8888 : SDL_PIXELFORMAT_XBGR8888;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, format, 0);
    SDL_FreeSurface(loaded);
    if (converted == nullptr) return {};
    Surface result =
        MakeSurface(width != 0 ? width : static_cast<uint32_t>(converted->w),
                    height != 0 ? height : static_cast<uint32_t>(converted->h), maxPixels);
    if (!result.Empty()) Resample(*converted, result, keepAlpha ? 0xFFFFFFFF : kColorBits);
    SDL_FreeSurface(converted);
    return result;
}

namespace {

// --- Table access ------------------------------------------------------------------

// The slot of a valid handle, or nullptr (the canvas is held).
BitStruct* Find(uint32_t handle) {
    return LiveBitmap(shared(), handle);
}

// The picture of a valid handle, or nullptr.
Surface* Picture(uint32_t handle) {
    BitStruct* slot = Find(handle);
    return slot != nullptr ? &slot->surface : nullptr;
}

// A picture version that no bitmap has had yet (the canvas is held).
uint64_t NewVersion() {
    static uint64_t last = 0;
    return ++last;
}

// Whatever changes a bitmap's pixels calls this: its mask runs and its version go.
void PixelsChange(BitStruct& bitmap) {
    bitmap.runs.Forget();
    bitmap.version = NewVersion();
}

// Whether an opaque draw of the bitmap at (0, y) fills whole rows of the target.
bool FillsRows(const BitStruct& bitmap, const Surface& target) {
    return std::min<int64_t>(bitmap.width, bitmap.surface.width) >= target.width;
}

// Draws an opaque bitmap that fills whole rows of the buffer at (0, y): of a row that holds
// the same picture row already but for what was drawn over it, only that part is copied.
void DrawWholeRows(Canvas& canvas, const BitStruct& bitmap, int64_t y) {
    const Block rows = Clip(canvas.Buffer(), 0, y, canvas.Buffer().width,
                            std::min<int64_t>(bitmap.height, bitmap.surface.height));
    for (int32_t by = rows.y; by < rows.y + rows.h; ++by) {
        const RowSource source{bitmap.version, by - y};
        Span copy;
        Surface& buffer = canvas.DrawPictureRow(by, source, copy);
        if (copy.end <= copy.first) continue;
        const uint32_t* from = bitmap.surface.Row(static_cast<int32_t>(source.row));
        std::memcpy(buffer.Row(by) + copy.first, from + copy.first,
                    static_cast<size_t>(copy.end - copy.first) * sizeof(uint32_t));
    }
}

// Enters a made bitmap whose draws copy the asked width x height block, with its opacity.
uint32_t Enter(Surface&& surface, uint32_t width, uint32_t height,
               std::vector<uint8_t>&& alpha = {}) {
    if (surface.Empty()) return 0;
    Canvas canvas;
    const uint32_t position = AddBitmap(canvas.Bitmaps(), std::move(surface));
    if (position == 0) return 0;
    BitStruct& entry = canvas.Bitmaps()[position - 1];
    entry.width = width;
    entry.height = height;
    entry.alpha = std::move(alpha);
    return IssueHandle(shared(), position - 1);
}

// One line on standard error for a file that cannot be loaded, the first time only: a
// program that loads the file again and again says it once.
void ReportLoadFailure(const std::string& path, const std::string& fault) {
    static std::mutex lock;
    static std::set<std::string> reported;  // the files said so far
    std::lock_guard<std::mutex> guard(lock);
    if (!reported.insert(path).second) return;
    Report("Vuderiv: " + path + ": cannot be loaded: " + fault);
}

// Calls run(y, x, n) for each run of n target pixels from (x, y) on where the mask, read
// from its own origin over the picture's drawn block at (left, top), is 1; outside the
// mask it is 0. The mask's runs are found at its first use and kept.
template <typename Run>
void ForLightRuns(const Surface& target, int64_t left, int64_t top, const BitStruct& slot,
                  BitStruct& mask, Run run) {
    const Block block = Clip(target, left, top, std::min<int64_t>(slot.width, mask.surface.width),
                             std::min<int64_t>(slot.height, mask.surface.height));
    if (block.Empty()) return;
    if (!mask.runs.Made()) mask.runs.Make(mask.surface);
    mask.runs.ForEach(block, left, top, run);
}

// Copies a run of n pixels between two pictures. A mask's runs are mostly short, and
// calling memcpy for each costs more than the copy: four pixels at a time, the last four
// overlapping those before, unless the run is long.
void CopyRun(uint32_t* to, const uint32_t* from, int32_t n) {
#if defined(__SSE2__)
    constexpr int32_t kLong = 64;
    if (n >= 4 && n <= kLong) {
        const auto four = [&](int32_t i) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
        };
        for (int32_t i = 0; i + 4 < n; i += 4)
            four(i);
        four(n - 4);
        return;
    }
#endif
    std::memcpy(to, from, static_cast<size_t>(n) * sizeof(uint32_t));
}

// Copies the picture's drawn block to (x, y) of the target where the mask is 1; elsewhere
// the target keeps its pixels.
void MaskedCopy(Surface& target, int64_t x, int64_t y, const BitStruct& slot, BitStruct& mask) {
    ForLightRuns(target, x, y, slot, mask, [&](int32_t row, int32_t column, int32_t n) {
        CopyRun(target.Row(row) + column,
                slot.surface.Row(static_cast<int32_t>(row - y)) + (column - x), n);
    });
}

}  // namespace

Surface MakeSurface(uint64_t width, uint64_t height, uint64_t maxPixels) {
    if (!SizeFits(width, height, maxPixels)) return {};
    try {
        return Surface(static_cast<int32_t>(width), static_cast<int32_t>(height));
    } catch (const std::bad_alloc&) {
        return {};
    }
}

Surface DecodeBmp(SDL_RWops* stream, uint32_t width, uint32_t height, uint64_t maxPixels,
                  std::string* fault) {
    if (stream == nullptr) return Failed(fault, "cannot be opened");
    const bool askedFits = SizeFits(width != 0 ? width : 1, height != 0 ? height : 1, maxPixels);
    std::string why = askedFits ? HeaderFault(stream, maxPixels)
                                : "the size asked, " + SizeText(width, height) + ", is too large";
    if (!why.empty()) {
        SDL_RWclose(stream);
        return Failed(fault, std::move(why));
    }
    SDL_Surface* loaded = SDL_LoadBMP_RW(stream, 1);
    if (loaded == nullptr) return Failed(fault, std::string("not readable: ") + SDL_GetError());
    try {
        Surface result = ConvertSurface(loaded, width, height, maxPixels, false);
        return result.Empty() ? Failed(fault, "out of memory") : std::move(result);
    } catch (const std::bad_alloc&) {
        return Failed(fault, "out of memory");
    }
}

uint32_t AddBitmap(std::vector<BitStruct>& table, Surface&& surface) {
    const auto width = static_cast<uint32_t>(surface.width);
    const auto height = static_cast<uint32_t>(surface.height);
    BitStruct entry{std::move(surface), width, height, {}, kNoColorKey, 0, {}, NewVersion()};
    const auto isFree = [](const BitStruct& slot) { return slot.surface.Empty(); };
    const auto hole = std::find_if(table.begin(), table.end(), isFree);
    if (hole != table.end()) {
        *hole = std::move(entry);
        return static_cast<uint32_t>(hole - table.begin()) + 1;
    }
    if (table.size() >= std::numeric_limits<uint32_t>::max()) return 0;
    try {
        table.reserve(table.size() + 1);  // exactly one more slot, no spare capacity
    } catch (const std::bad_alloc&) {
        return 0;
    }
    table.push_back(std::move(entry));
    return static_cast<uint32_t>(table.size());
}

void DelBitmap(std::vector<BitStruct>& table, size_t del) {
    table[del] = BitStruct{};
    while (!table.empty() && table.back().surface.Empty())
        table.pop_back();
    if (table.empty()) {
        std::vector<BitStruct>().swap(table);  // no storage at all
    } else {
        table.shrink_to_fit();
    }
}

void ClearBitmapTable(Shared& s) {
    std::vector<BitStruct>().swap(s.bit);
}

uint32_t BitmapTableLength() {
    Canvas canvas;
    return static_cast<uint32_t>(canvas.Bitmaps().size());
}

}  // namespace Vuderiv::detail

namespace Vuderiv {

using namespace detail;

namespace {

// Loads a BMP or PNG file at width x height (a side of 0: the file's own), drawn at the
// asked size, or at the picture's own when `ownSize`.
uint32_t Load(const char* file, uint32_t width, uint32_t height, bool ownSize) {
    if (file == nullptr) return 0;
    const std::string path = FilePath(file);
    std::string fault;
    SDL_RWops* stream = OpenFile(file, &fault);
    if (stream == nullptr) {
        ReportLoadFailure(path, fault);
        return 0;
    }
    Decoded picture = DecodePicture(stream, width, height, kMaxBitmapPixels, &fault);
    if (ownSize) {
        width = static_cast<uint32_t>(picture.surface.width);
        height = static_cast<uint32_t>(picture.surface.height);
    }
    const uint32_t handle =
        Enter(std::move(picture.surface), width, height, std::move(picture.alpha));
    if (handle == 0) ReportLoadFailure(path, fault.empty() ? "the bitmap table is full" : fault);
    return handle;
}

}  // namespace

uint32_t LoadBitmap(const char* file, uint32_t width, uint32_t height) {
    return Load(file, width, height, false);
}

uint32_t LoadImage(const char* file) {
    return Load(file, 0, 0, true);
}

uint32_t CreateBitmap(uint32_t width, uint32_t height) {
    return Enter(MakeSurface(width, height), width, height);
}

void DestroyBitmap(uint32_t bitmap) {
    Canvas canvas;
    const BitStruct* entry = Find(bitmap);
    if (entry == nullptr) return;
    const auto slot = static_cast<size_t>(entry - canvas.Bitmaps().data());
    CountDestruction(shared(), slot);
    DelBitmap(canvas.Bitmaps(), slot);
}

void DrawBitmap(uint32_t bitmap, int32_t x, int32_t y) {
    Canvas canvas;
    const BitStruct* picture = Find(bitmap);
    if (!canvas.Open() || picture == nullptr) return;
    if (!Opaque(*picture))
        return DrawPart(canvas, *picture, {0, 0, picture->width, picture->height}, x, y, FlipNone);
    if (x == 0 && FillsRows(*picture, canvas.Buffer())) {
        DrawWholeRows(canvas, *picture, y);
        if (!canvas.Buffering()) canvas.Show(x, y, picture->width, picture->height);
        return;
    }
    CopyBlock(canvas.DrawBlock(x, y, picture->width, picture->height), x, y, picture->surface, 0, 0,
              picture->width, picture->height);
    if (!canvas.Buffering()) canvas.Show(x, y, picture->width, picture->height);
}

void DrawMaskBitmap(uint32_t bitmap, uint32_t maskbitmap, int32_t x, int32_t y) {
    Canvas canvas;
    const BitStruct* picture = Find(bitmap);
    BitStruct* mask = Find(maskbitmap);
    if (!canvas.Open() || picture == nullptr || mask == nullptr) return;
    MaskedCopy(canvas.DrawBlock(x, y, picture->width, picture->height), x, y, *picture, *mask);
    if (canvas.Buffering()) return;
    // The window changes only where the mask is light, as with a draw into the window.
    ForLightRuns(canvas.Buffer(), x, y, *picture, *mask,
                 [&](int32_t row, int32_t column, int32_t n) { canvas.Show(column, row, n, 1); });
}

void CopyBitmap(uint32_t srcbitmap, uint32_t destbitmap, int32_t xsrc, int32_t ysrc, int32_t xdest,
                int32_t ydest, uint32_t width, uint32_t height) {
    Canvas canvas;
    const Surface* source = Picture(srcbitmap);
    BitStruct* destination = Find(destbitmap);
    if (source == nullptr || destination == nullptr) return;
    PixelsChange(*destination);
    Surface* target = &destination->surface;
    if (source != target) {
        CopyBlock(*target, xdest, ydest, *source, xsrc, ysrc, width, height);
        return;
    }
    // Within one bitmap the blocks may overlap: lift the piece out first.
    const Block piece = Clip(*source, xsrc, ysrc, width, height);
    Surface lifted = MakeSurface(static_cast<uint64_t>(piece.w), static_cast<uint64_t>(piece.h));
    if (lifted.Empty()) return;
    CopyBlock(lifted, 0, 0, *source, piece.x, piece.y, piece.w, piece.h);
    CopyBlock(*target, xdest + (piece.x - int64_t{xsrc}), ydest + (piece.y - int64_t{ysrc}), lifted,
              0, 0, piece.w, piece.h);
}

}  // namespace Vuderiv
