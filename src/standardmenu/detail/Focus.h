// The focus of a menu and the keys that move it or choose: what a menu's passes keep in
// its MenuState. Private to StandardMenu.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "StandardMenu.h"

namespace StandardMenu::detail {

// Passes after a change of the display (fullscreen, scale) in which a new mouse position
// is no move of the user's: the window moved under a pointer that stayed.
constexpr uint32_t kSettlingPasses = 20;

// Begins a state's passes: drops the clicks and keys made before, notes the mouse and the
// display. The focus stays.
void BeginPasses(MenuState& state);
// Follows the mouse and takes the keys pressed since the pass before; the button a key
// chose, or kNoSelection.
int32_t TakeInput(std::span<const ButtonRc> menu, MenuState& state);
// True when button i shows its mouse-over image: the focus while a key placed it, else
// every button under the mouse.
bool Over(std::span<const ButtonRc> menu, const MenuState& state, size_t i);

}  // namespace StandardMenu::detail
