// How the window shows the buffer: the whole scale, desktop fullscreen and the window keys
// that toggle it. The window thread applies what the program thread chooses.
#include <SDL.h>

#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace detail {

namespace {

struct Choice {
    uint32_t scale = 1;
    bool fullscreen = false;
};

Choice Asked(Shared& s) {
    std::lock_guard<std::mutex> lock(s.lifecycleLock);
    return {s.askedScale, s.askedFullscreen};
}

// The largest scale at which the buffer fits the usable area of the first screen.
uint32_t LargestFit(const Shared& s) {
    SDL_Rect room{};
    if (SDL_GetDisplayUsableBounds(0, &room) != 0) return 1;
    return static_cast<uint32_t>(
        LargestScale(static_cast<int32_t>(s.xlen), static_cast<int32_t>(s.ylen), room.w, room.h));
}

uint32_t ScaleToShow(const Shared& s, uint32_t asked) {
    const uint32_t largest = s.largestScale;
    return asked == 0 || asked > largest ? largest : asked;
}

bool IsFullscreen(SDL_Window* window) {
    return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
           SDL_WINDOW_FULLSCREEN_DESKTOP;
}

bool IsWindowKey(const SDL_Keysym& key) {
    const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
    return key.sym == SDLK_F11 || (enter && (key.mod & KMOD_ALT) != 0);
}

bool ToggleAsked(Shared& s) {
    std::lock_guard<std::mutex> lock(s.lifecycleLock);
    s.askedFullscreen = !s.askedFullscreen;
    return s.askedFullscreen;
}

// Records a choice and, with a window open, returns once the window thread has taken it;
// from a callback on that thread, it takes it once the callback has returned.
template <typename Change>
void Choose(Change change) {
    Shared& s = shared();
    {
        std::lock_guard<std::mutex> lock(s.lifecycleLock);
        change(s);
    }
    if (PushRequest(REQUEST_DISPLAY) && !OnWindowThread()) Sync();
}

}  // namespace

void WindowSize(Shared& s, int& w, int& h, uint32_t& flags) {
    s.largestScale = LargestFit(s);
    const Choice asked = Asked(s);
    const uint32_t scale = ScaleToShow(s, asked.scale);
    w = static_cast<int>(s.xlen * scale);
    h = static_cast<int>(s.ylen * scale);
    if (asked.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
}

void ApplyDisplay(Shared& s) {
    const Choice asked = Asked(s);
    if (asked.fullscreen) {
        if (!IsFullscreen(s.sdlWindow))
            SDL_SetWindowFullscreen(s.sdlWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        if (IsFullscreen(s.sdlWindow)) SDL_SetWindowFullscreen(s.sdlWindow, 0);
        const auto scale = static_cast<int>(ScaleToShow(s, asked.scale));
        SDL_SetWindowSize(s.sdlWindow, static_cast<int>(s.xlen) * scale,
                          static_cast<int>(s.ylen) * scale);
    }
    Refit(s);
}

void Refit(Shared& s) {
    {
        std::lock_guard<std::mutex> lock(s.canvasLock);
        if (!s.canvasReady) return;
        s.frame = FitFrame(SDL_GetWindowSurface(s.sdlWindow), s.buffer.width, s.buffer.height);
        ShowBlock(s.frame, s.buffer, 0, 0, s.buffer.width, s.buffer.height);
    }
    Present(s);
}

bool HandleWindowKey(Shared& s, const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN || !s.windowKeys || !IsWindowKey(event.key.keysym)) {
        return false;
    }
    if (event.key.repeat != 0) return true;  // held down: one toggle
    const bool on = ToggleAsked(s);
    ApplyDisplay(s);
    s.fullscreenKeyProc.Call(on);
    return true;
}

}  // namespace detail

using detail::Canvas;
using detail::Shared;
using detail::shared;

void SetWindowScale(uint32_t factor) {
    detail::Choose([factor](Shared& s) { s.askedScale = factor; });
}

uint32_t WindowScale() {
    Canvas canvas;
    return canvas.Open() && canvas.Shown().surface != nullptr
               ? static_cast<uint32_t>(canvas.Shown().scale)
               : 0;
}

uint32_t LargestWindowScale() {
    return WindowIsOpen() ? shared().largestScale.load() : 0;
}

void SetFullscreen(bool on) {
    detail::Choose([on](Shared& s) { s.askedFullscreen = on; });
}

bool Fullscreen() {
    Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.lifecycleLock);
    return s.askedFullscreen;
}

void EnableWindowKeys(bool on) {
    shared().windowKeys = on;
}

void OnFullscreenKey(FullscreenProc proc) {
    shared().fullscreenKeyProc.Set(proc);
}

void OnFullscreenKey(FullscreenDataProc proc, void* data) {
    shared().fullscreenKeyProc.Set(proc, data);
}

}  // namespace Vuderiv
