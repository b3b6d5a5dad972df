// Vuderiv: one graphics window on a thread of its own, with keyboard and mouse input,
// an off-screen buffer, shapes, a bitmap table, text and sound effects.
//
// Every operation is called from one thread, the program thread; the window thread is
// the library's own, and runs the callbacks. Window and KillWindow wait for it: called
// from a callback, they return at once with one line on standard error naming them.
// Colours are 0x00BBGGRR: red in the low byte, then green, then blue.
// Coordinates are buffer pixels, origin top left, y downwards, however the window shows
// the buffer (see Display). Drawing does nothing while no window is open.
#pragma once

#include <cstdint>
#include <type_traits>

// The version of this header: major, minor, patch. A program built against one major
// version builds against every later minor version of it.
#define VUDERIV_VERSION_MAJOR 1
#define VUDERIV_VERSION_MINOR 0
#define VUDERIV_VERSION_PATCH 0

namespace Vuderiv {

// The version of the library linked into the program, "major.minor.patch".
const char* Version();

// A mouse callback; it runs on the window thread with the client position of the event.
using MouseProc = void (*)(int32_t x, int32_t y);
// Told on the window thread that a window key turned fullscreen on (true) or off.
using FullscreenProc = void (*)(bool fullscreen);
// A key callback; it runs on the window thread with the virtual-key code pressed.
using KeyProc = void (*)(uint32_t k);
// The same three callbacks with a pointer of the program's own, handed back on every call.
using MouseDataProc = void (*)(int32_t x, int32_t y, void* data);
using FullscreenDataProc = void (*)(bool fullscreen, void* data);
using KeyDataProc = void (*)(uint32_t k, void* data);

// --- Window -------------------------------------------------------------------------
// Opens the window (closing an open one first) with a client area of width x height
// pixels; returns once it is up, or has failed and said why on standard error; refused
// in a callback.
void Window(const char* title, uint32_t width, uint32_t height);
// Closes the window, if one is open, and returns once everything is released; refused
// in a callback.
void KillWindow();
// True while a window is open.
bool WindowIsOpen();
// Waits ms milliseconds. A program's waits go through it: in a browser the window's work
// (input in, the picture out) runs at these waits, and the page runs while one lasts.
void Pause(uint32_t ms);
// Gives the open window, and every window opened later, a BMP file as its icon; false
// (the icon unchanged) when the file cannot be read. nullptr: later windows get the default.
bool WindowIcon(const char* file);

// --- Key codes ----------------------------------------------------------------------
// The virtual-key codes that KeyDown takes and the key queue holds; no other key is recorded.
namespace Key {
constexpr uint32_t Tab = 9;
constexpr uint32_t Enter = 13;  // Return or keypad Enter
constexpr uint32_t Shift = 16;  // left or right
constexpr uint32_t Ctrl = 17;   // left or right
constexpr uint32_t Esc = 27;
constexpr uint32_t Space = 32;
constexpr uint32_t Left = 37, Up = 38, Right = 39, Down = 40;  // the arrows
// The digits, 48..57 (their characters' codes).
constexpr uint32_t Digit0 = '0', Digit1 = '1', Digit2 = '2', Digit3 = '3', Digit4 = '4',
                   Digit5 = '5', Digit6 = '6', Digit7 = '7', Digit8 = '8', Digit9 = '9';
// The letters, 65..90 (their capitals' codes).
constexpr uint32_t A = 'A', B = 'B', C = 'C', D = 'D', E = 'E', F = 'F', G = 'G', H = 'H', I = 'I',
                   J = 'J', K = 'K', L = 'L', M = 'M', N = 'N', O = 'O', P = 'P', Q = 'Q', R = 'R',
                   S = 'S', T = 'T', U = 'U', V = 'V', W = 'W', X = 'X', Y = 'Y', Z = 'Z';
// The function keys, 112..123 (F10 is the window system's and never recorded).
constexpr uint32_t F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F6 = 117, F7 = 118, F8 = 119,
                   F9 = 120, F10 = 121, F11 = 122, F12 = 123;
// Editing and moving keys.
constexpr uint32_t Backspace = 8;
constexpr uint32_t Alt = 18;  // left or right; recorded only with RecordSystemKeys on
constexpr uint32_t Pause = 19;
constexpr uint32_t PageUp = 33, PageDown = 34, End = 35, Home = 36;
constexpr uint32_t PrintScreen = 44, Insert = 45, Delete = 46;
// The keypad, whatever Num Lock says: digits 96..105, then * + - . / (its Enter is Enter).
constexpr uint32_t Keypad0 = 96, Keypad1 = 97, Keypad2 = 98, Keypad3 = 99, Keypad4 = 100,
                   Keypad5 = 101, Keypad6 = 102, Keypad7 = 103, Keypad8 = 104, Keypad9 = 105;
constexpr uint32_t KeypadMultiply = 106, KeypadPlus = 107, KeypadMinus = 109, KeypadPeriod = 110,
                   KeypadDivide = 111;
constexpr uint32_t NumLock = 144, ScrollLock = 145;
// Punctuation, by the character the key types unshifted.
constexpr uint32_t Semicolon = 186, Equals = 187, Comma = 188, Minus = 189, Period = 190,
                   Slash = 191, Backquote = 192, LeftBracket = 219, Backslash = 220,
                   RightBracket = 221, Quote = 222;
// A game controller's own controls while pads act as keys (see Pads as keys below).
constexpr uint32_t PadSouth = 195;  // A / cross
constexpr uint32_t PadEast = 196;   // B / circle
constexpr uint32_t PadWest = 197;   // X / square
constexpr uint32_t PadNorth = 198;  // Y / triangle
constexpr uint32_t PadDpadUp = 203, PadDpadDown = 204, PadDpadLeft = 205, PadDpadRight = 206;
constexpr uint32_t PadStart = 207;  // Start / Menu
constexpr uint32_t PadBack = 208;   // Back / Select / View
// The left stick pushed past its dead zone.
constexpr uint32_t PadStickUp = 211, PadStickDown = 212, PadStickRight = 213, PadStickLeft = 214;
}  // namespace Key

// --- Display: how the window shows the buffer --------------------------------------
// Whatever the display, every coordinate the library takes or reports stays in buffer
// pixels. Each choice holds for the open window and for windows opened later. The window
// never opens larger than the usable area of its screen, frame included: a factor that does
// not fit takes the largest whole one that does, or the fitted picture when not even 1 does.
// SetWindowScale's fitted picture: as large as the usable area of the window's screen
// (windowed) or the screen (fullscreen) allows, at any factor, keeping the buffer's shape.
constexpr uint32_t FitScale = 0xFFFFFFFF;
// SetWindowScale's start value: 1 (the fitted picture when 1 does not fit); fitted in fullscreen.
constexpr uint32_t DefaultScale = 0xFFFFFFFE;
// Shows each buffer pixel as factor x factor window pixels; 0 takes the largest whole
// factor that fits. FitScale and DefaultScale as above.
void SetWindowScale(uint32_t factor);
// The whole factor the window shows the buffer at now, fullscreen included; 0 with no
// window or while the picture is fitted at a size no whole factor gives.
uint32_t WindowScale();
// Where the window shows the buffer: the window pixel of its top-left corner and its size
// in window pixels; all 0 with no window.
void WindowPicture(int32_t& left, int32_t& top, uint32_t& width, uint32_t& height);
// The largest whole factor at which the window, frame included, fits the usable area of its
// screen, 0 when not even 1 does; as measured at the last opening (a refused one too) or
// display change; 0 before any.
uint32_t LargestWindowScale();
// On: Window opens no window when the whole factor chosen (neither 0, FitScale nor
// DefaultScale) does not fit, measured on the screen it would open on, before anything is
// shown; LargestWindowScale then tells what fits. Off (the start value): it is lowered.
void SetStrictScale(bool on);
// Desktop fullscreen on or off, on the window's own screen: the buffer at the largest whole
// factor that fits the screen when a whole factor was chosen, else fitted; centred, black
// around it. Off at the start.
void SetFullscreen(bool on);
// True while fullscreen is chosen.
bool Fullscreen();
// On: F11 and Alt+Enter toggle fullscreen and never reach the key table or the key queue.
// Off (the start value): F11 is an ordinary key.
void EnableWindowKeys(bool on);
// Registers the callback told of each toggle by a window key; nullptr removes it.
void OnFullscreenKey(FullscreenProc proc);

// --- Input --------------------------------------------------------------------------
// True while the key with this code (a Key:: name, 0..255) is held; false above 255.
// A letter's code is its capital's: 97..111 are keypad codes, so ask with Key::A, with
// KeyOf('a') or with the character itself, KeyDown('a') (the overload below).
bool KeyDown(uint32_t k);
// The code of the key that types a character: a letter of either case (its capital's
// code), a digit, space or the punctuation above; 0 (never held) for any other.
uint32_t KeyOf(char c);
// True while the key that types this character is held: KeyDown('a') == KeyDown(Key::A).
template <typename Char, typename std::enable_if<std::is_same<Char, char>::value, int>::type = 0>
bool KeyDown(Char c) {
    return KeyDown(KeyOf(c));
}
// Takes the oldest code from the key queue; 0 when the queue is empty. The queue holds the
// code of every press (auto-repeats too) in order, the newest 4096 of them, so it also sees
// a tap too short for KeyDown to catch between two calls.
uint32_t NextKey();
// Empties the queue of pressed key codes.
void FlushKeys();
// The last mouse position over the window; each coordinate 0..65535.
void MousePos(int32_t& x, int32_t& y);
// Registers the callback for left-button releases; nullptr removes it. There is one such
// callback: each call replaces the one before, and StandardMenu's ButtonSelected and
// MenuSelection install their own click recorder here, replacing the program's.
void OnMouseLeftUp(MouseProc proc);
// Registers the callback for key presses the key table records, auto-repeat left out;
// nullptr removes it. The key is recorded as always, whether or not a callback is set.
void OnKeyPress(KeyProc proc);
// The same registrations with a pointer handed back on every call; a null proc removes.
void OnMouseLeftUp(MouseDataProc proc, void* data);
void OnKeyPress(KeyDataProc proc, void* data);
void OnFullscreenKey(FullscreenDataProc proc, void* data);
// On: Alt (Key::Alt), F10 and keys pressed with Alt held are recorded like other keys.
// Off (the start value): they are the window system's, recorded nowhere.
void RecordSystemKeys(bool on);

// --- Mouse buttons and wheel --------------------------------------------------------
// The buttons, as MouseDown, MousePressed and MouseReleased take them.
namespace MouseButton {
constexpr uint32_t Left = 1, Middle = 2, Right = 3, Back = 4, Forward = 5;
}  // namespace MouseButton
// True while the button is held over the window (any other number: false).
bool MouseDown(uint32_t button);
// True when the button went down since the last MousePressed call for it; it consumes
// the presses, so each is seen once. A double click's second press counts too.
bool MousePressed(uint32_t button);
// True when the button came up since the last MouseReleased call for it; consumes them.
bool MouseReleased(uint32_t button);
// The wheel's turns since the last call, in notches: dy > 0 away from the user (up),
// dx > 0 to the right. Both 0 when it has not turned. Where: MousePos.
void MouseWheel(int32_t& dx, int32_t& dy);

// --- Typed text ---------------------------------------------------------------------
// On: what the user types is kept as UTF-8 text (the keyboard layout, dead keys and
// input methods applied) besides the key codes. Off (the start value): no text is kept.
void EnableTextInput(bool on);
// Takes the oldest typed text into `out` (size bytes, NUL included), whole characters
// only, and returns how many bytes it wrote before the NUL; 0 when none is waiting.
// The newest 4096 bytes wait at most. Backspace and Enter come as keys, not as text.
uint32_t TypedText(char* out, uint32_t size);

// --- Pads ---------------------------------------------------------------------------
// Game controllers plugged in before the window opens or at any time after. Each pad
// takes the lowest free index (0..MaxPads-1) and keeps it until it is unplugged or the
// window closes, so two players stay apart. SDL_GAMECONTROLLERCONFIG adds mappings for
// unknown pads. A test reaches a pad through SDL's virtual joystick
// (SDL_JoystickAttachVirtualEx); headless (SDL_VIDEODRIVER=offscreen) the window never
// has the focus, so set SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS=1 as well.
constexpr uint32_t MaxPads = 8;
// The buttons, as PadDown and PadEvent name them; the triggers also count as buttons,
// held beyond half their travel.
namespace PadButton {
constexpr uint32_t South = 0, East = 1, West = 2, North = 3;  // A, B, X, Y / cross, circle...
constexpr uint32_t Back = 4, Guide = 5, Start = 6;
constexpr uint32_t LeftStick = 7, RightStick = 8;  // the sticks pressed in
constexpr uint32_t LeftShoulder = 9, RightShoulder = 10;
constexpr uint32_t DpadUp = 11, DpadDown = 12, DpadLeft = 13, DpadRight = 14;
constexpr uint32_t Misc = 15, Paddle1 = 16, Paddle2 = 17, Paddle3 = 18, Paddle4 = 19;
constexpr uint32_t Touchpad = 20, LeftTrigger = 21, RightTrigger = 22;
constexpr uint32_t Count = 23;
}  // namespace PadButton
// The axes, as PadValue takes them.
namespace PadAxis {
constexpr uint32_t LeftX = 0, LeftY = 1, RightX = 2, RightY = 3;  // y grows downwards
constexpr uint32_t LeftTrigger = 4, RightTrigger = 5;
constexpr uint32_t Count = 6;
}  // namespace PadAxis
// A button of a pad went down or came up.
struct PadEvent {
    uint8_t pad;     // the pad's index
    uint8_t button;  // a PadButton
    bool down;       // pressed (true) or released
};
// How many pads are plugged in.
uint32_t PadCount();
// True while a pad holds this index.
bool PadConnected(uint32_t pad);
// The pad's name, "" for no pad; valid until the next PadName call.
const char* PadName(uint32_t pad);
// True while the pad holds the button; false for no pad or an unknown button.
bool PadDown(uint32_t pad, uint32_t button);
// An axis as it stands: sticks -1..1, triggers 0..1, unfiltered (a resting stick may
// read up to about 0.2 off centre); 0 for no pad or an unknown axis.
float PadValue(uint32_t pad, uint32_t axis);
// Takes the oldest button press or release of any pad; false when none is waiting. The
// newest 4096 wait at most; the window closing empties the queue.
bool NextPadEvent(PadEvent& event);
// Empties the queue of pad events.
void FlushPadEvents();

// --- Pads as keys -------------------------------------------------------------------
// On: the pads' controls also act as keys: the D-pad and the left stick as the arrow
// keys, the south button as Up (a jump, with a direction), the west and east buttons as
// Ctrl, Back as Q. A key reads down while the keyboard or any pad holds it. Each control
// is also held under a code of its own (Key::Pad...), and a press of it enters the key
// queue under that code. The stick counts as pushed beyond nearly a third of its travel and as
// centred again within a fifth. Unplugging a pad, or the window losing the focus, lets
// go of what it held. Off (the start value): pads touch neither the key table nor the
// key queue; a control held as a key when it goes off is let go at its release.
void SetPadsAsKeys(bool on);
// True while pads act as keys.
bool PadsAsKeys();
// The arrow key (37..40) a D-pad or stick code stands for; any other code unchanged.
uint32_t PadArrow(uint32_t code);

// --- Frames -------------------------------------------------------------------------
// Waits until the next frame at hz frames a second and returns the seconds since the
// call before returned (0 the first time). The frames lie on a fixed grid, so their pace
// does not drift; a program late by more than a frame starts a new grid from now
// instead of hurrying to catch up. hz 0 does not wait. Program thread.
double WaitFrame(uint32_t hz);
// The seconds since WaitFrame last returned; 0 before its first call.
double SecondsSinceFrame();

// --- Off-screen buffer and shapes ---------------------------------------------------
// On: drawing goes to the buffer only. Off (the start value): each drawing shows at once.
void SetBuffering(bool state);
// Shows the whole buffer in the window.
void UpdateWindow();
// Fills the whole buffer with black.
void ClearScreen();
// A filled band of about `thickness` pixels between two points, with flat ends.
void ThickLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color, uint32_t thickness);
// A filled rectangle or a one-pixel frame; both corners are included.
void Rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color, bool fill);
// A polygon through n points, filled by the nonzero winding rule or outlined only.
void Polygon(uint32_t n, const int32_t x[], const int32_t y[], uint32_t color, bool fill);

