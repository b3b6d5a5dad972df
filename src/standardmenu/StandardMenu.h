// StandardMenu: screen buttons made of bitmaps, chosen with the left mouse button or keys.
//
// A button holds its place, its size and up to four bitmap handles: the normal image, a
// mouse-over image, and a mask for each. A menu is an array of buttons owned by the
// caller; MenuSelection shows it and waits until one of them is clicked or chosen by a
// key. Program thread only, but for the click recorder, which runs on the window thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>

// The version of this header: major, minor, patch. Needs C++20 (std::span).
#define STANDARDMENU_VERSION_MAJOR 1
#define STANDARDMENU_VERSION_MINOR 0
#define STANDARDMENU_VERSION_PATCH 0

namespace StandardMenu {

// The version of the library linked into the program, "major.minor.patch".
const char* Version();

// A NUL-terminated BMP path of at most 29 characters, padded with NULs. " " means no file.
using BitmapName = std::array<char, 30>;

// The four image names of a button. A mouseOverMask starting with "=" means: the
// mouse-over image uses the mask of the normal image.
struct ButtonStrings {
    BitmapName normal;         // the image shown normally
    BitmapName mouseOver;      // the image shown while the mouse is over the button
    BitmapName normalMask;     // the mask of the normal image
    BitmapName mouseOverMask;  // the mask of the mouse-over image
};

// What a button is made of.
struct ButtonType {
    bool withMouseOver = false;  // it has a second image for the mouse-over state
    bool withMask = false;       // it is drawn through masks
};

// One button. Handles the type does not use are 0.
struct ButtonRc {
    int32_t x0 = 0, y0 = 0;            // top-left corner, client coordinates
    int32_t width = 0, height = 0;     // size in pixels, also the size its images load at
    bool visible = false;              // an invisible button is neither drawn nor chosen
    ButtonType type{};                 // with mouse-over image, with masks
    std::array<uint32_t, 2> bitmap{};  // [0] normal image, [1] mouse-over image
    std::array<uint32_t, 2> mask{};    // [0] mask of the normal, [1] of the mouse-over image
};

// A key that chooses a button at once: a virtual-key code and the button's position.
struct KeyChoice {
    uint32_t key = 0;    // the key code (a D-pad or stick code also matches its arrow key)
    int32_t button = 0;  // the position in the menu of the button it chooses
};

// A recorded left-button release, client coordinates.
struct ClickRc {
    int32_t x = 0, y = 0;  // where the button was released
};

// What MenuSelection returns once the window has been closed: no button was chosen.
constexpr int32_t kNoSelection = -1;

// The name as a BitmapName; a name longer than 29 characters stops the program with a
// run-time error naming it. nullptr gives " ".
BitmapName MakeBitmapName(const char* name);

// A button with a mouse-over image, without masks (two handles: normal, mouse-over).
ButtonRc CreateButton(int32_t w, int32_t h, const char* normal, const char* mouseOver);
// A button with a mouse-over image and one mask for both (three handles: normal, mask,
// mouse-over; both mask entries hold the same one).
ButtonRc CreateMaskedButton(int32_t w, int32_t h, const char* normal, const char* mouseOver,
                            const char* mask);
// A button without mouse-over image, with a mask (two handles: image, mask).
ButtonRc CreateField(int32_t w, int32_t h, const char* normal, const char* mask);
// A visible button of any kind: loads normal, then the normal mask, then the mouse-over
// image and its mask, as the type asks, each at w x h. Its corner is left at (0, 0). A
// file that cannot be loaded leaves handle 0. A negative size stops the program.
ButtonRc CreateButtonX(int32_t w, int32_t h, ButtonType flags, const ButtonStrings& bitmaps);

// Places the first button at (x0, y0), each next one yGap lower than the one before.
void SetVerticalMenu(int32_t x0, int32_t y0, int32_t yGap, std::span<ButtonRc> buttons);
// True when x0 < x < x0 + width and y0 < y < y0 + height (the edges lie outside).
bool InButton(const ButtonRc& button, int32_t x, int32_t y);
// Draws a visible button into the off-screen buffer, with its mouse-over image while the
// mouse is over it.
void DrawButton(const ButtonRc& button);
// True, consuming the recorded click, when a click is recorded inside this visible button.
// Installs the click recorder as the window's one left-button-up callback (see
// Vuderiv::OnMouseLeftUp), replacing the program's own; from then on it records every
// left-button release. MenuSelection does the same.
bool ButtonSelected(const ButtonRc& button);
// Shows the menu and waits for a click inside one of its buttons; returns that button's
// position (the lowest when several hold the click). Only a release made while it waits
// counts: a click recorded before it starts is forgotten. Each pass shows the buffer (unless
// it is shown already: the buttons drawn as in the pass before), draws and tests the
// buttons in order, then pauses 25 ms. kNoSelection once the window is closed.
// Keys pressed while the menu is shown choose too: Up / Down and Shift+Tab / Tab (the
// pad's D-pad or stick alike) move a focus, which starts on the first visible button,
// among the visible buttons; Enter, Space or the pad's south button choose the focused
// one. The focus shows with the mouse-over image once a key has moved it, until the
// mouse moves, which takes the focus to the button under it. Keys pressed before the
// menu was shown are dropped.
int32_t MenuSelection(std::span<const ButtonRc> menu);
// The same wait, but without a focus: each key listed chooses its visible button at once
// (an empty list: as above).
int32_t MenuSelection(std::span<const ButtonRc> menu, std::span<const KeyChoice> keys);
// Registers a callback MenuSelection calls on the program thread once each pass while it
// waits, for the program's own work (a file to write, say); nullptr removes it.
void OnMenuPass(void (*proc)());

}  // namespace StandardMenu
