// Drawing one frame of the scene: the tiles, the player, the enemies with their health
// bars and explosions, the bullets, the status panel and the help lines.
#pragma once

namespace Zarvok {

// Draws the 2000 tiles of Background at their cells.
void DrawBackground();
// Draws the whole frame into the off-screen buffer and shows it with one UpdateWindow.
// Marks each dead enemy whose explosion it has drawn (DoodEnGetekend).
void Draw();

}  // namespace Zarvok
