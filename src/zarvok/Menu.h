// The start menu and the difficulty screen, shown before every game.
#pragma once

namespace Zarvok {

// The start menu over the menu picture: start returns, settings opens the difficulty
// screen (its back button stores the level shown in Difficulty), quit closes the window.
// Returns when start is clicked or once the window has been closed. The images are
// loaded at the first call after ResetState and kept for the calls after it.
void Menu();

}  // namespace Zarvok
