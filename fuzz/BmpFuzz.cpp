// Feeds arbitrary bytes to the BMP loading path: the header check, SDL's decoder, the
// conversion to the buffer's layout, scaling, and the table that takes the result.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "Bitmaps.h"

namespace {

// Small enough that every accepted picture decodes quickly.
constexpr uint64_t kFuzzMaxPixels = uint64_t{1} << 22;

void Load(const uint8_t* data, size_t size, uint32_t width, uint32_t height) {
    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    Vuderiv::detail::Surface picture =
        Vuderiv::detail::DecodeBmp(stream, width, height, kFuzzMaxPixels);
    if (picture.Empty()) return;
    // Every pixel of the result is read (a wrong size shows under ASan), then the table
    // takes it in and lets it go.
    Vuderiv::detail::Surface target(16, 16);
    Vuderiv::detail::CopyBlock(target, -3, -3, picture, 0, 0, picture.width, picture.height);
    std::vector<Vuderiv::detail::BitStruct> table;
    const uint32_t handle = Vuderiv::detail::AddBitmap(table, std::move(picture));
    if (handle != 0) Vuderiv::detail::DelBitmap(table, handle - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    Load(data, size, 0, 0);  // at the file's own size
    Load(data, size, 7, 5);  // scaled
    return 0;
}
