// What the button module keeps for itself: the drawing of a button that tells which image
// it drew, the click record, and the pause between passes, with the hooks the tests use.
// Private to StandardMenu.
#pragma once

#include <cstdint>
#include <optional>

#include "StandardMenu.h"

namespace StandardMenu::detail {

// Draws a button as DrawButton does; returns the image drawn (0 normal, 1 mouse-over), or
// kNotDrawn for an invisible button.
constexpr int kNotDrawn = -1;
int DrawButtonImage(const ButtonRc& button);
// Draws a visible button with its mouse-over image when `over` (and it has one); returns
// as DrawButtonImage does.
int DrawButtonAs(const ButtonRc& button, bool over);

// The click recorder: records (x, y) as the latest left-button release. Window thread.
void RegisterLeftClick(int32_t x, int32_t y);
// The recorded click, if any, without consuming it.
std::optional<ClickRc> RecordedClick();
// Forgets the recorded click.
void ForgetClick();
// Installs the click recorder and forgets whatever release it holds: from now on only new
// releases count.
void RecordFromNow();

// The pause between two passes of MenuSelection; tests put in one that drives input.
using PauseProc = void (*)(uint32_t ms);
// Replaces the pause; nullptr restores the real one.
void SetPause(PauseProc pause);

}  // namespace StandardMenu::detail
