// The enemies: their generation at the difficulty's interval and their movement along
// the platforms, falling, turning at the side limits and carried to the top.
#pragma once

#include <cstdint>

#include "Player.h"
#include "State.h"

namespace Zarvok {

// The direction an enemy takes after landing: 1 left, 2 right. Asked only when it lands.
using KiesRichting = uint32_t (*)();

// One frame of one living enemy on the given grid.
void BewegenVijand(const TegelZicht& zicht, VIJAND_RC& e, KiesRichting kies);
// One frame of every living enemy in play, in slot order.
void UpdateVijanden();
// Generates the next enemy when Meter_vijand_app meets Delta_vijand_app, up to 15.
void CheckMeterVijand();

}  // namespace Zarvok
