// Making buttons, placing them, and drawing them.
#include <algorithm>
#include <cstring>
#include <string>

#include "Selection.h"
#include "StandardLib.h"
#include "StandardMenu.h"
#include "Vuderiv.h"

namespace StandardMenu {

namespace {

constexpr char kNoFile[] = " ";
constexpr char kLibrary[] = "StandardMenu";  // the name its run-time errors carry

[[noreturn]] void MenuError(const std::string& what) {
    StandardLib::RunTimeError(what, kLibrary);
}

// The text of a name; one without a NUL in its 30 characters stops the program.
std::string NameText(const BitmapName& name) {
    const size_t length = strnlen(name.data(), name.size());
    if (length == name.size()) {
        MenuError("button image name without an end: \"" + std::string(name.data(), name.size()) +
                  "\"");
    }
    return std::string(name.data(), length);
}

// Loads the named image at the button's size; " " is no file and gives 0.
uint32_t Load(const BitmapName& name, int32_t w, int32_t h) {
    const std::string file = NameText(name);
    if (file == kNoFile) return 0;
    return Vuderiv::LoadBitmap(file.c_str(), static_cast<uint32_t>(w), static_cast<uint32_t>(h));
}

void CheckSize(int32_t w, int32_t h) {
    if (w < 0 || h < 0) {
        MenuError("negative button size " + std::to_string(w) + " x " + std::to_string(h));
    }
}

// A size of the new makers as the button's signed one; above its range stops the program.
int32_t SignedSize(uint32_t w, uint32_t h, uint32_t v) {
    if (v > static_cast<uint32_t>(INT32_MAX)) {
        MenuError("button size " + std::to_string(w) + " x " + std::to_string(h) +
                  " larger than 2147483647");
    }
    return static_cast<int32_t>(v);
}

// A visible button of this size and type, without images yet.
ButtonRc Blank(int32_t w, int32_t h, ButtonType flags) {
    ButtonRc button;
    button.width = w;
    button.height = h;
    button.type = flags;
    button.visible = true;
    return button;
}

// Loads a file of any name length at the button's size; "" is no file and gives 0.
uint32_t LoadFile(const std::string& file, const ButtonRc& button) {
    if (file.empty()) return 0;
    return Vuderiv::LoadBitmap(file.c_str(), static_cast<uint32_t>(button.width),
                               static_cast<uint32_t>(button.height));
}

// Where a length starts when centred in the span from `start` of `size` pixels.
int32_t Centred(int32_t start, int32_t size, uint32_t length) {
    const int64_t at = start + (int64_t{size} - int64_t{length}) / 2;
    return static_cast<int32_t>(std::clamp<int64_t>(at, INT32_MIN, INT32_MAX));
}

// A text button: its colour, then its text centred in the label's font.
void DrawLabel(const ButtonRc& button, bool over) {
    const LabelLook& look = button.look;
    const int32_t right = StandardLib::CheckedAdd(button.x0, button.width, kLibrary);
    const int32_t bottom = StandardLib::CheckedAdd(button.y0, button.height, kLibrary);
    if (button.width > 0 && button.height > 0) {
        Vuderiv::Rectangle(button.x0, button.y0, right - 1, bottom - 1,
                           over ? look.overBackground : look.background, true);
    }
    uint32_t w = 0, h = 0;
    Vuderiv::GetTextSize(button.label.c_str(), look.style, w, h);
    Vuderiv::SetFont(look.style, over ? look.overColor : look.color);
    Vuderiv::Text(button.label.c_str(), Centred(button.x0, button.width, w),
                  Centred(button.y0, button.height, h));
}

}  // namespace

BitmapName MakeBitmapName(const char* name) {
    BitmapName result{};
    if (name == nullptr) name = kNoFile;
    const size_t length = strnlen(name, result.size());
    if (length == result.size()) {
        MenuError("button image name longer than 29 characters: \"" + std::string(name) + "\"");
    }
    std::memcpy(result.data(), name, length);
    return result;
}

ButtonRc CreateButton(int32_t w, int32_t h, const char* normal, const char* mouseOver) {
    return CreateButtonX(w, h, {true, false},
                         {MakeBitmapName(normal), MakeBitmapName(mouseOver),
                          MakeBitmapName(kNoFile), MakeBitmapName(kNoFile)});
}

ButtonRc CreateMaskedButton(int32_t w, int32_t h, const char* normal, const char* mouseOver,
                            const char* mask) {
    return CreateButtonX(w, h, {true, true},
                         {MakeBitmapName(normal), MakeBitmapName(mouseOver), MakeBitmapName(mask),
                          MakeBitmapName("=")});
}

ButtonRc CreateField(int32_t w, int32_t h, const char* normal, const char* mask) {
    return CreateButtonX(w, h, {false, true},
                         {MakeBitmapName(normal), MakeBitmapName(kNoFile), MakeBitmapName(mask),
                          MakeBitmapName(kNoFile)});
}

ButtonRc CreateButtonX(int32_t w, int32_t h, ButtonType flags, const ButtonStrings& bitmaps) {
    CheckSize(w, h);
    ButtonRc button = Blank(w, h, flags);
    button.bitmap[0] = Load(bitmaps.normal, w, h);
    if (flags.withMask) button.mask[0] = Load(bitmaps.normalMask, w, h);
    if (flags.withMouseOver) {
        button.bitmap[1] = Load(bitmaps.mouseOver, w, h);
        if (flags.withMask) {
            button.mask[1] = bitmaps.mouseOverMask[0] == '=' ? button.mask[0]
                                                             : Load(bitmaps.mouseOverMask, w, h);
        }
    }
    return button;
}

ButtonRc CreateImageButton(uint32_t w, uint32_t h, const ButtonFiles& files) {
    const bool withMouseOver = !files.mouseOver.empty();
    const bool withMask = !files.normalMask.empty();
    ButtonRc button = Blank(SignedSize(w, h, w), SignedSize(w, h, h), {withMouseOver, withMask});
    button.bitmap[0] = LoadFile(files.normal, button);
    if (withMask) button.mask[0] = LoadFile(files.normalMask, button);
    if (withMouseOver) {
        button.bitmap[1] = LoadFile(files.mouseOver, button);
        if (withMask) {
            button.mask[1] = files.mouseOverMask.empty() ? button.mask[0]
                                                         : LoadFile(files.mouseOverMask, button);
        }
    }
    return button;
}

ButtonRc CreateTextButton(uint32_t w, uint32_t h, const char* label, const LabelLook& look) {
    ButtonRc button = Blank(SignedSize(w, h, w), SignedSize(w, h, h), {true, false});
    button.label = label != nullptr ? label : "";
    button.look = look;
    return button;
}

void FreeButton(ButtonRc& button) {
    for (const uint32_t handle : {button.bitmap[0], button.bitmap[1], button.mask[0]})
        Vuderiv::DestroyBitmap(handle);
    if (button.mask[1] != button.mask[0]) Vuderiv::DestroyBitmap(button.mask[1]);
    button = ButtonRc{};
}

void SetVerticalMenu(int32_t x0, int32_t y0, int32_t yGap, std::span<ButtonRc> buttons) {
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i].x0 = i == 0 ? x0 : buttons[i - 1].x0;
        buttons[i].y0 = i == 0 ? y0 : StandardLib::CheckedAdd(buttons[i - 1].y0, yGap, kLibrary);
    }
}

