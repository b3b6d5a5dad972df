// Typed text: SDL's text input, on only when the program asks for it.
#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

namespace detail {

namespace {

// True for the bytes that continue a UTF-8 character.
bool Continues(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The length of the longest run of whole characters at the start of text, at most limit.
size_t WholeCharacters(const std::string& text, size_t limit) {
    size_t end = std::min(limit, text.size());
    while (end > 0 && end < text.size() && Continues(text[end]))
        --end;
    return end;
}

}  // namespace

void ApplyTextInput(const Shared& s) {
    if (s.textInput) {
        SDL_StartTextInput();
    } else {
        SDL_StopTextInput();
    }
}

void AddTypedText(Shared& s, const char* text) {
    std::lock_guard<std::mutex> lock(s.block);
    s.typed += text;
    if (s.typed.size() <= kTextQueueLimit) return;
    // The oldest text goes, whole characters at a time.
    size_t drop = s.typed.size() - kTextQueueLimit;
    while (drop < s.typed.size() && Continues(s.typed[drop]))
        ++drop;
    s.typed.erase(0, drop);
}

}  // namespace detail

void EnableTextInput(bool on) {
    detail::Shared& s = detail::shared();
    s.textInput = on;
    detail::PushRequest(detail::REQUEST_TEXT_INPUT);
}

uint32_t TypedText(char* out, uint32_t size) {
    if (out == nullptr || size == 0) return 0;
    detail::Shared& s = detail::shared();
    std::lock_guard<std::mutex> lock(s.block);
    const size_t length = detail::WholeCharacters(s.typed, size - 1);
    std::memcpy(out, s.typed.data(), length);
    out[length] = '\0';
    s.typed.erase(0, length);
    return static_cast<uint32_t>(length);
}

}  // namespace Vuderiv
