// Colour notation in the art sources: #RRGGBB, or #RRGGBBAA with an opacity.
#pragma once

#include <optional>
#include <string>

#include "Image.h"

namespace Artgen {

// The colour written as `text`, or nothing when it is not a colour.
std::optional<Colour> ParseColour(const std::string& text);

}  // namespace Artgen
