// The game's one way to tell the user something went wrong.
#pragma once

#include <string>

namespace Zarvok {

// Writes the line to standard error.
void Meld(const std::string& regel);

// Adds the byte to a message as a terminal may show it: printable ASCII as itself, any
// other byte (a control character, ESC, C1, any byte above 127) as \xHH.
void VoegZichtbaarToe(std::string& bericht, unsigned char c);

}  // namespace Zarvok
