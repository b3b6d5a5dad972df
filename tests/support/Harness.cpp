#include "Harness.h"

#include "Shared.h"
#include "Vuderiv.h"

namespace TestSupport {

namespace {

uint32_t WindowId() {
    return Vuderiv::detail::shared().windowId;
}

void Push(SDL_Event& event) {
    ASSERT_TRUE(Vuderiv::detail::PushEvent(event));
}

}  // namespace

void WindowTest::SetUp() {
    Vuderiv::Window("Test", 1000, 800);
    ASSERT_TRUE(Vuderiv::WindowIsOpen());
}

void WindowTest::TearDown() {
    Vuderiv::KillWindow();
}

void PushKey(bool down, SDL_Keycode sym, bool repeat, uint16_t mod) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = WindowId();
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = sym;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
    event.key.keysym.mod = mod;
    Push(event);
}

void PressKey(SDL_Keycode sym) {
    PushKey(true, sym);
    Sync();
}

void ReleaseKey(SDL_Keycode sym) {
    PushKey(false, sym);
    Sync();
}

void PushMouseMove(int32_t x, int32_t y) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = WindowId();
    event.motion.x = x;
    event.motion.y = y;
    Push(event);
}

void PushMouseButton(bool down, uint8_t button, int32_t x, int32_t y, uint8_t clicks) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = WindowId();
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = clicks;
    event.button.x = x;
    event.button.y = y;
    Push(event);
}

void Click(int32_t x, int32_t y) {
    PushMouseMove(x, y);
    PushMouseButton(true, SDL_BUTTON_LEFT, x, y);
    PushMouseButton(false, SDL_BUTTON_LEFT, x, y);
    Sync();
}

void PushUserClose() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = WindowId();
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    Push(event);
}

void Sync() {
    ASSERT_TRUE(Vuderiv::detail::Sync());
}

}  // namespace TestSupport
