// The key codes: which SDL key records under which code, and which key types a character.
#include <SDL.h>

#include <array>
#include <utility>

#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace {

// The keys without a character of their own, beyond the runs of letters, digits,
// function keys and keypad digits.
constexpr std::array<std::pair<SDL_Keycode, uint32_t>, 30> kNamedKeys = {{
    {SDLK_LEFT, Key::Left},
    {SDLK_UP, Key::Up},
    {SDLK_RIGHT, Key::Right},
    {SDLK_DOWN, Key::Down},
    {SDLK_LCTRL, Key::Ctrl},
    {SDLK_RCTRL, Key::Ctrl},
    {SDLK_LSHIFT, Key::Shift},
    {SDLK_RSHIFT, Key::Shift},
    {SDLK_LALT, Key::Alt},
    {SDLK_RALT, Key::Alt},
    {SDLK_TAB, Key::Tab},
    {SDLK_RETURN, Key::Enter},
    {SDLK_KP_ENTER, Key::Enter},
    {SDLK_ESCAPE, Key::Esc},
    {SDLK_BACKSPACE, Key::Backspace},
    {SDLK_PAUSE, Key::Pause},
    {SDLK_PAGEUP, Key::PageUp},
    {SDLK_PAGEDOWN, Key::PageDown},
    {SDLK_END, Key::End},
    {SDLK_HOME, Key::Home},
    {SDLK_PRINTSCREEN, Key::PrintScreen},
    {SDLK_INSERT, Key::Insert},
    {SDLK_DELETE, Key::Delete},
    {SDLK_KP_MULTIPLY, Key::KeypadMultiply},
    {SDLK_KP_PLUS, Key::KeypadPlus},
    {SDLK_KP_MINUS, Key::KeypadMinus},
    {SDLK_KP_PERIOD, Key::KeypadPeriod},
    {SDLK_KP_DIVIDE, Key::KeypadDivide},
    {SDLK_NUMLOCKCLEAR, Key::NumLock},
    {SDLK_SCROLLLOCK, Key::ScrollLock},
}};

// The keys that type a character other than a letter or digit, by that character.
constexpr std::array<std::pair<char, uint32_t>, 12> kPunctuation = {{
    {' ', Key::Space},
    {';', Key::Semicolon},
    {'=', Key::Equals},
    {',', Key::Comma},
    {'-', Key::Minus},
    {'.', Key::Period},
    {'/', Key::Slash},
    {'`', Key::Backquote},
    {'[', Key::LeftBracket},
    {'\\', Key::Backslash},
    {']', Key::RightBracket},
    {'\'', Key::Quote},
}};

// The keypad's digits in SDL's order: 1..9, then 0.
int KeypadDigit(SDL_Keycode sym) {
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9)
        return static_cast<int>(Key::Keypad1) + (sym - SDLK_KP_1);
    return sym == SDLK_KP_0 ? static_cast<int>(Key::Keypad0) : -1;
}

}  // namespace

namespace detail {

int MapKey(SDL_Keycode sym) {
    if (sym >= SDLK_a && sym <= SDLK_z) return static_cast<int>(Key::A) + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return static_cast<int>(Key::Digit0) + (sym - SDLK_0);
    if (sym >= SDLK_F1 && sym <= SDLK_F12) return static_cast<int>(Key::F1) + (sym - SDLK_F1);
    if (const int digit = KeypadDigit(sym); digit >= 0) return digit;
    for (const auto& [key, code] : kNamedKeys) {
        if (key == sym) return static_cast<int>(code);
    }
    // SDL's key codes of printable keys are their characters.
    if (sym > 0 && sym < 128) {
        for (const auto& [c, code] : kPunctuation) {
            if (c == static_cast<char>(sym)) return static_cast<int>(code);
        }
    }
    return -1;
}

}  // namespace detail

uint32_t KeyOf(char c) {
    if (c >= 'a' && c <= 'z') return Key::A + static_cast<uint32_t>(c - 'a');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<uint32_t>(c);
    for (const auto& [character, code] : kPunctuation) {
        if (character == c) return code;
    }
    return 0;
}

}  // namespace Vuderiv