// --- Pixels, one-pixel lines, circles, colours ----------------------------------------
// The colour value of red, green and blue, 0..255 each: 0x00BBGGRR.
constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
           (static_cast<uint32_t>(b) << 16);
}
// Sets one pixel.
void SetPixel(int32_t x, int32_t y, uint32_t color);
// A one-pixel line that includes both end points.
void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t color);
// A circle of 2 * radius + 1 pixels across centred on (x, y): filled, or its one-pixel outline.
void Circle(int32_t x, int32_t y, uint32_t radius, uint32_t color, bool fill);

// --- Bitmaps ------------------------------------------------------------------------
// Loads a BMP file ("/" or "\" separators) at the given size; a handle, or 0 on failure,
// when one line on standard error names the file and the reason (once per file per run).
// Every draw copies exactly width x height, so a width or height of 0 draws nothing.
uint32_t LoadBitmap(const char* file, uint32_t width, uint32_t height);
// Releases a bitmap; an invalid handle is ignored.
void DestroyBitmap(uint32_t bitmap);
// Draws a bitmap with its top-left corner at (x, y).
void DrawBitmap(uint32_t bitmap, int32_t x, int32_t y);
// Draws a bitmap where its mask is light and keeps the target where the mask is dark.
void DrawMaskBitmap(uint32_t bitmap, uint32_t maskbitmap, int32_t x, int32_t y);
// Makes a blank bitmap; a handle, or 0 when a size is 0.
uint32_t CreateBitmap(uint32_t width, uint32_t height);
// Copies a block from one bitmap into another; works with or without a window.
void CopyBitmap(uint32_t srcbitmap, uint32_t destbitmap, int32_t xsrc, int32_t ysrc, int32_t xdest,
                int32_t ydest, uint32_t width, uint32_t height);

