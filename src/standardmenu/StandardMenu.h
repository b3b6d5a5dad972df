// StandardMenu: screen buttons made of bitmaps or of a text, chosen with the left mouse
// button or keys.
//
// A button holds its place, its size and up to four bitmap handles: the normal image, a
// mouse-over image, and a mask for each; or a text label. A menu is an array of buttons
// owned by the caller; MenuSelection shows it and waits until one of them is clicked or
// chosen by a key, MenuStep does one pass of it in the program's own frame. Program thread
// only, but for the click recorder, which runs on the window thread.
#pragma once

#if __cplusplus < 202002L
#error "StandardMenu.h needs C++20 or later (it uses std::span): compile with -std=c++20 or newer"
#endif

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The version of this header: major, minor, patch. Needs C++20 (std::span).
#define STANDARDMENU_VERSION_MAJOR 1
#define STANDARDMENU_VERSION_MINOR 1
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

// How a text button looks: a Vuderiv font style (see Vuderiv::SetFont) and its colours
// (0x00BBGGRR), normally and while the mouse or the focus is on the button.
struct LabelLook {
    uint32_t style = 1;                  // the font style of the text
    uint32_t color = 0xFFFFFF;           // the text's colour
    uint32_t background = 0x404040;      // the button's colour behind the text
    uint32_t overColor = 0x000000;       // the text's colour under the mouse or the focus
    uint32_t overBackground = 0xFFFFFF;  // the button's colour under the mouse or the focus
};

// One button. Handles the type does not use are 0.
struct ButtonRc {
    int32_t x0 = 0, y0 = 0;            // top-left corner, client coordinates
    int32_t width = 0, height = 0;     // size in pixels, also the size its images load at
    bool visible = false;              // an invisible button is neither drawn nor chosen
    ButtonType type{};                 // with mouse-over image, with masks
    std::array<uint32_t, 2> bitmap{};  // [0] normal image, [1] mouse-over image
    std::array<uint32_t, 2> mask{};    // [0] mask of the normal, [1] of the mouse-over image
    std::string label{};               // a text button's text ("" for a button of images)
    LabelLook look{};                  // a text button's font and colours
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

// What MenuSelection returns once the window has been closed, and MenuStep while no
// button is chosen; also "no focus".
constexpr int32_t kNoSelection = -1;

// The image files of a button made by CreateImageButton: paths of any length; "" is none.
struct ButtonFiles {
    std::string normal{};         // the image shown normally
    std::string mouseOver{};      // the image under the mouse or the focus; "": none
    std::string normalMask{};     // the mask of the normal image; "": drawn without masks
    std::string mouseOverMask{};  // the mouse-over image's mask; "": the normal image's mask
};

// What a menu keeps from one pass to the next: its keys, its focus, what the mouse did.
// One state serves one menu; keep it to keep the focus when the menu is shown again.
struct MenuState {
    std::vector<KeyChoice> shortcuts{};  // keys that choose their visible button at once
    bool focusKeys = true;               // Up/Down/Tab move a focus, Enter/Space choose it
    int32_t focus = kNoSelection;        // the focused button, shown; kNoSelection: none
    bool keysLead = false;               // kept by the library: a key placed the focus
    bool started = false;                // kept by the library: input before it is dropped
    int32_t mouseX = 0, mouseY = 0;      // kept by the library: the mouse in the pass before
    uint32_t display = 0;                // kept by the library: the display in the pass before
    uint32_t settling = 0;               // kept by the library: passes the mouse is not followed
};

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

// A visible button of images named by paths of any length, each loaded at w x h: with a
// mouse-over image when files.mouseOver is given, through masks when files.normalMask is.
// A size above 2147483647 stops the program with a run-time error.
ButtonRc CreateImageButton(uint32_t w, uint32_t h, const ButtonFiles& files);
// A visible w x h button that shows a text, centred, in a Vuderiv font: no image files.
// Drawing it leaves the font (Vuderiv::SetFont) at the label's style and colour.
ButtonRc CreateTextButton(uint32_t w, uint32_t h, const char* label, const LabelLook& look = {});
// Releases a button's bitmaps and leaves it empty and invisible; copies of it then hold
// released handles.
void FreeButton(ButtonRc& button);

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
// pad's D-pad or stick alike) move a focus among the visible buttons, round the ends;
// there is none until the first such key, which takes it to the first (Down, Tab) or the
// last (Up, Shift+Tab) visible button. Enter, Space or the pad's south button choose the
// focused button. The focus always shows, with the mouse-over image; when the mouse
// moves, the focus goes to the button under it (none over no button). Keys pressed
// before the menu was shown are dropped.
int32_t MenuSelection(std::span<const ButtonRc> menu);
// The same wait, but without a focus: each key listed chooses its visible button at once
// (an empty list: as above).
int32_t MenuSelection(std::span<const ButtonRc> menu, std::span<const KeyChoice> keys);
// The same wait with a state of the program's: its shortcuts choose at once, other keys
// move its focus (when focusKeys), and the focus it ends with is kept for the next call.
int32_t MenuSelection(std::span<const ButtonRc> menu, MenuState& state);
// One pass of a menu shown among the program's own drawing, called once a frame: takes the
// clicks and keys made since the pass before (the first pass of a state drops those made
// before it), draws the buttons into the buffer, and returns the chosen button or
// kNoSelection. It never waits; the program shows the buffer (Vuderiv::UpdateWindow).
int32_t MenuStep(std::span<const ButtonRc> menu, MenuState& state);
// Makes the next pass of this state drop the clicks and keys made before it, as for a
// menu shown anew; the focus stays.
void RestartMenu(MenuState& state);
// Registers a callback MenuSelection calls on the program thread once each pass while it
// waits, for the program's own work (a file to write, say); nullptr removes it.
void OnMenuPass(void (*proc)());

}  // namespace StandardMenu
