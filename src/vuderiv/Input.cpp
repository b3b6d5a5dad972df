// Keyboard and mouse: the window thread records, the program thread asks.
#include <SDL.h>

#include <algorithm>

#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace detail {

namespace {

// Keys pressed with Alt, Alt itself and F10 are the window system's, not the program's.
bool IsSystemKey(const SDL_Keysym& keysym) {
    return (keysym.mod & KMOD_ALT) != 0 || keysym.sym == SDLK_F10 || keysym.sym == SDLK_LALT ||
           keysym.sym == SDLK_RALT;
}

// The keyboard is one source of holds: a key it holds is held once, however often it
// repeats, and let go by its release, with Alt held or not.
void OnKey(Shared& s, const SDL_KeyboardEvent& event) {
    const bool down = event.type == SDL_KEYDOWN;
    if (down && IsSystemKey(event.keysym)) return;
    const int code = MapKey(event.keysym.sym);
    if (code < 0) return;
    const auto k = static_cast<uint8_t>(code);
    if (down != s.keyboardHeld[k]) {
        s.keyboardHeld[k] = down;
        if (down) {
            HoldKey(s, k);
        } else {
            LetGoKey(s, k);
        }
    }
    if (!down) return;
    AddKey(s, k);  // auto-repeat included
    if (KeyProc proc = s.keyPressProc.load(); proc && event.repeat == 0) proc(k);
}

// A client coordinate as the window system reports it: its low 16 bits, unsigned, so
// positions left of or above the client area read 32768..65535.
int32_t Coordinate(int32_t v) {
    return static_cast<int32_t>(static_cast<uint16_t>(v));
}

// A window position in buffer pixels. Inside the window, a point over the bars around the
// picture reads as the nearest edge of the picture; outside it (the mouse captured) the
// position goes on past the edge.
void MovedTo(const Shared& s, int32_t wx, int32_t wy, int32_t& x, int32_t& y) {
    const Frame& frame = s.frame;  // the window thread's own
    x = ToBuffer(wx, frame.left, frame.scale);
    y = ToBuffer(wy, frame.top, frame.scale);
    if (wx >= 0 && wy >= 0 && wx < frame.width && wy < frame.height) {
        x = std::clamp(x, 0, static_cast<int32_t>(s.xlen) - 1);
        y = std::clamp(y, 0, static_cast<int32_t>(s.ylen) - 1);
    }
}

void OnMove(Shared& s, const SDL_MouseMotionEvent& event) {
    int32_t x = 0, y = 0;
    MovedTo(s, event.x, event.y, x, y);
    std::lock_guard<std::mutex> lock(s.block);
    s.mouseX = Coordinate(x);
    s.mouseY = Coordinate(y);
}

void Call(const std::atomic<MouseProc>& callback, int32_t x, int32_t y) {
    if (MouseProc proc = callback.load()) proc(x, y);
}

// The mouse stays captured from the first button pressed to the last released.
void OnButton(Shared& s, const SDL_MouseButtonEvent& event) {
    // Not clamped: a button released over the bars lies outside the buffer.
    const int32_t x = Coordinate(ToBuffer(event.x, s.frame.left, s.frame.scale));
    const int32_t y = Coordinate(ToBuffer(event.y, s.frame.top, s.frame.scale));
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    // Uncaptured, a release outside the window belongs to whatever lies under the mouse;
    // SDL still reports it, for no window.
    if (event.windowID != s.windowId && !s.left && !s.right) return;
    if (event.button == SDL_BUTTON_LEFT) {
        if (down && event.clicks % 2 == 0) {  // a double click: no press, no capture
            Call(s.doubleProc, x, y);
            return;
        }
        s.left = down;
        if (!s.right) SDL_CaptureMouse(down ? SDL_TRUE : SDL_FALSE);
        Call(down ? s.leftDownProc : s.leftUpProc, x, y);
    } else if (event.button == SDL_BUTTON_RIGHT) {
        s.right = down;
        if (!s.left) SDL_CaptureMouse(down ? SDL_TRUE : SDL_FALSE);
        Call(down ? s.rightDownProc : s.rightUpProc, x, y);
    }
}

}  // namespace

void AddKey(Shared& s, uint8_t code) {
    std::lock_guard<std::mutex> lock(s.block);
    s.keybuf.push_back(code);
    if (s.keybuf.size() > kKeyQueueLimit) s.keybuf.pop_front();
}

void HoldKey(Shared& s, uint8_t code) {
    if (s.holds[code]++ == 0) s.key[code] = true;
}

void LetGoKey(Shared& s, uint8_t code) {
    if (s.holds[code] > 0 && --s.holds[code] == 0) s.key[code] = false;
}

int MapKey(SDL_Keycode sym) {
    if (sym >= SDLK_a && sym <= SDLK_z) return static_cast<int>(Key::A) + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return static_cast<int>(Key::Digit0) + (sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return static_cast<int>(Key::F1) + (sym - SDLK_F1);
    switch (sym) {
        case SDLK_LEFT:
            return Key::Left;
        case SDLK_UP:
            return Key::Up;
        case SDLK_RIGHT:
            return Key::Right;
        case SDLK_DOWN:
            return Key::Down;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return Key::Ctrl;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return Key::Shift;
        case SDLK_SPACE:
            return Key::Space;
        case SDLK_TAB:
            return Key::Tab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return Key::Enter;
        case SDLK_ESCAPE:
            return Key::Esc;
        default:
            return -1;
    }
}

bool HandleInputEvent(const SDL_Event& event) {
    Shared& s = shared();
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            OnKey(s, event.key);
            return true;
        case SDL_MOUSEMOTION:
            OnMove(s, event.motion);
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            OnButton(s, event.button);
            return true;
        default:
            return HandlePadEvent(event);
    }
}

void ResetInput() {
    Shared& s = shared();
    {
        std::lock_guard<std::mutex> lock(s.block);
        s.mouseX = 0;
        s.mouseY = 0;
    }
    s.left = false;
    s.right = false;
    for (auto* callback :
         {&s.leftDownProc, &s.leftUpProc, &s.rightDownProc, &s.rightUpProc, &s.doubleProc}) {
        callback->store(nullptr);
    }
    s.keyPressProc.store(nullptr);
    for (auto& entry : s.key)
        entry = false;
    s.holds.fill(0);
    s.keyboardHeld.fill(false);
    FlushKeys();
}

std::vector<uint8_t> QueuedKeys() {
    Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.block);
    return {s.keybuf.begin(), s.keybuf.end()};
}

}  // namespace detail

using detail::shared;

bool KeyDown(uint32_t k) {
    return k <= 255 && shared().key[k].load();
}

uint32_t NextKey() {
    detail::Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.block);
    if (s.keybuf.empty()) return 0;
    const uint32_t code = s.keybuf.front();
    s.keybuf.pop_front();
    return code;
}

void FlushKeys() {
    detail::Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.block);
    s.keybuf.clear();
    s.keybuf.shrink_to_fit();
}

void MousePos(int32_t& x, int32_t& y) {
    detail::Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.block);
    x = s.mouseX;
    y = s.mouseY;
}

void OnMouseLeftUp(MouseProc proc) {
    shared().leftUpProc.store(proc);
}

void OnKeyPress(KeyProc proc) {
    shared().keyPressProc.store(proc);
}

}  // namespace Vuderiv
