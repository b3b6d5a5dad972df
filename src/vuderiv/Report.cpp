#include "Report.h"

#include <SDL.h>

#include <iostream>

namespace Vuderiv::detail {

void Report(const std::string& line, const char* boxTitle) {
    std::cerr << line << std::endl;
    if (boxTitle) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, boxTitle, line.c_str(), nullptr);
}

}  // namespace Vuderiv::detail
