// The state that the program thread and the window thread share, in one place.
// Private to Vuderiv. Each field says which thread writes it and what guards it.
//
// Lock order: canvasLock may be held while lifecycleLock is taken, never the reverse.
// The window thread never holds both.
#pragma once

#include <SDL.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Frame.h"
#include "Surface.h"
#include "Vuderiv.h"

namespace Vuderiv::detail {

enum WinState : uint8_t { STATE_DEAD = 0, STATE_ACTIVE = 1, STATE_ERROR = 2 };

// One bitmap table slot; a slot with an empty surface is free.
struct BitStruct {
    Surface surface;  // the picture, already in the buffer's pixel layout
    // The block every draw copies: the size asked for when the bitmap was made. A load
    // asked for a width or height of 0 keeps the file's picture but draws nothing.
    uint32_t width = 0;
    uint32_t height = 0;
    // How the bitmap draws over the target (Images.h): its opacity per pixel, row by row
    // (empty: opaque), and the colour left out (kNoColorKey: none).
    std::vector<uint8_t> alpha;
    uint32_t colorKey = 0xFFFFFFFF;
    // Which of its slot's generations this bitmap is (Handles.h); 0 while handles are reused.
    uint16_t generation = 0;
};

// Requests that the program thread (and tests) send to the window thread as SDL user events.
enum Request : int32_t {
    REQUEST_PRESENT = 1,
    REQUEST_CLOSE = 2,
    REQUEST_SYNC = 3,
    REQUEST_ICON = 4,
    REQUEST_DISPLAY = 5,
};

// The most key codes the key queue keeps; older codes are dropped past this.
constexpr size_t kKeyQueueLimit = 4096;

struct Shared {
    // --- Window lifecycle, guarded by lifecycleLock ---------------------------------
    std::mutex lifecycleLock;
    std::condition_variable lifecycleChanged;  // state, syncCount or eventsOpen changed
    // Written by the window thread (ACTIVE, ERROR, and DEAD once torn down) and by the
    // program thread (DEAD after ERROR, and in KillWindow with no window). Changed under
    // lifecycleLock; atomic so that drawing and input may read it without the lock.
    std::atomic<WinState> state{STATE_DEAD};
    // Window thread: true while its SDL event queue takes pushed requests.
    // SDL_PushEvent from any thread happens only under lifecycleLock while this is true.
    bool eventsOpen = false;
    // Window thread: how many REQUEST_SYNC events it has answered.
    uint64_t syncCount = 0;
    // Program thread only: the window thread, joined before the next one starts.
    std::thread windowThread;
    // Program thread writes it before starting the window thread; the window thread
    // owns it from then on and releases it at teardown.
    std::string title;
    // Program thread before the start: the client size asked for. Window thread after.
    uint32_t xlen = 0, ylen = 0;
    // Window thread only.
    SDL_Window* sdlWindow = nullptr;
    uint32_t windowId = 0;

    // --- Display choice, guarded by lifecycleLock -------------------------------------
    // Program thread (SetWindowScale, SetFullscreen) and the window thread (window keys)
    // write them; the window thread applies them at the opening and on REQUEST_DISPLAY.
    // They outlive the window. scale 0: the largest that fits.
    uint32_t askedScale = 1;
    bool askedFullscreen = false;
    // Program thread (EnableWindowKeys); the window thread reads it for each key.
    std::atomic<bool> windowKeys{false};
    // Program thread registers (OnFullscreenKey); the window thread calls it.
    std::atomic<FullscreenProc> fullscreenKeyProc{nullptr};
    // Window thread, at each opening: the largest scale that fits the usable screen area.
    std::atomic<uint32_t> largestScale{0};

    // --- Window icon, guarded by iconLock --------------------------------------------
    std::mutex iconLock;
    // Program thread (WindowIcon) writes it; the window thread gives it to each window
    // it opens, and to the open one on REQUEST_ICON. Empty: the default icon. It
    // outlives the window, as the font choice does.
    Surface icon;

