// The Xlib error filter. SDL wakes its waiting event thread by sending an event to the
// window over a second connection to the X server. A wake-up sent just before the window
// is torn down can reach the server after the window is gone; the error that comes back
// is harmless, but Xlib's default handler would end the program for it (status 1 after
// a user's close). Those errors are dropped; every other goes on to the handler before.
#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <mutex>

#include "Shared.h"

namespace Vuderiv::detail {

namespace {

XErrorHandler previousHandler = nullptr;  // written once, before any X connection exists

int FilterXError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return previousHandler(display, error);
}

}  // namespace

void FilterLateWakeUpErrors() {
    static std::once_flag once;
    std::call_once(once, [] { previousHandler = XSetErrorHandler(FilterXError); });
}

}  // namespace Vuderiv::detail
