// The window's frame in a browser: the canvas sits in the page with no window manager's
// frame around it.
#include "Shared.h"

namespace Vuderiv::detail {

Borders MeasureBorders(SDL_Window*) {
    return Borders{};
}

}  // namespace Vuderiv::detail
