// The frame that the window manager puts around the window, known before the window is
// shown: an X window manager estimates it on request (_NET_REQUEST_FRAME_EXTENTS) and
// answers in a property of the window (_NET_FRAME_EXTENTS: left, right, top, bottom).
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

#include "Shared.h"

namespace Vuderiv::detail {

namespace {

// The longest wait for the window manager's answer, and the pause between two looks.
constexpr auto kAnswerLimit = std::chrono::milliseconds(500);
constexpr auto kLookAgain = std::chrono::milliseconds(2);

// Whether a window manager has announced itself on the screen of `root`.
bool Managed(Display* display, ::Window root) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, root, check, 0, 1, False, XA_WINDOW, &type,
                                          &format, &count, &after, &data) == Success &&
                       count == 1;
    if (data != nullptr) XFree(data);
    return found;
}

void AskForExtents(Display* display, ::Window root, ::Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    event.xclient.format = 32;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

// The extents once the property is there.
bool ReadExtents(Display* display, ::Window window, Borders& borders) {
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, window, extents, 0, 4, False, XA_CARDINAL, &type,
                                          &format, &count, &after, &data) == Success &&
                       data != nullptr && format == 32 && count == 4;
    if (found) {
        const auto* values = reinterpret_cast<const long*>(data);
        borders = {static_cast<int>(values[2]), static_cast<int>(values[0]),
                   static_cast<int>(values[3]), static_cast<int>(values[1])};
    }
    if (data != nullptr) XFree(data);
    return found;
}

}  // namespace

Borders MeasureBorders(SDL_Window* window) {
    Borders borders;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return borders;  // no window manager's frame to ask about
    }
    Display* display = info.info.x11.display;
    const ::Window own = info.info.x11.window;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, own, &attributes) == 0) return borders;
    if (!Managed(display, attributes.root)) return borders;
    AskForExtents(display, attributes.root, own);
    const auto end = std::chrono::steady_clock::now() + kAnswerLimit;
    while (!ReadExtents(display, own, borders) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(kLookAgain);
    return borders;
}

}  // namespace Vuderiv::detail
