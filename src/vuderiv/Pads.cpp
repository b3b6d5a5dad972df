// Game controllers: hot-plugged pads reported as pads, each under an index of its own,
// whose controls also act as keys of the key table when the program asks.
// Window thread only, but for the program's calls at the end.
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

// The controls that act as keys, each standing for its own code and for a key the game
// reads.
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
// A trigger counts as a button held beyond half its travel, let go within a quarter.
constexpr int kTriggerPress = 16384;
constexpr int kTriggerRelease = 8192;

struct Pad {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
    uint32_t index = 0;
    std::bitset<PadButton::Count> held;  // the buttons, triggers included
    std::bitset<CONTROL_COUNT> asKeys;   // the controls holding keys
};

std::vector<Pad> gPads;  // the open pads, in the order they came

Pad* FindPad(SDL_JoystickID id) {
    for (Pad& pad : gPads) {
        if (pad.id == id) return &pad;
    }
    return nullptr;
}

// --- The pad as the program sees it -------------------------------------------------

void Publish(Shared& s, const Pad& pad, uint32_t button, bool down) {
    std::lock_guard<std::mutex> lock(s.padLock);
    PadState& state = s.padStates[pad.index];
    if (down) {
        state.buttons |= 1u << button;
    } else {
        state.buttons &= ~(1u << button);
    }
    s.padEvents.push_back(
        PadEvent{static_cast<uint8_t>(pad.index), static_cast<uint8_t>(button), down});
    if (s.padEvents.size() > kPadQueueLimit) s.padEvents.pop_front();
}

void SetButton(Shared& s, Pad& pad, uint32_t button, bool down) {
    if (button >= PadButton::Count || pad.held[button] == down) return;
    pad.held[button] = down;
    Publish(s, pad, button, down);
}

void PublishAxis(Shared& s, const Pad& pad, uint8_t axis, int16_t value) {
    if (axis >= PadAxis::Count) return;
    std::lock_guard<std::mutex> lock(s.padLock);
    s.padStates[pad.index].axes[axis] = value;
}

// --- The pad as keys ----------------------------------------------------------------

void Press(Shared& s, Pad& pad, Control control) {
    if (pad.asKeys[control] || !s.padsAsKeys) return;
    pad.asKeys[control] = true;
    HoldKey(s, kKeys[control].own);
    if (kKeys[control].actsAs != 0) HoldKey(s, kKeys[control].actsAs);
    AddKey(s, kKeys[control].own);
}

// Lets go of a control's keys whether or not pads act as keys now: a hold outlives the
// choice.
void Release(Shared& s, Pad& pad, Control control) {
    if (!pad.asKeys[control]) return;
    pad.asKeys[control] = false;
    LetGoKey(s, kKeys[control].own);
    if (kKeys[control].actsAs != 0) LetGoKey(s, kKeys[control].actsAs);
}

// The control acting as a key for a button, or -1.
int ControlOfButton(uint32_t button) {
    switch (button) {
        case PadButton::DpadUp:
            return DPAD_UP;
        case PadButton::DpadDown:
            return DPAD_DOWN;
        case PadButton::DpadLeft:
            return DPAD_LEFT;
        case PadButton::DpadRight:
            return DPAD_RIGHT;
        case PadButton::South:
            return SOUTH;
        case PadButton::East:
            return EAST;
        case PadButton::West:
            return WEST;
        case PadButton::North:
            return NORTH;
        case PadButton::Back:
            return BACK;
        case PadButton::Start:
            return START;
        default:
            return -1;
    }
}

// One stick axis as keys: `less` and `more` are its two directions.
void StickAsKeys(Shared& s, Pad& pad, int value, Control less, Control more) {
    if (value <= -kStickPress) Press(s, pad, less);
    if (value >= kStickPress) Press(s, pad, more);
    if (value > -kStickRelease) Release(s, pad, less);
    if (value < kStickRelease) Release(s, pad, more);
}

// --- Events -------------------------------------------------------------------------

// A button changed: SDL's button numbers are PadButton's.
void OnButton(Shared& s, const SDL_ControllerButtonEvent& event) {
    Pad* pad = FindPad(event.which);
    if (!pad) return;
    const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
    SetButton(s, *pad, event.button, down);
    const int control = ControlOfButton(event.button);
    if (control < 0) return;
    if (down) {
        Press(s, *pad, static_cast<Control>(control));
    } else {
        Release(s, *pad, static_cast<Control>(control));
    }
}

void OnTrigger(Shared& s, Pad& pad, uint32_t button, int value) {
    if (value >= kTriggerPress) SetButton(s, pad, button, true);
    if (value < kTriggerRelease) SetButton(s, pad, button, false);
}

