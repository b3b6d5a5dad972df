// How the window shows the buffer: the whole scale or the fitted picture, the window's size
// and place on the usable area of its own screen, desktop fullscreen and the window keys
// that toggle it. The window thread applies what the program thread chooses.
#include <SDL.h>

#include <algorithm>

#include "Scaler.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace detail {

namespace {

struct Choice {
    uint32_t scale = DefaultScale;
    bool fullscreen = false;
    bool strict = false;
};

Choice Asked(Shared& s) {
    std::lock_guard<std::mutex> lock(s.lifecycleLock);
    return {s.askedScale, s.askedFullscreen, s.strictScale};
}

bool IsWhole(uint32_t scale) {
    return scale != 0 && scale != FitScale && scale != DefaultScale;
}

// A headless driver's screen is no one's: it holds the buffer at scale 1 whatever its size.
bool Headless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr &&
           (SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0);
}

// The usable area of the window's screen less the window's frame.
SDL_Rect Room(const Shared& s) {
    const int display = std::max(0, SDL_GetWindowDisplayIndex(s.sdlWindow));
    SDL_Rect room{};
    if (SDL_GetDisplayUsableBounds(display, &room) != 0) room = {0, 0, 0, 0};
    if (Headless()) {
        room.w = std::max(room.w, static_cast<int>(s.xlen));
        room.h = std::max(room.h, static_cast<int>(s.ylen));
    }
    room.x += s.borders.left;
    room.y += s.borders.top;
    room.w -= s.borders.left + s.borders.right;
    room.h -= s.borders.top + s.borders.bottom;
    return room;
}

// The window's client size for a choice on its screen, and whether the picture is fitted.
struct Layout {
    int w = 0, h = 0;
    bool fitted = false;
};

Layout Windowed(Shared& s, const SDL_Rect& room, uint32_t asked) {
    const auto w = static_cast<int32_t>(s.xlen), h = static_cast<int32_t>(s.ylen);
    const uint32_t largest =
        w <= room.w && h <= room.h ? static_cast<uint32_t>(LargestScale(w, h, room.w, room.h)) : 0;
    s.largestScale = largest;
    if (asked == FitScale || largest == 0) {
        Layout fitted{0, 0, true};
        FittedSize(w, h, room.w, room.h, fitted.w, fitted.h);
        return fitted;
    }
    uint32_t scale = 1;  // DefaultScale
    if (asked == 0) scale = largest;
    if (IsWhole(asked)) scale = std::min(asked, largest);
    return {w * static_cast<int>(scale), h * static_cast<int>(scale), false};
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

// Whether the window's screen holds the buffer at a whole factor.
bool ScreenHolds(const Shared& s) {
    SDL_Rect screen{};
    const int display = std::max(0, SDL_GetWindowDisplayIndex(s.sdlWindow));
    return SDL_GetDisplayBounds(display, &screen) == 0 && screen.w >= static_cast<int>(s.xlen) &&
           screen.h >= static_cast<int>(s.ylen);
}

// Sizes the window for the choice (the size it comes back to from fullscreen, too) and
// notes how its picture is shown.
Layout SizeWindow(Shared& s, const Choice& asked) {
    const Layout layout = Windowed(s, Room(s), asked.scale);
    SDL_SetWindowSize(s.sdlWindow, layout.w, layout.h);
    s.placedWidth = layout.w;
    s.placedHeight = layout.h;
    const bool whole = IsWhole(asked.scale) || asked.scale == 0;
    s.fitPicture = asked.fullscreen ? !whole || !ScreenHolds(s) : layout.fitted;
    return layout;
}

// Centres the window on the usable area, frame and all, so that the title bar is on the screen.
void CentreWindow(Shared& s, const Layout& layout) {
    const SDL_Rect room = Room(s);
    SDL_SetWindowPosition(s.sdlWindow, room.x - s.borders.left + (room.w - layout.w) / 2,
                          room.y - s.borders.top + (room.h - layout.h) / 2);
}

// The most times a shown window is brought to the size and place its frame asks for: a
// window manager that answers late is followed, one that refuses the size is not fought.
constexpr int kLateCorrections = 3;

}  // namespace

bool PlaceWindow(Shared& s) {
    const Choice asked = Asked(s);
    s.borders = MeasureBorders(s.sdlWindow);
    s.corrections = 0;
    const Layout layout = SizeWindow(s, asked);
    if (asked.strict && IsWhole(asked.scale) && asked.scale > s.largestScale) return false;
    CentreWindow(s, layout);
    return true;
}

void CheckPlace(Shared& s) {
    const Choice asked = Asked(s);
    if (asked.fullscreen || IsFullscreen(s.sdlWindow) || s.corrections >= kLateCorrections) return;
    Borders now;
    if (SDL_GetWindowBordersSize(s.sdlWindow, &now.top, &now.left, &now.bottom, &now.right) != 0)
        return;
    const bool framed = now.top != s.borders.top || now.left != s.borders.left ||
                        now.bottom != s.borders.bottom || now.right != s.borders.right;
    int w = 0, h = 0;
    SDL_GetWindowSize(s.sdlWindow, &w, &h);
    if (!framed && w == s.placedWidth && h == s.placedHeight) return;
    ++s.corrections;
    if (framed) {  // the frame that came: the size and place for it
        s.borders = now;
        CentreWindow(s, SizeWindow(s, asked));
    } else {  // the size set went astray
        SDL_SetWindowSize(s.sdlWindow, s.placedWidth, s.placedHeight);
    }
    Refit(s);
}

void ApplyDisplay(Shared& s) {
    const Choice asked = Asked(s);
    if (asked.fullscreen) {
        if (!IsFullscreen(s.sdlWindow))
            SDL_SetWindowFullscreen(s.sdlWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else if (IsFullscreen(s.sdlWindow)) {
        SDL_SetWindowFullscreen(s.sdlWindow, 0);
    }
    SizeWindow(s, asked);
    Refit(s);
}

void Refit(Shared& s) {
    {
        std::lock_guard<std::mutex> lock(s.canvasLock);
        if (!s.canvasReady) return;
        s.frame = FitFrame(SDL_GetWindowSurface(s.sdlWindow), s.buffer.width, s.buffer.height,
                           s.fitPicture);
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
    const detail::Frame& frame = canvas.Shown();
    return canvas.Open() && frame.surface != nullptr && !frame.fitted
               ? static_cast<uint32_t>(frame.scale)
               : 0;
}

void WindowPicture(int32_t& left, int32_t& top, uint32_t& width, uint32_t& height) {
    Canvas canvas;
    const detail::Frame& frame = canvas.Shown();
    const bool shown = canvas.Open() && frame.surface != nullptr;
    left = shown ? frame.left : 0;
    top = shown ? frame.top : 0;
    width = shown ? static_cast<uint32_t>(frame.shownWidth) : 0;
    height = shown ? static_cast<uint32_t>(frame.shownHeight) : 0;
}

uint32_t LargestWindowScale() {
    return shared().largestScale.load();
}

void SetStrictScale(bool on) {
    Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.lifecycleLock);
    s.strictScale = on;
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
