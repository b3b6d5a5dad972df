#include "Harness.h"

#include <chrono>
#include <thread>

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
    // The choices that outlive a window go back to their start values.
    Vuderiv::SetPadsAsKeys(false);
    Vuderiv::RecordSystemKeys(false);
    Vuderiv::EnableTextInput(false);
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

bool WaitUntil(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end || !Vuderiv::detail::Sync()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

VirtualPad::VirtualPad() {
    // SDL passes pad events only to a window with the keyboard focus, which the headless
    // driver never gives.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Test pad";
    const size_t before = Vuderiv::detail::shared().pads;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    joystick_ = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    EXPECT_NE(joystick_, nullptr) << SDL_GetError();
    EXPECT_TRUE(WaitUntil([&] { return Vuderiv::detail::shared().pads > before; }));
}

VirtualPad::~VirtualPad() {
    Unplug();
}

void VirtualPad::Button(SDL_GameControllerButton button, bool down) {
    ASSERT_EQ(SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0), 0);
}

void VirtualPad::Axis(SDL_GameControllerAxis axis, int16_t value) {
    ASSERT_EQ(SDL_JoystickSetVirtualAxis(joystick_, axis, value), 0);
}

void VirtualPad::Unplug() {
    if (!joystick_) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
    const size_t before = Vuderiv::detail::shared().pads;
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    ASSERT_TRUE(WaitUntil([&] { return Vuderiv::detail::shared().pads < before; }));
}

}  // namespace TestSupport
