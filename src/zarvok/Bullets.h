// The bullets in flight, their hits on enemies and tiles, and the contact between the
// enemies and the player.
#pragma once

namespace Zarvok {

// Moves every bullet in flight 40 pixels its way.
void UpdateKogel();
// Ends bullets at the playfield's edge, on a living enemy (10 damage, the older enemy
// first) and on a blocking tile; a kill scores and counts down the enemies left.
void CheckKogel();
// Every living enemy at the player's height within the contact window hurts him and dies.
void ControleerMannekeGeraakt();

}  // namespace Zarvok