// --- Images: PNG, transparency, parts, sizes, handle checks ------------------------------
// A BMP or PNG file at its own size; a handle, or 0 with one line on standard error. PNG
// files need a library built with PNG support (else the line says it is not built in);
// LoadBitmap takes PNG files too. A PNG's transparency is kept: every draw blends it.
uint32_t LoadImage(const char* file);
// The size a bitmap draws (the size asked for at its making); false and 0 x 0 when invalid.
bool BitmapSize(uint32_t bitmap, uint32_t& width, uint32_t& height);
// Draws leave out the bitmap's pixels of this colour (a colour key instead of a mask file).
void SetColorKey(uint32_t bitmap, uint32_t color);
// Draws show every pixel of the bitmap again (no colour key; the start value).
void ClearColorKey(uint32_t bitmap);
// How DrawBitmapPart mirrors a part: one of these, or both or-ed together.
constexpr uint32_t FlipNone = 0;        // as it is
constexpr uint32_t FlipHorizontal = 1;  // left and right swapped
constexpr uint32_t FlipVertical = 2;    // top and bottom swapped
// Draws the width x height part at (xsrc, ysrc) of a bitmap (a sprite sheet's cell) with
// its top-left corner at (x, y), mirrored as `flip` says; transparency and key are kept.
void DrawBitmapPart(uint32_t bitmap, int32_t xsrc, int32_t ysrc, uint32_t width, uint32_t height,
                    int32_t x, int32_t y, uint32_t flip);
