// The game's one way to tell the user something went wrong.
#pragma once

#include <string>

namespace Zarvok {

// Writes the line to standard error.
void Meld(const std::string& regel);

}  // namespace Zarvok