    // --- Canvas, guarded by canvasLock ----------------------------------------------
    std::mutex canvasLock;
    // Window thread: true from the buffer's set-up to the teardown. Drawing needs it.
    bool canvasReady = false;
    // The off-screen buffer. Program thread draws; window thread makes, paints from and
    // releases it.
    Surface buffer;
    // What the window shows: the window surface and where the buffer lies on it. Its
    // pixels, its copy of the buffer and its damage: program thread (UpdateWindow,
    // unbuffered drawing) and window thread (paint requests) write them; the window thread
    // presents the damage and takes it with the lock held. The window thread alone
    // replaces the frame (opening, size changes) and may read its geometry without the
    // lock.
    Frame frame;
    // Program thread (SetBuffering); the window thread resets it to false at teardown.
    bool buffering = false;
    // The bitmap table: exactly as many slots as in use up to the last used one.
    // Program thread; the window thread empties it at teardown.
    std::vector<BitStruct> bit;
    // Program thread (SetHandleReuse): true while a destroyed bitmap's slot and handle are
    // given out again at once; false: each slot counts its destructions in `generations`,
    // which outlives the window, and a handle names one generation of its slot.
    bool reuseHandles = true;
    std::vector<uint16_t> generations;
    // Set (atomically, without the lock) by whoever asks for a present; the window
    // thread clears it when it takes the request, so at most one waits in the queue.
    std::atomic<bool> presentPending{false};
    // Window thread: how many times it has shown the window's picture (for tests).
    std::atomic<uint64_t> presents{0};

