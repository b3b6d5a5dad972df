// Keyboard and mouse: the window thread records, the program thread asks.
#include <SDL.h>

#include <algorithm>
#include <utility>

#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace detail {

namespace {

// Keys pressed with Alt, Alt itself and F10 are the window system's, not the program's,
// unless the program records system keys.
bool IsSystemKey(const Shared& s, const SDL_Keysym& keysym) {
    if (s.systemKeys) return false;
    return (keysym.mod & KMOD_ALT) != 0 || keysym.sym == SDLK_F10 || keysym.sym == SDLK_LALT ||
           keysym.sym == SDLK_RALT;
}

// The keyboard is one source of holds: a key it holds is held once, however often it
// repeats, and let go by its release, with Alt held or not.
void OnKey(Shared& s, const SDL_KeyboardEvent& event) {
    const bool down = event.type == SDL_KEYDOWN;
    if (down && IsSystemKey(s, event.keysym)) return;
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
    if (event.repeat == 0) s.keyPressProc.Call(k);
}

// A client coordinate as the window system reports it: its low 16 bits, unsigned, so
// positions left of or above the client area read 32768..65535.
int32_t Coordinate(int32_t v) {
    return static_cast<int32_t>(static_cast<uint16_t>(v));
}

// A window position in buffer pixels, wherever it lies.
void InPicture(const Frame& frame, int32_t wx, int32_t wy, int32_t& x, int32_t& y) {
    x = ToBuffer(wx, frame.left, frame.shownWidth, frame.copy.width);
    y = ToBuffer(wy, frame.top, frame.shownHeight, frame.copy.height);
}

// A window position in buffer pixels. Inside the window, a point over the bars around the
// picture reads as the nearest edge of the picture; outside it (the mouse captured) the
// position goes on past the edge.
void MovedTo(const Shared& s, int32_t wx, int32_t wy, int32_t& x, int32_t& y) {
    const Frame& frame = s.frame;  // the window thread's own
    InPicture(frame, wx, wy, x, y);
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

// The polling record of the buttons: held, and the presses and releases not yet taken.
void RecordButton(Shared& s, uint8_t button, bool down) {
    if (button >= kMouseButtons) return;
    std::lock_guard<std::mutex> lock(s.block);
    const uint32_t bit = 1u << button;
    if (down) {
        s.mouseHeld |= bit;
        ++s.mousePresses[button];
    } else if ((s.mouseHeld & bit) != 0) {  // a release without a press is no one's
        s.mouseHeld &= ~bit;
        ++s.mouseReleases[button];
    }
}

void OnWheel(Shared& s, const SDL_MouseWheelEvent& event) {
    const int32_t turn = event.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
    std::lock_guard<std::mutex> lock(s.block);
    s.wheelX += turn * event.x;
    s.wheelY += turn * event.y;
}

// The mouse stays captured from the first button pressed to the last released.
void OnButton(Shared& s, const SDL_MouseButtonEvent& event) {
    // Not clamped: a button released over the bars lies outside the buffer.
    int32_t x = 0, y = 0;
    InPicture(s.frame, event.x, event.y, x, y);
    x = Coordinate(x);
    y = Coordinate(y);
    const bool down = event.type == SDL_MOUSEBUTTONDOWN;
    // Uncaptured, a release outside the window belongs to whatever lies under the mouse;
    // SDL still reports it, for no window.
    if (event.windowID != s.windowId && !s.left && !s.right) return;
    RecordButton(s, event.button, down);
    if (event.button == SDL_BUTTON_LEFT) {
        if (down && event.clicks % 2 == 0) {  // a double click: no press, no capture
            s.doubleProc.Call(x, y);
            return;
        }
        s.left = down;
        if (!s.right) SDL_CaptureMouse(down ? SDL_TRUE : SDL_FALSE);
        (down ? s.leftDownProc : s.leftUpProc).Call(x, y);
    } else if (event.button == SDL_BUTTON_RIGHT) {
        s.right = down;
        if (!s.left) SDL_CaptureMouse(down ? SDL_TRUE : SDL_FALSE);
        (down ? s.rightDownProc : s.rightUpProc).Call(x, y);
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
        case SDL_MOUSEWHEEL:
            OnWheel(s, event.wheel);
            return true;
        case SDL_TEXTINPUT:
            if (s.textInput) AddTypedText(s, event.text.text);
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
        s.mouseHeld = 0;
        s.mousePresses.fill(0);
        s.mouseReleases.fill(0);
        s.wheelX = 0;
        s.wheelY = 0;
        s.typed.clear();
    }
    s.left = false;
    s.right = false;
    for (auto* callback :
         {&s.leftDownProc, &s.leftUpProc, &s.rightDownProc, &s.rightUpProc, &s.doubleProc}) {
        callback->Set(nullptr);
    }
    s.keyPressProc.Set(nullptr);
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
    shared().leftUpProc.Set(proc);
}

void OnMouseLeftUp(MouseDataProc proc, void* data) {
    shared().leftUpProc.Set(proc, data);
}

void OnKeyPress(KeyProc proc) {
    shared().keyPressProc.Set(proc);
}

void OnKeyPress(KeyDataProc proc, void* data) {
    shared().keyPressProc.Set(proc, data);
}

void RecordSystemKeys(bool on) {
    shared().systemKeys = on;
}

namespace {

// Takes a count of presses or releases of a button; false for an unknown button.
bool Take(std::array<uint32_t, detail::kMouseButtons> detail::Shared::*counts, uint32_t button) {
    if (button == 0 || button >= detail::kMouseButtons) return false;
    detail::Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.block);
    uint32_t& count = (s.*counts)[button];
    const bool any = count != 0;
    count = 0;
    return any;
}

}  // namespace

bool MouseDown(uint32_t button) {
    if (button == 0 || button >= detail::kMouseButtons) return false;
    detail::Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.block);
    return (s.mouseHeld & (1u << button)) != 0;
}

bool MousePressed(uint32_t button) {
    return Take(&detail::Shared::mousePresses, button);
}

bool MouseReleased(uint32_t button) {
    return Take(&detail::Shared::mouseReleases, button);
}

void MouseWheel(int32_t& dx, int32_t& dy) {
    detail::Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.block);
    dx = std::exchange(s.wheelX, 0);
    dy = std::exchange(s.wheelY, 0);
}

}  // namespace Vuderiv