// An axis moved: SDL's axis numbers are PadAxis's.
void OnAxis(Shared& s, const SDL_ControllerAxisEvent& event) {
    Pad* pad = FindPad(event.which);
    if (!pad) return;
    PublishAxis(s, *pad, event.axis, event.value);
    switch (event.axis) {
        case SDL_CONTROLLER_AXIS_LEFTX:
            StickAsKeys(s, *pad, event.value, STICK_LEFT, STICK_RIGHT);
            break;
        case SDL_CONTROLLER_AXIS_LEFTY:  // y grows downwards
            StickAsKeys(s, *pad, event.value, STICK_UP, STICK_DOWN);
            break;
        case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
            OnTrigger(s, *pad, PadButton::LeftTrigger, event.value);
            break;
        case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
            OnTrigger(s, *pad, PadButton::RightTrigger, event.value);
            break;
        default:
            break;
    }
}

// Lets go of everything a pad holds: its keys, and its buttons with a release each.
void LetGoOfAll(Shared& s, Pad& pad) {
    for (uint8_t c = 0; c < CONTROL_COUNT; ++c)
        Release(s, pad, static_cast<Control>(c));
    for (uint32_t b = 0; b < PadButton::Count; ++b)
        SetButton(s, pad, b, false);
    std::lock_guard<std::mutex> lock(s.padLock);
    s.padStates[pad.index].axes.fill(0);
}

// The lowest index no open pad holds; MaxPads when every one is taken.
uint32_t FreeIndex() {
    std::bitset<MaxPads> taken;
    for (const Pad& pad : gPads)
        taken[pad.index] = true;
    uint32_t index = 0;
    while (index < MaxPads && taken[index])
        ++index;
    return index;
}

// A pad came: it is opened unless it is open already (SDL announces the pads present at
// the start, and a pad may be announced twice) or every index is taken.
void OnAdded(Shared& s, int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    const uint32_t index = FreeIndex();
    if (id < 0 || FindPad(id) || index >= MaxPads) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    gPads.push_back(Pad{controller, id, index, {}, {}});
    {
        std::lock_guard<std::mutex> lock(s.padLock);
        const char* name = SDL_GameControllerName(controller);
        s.padStates[index] = PadState{true, name ? name : "", 0, {}};
    }
    s.pads = gPads.size();
}

void Close(Shared& s, Pad& pad) {
    LetGoOfAll(s, pad);
    SDL_GameControllerClose(pad.controller);
    std::lock_guard<std::mutex> lock(s.padLock);
    s.padStates[pad.index] = PadState{};
}

// A pad went: what it held is let go.
void OnRemoved(Shared& s, SDL_JoystickID id) {
    for (auto it = gPads.begin(); it != gPads.end(); ++it) {
        if (it->id != id) continue;
        Close(s, *it);
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
    Shared& s = shared();
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return;
    for (Pad& pad : gPads)
        Close(s, pad);
    gPads.clear();
    s.pads = 0;
    {
        std::lock_guard<std::mutex> lock(s.padLock);
        s.padEvents.clear();
    }
    StopSdl(SDL_INIT_GAMECONTROLLER);
}

void ReleasePads() {
    for (Pad& pad : gPads)
        LetGoOfAll(shared(), pad);
}

bool HandlePadEvent(const SDL_Event& event) {
    Shared& s = shared();
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            OnAdded(s, event.cdevice.which);
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

using detail::Shared;
using detail::shared;

namespace {

// Runs `read` on the state of a pad index under the lock; `otherwise` for no such pad.
template <typename T, typename Read>
T ReadPad(uint32_t pad, T otherwise, Read read) {
    if (pad >= MaxPads) return otherwise;
    Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.padLock);
    const detail::PadState& state = s.padStates[pad];
    return state.connected ? read(state) : otherwise;
}

}  // namespace

uint32_t PadCount() {
    return static_cast<uint32_t>(shared().pads.load());
}

bool PadConnected(uint32_t pad) {
    return ReadPad(pad, false, [](const detail::PadState&) { return true; });
}

const char* PadName(uint32_t pad) {
    static std::string name;  // program thread only
    name = ReadPad(pad, std::string(), [](const detail::PadState& state) { return state.name; });
    return name.c_str();
}

bool PadDown(uint32_t pad, uint32_t button) {
    if (button >= PadButton::Count) return false;
    return ReadPad(pad, false, [button](const detail::PadState& state) {
        return (state.buttons & (1u << button)) != 0;
    });
}

float PadValue(uint32_t pad, uint32_t axis) {
    if (axis >= PadAxis::Count) return 0.0f;
    const int16_t raw = ReadPad(pad, int16_t{0},
                                [axis](const detail::PadState& state) { return state.axes[axis]; });
    return raw < -32767 ? -1.0f : static_cast<float>(raw) / 32767.0f;
}

bool NextPadEvent(PadEvent& event) {
    Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.padLock);
    if (s.padEvents.empty()) return false;
    event = s.padEvents.front();
    s.padEvents.pop_front();
    return true;
}

void FlushPadEvents() {
    Shared& s = shared();
    std::lock_guard<std::mutex> lock(s.padLock);
    s.padEvents.clear();
}

void SetPadsAsKeys(bool on) {
    shared().padsAsKeys = on;
}

bool PadsAsKeys() {
    return shared().padsAsKeys;
}

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
