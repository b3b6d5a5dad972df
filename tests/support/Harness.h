// What the tests share: a window fixture and real SDL input events pushed to the
// window thread, exactly as the user's keyboard and mouse would deliver them.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace TestSupport {

// Opens a 1000 x 800 window (buffering off) before each test and closes it after.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A key press or release of an SDL key, with optional auto-repeat and modifier state.
void PushKey(bool down, SDL_Keycode sym, bool repeat = false, uint16_t mod = KMOD_NONE);
// Presses or releases a key and waits until the window thread has recorded it.
void PressKey(SDL_Keycode sym);
void ReleaseKey(SDL_Keycode sym);
// A mouse move to a client position (may lie outside the client area).
void PushMouseMove(int32_t x, int32_t y);
// A mouse button press or release; `clicks` counts successive clicks (2 = double click).
void PushMouseButton(bool down, uint8_t button, int32_t x, int32_t y, uint8_t clicks = 1);
// A left click (press and release) at a client position, waited for.
void Click(int32_t x, int32_t y);
// The user closes the window (the close box).
void PushUserClose();
// Waits until the window thread has handled every event pushed so far.
void Sync();
// Waits (syncing) until the condition holds; false if it still fails after 10 seconds.
bool WaitUntil(const std::function<bool()>& condition);

// A game controller of SDL's virtual joystick driver, plugged in once the window is open;
// the window thread reads its state when it next looks at its events.
class VirtualPad {
public:
    VirtualPad();   // plugs it in and waits until the window thread has opened it
    ~VirtualPad();  // unplugs it, if it still is
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    void Button(SDL_GameControllerButton button, bool down);
    void Axis(SDL_GameControllerAxis axis, int16_t value);
    // Unplugs it and waits until the window thread has closed it.
    void Unplug();

private:
    SDL_Joystick* joystick_ = nullptr;
};

}  // namespace TestSupport