// Off: a destroyed bitmap's handle is not given out again until the handle numbers wrap
// (4096 destructions in its slot), and the first use of it writes one line on standard
// error. On (the start value): the lowest free handle is given out again at once.
void SetHandleReuse(bool reuse);

// --- Text ---------------------------------------------------------------------------
// Chooses the font style and colour of the texts that follow. The styles:
//   1  sans bold, 16 pixels
//   2  monospaced, 16 pixels
//   3  sans, 13 pixels
//   4  monospaced, 13 pixels
//   5  monospaced bold, 12 pixels
//   0  and any other: condensed sans, 11 pixels (the start value)
void SetFont(uint32_t style, uint32_t color);
// Draws a UTF-8 text with its top-left corner at (x, y), without a background box. A
// text that is not valid UTF-8 is read as Latin-1, one character a byte.
void Text(const char* text, int32_t x, int32_t y);
// Draws a signed number in decimal.
void TextInt(int32_t number, int32_t x, int32_t y);
// Draws an unsigned number in decimal, any value 0..4294967295.
void TextCard(uint32_t number, int32_t x, int32_t y);
// The size a text (UTF-8, else Latin-1) takes in a font style; (0, 0) with no window.
void GetTextSize(const char* text, uint32_t style, uint32_t& width, uint32_t& height);

