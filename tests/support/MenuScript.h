// Drives a menu as a player would: each pause between two passes of MenuSelection plays
// the next scripted step (a click at a client position, a key, or a user close) through real SDL
// events, and waits until the window thread has recorded it.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

namespace TestSupport {
class VirtualPad;
}  // namespace TestSupport

namespace MenuScript {

// A step: a left click at (x, y), the user closing the window, a key pressed and
// released (an SDL key code, with modifiers), or a button of the pad pressed and released
// or its stick pushed fully along an axis and let go (see UsePad).
struct Step {
    int32_t x = 0, y = 0;
    bool close = false;
    int32_t key = 0;
    uint16_t mod = 0;
    int32_t padButton = -1;  // an SDL game controller button
    int32_t padAxis = -1;    // an SDL game controller axis
    int16_t padValue = 0;    // where padAxis is pushed
};
constexpr Step kClose{0, 0, true};
constexpr Step Key(int32_t key, uint16_t mod = 0) {
    return Step{0, 0, false, key, mod};
}

constexpr Step PadButton(int32_t button) {
    Step step;
    step.padButton = button;
    return step;
}
constexpr Step PadStick(int32_t axis, int16_t value) {
    Step step;
    step.padAxis = axis;
    step.padValue = value;
    return step;
}
// The pad the pad steps play on (pad 0 of the library); nullptr: none.
void UsePad(TestSupport::VirtualPad* pad);

// Installs the scripted pause with these steps; called once per pass, it plays one step
// per pause; ten passes after the last one it closes the window (a click that failed to
// choose ends the menu instead of leaving it waiting).
void Play(std::initializer_list<Step> steps);
// Called at every pause before the step is played (for looking at the buffer).
void OnPause(std::function<void()> look);
// Passes paused so far, and steps not yet played.
int Pauses();
size_t StepsLeft();
// Puts back the real pause.
void Stop();

}  // namespace MenuScript
