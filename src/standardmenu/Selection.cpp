// The recorded click and the menu's wait for it.
//
// The click record is shared by the window thread, which records releases into it, and
// the program thread, which tests and consumes it; one lock guards every access.
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

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
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

PauseProc gPause = Sleep;

// Consumes the recorded click when it lies inside the button.
bool TakeClickIn(const ButtonRc& button) {
    std::lock_guard<std::mutex> lock(gClickLock);
    if (!gLeftClick || !InButton(button, gLeftClick->x, gLeftClick->y)) return false;
    gLeftClick.reset();
    return true;
}

// Installs the click recorder and forgets whatever release it holds: from now on only new
// releases count.
void RecordFromNow() {
    Vuderiv::OnMouseLeftUp(RegisterLeftClick);
    ForgetClick();
}

}  // namespace

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

// Each pass shows the buffer as the pass before left it, then draws the buttons. Once a
// pass has drawn every button with the same image as the pass before, the buffer holds
// what the window shows already, so showing it again is left out until a button's image
// changes (an expose still repaints the window from the buffer).
// A release recorded before the menu is shown (a click during play, or one made before an
// earlier menu returned) chooses nothing: only releases made while this menu waits count.
int32_t MenuSelection(std::span<const ButtonRc> menu) {
    detail::RecordFromNow();
    std::vector<int> drawn, before;
    bool changed = true;  // the buffer may hold what the window does not show yet
    while (Vuderiv::WindowIsOpen()) {
        if (changed) Vuderiv::UpdateWindow();
        drawn.clear();
        for (size_t i = 0; i < menu.size(); ++i) {
            drawn.push_back(detail::DrawButtonImage(menu[i]));
            if (ButtonSelected(menu[i])) return static_cast<int32_t>(i);
        }
        changed = drawn != before;
        std::swap(drawn, before);
        detail::gPause(detail::kPassPause);
    }
    return kNoSelection;
}

}  // namespace StandardMenu
