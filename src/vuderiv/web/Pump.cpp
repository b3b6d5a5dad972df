// The window in a browser. The page has one thread, which owns the canvas and the events,
// so the window thread's work runs as a step on the program's own thread: at every wait
// (Pause, Sync) and in Window and KillWindow. A wait hands the thread to the browser for
// its length (the build's asyncify lets the program resume where it stopped), and the
// browser meanwhile shows the canvas and gathers the input that the next step takes.
#include <SDL.h>
#include <emscripten.h>

#include "Shared.h"
#include "Vuderiv.h"

// Returns once the browser has painted the canvas (the task after its next animation
// frame), or after a tenth of a second where it paints nothing (a hidden page).
// clang-format off
EM_ASYNC_JS(void, WaitForPaint, (), {
    await new Promise(function(painted) {
        requestAnimationFrame(function() { setTimeout(painted, 0); });
        setTimeout(painted, 100);
    });
});
// clang-format on

namespace Vuderiv {

namespace detail {

namespace {

bool gStepping = false;  // while a step runs: the window's part, its callbacks included

// Handles every queued event; a close among them ends the window at once.
void Step(Shared& s) {
    if (s.state != STATE_ACTIVE || gStepping) return;
    gStepping = true;
    struct Done {
        ~Done() { gStepping = false; }
    } done;
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) {
        if (!TakeEvent(s, event)) {
            FreeWindow(s);
            SetState(s, STATE_DEAD);
            return;
        }
    }
}

}  // namespace

bool Sync() {
    Shared& s = shared();
    if (s.state != STATE_ACTIVE) return false;
    Step(s);
    return s.state == STATE_ACTIVE;
}

// The step plays the window thread's part, on the program's one thread.
bool OnWindowThread() {
    return gStepping;
}

// No X server here: nothing to filter.
void FilterLateWakeUpErrors() {}

}  // namespace detail

void Window(const char* title, uint32_t width, uint32_t height) {
    detail::Shared& s = detail::shared();
    if (s.state == detail::STATE_ACTIVE) KillWindow();
    s.title = title ? title : "";
    s.xlen = width;
    s.ylen = height;
    if (detail::OpenWindow(s)) {
        detail::SetState(s, detail::STATE_ACTIVE);
    } else {
        s.title.clear();
    }
}

void KillWindow() {
    detail::Shared& s = detail::shared();
    if (s.state == detail::STATE_ACTIVE) detail::FreeWindow(s);
    detail::SetState(s, detail::STATE_DEAD);
}

void Pause(uint32_t ms) {
    detail::Shared& s = detail::shared();
    detail::Step(s);  // the picture goes out before the browser shows the canvas
    emscripten_sleep(ms);
    if (detail::SoundDue()) {
        WaitForPaint();  // the picture on the screen before the slow part
        detail::OpenDueSound();
    }
    detail::Step(s);  // the input that came meanwhile
}

}  // namespace Vuderiv
