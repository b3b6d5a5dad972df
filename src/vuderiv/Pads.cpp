// Game controllers: hot-plugged pads whose controls act as keys of the key table.
// Window thread only, but for PadArrow.
#include <SDL.h>

#include <array>
#include <bitset>
#include <string>
#include <vector>

#include "Report.h"
#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace detail {

namespace {

// The controls a pad holds, each standing for its own code and for a key the game reads.
enum Control : uint8_t {
    DPAD_UP,
    DPAD_DOWN,
    DPAD_LEFT,
    DPAD_RIGHT,
    STICK_UP,
    STICK_DOWN,
    STICK_LEFT,
    STICK_RIGHT,
    SOUTH,
    EAST,
    WEST,
    NORTH,
    BACK,
    START,
    CONTROL_COUNT
};

struct ControlKeys {
    uint8_t own;     // the control's own code
    uint8_t actsAs;  // the key it acts as; 0 for none
};

constexpr std::array<ControlKeys, CONTROL_COUNT> kKeys = {{
    {Key::PadDpadUp, Key::Up},
    {Key::PadDpadDown, Key::Down},
    {Key::PadDpadLeft, Key::Left},
    {Key::PadDpadRight, Key::Right},
    {Key::PadStickUp, Key::Up},
    {Key::PadStickDown, Key::Down},
    {Key::PadStickLeft, Key::Left},
    {Key::PadStickRight, Key::Right},
    {Key::PadSouth, Key::Up},  // jumps together with a direction
    {Key::PadEast, Key::Ctrl},
    {Key::PadWest, Key::Ctrl},
    {Key::PadNorth, 0},
    {Key::PadBack, Key::Q},
    {Key::PadStart, 0},
}};

// The stick counts as pushed beyond kStickPress and as centred again within
// kStickRelease (of 32767). A resting stick of a worn pad reads up to about a fifth of
// its range off centre; the gap between the two keeps a stick held near the edge from
// flickering, which would enter a press into the key queue on every crossing.
constexpr int kStickPress = 10000;
constexpr int kStickRelease = 7000;

struct Pad {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    std::bitset<CONTROL_COUNT> held;
};

std::vector<Pad> gPads;  // the open pads, in the order they came

Pad* FindPad(SDL_JoystickID id) {
    for (Pad& pad : gPads) {
        if (pad.id == id) return &pad;
    }
    return nullptr;
}

void Press(Shared& s, Pad& pad, Control control) {
    if (pad.held[control]) return;
    pad.held[control] = true;
    HoldKey(s, kKeys[control].own);
    if (kKeys[control].actsAs != 0) HoldKey(s, kKeys[control].actsAs);
    AddKey(s, kKeys[control].own);
}

void Release(Shared& s, Pad& pad, Control control) {
    if (!pad.held[control]) return;
    pad.held[control] = false;
    LetGoKey(s, kKeys[control].own);
    if (kKeys[control].actsAs != 0) LetGoKey(s, kKeys[control].actsAs);
}

void Set(Shared& s, Pad& pad, Control control, bool down) {
    if (down) {
        Press(s, pad, control);
    } else {
        Release(s, pad, control);
    }
}

void ReleaseAll(Shared& s, Pad& pad) {
    for (uint8_t c = 0; c < CONTROL_COUNT; ++c)
        Release(s, pad, static_cast<Control>(c));
}

int ControlOfButton(uint8_t button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return DPAD_UP;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return DPAD_DOWN;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return DPAD_LEFT;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return DPAD_RIGHT;
        case SDL_CONTROLLER_BUTTON_A:
            return SOUTH;
        case SDL_CONTROLLER_BUTTON_B:
            return EAST;
        case SDL_CONTROLLER_BUTTON_X:
            return WEST;
        case SDL_CONTROLLER_BUTTON_Y:
            return NORTH;
        case SDL_CONTROLLER_BUTTON_BACK:
            return BACK;
        case SDL_CONTROLLER_BUTTON_START:
            return START;
        default:
            return -1;
    }
}

void OnButton(Shared& s, const SDL_ControllerButtonEvent& event) {
    Pad* pad = FindPad(event.which);
    const int control = ControlOfButton(event.button);
    if (pad && control >= 0) {
        Set(s, *pad, static_cast<Control>(control), event.type == SDL_CONTROLLERBUTTONDOWN);
    }
}

// One stick axis: `less` and `more` are its two directions.
void OnStickAxis(Shared& s, Pad& pad, int value, Control less, Control more) {
    if (value <= -kStickPress) Press(s, pad, less);
    if (value >= kStickPress) Press(s, pad, more);
    if (value > -kStickRelease) Release(s, pad, less);
    if (value < kStickRelease) Release(s, pad, more);
}

void OnAxis(Shared& s, const SDL_ControllerAxisEvent& event) {
    Pad* pad = FindPad(event.which);
    if (!pad) return;
    if (event.axis == SDL_CONTROLLER_AXIS_LEFTX) {
        OnStickAxis(s, *pad, event.value, STICK_LEFT, STICK_RIGHT);
    } else if (event.axis == SDL_CONTROLLER_AXIS_LEFTY) {  // y grows downwards
        OnStickAxis(s, *pad, event.value, STICK_UP, STICK_DOWN);
    }
}

// A pad came: it is opened unless it is open already (SDL announces the pads present at
// the start, and a pad may be announced twice).
void OnAdded(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || FindPad(id)) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    gPads.push_back(Pad{controller, id, {}});
    shared().pads = gPads.size();
}

// A pad went: what it held is let go.
void OnRemoved(Shared& s, SDL_JoystickID id) {
    for (auto it = gPads.begin(); it != gPads.end(); ++it) {
        if (it->id != id) continue;
        ReleaseAll(s, *it);
        SDL_GameControllerClose(it->controller);
        gPads.erase(it);
        s.pads = gPads.size();
        return;
    }
}

}  // namespace

void StartPads() {
    if (!StartSdl(SDL_INIT_GAMECONTROLLER)) {
        Report(std::string("Vuderiv: no game controllers (") + SDL_GetError() + ")");
    }
}

void StopPads() {
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return;
    for (Pad& pad : gPads) {
        ReleaseAll(shared(), pad);
        SDL_GameControllerClose(pad.controller);
    }
    gPads.clear();
    shared().pads = 0;
    StopSdl(SDL_INIT_GAMECONTROLLER);
}

void ReleasePads() {
    for (Pad& pad : gPads)
        ReleaseAll(shared(), pad);
}

bool HandlePadEvent(const SDL_Event& event) {
    Shared& s = shared();
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            OnAdded(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            OnRemoved(s, event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            OnButton(s, event.cbutton);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            OnAxis(s, event.caxis);
            return true;
        default:
            return false;
    }
}

}  // namespace detail

uint32_t PadArrow(uint32_t code) {
    switch (code) {
        case Key::PadDpadLeft:
        case Key::PadStickLeft:
            return Key::Left;
        case Key::PadDpadUp:
        case Key::PadStickUp:
            return Key::Up;
        case Key::PadDpadRight:
        case Key::PadStickRight:
            return Key::Right;
        case Key::PadDpadDown:
        case Key::PadStickDown:
            return Key::Down;
        default:
            return code;
    }
}

}  // namespace Vuderiv