    // --- Input ------------------------------------------------------------------------
    // Key table. Window thread writes; program thread reads. No guard: each entry atomic.
    // An entry is true while any source holds the key: the keyboard or a pad's control.
    std::array<std::atomic<bool>, 256> key{};
    // Window thread only: how many holds each key has (the keyboard counts once, each
    // pad control once for its own code and once for the key it acts as).
    std::array<uint16_t, 256> holds{};
    // Window thread only: the keys the keyboard holds.
    std::array<bool, 256> keyboardHeld{};
    // Window thread writes, tests read: how many game controllers are open.
    std::atomic<size_t> pads{0};
    // `block` guards the key queue and the mouse position, from both threads.
    std::mutex block;
    // The key queue, oldest first: the window thread appends, NextKey takes, FlushKeys empties.
    std::deque<uint8_t> keybuf;
    int32_t mouseX = 0, mouseY = 0;  // window thread writes; MousePos reads the pair
    // Window thread only.
    bool left = false, right = false;
    // Program thread registers (OnMouseLeftUp), window thread calls and resets at
    // teardown. A callback is registered when its pointer is not null; the pointer is
    // its own flag, so the window thread can never see a flag without a procedure.
    std::atomic<MouseProc> leftDownProc{nullptr};
    std::atomic<MouseProc> leftUpProc{nullptr};
    std::atomic<MouseProc> rightDownProc{nullptr};
    std::atomic<MouseProc> rightUpProc{nullptr};
    std::atomic<MouseProc> doubleProc{nullptr};
    // Program thread registers (OnKeyPress), window thread calls and resets at teardown.
    std::atomic<KeyProc> keyPressProc{nullptr};
};

// The one instance. It is never destroyed, so a window thread still running at exit
// never meets a destroyed lock.
Shared& shared();

// --- Services the modules share ---------------------------------------------------------

// Start and stop an SDL subsystem. SDL counts its subsystems' users without a lock, and
// the window thread (video) and the program thread (sound) both start and stop them, so
// every start and stop goes through these, under one lock. StartSdl is false on failure.
bool StartSdl(Uint32 subsystem);
void StopSdl(Uint32 subsystem);

// Holds canvasLock for one drawing operation. Open() tells whether a window is up;
// Show() copies a block of the buffer into the window's picture, and the destructor,
// once the lock is released, asks the window thread to present it.
class Canvas {
public:
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Open() const { return s_.canvasReady; }
    bool Buffering() const { return s_.buffering; }
    void SetBuffering(bool on) { s_.buffering = on; }
    Surface& Buffer() { return s_.buffer; }
    const Frame& Shown() const { return s_.frame; }
    std::vector<BitStruct>& Bitmaps() { return s_.bit; }
    // Copies the block (clipped) from the buffer into the window's picture.
    void Show(int64_t x, int64_t y, int64_t w, int64_t h);

private:
    Shared& s_;
    std::unique_lock<std::mutex> lock_;
    bool shown_ = false;
};

// Asks the window thread to present the window's picture (coalesced). Any thread.
void RequestPresent();
// Pushes a request to the window thread if its event queue is open; false otherwise.
bool PushRequest(Request request);
// Pushes an SDL event to the window thread if its event queue is open; false otherwise.
bool PushEvent(SDL_Event& event);
// Returns once the window thread has handled every event pushed before the call.
// False when no window is open, or once a close under way has ended it. Used by tests
// that push input events and by benchmarks.
bool Sync();

// The window's work, which the window thread does (and, in the browser, the program's
// waits do in steps):
// Sets the lifecycle state and tells whoever waits for it.
void SetState(Shared& s, WinState state);
// Opens the window up to its running event handling; false, with nothing left behind and
// the reason said, on failure.
bool OpenWindow(Shared& s);
// Handles one event of the window's queue; false when the event closes the window.
bool TakeEvent(Shared& s, const SDL_Event& event);
// Releases everything the window held; afterwards the library is as at program start,
// but for the font choice.
void FreeWindow(Shared& s);

// Window thread: the event handling of input (keys and mouse). True when handled.
bool HandleInputEvent(const SDL_Event& event);
// Window thread, at teardown: every key up, queue empty, mouse at rest, no callbacks.
void ResetInput();
// Window thread: one more hold of a key, which reads down from the first hold on.
void HoldKey(Shared& s, uint8_t code);
// Window thread: one hold of a key fewer; it reads up once none is left.
void LetGoKey(Shared& s, uint8_t code);
// Appends a code to the key queue, dropping the oldest past the limit. Window thread.
void AddKey(Shared& s, uint8_t code);

// Window thread, once video runs: starts the game controller system (its pads come as
// events). A failure leaves the keyboard alone working and says so on one line.
void StartPads();
// Window thread, at teardown: lets go of what the pads hold and closes them.
void StopPads();
// Window thread: lets go of everything the pads hold (the window lost the focus).
void ReleasePads();
// Window thread: the event handling of game controllers. True when handled.
bool HandlePadEvent(const SDL_Event& event);
// The virtual-key code of an SDL key, or -1 for keys the library does not map.
int MapKey(SDL_Keycode sym);
// A copy of the key queue, oldest first (for tests).
std::vector<uint8_t> QueuedKeys();

// Window thread, at teardown with canvasLock held: releases every bitmap.
void ClearBitmapTable(Shared& s);
// The number of slots in the bitmap table (for tests).
uint32_t BitmapTableLength();

// Window thread, before SDL's video starts: Xlib errors from SDL's wake-up events sent
// to a window already torn down are dropped instead of ending the program. Once only.
void FilterLateWakeUpErrors();

// Window thread, before the window is made: its client size at the asked scale and, when
// fullscreen is asked for, the fullscreen flag added to flags.
void WindowSize(Shared& s, int& w, int& h, uint32_t& flags);
// Window thread: brings the open window to the asked scale and fullscreen state.
void ApplyDisplay(Shared& s);
// Window thread, after a size change: the frame on the new window surface, repainted.
void Refit(Shared& s);
// Window thread: toggles fullscreen for a window key when window keys are on; true when
// the event was such a key (it then reaches neither the key table nor the queue).
bool HandleWindowKey(Shared& s, const SDL_Event& event);
// Window thread: shows the frame on the screen.
void Present(Shared& s);

// Window thread: gives the window the icon recorded by WindowIcon, if any.
void ShowIcon(Shared& s);

// Test hook: the next Window call behaves as if the window thread could not be started.
void SimulateThreadStartFailure();

}  // namespace Vuderiv::detail
