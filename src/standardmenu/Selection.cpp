// The recorded click and the menu's wait for it.
//
// The click record is shared by the window thread, which records releases into it, and
// the program thread, which tests and consumes it; one lock guards every access.
#include <chrono>
#include <mutex>
#include <thread>

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

int32_t MenuSelection(std::span<const ButtonRc> menu) {
    while (Vuderiv::WindowIsOpen()) {
        Vuderiv::UpdateWindow();
        for (size_t i = 0; i < menu.size(); ++i) {
            DrawButton(menu[i]);
            if (ButtonSelected(menu[i])) return static_cast<int32_t>(i);
        }
        detail::gPause(detail::kPassPause);
    }
    return kNoSelection;
}

}  // namespace StandardMenu
