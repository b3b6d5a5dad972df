// The frame that the window manager puts around the window, known before the window is
// shown: an X window manager estimates it on request (_NET_REQUEST_FRAME_EXTENTS) and
// answers in a property of the window (_NET_FRAME_EXTENTS: left, right, top, bottom).
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>
#include <vector>

#include "Shared.h"

namespace Vuderiv::detail {

namespace {

// The longest wait for the window manager's answer, and the pause between two looks.
constexpr auto kAnswerLimit = std::chrono::milliseconds(500);
constexpr auto kLookAgain = std::chrono::milliseconds(2);

// The 32-bit values of a window's property of the given type, at most `most` of them;
// none when the window has no such property.
std::vector<long> PropertyValues(Display* display, ::Window window, Atom property, Atom type,
                                 long most) {
    std::vector<long> values;
    if (property == None) return values;
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, most, False, type, &actual, &format,
                           &count, &after, &data) == Success &&
        data != nullptr && format == 32) {
        const auto* longs = reinterpret_cast<const long*>(data);  // Xlib's form of 32-bit data
        values.assign(longs, longs + count);
    }
    if (data != nullptr) XFree(data);
    return values;
}

// Whether a window manager has announced itself on the screen of `root`.
bool Managed(Display* display, ::Window root) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    return PropertyValues(display, root, check, XA_WINDOW, 1).size() == 1;
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
    const std::vector<long> v = PropertyValues(display, window, extents, XA_CARDINAL, 4);
    if (v.size() != 4) return false;
    borders = {static_cast<int>(v[2]), static_cast<int>(v[0]), static_cast<int>(v[3]),
               static_cast<int>(v[1])};
    return true;
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
