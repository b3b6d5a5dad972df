// Vuderiv: one graphics window on a thread of its own, with keyboard and mouse input,
// an off-screen buffer, shapes, a bitmap table, text and sound effects.
//
// Every operation is called from one thread, the program thread; the window thread is
// the library's own. Colours are 0x00BBGGRR: red in the low byte, then green, then blue.
// Coordinates are buffer pixels, origin top left, y downwards, however the window shows
// the buffer (see Display). Drawing does nothing while no window is open.
#pragma once

#include <cstdint>

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

// --- Window -------------------------------------------------------------------------
// Opens the window (closing an open one first) with a client area of width x height
// pixels; returns once it is up, or has failed and said why on standard error.
void Window(const char* title, uint32_t width, uint32_t height);
// Closes the window, if one is open, and returns once everything is released.
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
// A game controller's own controls (see Game controllers below).
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
// pixels. Each choice holds for the open window and for windows opened later.
// Shows each buffer pixel as factor x factor window pixels (1 at the start); 0, or more
// than fits the usable area of the screen, takes the largest that fits.
void SetWindowScale(uint32_t factor);
// The factor the window shows the buffer at now, fullscreen included; 0 with no window.
uint32_t WindowScale();
// The largest factor at which the window fits the usable area of its screen; 0 with no window.
uint32_t LargestWindowScale();
// Desktop fullscreen on or off: the buffer at the largest factor that fits the screen,
// centred, black around it. Off at the start.
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
bool KeyDown(uint32_t k);
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

// --- Game controllers ---------------------------------------------------------------
// Pads plugged in before the window opens or at any time after act as keys: the D-pad and
// the left stick as the arrow keys, the south button as Up (a jump, with a direction), the
// west and east buttons as Ctrl, Back as Q. A key reads down while the keyboard or any pad
// holds it. Each control is also held under a code of its own (Key::Pad...), and a press
// of it enters the key queue under that code. Unplugging a pad, or the window losing the
// focus, lets go of what it held. SDL_GAMECONTROLLERCONFIG adds mappings for unknown pads.
// The arrow key (37..40) a D-pad or stick code stands for; any other code unchanged.
uint32_t PadArrow(uint32_t code);

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
// Draws a text with its top-left corner at (x, y), without a background box.
void Text(const char* text, int32_t x, int32_t y);
// Draws a signed number in decimal.
void TextInt(int32_t number, int32_t x, int32_t y);
// Draws an unsigned number (at most 2147483647) in decimal.
void TextCard(uint32_t number, int32_t x, int32_t y);
// The size a text takes in a font style; (0, 0) while no window is open.
void GetTextSize(const char* text, uint32_t style, uint32_t& width, uint32_t& height);

// --- Reading back -------------------------------------------------------------------
// The colour the window shows at a point; 0 outside it or with no window.
uint32_t WindowPixel(int32_t x, int32_t y);
// The colour the off-screen buffer holds at a point; 0 outside it or with no window.
uint32_t BufferPixel(int32_t x, int32_t y);

// --- Sound --------------------------------------------------------------------------
// Off until OpenSound. Sounds mix on a thread of the sound system; no call waits for it.
// Opens the sound device; false, with one line on standard error saying why, when there
// is none: every sound then stays silent. True at once when it is open already.
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
