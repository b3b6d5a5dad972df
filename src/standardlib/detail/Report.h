// The library's one way to tell the user something went wrong.
#pragma once

#include <string>

namespace StandardLib::detail {

// Writes the line to standard error.
void Report(const std::string& line);

}  // namespace StandardLib::detail