bool InButton(const ButtonRc& button, int32_t x, int32_t y) {
    const int32_t right = StandardLib::CheckedAdd(button.x0, button.width, kLibrary);
    const int32_t bottom = StandardLib::CheckedAdd(button.y0, button.height, kLibrary);
    return button.x0 < x && x < right && button.y0 < y && y < bottom;
}

void DrawButton(const ButtonRc& button) {
    detail::DrawButtonImage(button);
}

namespace detail {

int DrawButtonImage(const ButtonRc& button) {
    if (!button.visible || !button.type.withMouseOver) return DrawButtonAs(button, false);
    int32_t x = 0, y = 0;
    Vuderiv::MousePos(x, y);
    return DrawButtonAs(button, InButton(button, x, y));
}

int DrawButtonAs(const ButtonRc& button, bool over) {
    if (!button.visible) return kNotDrawn;
    const size_t state = button.type.withMouseOver && over ? 1 : 0;
    if (!button.label.empty()) {
        DrawLabel(button, state == 1);
    } else if (button.type.withMask) {
        Vuderiv::DrawMaskBitmap(button.bitmap[state], button.mask[state], button.x0, button.y0);
    } else {
        Vuderiv::DrawBitmap(button.bitmap[state], button.x0, button.y0);
    }
    return static_cast<int>(state);
}

}  // namespace detail

// "major.minor.patch" from the header's numbers.
#define VERSION_TEXT(number) #number
#define VERSION_OF(major, minor, patch) \
    VERSION_TEXT(major) "." VERSION_TEXT(minor) "." VERSION_TEXT(patch)

const char* Version() {
    return VERSION_OF(STANDARDMENU_VERSION_MAJOR, STANDARDMENU_VERSION_MINOR,
                      STANDARDMENU_VERSION_PATCH);
}

}  // namespace StandardMenu
