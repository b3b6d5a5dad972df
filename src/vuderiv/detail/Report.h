// The library's one way to tell the user something went wrong.
#pragma once

#include <string>

namespace Vuderiv::detail {

// Writes the line to standard error; with a title, shows it in a warning box as well.
void Report(const std::string& line, const char* boxTitle = nullptr);

}  // namespace Vuderiv::detail
