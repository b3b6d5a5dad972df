// The recorded click and the menu's wait for it.
//
// The click record is shared by the window thread, which records releases into it, and
// the program thread, which tests and consumes it; one lock guards every access.
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "Focus.h"
#include "Selection.h"
#include "StandardMenu.h"
#include "Vuderiv.h"

namespace StandardMenu {

namespace detail {

namespace {

constexpr uint32_t kPassPause = 25;  // milliseconds between two passes of a menu

std::mutex gClickLock;
std::optional<ClickRc> gLeftClick;  // the latest release no button has taken; gClickLock

void Sleep(uint32_t ms) {
    Vuderiv::Pause(ms);
}

PauseProc gPause = Sleep;

// Consumes the recorded click when it lies inside the button.
bool TakeClickIn(const ButtonRc& button) {
    std::lock_guard<std::mutex> lock(gClickLock);
    if (!gLeftClick || !InButton(button, gLeftClick->x, gLeftClick->y)) return false;
    gLeftClick.reset();
    return true;
}

}  // namespace

void RecordFromNow() {
    Vuderiv::OnMouseLeftUp(RegisterLeftClick);
    ForgetClick();
}

void RegisterLeftClick(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> lock(gClickLock);
    gLeftClick = ClickRc{x, y};
}

std::optional<ClickRc> RecordedClick() {
    std::lock_guard<std::mutex> lock(gClickLock);
    return gLeftClick;
}

void ForgetClick() {
    std::lock_guard<std::mutex> lock(gClickLock);
    gLeftClick.reset();
}

void SetPause(PauseProc pause) {
    gPause = pause != nullptr ? pause : Sleep;
}

}  // namespace detail

bool ButtonSelected(const ButtonRc& button) {
    if (!button.visible) return false;
    Vuderiv::OnMouseLeftUp(detail::RegisterLeftClick);
    return detail::TakeClickIn(button);
}

namespace {

void (*gPass)() = nullptr;  // the program's work at each pass; program thread

// Draws every button as the state shows it and tests each for a click, in order: the
// chosen button (those after it are not drawn), or kNoSelection. `drawn` gets the image
// each button drew.
int32_t DrawAndTest(std::span<const ButtonRc> menu, const MenuState& state,
                    std::vector<int>& drawn) {
    drawn.clear();
    for (size_t i = 0; i < menu.size(); ++i) {
        drawn.push_back(detail::DrawButtonAs(menu[i], detail::Over(menu, state, i)));
        if (ButtonSelected(menu[i])) return static_cast<int32_t>(i);
    }
    return kNoSelection;
}

// One pass: the keys, then the buttons.
int32_t Pass(std::span<const ButtonRc> menu, MenuState& state, std::vector<int>& drawn) {
    if (!state.started) detail::BeginPasses(state);
    const int32_t chosen = detail::TakeInput(menu, state);
    if (chosen != kNoSelection) return chosen;
    return DrawAndTest(menu, state, drawn);
}

// A menu reads pads through the key queue: the D-pad and the stick move the focus and the
// south button chooses, whatever the program chose for pads outside the menu.
class PadsAsKeysWhileShown {
public:
    PadsAsKeysWhileShown() : before_(Vuderiv::PadsAsKeys()) { Vuderiv::SetPadsAsKeys(true); }
    ~PadsAsKeysWhileShown() { Vuderiv::SetPadsAsKeys(before_); }
    PadsAsKeysWhileShown(const PadsAsKeysWhileShown&) = delete;
    PadsAsKeysWhileShown& operator=(const PadsAsKeysWhileShown&) = delete;

private:
    bool before_;
};

// Each pass shows the buffer as the pass before left it, then takes the keys and draws
// the buttons. Once a pass has drawn every button with the same image as the pass
// before, the buffer holds what the window shows already, so showing it again is left
// out until a button's image changes (an expose still repaints the window from the
// buffer). Only input made while this menu waits counts.
int32_t Wait(std::span<const ButtonRc> menu, MenuState& state) {
    const PadsAsKeysWhileShown padsAsKeys;
    RestartMenu(state);
    std::vector<int> drawn, before;
    bool changed = true;  // the buffer may hold what the window does not show yet
    while (Vuderiv::WindowIsOpen()) {
        if (changed) Vuderiv::UpdateWindow();
        const int32_t chosen = Pass(menu, state, drawn);
        if (chosen != kNoSelection) return chosen;
        changed = drawn != before;
        std::swap(drawn, before);
        if (gPass != nullptr) gPass();
        detail::gPause(detail::kPassPause);
    }
    return kNoSelection;
}

}  // namespace

int32_t MenuSelection(std::span<const ButtonRc> menu) {
    MenuState state;
    return Wait(menu, state);
}

int32_t MenuSelection(std::span<const ButtonRc> menu, std::span<const KeyChoice> keys) {
    MenuState state;
    state.shortcuts.assign(keys.begin(), keys.end());
    state.focusKeys = keys.empty();
    return Wait(menu, state);
}

int32_t MenuSelection(std::span<const ButtonRc> menu, MenuState& state) {
    return Wait(menu, state);
}

int32_t MenuStep(std::span<const ButtonRc> menu, MenuState& state) {
    std::vector<int> drawn;
    return Pass(menu, state, drawn);
}

void RestartMenu(MenuState& state) {
    state.started = false;
}

void OnMenuPass(void (*proc)()) {
    gPass = proc;
}

}  // namespace StandardMenu
