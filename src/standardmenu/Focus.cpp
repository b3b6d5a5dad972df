// The focus of a menu and the keys that move it or choose.
//
// The focus is always what the menu shows: a button that a key took it to, drawn with its
// mouse-over image, or else the button under the mouse. There is none until the first
// key or while the mouse is over no button, and Enter then chooses nothing.
#include "Focus.h"

#include "Selection.h"
#include "Vuderiv.h"

namespace StandardMenu::detail {

namespace {

namespace Key = Vuderiv::Key;

bool Visible(std::span<const ButtonRc> menu, int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < menu.size() && menu[static_cast<size_t>(i)].visible;
}

// The next visible button after `from` in direction `step` (+1 or -1), round the menu's
// end; from no focus, the first or the last visible one. kNoSelection when none is visible.
int32_t NextVisible(std::span<const ButtonRc> menu, int32_t from, int32_t step) {
    const auto n = static_cast<int32_t>(menu.size());
    if (from == kNoSelection) from = step > 0 ? -1 : n;
    for (int32_t k = 1; k <= n; ++k) {
        const int32_t i = ((from + step * k) % n + n) % n;
        if (Visible(menu, i)) return i;
    }
    return kNoSelection;
}

int32_t ButtonUnder(std::span<const ButtonRc> menu, int32_t x, int32_t y) {
    for (size_t i = 0; i < menu.size(); ++i) {
        if (menu[i].visible && InButton(menu[i], x, y)) return static_cast<int32_t>(i);
    }
    return kNoSelection;
}

// Fullscreen and the scale in one number, to see the display change.
uint32_t Display() {
    return Vuderiv::WindowScale() * 2 + (Vuderiv::Fullscreen() ? 1 : 0);
}

// Once the mouse moves, it leads: the focus is the button under it. A new position that
// comes with a change of the display is no move of the user's.
void FollowMouse(std::span<const ButtonRc> menu, MenuState& s) {
    const uint32_t display = Display();
    if (display != s.display) s.settling = kSettlingPasses;
    s.display = display;
    int32_t x = 0, y = 0;
    Vuderiv::MousePos(x, y);
    const bool moved = x != s.mouseX || y != s.mouseY;
    s.mouseX = x;
    s.mouseY = y;
    if (s.settling > 0) --s.settling;
    if (moved && s.settling == 0) s.keysLead = false;
    if (!s.keysLead) s.focus = ButtonUnder(menu, x, y);
    if (!Visible(menu, s.focus)) s.focus = kNoSelection;
}

// The button a shortcut chooses, or kNoSelection.
int32_t Shortcut(std::span<const ButtonRc> menu, const MenuState& s, uint32_t code) {
    for (const KeyChoice& choice : s.shortcuts) {
        const bool match = choice.key == code || choice.key == Vuderiv::PadArrow(code);
        if (match && Visible(menu, choice.button)) return choice.button;
    }
    return kNoSelection;
}

// Moves the focus for a moving key; the focused button for a choosing key. `shift`: Shift
// is held, or was pressed just before.
int32_t FocusKey(std::span<const ButtonRc> menu, MenuState& s, uint32_t code, bool shift) {
    code = Vuderiv::PadArrow(code);
    if (code == Key::Enter || code == Key::Space || code == Key::PadSouth) return s.focus;
    int32_t step = 0;
    if (code == Key::Up || code == Key::Down) step = code == Key::Up ? -1 : 1;
    if (code == Key::Tab) step = shift ? -1 : 1;
    if (step != 0) {
        s.focus = NextVisible(menu, s.focus, step);
        s.keysLead = true;
    }
    return kNoSelection;
}

}  // namespace

void BeginPasses(MenuState& state) {
    RecordFromNow();
    Vuderiv::FlushKeys();
    Vuderiv::MousePos(state.mouseX, state.mouseY);
    state.display = Display();
    state.settling = 0;
    state.started = true;
}

// Shift counts for a Tab while it is held or when it was pressed among the same keys: a
// quick Shift+Tab may be let go before the pass takes it.
int32_t TakeInput(std::span<const ButtonRc> menu, MenuState& state) {
    FollowMouse(menu, state);
    bool shiftPressed = false;
    for (uint32_t code = Vuderiv::NextKey(); code != 0; code = Vuderiv::NextKey()) {
        shiftPressed = shiftPressed || code == Key::Shift;
        const bool shift = shiftPressed || Vuderiv::KeyDown(Key::Shift);
        int32_t chosen = Shortcut(menu, state, code);
        if (chosen == kNoSelection && state.focusKeys) chosen = FocusKey(menu, state, code, shift);
        if (chosen != kNoSelection) return chosen;
    }
    return kNoSelection;
}

bool Over(std::span<const ButtonRc> menu, const MenuState& state, size_t i) {
    const ButtonRc& button = menu[i];
    if (!button.visible || !button.type.withMouseOver) return false;
    if (state.keysLead) return static_cast<int32_t>(i) == state.focus;
    return InButton(button, state.mouseX, state.mouseY);
}

}  // namespace StandardMenu::detail
