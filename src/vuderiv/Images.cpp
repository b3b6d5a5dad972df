// Picture files beyond BMP, and what a bitmap says of itself: PNG decoding (when the
// library is built with PNG support), colour keys and sizes.
#include "Images.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "Handles.h"
#include "Vuderiv.h"

#if VUDERIV_PNG
#include <SDL_image.h>
#endif

namespace Vuderiv::detail {

namespace {

constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// The signature, the length and type of the first chunk, and that chunk's width and height.
constexpr size_t kPngHead = 24;

Decoded Failed(SDL_RWops* stream, std::string* fault, const char* why) {
    if (stream != nullptr) SDL_RWclose(stream);
    if (fault != nullptr) *fault = why;
    return {};
}

#if VUDERIV_PNG
uint32_t ReadBigEndian(const uint8_t* bytes) {
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
           uint32_t{bytes[3]};
}

// Moves the opacity out of bits 24-31 into a plane of its own; no plane when every pixel
// is fully opaque.
std::vector<uint8_t> SplitAlpha(Surface& picture) {
    std::vector<uint8_t> alpha(picture.pixels.size());
    bool seeThrough = false;
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        alpha[i] = static_cast<uint8_t>(picture.pixels[i] >> 24);
        seeThrough = seeThrough || alpha[i] != 255;
        picture.pixels[i] &= 0x00FFFFFF;
    }
    if (!seeThrough) alpha.clear();
    return alpha;
}

// The picture's size from the header, checked before anything is decoded, so that a
// hostile header costs no memory.
const char* PngSizeFault(const std::array<uint8_t, kPngHead>& head, uint64_t maxPixels) {
    const uint64_t width = ReadBigEndian(&head[16]);
    const uint64_t height = ReadBigEndian(&head[20]);
    if (width == 0 || height == 0) return "not a PNG file: its header gives no pixels";
    const uint64_t side = std::numeric_limits<int32_t>::max();
    if (width > side || height > side || width * height > maxPixels) return "too large";
    return nullptr;
}

Decoded DecodePng(SDL_RWops* stream, const std::array<uint8_t, kPngHead>& head, uint32_t width,
                  uint32_t height, uint64_t maxPixels, std::string* fault) {
    if (const char* why = PngSizeFault(head, maxPixels)) return Failed(stream, fault, why);
    SDL_Surface* loaded = IMG_LoadPNG_RW(stream);
    SDL_RWclose(stream);
    if (loaded == nullptr) {
        if (fault != nullptr) *fault = std::string("not readable: ") + IMG_GetError();
        return {};
    }
    Decoded result{ConvertSurface(loaded, width, height, maxPixels, true), {}};
    if (result.surface.Empty()) return Failed(nullptr, fault, "out of memory");
    result.alpha = SplitAlpha(result.surface);
    return result;
}
#else
Decoded DecodePng(SDL_RWops* stream, const std::array<uint8_t, kPngHead>&, uint32_t, uint32_t,
                  uint64_t, std::string* fault) {
    return Failed(stream, fault, "PNG support not built in");
}
#endif

}  // namespace

Decoded DecodePicture(SDL_RWops* stream, uint32_t width, uint32_t height, uint64_t maxPixels,
                      std::string* fault) {
    if (stream == nullptr) return Failed(nullptr, fault, "cannot be opened");
    std::array<uint8_t, kPngHead> head{};
    const Sint64 start = SDL_RWtell(stream);
    const size_t got = SDL_RWread(stream, head.data(), 1, head.size());
    if (start < 0 || SDL_RWseek(stream, start, RW_SEEK_SET) != start) {
        return Failed(stream, fault, "cannot be read");
    }
    // Anything shorter than a PNG's header is left to the BMP reader, which refuses it.
    if (got == kPngHead && std::equal(kPngSignature.begin(), kPngSignature.end(), head.begin())) {
        return DecodePng(stream, head, width, height, maxPixels, fault);
    }
    return {DecodeBmp(stream, width, height, maxPixels, fault), {}};
}

}  // namespace Vuderiv::detail

namespace Vuderiv {

using detail::BitStruct;
using detail::Canvas;

bool BitmapSize(uint32_t bitmap, uint32_t& width, uint32_t& height) {
    Canvas canvas;
    const BitStruct* picture = detail::LiveBitmap(detail::shared(), bitmap);
    width = picture != nullptr ? picture->width : 0;
    height = picture != nullptr ? picture->height : 0;
    return picture != nullptr;
}

void SetColorKey(uint32_t bitmap, uint32_t color) {
    Canvas canvas;
    if (BitStruct* picture = detail::LiveBitmap(detail::shared(), bitmap)) {
        picture->colorKey = color & 0x00FFFFFF;
    }
}

void ClearColorKey(uint32_t bitmap) {
    Canvas canvas;
    if (BitStruct* picture = detail::LiveBitmap(detail::shared(), bitmap)) {
        picture->colorKey = detail::kNoColorKey;
    }
}

}  // namespace Vuderiv
