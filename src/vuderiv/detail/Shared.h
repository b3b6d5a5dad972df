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

#include "Callback.h"
#include "Frame.h"
#include "MaskRuns.h"
#include "Surface.h"
#include "Vuderiv.h"

namespace Vuderiv::detail {

// The widths of the frame around a window: title bar and borders.
struct Borders {
    int top = 0, left = 0, bottom = 0, right = 0;
};

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
    // The surface's runs as a mask, made at its first use as one. Whatever changes the
    // surface's pixels forgets them.
    MaskRuns runs;
    // Which picture the surface holds: a number that no other picture had, new whenever the
    // surface's pixels change (0: none yet).
    uint64_t version = 0;
};

// Requests that the program thread (and tests) send to the window thread as SDL user events.
enum Request : int32_t {
    REQUEST_PRESENT = 1,
    REQUEST_CLOSE = 2,
    REQUEST_SYNC = 3,
    REQUEST_ICON = 4,
    REQUEST_DISPLAY = 5,
    REQUEST_TEXT_INPUT = 6,
};

// The most key codes the key queue keeps; older codes are dropped past this.
constexpr size_t kKeyQueueLimit = 4096;
// The most pad events, and bytes of typed text, that wait; older ones are dropped past this.
constexpr size_t kPadQueueLimit = 4096;
constexpr size_t kTextQueueLimit = 4096;
// The mouse buttons recorded for polling: MouseButton 1..5, by their index.
constexpr size_t kMouseButtons = 6;

// What the program sees of one pad index.
struct PadState {
    bool connected = false;
    std::string name;
    uint32_t buttons = 0;  // bit b set while PadButton b is held
    std::array<int16_t, PadAxis::Count> axes{};
};

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
    // They outlive the window. scale 0: the largest that fits; FitScale, DefaultScale.
    uint32_t askedScale = DefaultScale;
    bool askedFullscreen = false;
    // Program thread (SetStrictScale); the window thread reads it at the opening.
    bool strictScale = false;
    // Program thread (EnableWindowKeys); the window thread reads it for each key.
    std::atomic<bool> windowKeys{false};
    // Program thread registers (OnFullscreenKey); the window thread calls it. Guarded by
    // its own lock.
    Callback<bool> fullscreenKeyProc;
    // Window thread, at each opening and display change: the largest whole scale at which
    // the window, frame included, fits the usable area of its screen (0: not even 1).
    std::atomic<uint32_t> largestScale{0};
    // Window thread only: the frame the window manager gives the window, measured at the
    // opening, and whether the picture is fitted to the window surface (Scaler.h).
    Borders borders;
    bool fitPicture = false;
    int placedWidth = 0, placedHeight = 0;  // the windowed client size last set
    int corrections = 0;  // how often the shown window was brought to its place (CheckPlace)

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
    // Program thread (SetPadsAsKeys); the window thread reads it at each control's press.
    // It outlives the window.
    std::atomic<bool> padsAsKeys{false};
    // Program thread (RecordSystemKeys); the window thread reads it for each key.
    std::atomic<bool> systemKeys{false};
    // Program thread (EnableTextInput); the window thread applies it at the opening and
    // on REQUEST_TEXT_INPUT. It outlives the window.
    std::atomic<bool> textInput{false};
    // `block` guards the key queue, the mouse record and the typed text, from both threads.
    std::mutex block;
    // The key queue, oldest first: the window thread appends, NextKey takes, FlushKeys empties.
    std::deque<uint8_t> keybuf;
    int32_t mouseX = 0, mouseY = 0;  // window thread writes; MousePos reads the pair
    // Window thread writes; the polling calls read and take. Bit b of mouseHeld is set
    // while button b is held; the counts are presses and releases not yet taken.
    uint32_t mouseHeld = 0;
    std::array<uint32_t, kMouseButtons> mousePresses{}, mouseReleases{};
    int32_t wheelX = 0, wheelY = 0;  // notches not yet taken
    // Typed UTF-8 text, oldest first: the window thread appends, TypedText takes.
    std::string typed;
    // Window thread only.
    bool left = false, right = false;
    // Program thread registers (OnMouseLeftUp, OnKeyPress), the window thread calls them
    // and removes them at teardown. Each is guarded by its own lock; a callback is
    // called outside it. Only the left-up one can be registered; the others stay empty.
    Callback<int32_t, int32_t> leftDownProc, leftUpProc, rightDownProc, rightUpProc, doubleProc;
    Callback<uint32_t> keyPressProc;

    // --- Pads, guarded by padLock -----------------------------------------------------
    std::mutex padLock;
    // Window thread writes (plugging, unplugging, each control's change, teardown);
    // the program thread reads.
    std::array<PadState, MaxPads> padStates;
    // The pad events, oldest first: the window thread appends, NextPadEvent takes,
    // FlushPadEvents and the teardown empty it.
    std::deque<PadEvent> padEvents;
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
// In a browser: whether OpenSound has left the sound device to the program's next wait,
// and its opening then.
bool SoundDue();
void OpenDueSound();

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
    // The buffer, to read.
    const Surface& Buffer() const { return s_.buffer; }
    // The buffer, for a drawing that writes within the block (x, y, w, h) only: that block
    // is compared with the window's picture at the next showing; pixels no drawing named
    // are taken to be as shown.
    Surface& DrawBlock(int64_t x, int64_t y, int64_t w, int64_t h);
    // The same for a drawing within whole rows [top, top + rows).
    Surface& DrawRows(int64_t top, int64_t rows) {
        return DrawBlock(0, top, s_.buffer.width, rows);
    }
    // The buffer, for a drawing that may write anywhere.
    Surface& DrawAnywhere() { return DrawRows(0, s_.buffer.height); }
    // The buffer, for a copy of the whole picture row `source` into its row y: `copy` are
    // the columns to copy, noted as drawn (TakePictureRow).
    Surface& DrawPictureRow(int32_t y, RowSource source, Span& copy);
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
// False when no window is open, or once a close under way has ended it, or on the window
// thread itself (refused, see RefusedOnWindowThread). Used by tests that push input
// events and by benchmarks.
bool Sync();

// True on the window thread, in the callbacks it runs too.
bool OnWindowThread();
// For a call that waits for the window thread: on that thread (a callback) it would wait
// for ever, so one line naming `call` goes to standard error and the result is true (the
// call returns at once). False on any other thread.
bool RefusedOnWindowThread(const char* call);

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
// Window thread: starts or stops SDL's text input as the program chose.
void ApplyTextInput(const Shared& s);
// Window thread: appends typed UTF-8 text, dropping the oldest past the limit.
void AddTypedText(Shared& s, const char* text);
// A copy of the key queue, oldest first (for tests).
std::vector<uint8_t> QueuedKeys();

// Window thread, at teardown with canvasLock held: releases every bitmap.
void ClearBitmapTable(Shared& s);
// The number of slots in the bitmap table (for tests).
uint32_t BitmapTableLength();

// Window thread, before SDL's video starts: Xlib errors from SDL's wake-up events sent
// to a window already torn down are dropped instead of ending the program. Once only.
void FilterLateWakeUpErrors();

// Window thread, with the new window still hidden: its size and place for the asked display
// on its screen. False when the strict choice refuses it (nothing is said).
bool PlaceWindow(Shared& s);
// Window thread, on the shown window's events: brings a window whose frame or size is not
// what its place asks for (a window manager that answered late) to that place.
void CheckPlace(Shared& s);
// Window thread: the frame the window manager will put around the hidden window (none
// without one); asks the manager and waits a little for its answer.
Borders MeasureBorders(SDL_Window* window);
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
