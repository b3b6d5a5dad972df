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

namespace {

namespace Key = Vuderiv::Key;

void (*gPass)() = nullptr;  // the program's work at each pass; program thread

// What the keys and the mouse have done in a menu while it is shown.
struct Focus {
    std::span<const ButtonRc> menu;
    std::span<const KeyChoice> keys;  // keys that choose at once; none: keys move the focus
    int32_t at = kNoSelection;        // the focused button
    bool keysLead = false;            // a key moved the focus after the mouse last moved
    int32_t mouseX = 0, mouseY = 0;   // where the mouse was in the pass before
};

bool Visible(std::span<const ButtonRc> menu, int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < menu.size() && menu[static_cast<size_t>(i)].visible;
}

// The next visible button from `from` in direction `step` (+1 or -1), round the menu's
// end; `from` itself when it is the only one, kNoSelection when none is visible.
int32_t NextVisible(std::span<const ButtonRc> menu, int32_t from, int32_t step) {
    const auto n = static_cast<int32_t>(menu.size());
    for (int32_t k = 1; k <= n; ++k) {
        const int32_t i = ((from + step * k) % n + n) % n;
        if (Visible(menu, i)) return i;
    }
    return kNoSelection;
}

// Once the mouse moves, its image leads again and the focus goes to the button under it.
void FollowMouse(Focus& f) {
    int32_t x = 0, y = 0;
    Vuderiv::MousePos(x, y);
    if (x == f.mouseX && y == f.mouseY) return;
    f.mouseX = x;
    f.mouseY = y;
    f.keysLead = false;
    for (size_t i = 0; i < f.menu.size(); ++i) {
        if (f.menu[i].visible && InButton(f.menu[i], x, y)) {
            f.at = static_cast<int32_t>(i);
            return;
        }
    }
}

// The button a listed key chooses, or kNoSelection.
int32_t ListedChoice(const Focus& f, uint32_t code) {
    for (const KeyChoice& choice : f.keys) {
        const bool match = choice.key == code || choice.key == Vuderiv::PadArrow(code);
        if (match && Visible(f.menu, choice.button)) return choice.button;
    }
    return kNoSelection;
}

// Moves the focus for a moving key; the focused button for a choosing key. `shift`: Shift
// is held, or was pressed just before.
int32_t FocusKey(Focus& f, uint32_t code, bool shift) {
    code = Vuderiv::PadArrow(code);
    if (code == Key::Enter || code == Key::Space || code == Key::PadSouth) return f.at;
    int32_t step = 0;
    if (code == Key::Up || code == Key::Down) step = code == Key::Up ? -1 : 1;
    if (code == Key::Tab) step = shift ? -1 : 1;
    if (step != 0 && f.at != kNoSelection) {
        f.at = NextVisible(f.menu, f.at, step);
        f.keysLead = true;
    }
    return kNoSelection;
}

// Takes the keys pressed since the pass before; the button one of them chose, if any.
// Shift counts for a Tab while it is held or when it was pressed in the same keys: a
// quick Shift+Tab may be let go before the pass takes it.
int32_t ChosenByKeys(Focus& f) {
    bool shiftPressed = false;
    for (uint32_t code = Vuderiv::NextKey(); code != 0; code = Vuderiv::NextKey()) {
        shiftPressed = shiftPressed || code == Key::Shift;
        const bool shift = shiftPressed || Vuderiv::KeyDown(Key::Shift);
        const int32_t chosen = f.keys.empty() ? FocusKey(f, code, shift) : ListedChoice(f, code);
        if (chosen != kNoSelection) return chosen;
    }
    return kNoSelection;
}

// The mouse-over image for the focus while the keys lead, else under the mouse.
bool Over(const Focus& f, size_t i) {
    const ButtonRc& button = f.menu[i];
    if (!button.visible || !button.type.withMouseOver) return false;
    if (f.keysLead) return static_cast<int32_t>(i) == f.at;
    return InButton(button, f.mouseX, f.mouseY);
}

// Input made before the menu is shown does not count in it: neither a release recorded
// before (a click during play, or one made before an earlier menu returned) nor a key
// pressed before. Only releases and keys made while this menu waits count.
void ForgetEarlierInput() {
    detail::RecordFromNow();
    Vuderiv::FlushKeys();
}

// Each pass shows the buffer as the pass before left it, then takes the keys and draws
// the buttons. Once a pass has drawn every button with the same image as the pass
// before, the buffer holds what the window shows already, so showing it again is left
// out until a button's image changes (an expose still repaints the window from the
// buffer).
int32_t Wait(Focus& f) {
    ForgetEarlierInput();
    Vuderiv::MousePos(f.mouseX, f.mouseY);
    f.at = NextVisible(f.menu, -1, 1);
    std::vector<int> drawn, before;
    bool changed = true;  // the buffer may hold what the window does not show yet
    while (Vuderiv::WindowIsOpen()) {
        if (changed) Vuderiv::UpdateWindow();
        FollowMouse(f);
        const int32_t chosen = ChosenByKeys(f);
        if (chosen != kNoSelection) return chosen;
        drawn.clear();
        for (size_t i = 0; i < f.menu.size(); ++i) {
            drawn.push_back(detail::DrawButtonAs(f.menu[i], Over(f, i)));
            if (ButtonSelected(f.menu[i])) return static_cast<int32_t>(i);
        }
        changed = drawn != before;
        std::swap(drawn, before);
        if (gPass != nullptr) gPass();
        detail::gPause(detail::kPassPause);
    }
    return kNoSelection;
}

}  // namespace

int32_t MenuSelection(std::span<const ButtonRc> menu) {
    Focus focus{menu, {}};
    return Wait(focus);
}

int32_t MenuSelection(std::span<const ButtonRc> menu, std::span<const KeyChoice> keys) {
    Focus focus{menu, keys};
    return Wait(focus);
}

void OnMenuPass(void (*proc)()) {
    gPass = proc;
}

}  // namespace StandardMenu