// --- Reading back -------------------------------------------------------------------
// The colour the window shows at a point; 0 outside it or with no window.
uint32_t WindowPixel(int32_t x, int32_t y);
// The colour the off-screen buffer holds at a point; 0 outside it or with no window.
uint32_t BufferPixel(int32_t x, int32_t y);

// --- Sound --------------------------------------------------------------------------
// Off until OpenSound. Sounds mix on a thread of the sound system; no call waits for it.
// Opens the sound device; false, with one line on standard error saying why, when there
// is none: every sound then stays silent. True at once when it is open already. In a
// browser the device itself opens at the next Pause (a failure is said then).
bool OpenSound();
// Stops every sound, closes the device and releases every loaded sound.
void CloseSound();
// True while the sound device is open.
bool SoundIsOpen();
// Loads a WAV file (at most 30 s) once; a handle, or 0 with one line on standard error
// naming the file when it cannot be read. Works with or without a device.
uint32_t LoadSound(const char* file);
// Starts a loaded sound and returns at once; sounds play mixed. 0, an unknown handle, or
// no device: nothing. Program thread.
void PlaySound(uint32_t sound);
// The master volume in percent, 0..100 (larger values count as 100); 100 at the start.
void SetVolume(uint32_t percent);
// The master volume in percent.
uint32_t Volume();
// Mute silences every sound without stopping it; off at the start. Any thread.
void SetMute(bool mute);
// True while muted. Any thread.
bool Muted();

// --- Sound: playing or not, waiting, looping, stopping, volume per sound --------------------
// True while a play of the sound is under way or about to start; sound 0: any sound.
bool SoundPlaying(uint32_t sound);
// Waits until every sound that ends (loops left out) has ended, at most `milliseconds`;
// true when they have. At once without a device. Program thread.
bool WaitSounds(uint32_t milliseconds);
// Starts a loaded sound that repeats until StopSound or CloseSound. Program thread.
void LoopSound(uint32_t sound);
// Stops every play of the sound, looping or not; sound 0: every sound. Program thread.
void StopSound(uint32_t sound);
// The volume of one loaded sound in percent, 0..100 (larger values count as 100), under
// the master volume; 100 at loading. It applies to the plays under way too.
void SetSoundVolume(uint32_t sound, uint32_t percent);

}  // namespace Vuderiv
