// The window's icon. The program thread reads the picture and records it; the window
// thread, which owns every SDL video call, hands it to the window.
#include <SDL.h>

#include <mutex>
#include <utility>

#include "Bitmaps.h"
#include "Files.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace detail {

namespace {

// Icons are small; a larger picture is refused rather than sent to the window system.
constexpr uint64_t kMaxIconPixels = 1024 * 1024;

void RecordIcon(Shared& s, Surface&& icon) {
    {
        std::lock_guard<std::mutex> lock(s.iconLock);
        s.icon = std::move(icon);
    }
    PushRequest(REQUEST_ICON);  // refused, and not needed, while no window is open
}

}  // namespace

void ShowIcon(Shared& s) {
    std::lock_guard<std::mutex> lock(s.iconLock);
    if (s.sdlWindow == nullptr || s.icon.Empty()) return;
    // The surface only borrows the pixels; SDL keeps a copy of its own.
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(
        s.icon.pixels.data(), s.icon.width, s.icon.height, 32,
        s.icon.width * static_cast<int>(sizeof(uint32_t)), SDL_PIXELFORMAT_XBGR8888);
    if (picture == nullptr) return;
    SDL_SetWindowIcon(s.sdlWindow, picture);
    SDL_FreeSurface(picture);
}

}  // namespace detail

bool WindowIcon(const char* file) {
    if (file == nullptr) {
        detail::RecordIcon(detail::shared(), detail::Surface());
        return true;
    }
    detail::Surface icon = detail::DecodeBmp(detail::OpenFile(file), 0, 0, detail::kMaxIconPixels);
    if (icon.Empty()) return false;
    detail::RecordIcon(detail::shared(), std::move(icon));
    return true;
}

}  // namespace Vuderiv
