#include "MenuScript.h"

#include <deque>

#include "Harness.h"
#include "Selection.h"
#include "Vuderiv.h"

namespace MenuScript {

namespace {

// A click that chooses is taken in the next pass; this many passes after the last step
// the script closes the window, so a menu that failed to take it ends the test at once.
constexpr int kPassesAfterTheLastStep = 10;

std::deque<Step> gSteps;
std::function<void()> gLook;
int gPauses = 0;
int gPausesWithoutStep = 0;
bool gClosePlayed = false;  // a close is on its way: the window goes without another
TestSupport::VirtualPad* gPad = nullptr;

// Plays a pad step and waits until the window thread has seen it come and go.
void PlayPad(const Step& step) {
    ASSERT_NE(gPad, nullptr);
    if (step.padButton >= 0) {
        const auto button = static_cast<SDL_GameControllerButton>(step.padButton);
        const auto held = [&] { return Vuderiv::PadDown(0, static_cast<uint32_t>(button)); };
        gPad->Button(button, true);
        ASSERT_TRUE(TestSupport::WaitUntil(held));
        gPad->Button(button, false);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return !held(); }));
    } else {
        const auto axis = static_cast<SDL_GameControllerAxis>(step.padAxis);
        const auto value = [&] { return Vuderiv::PadValue(0, static_cast<uint32_t>(axis)); };
        gPad->Axis(axis, step.padValue);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return value() != 0.0f; }));
        gPad->Axis(axis, 0);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return value() == 0.0f; }));
    }
}

void ScriptedPause(uint32_t) {
    ++gPauses;
    if (gLook) gLook();
    if (!Vuderiv::WindowIsOpen()) return;
    if (gSteps.empty()) {
        if (++gPausesWithoutStep == kPassesAfterTheLastStep && !gClosePlayed)
            TestSupport::PushUserClose();
        return;
    }
    const Step step = gSteps.front();
    gSteps.pop_front();
    if (step.close) {
        gClosePlayed = true;
        TestSupport::PushUserClose();
    } else if (step.key != 0) {
        const bool shift = (step.mod & KMOD_SHIFT) != 0;
        if (shift) TestSupport::PushKey(true, SDLK_LSHIFT);
        TestSupport::PushKey(true, step.key, false, step.mod);
        TestSupport::PushKey(false, step.key, false, step.mod);
        if (shift) TestSupport::PushKey(false, SDLK_LSHIFT);
        TestSupport::Sync();
    } else if (step.padButton >= 0 || step.padAxis >= 0) {
        PlayPad(step);
    } else {
        TestSupport::Click(step.x, step.y);
    }
}

}  // namespace

void Play(std::initializer_list<Step> steps) {
    gSteps.assign(steps.begin(), steps.end());
    gPauses = 0;
    gPausesWithoutStep = 0;
    gClosePlayed = false;
    StandardMenu::detail::SetPause(ScriptedPause);
}

void UsePad(TestSupport::VirtualPad* pad) {
    gPad = pad;
}

void OnPause(std::function<void()> look) {
    gLook = std::move(look);
}

int Pauses() {
    return gPauses;
}

size_t StepsLeft() {
    return gSteps.size();
}

void Stop() {
    gSteps.clear();
    gLook = nullptr;
    gPad = nullptr;
    StandardMenu::detail::SetPause(nullptr);
}

}  // namespace MenuScript
