// Drives a menu as a player would: each pause between two passes of MenuSelection plays
// the next scripted step (a click at a client position, a key, or a user close) through real SDL
// events, and waits until the window thread has recorded it.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

namespace MenuScript {

// A step: a left click at (x, y), the user closing the window, or a key pressed and
// released (an SDL key code, with modifiers).
struct Step {
    int32_t x = 0, y = 0;
    bool close = false;
    int32_t key = 0;
    uint16_t mod = 0;
};
constexpr Step kClose{0, 0, true};
constexpr Step Key(int32_t key, uint16_t mod = 0) {
    return Step{0, 0, false, key, mod};
}

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
