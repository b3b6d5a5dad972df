// Keyboard and mouse input, driven by real SDL events pushed to the window thread.
#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Harness.h"
#include "Shared.h"
#include "Vuderiv.h"

using namespace Vuderiv;
using namespace TestSupport;

namespace {

class Input : public WindowTest {};

std::vector<uint8_t> Queue() {
    return detail::QueuedKeys();
}

// Records the calls of the left-up callback (it runs on the window thread).
std::atomic<int> leftUps{0};
std::atomic<int32_t> lastX{-1}, lastY{-1};
void CountLeftUp(int32_t x, int32_t y) {
    lastX = x;
    lastY = y;
    ++leftUps;
}

// Records the keys the key-press callback is called with (window thread).
std::mutex pressedLock;
std::vector<uint32_t> pressed;
void RecordPress(uint32_t k) {
    std::lock_guard<std::mutex> lock(pressedLock);
    pressed.push_back(k);
}

}  // namespace

// One call per recorded press, none for auto-repeat, releases or system keys; the table
// and the queue record the key as before, and a closed window forgets the callback.
TEST_F(Input, KeyPressCallbackOncePerPress) {
    OnKeyPress(RecordPress);
    PushKey(true, SDLK_m);
    PushKey(true, SDLK_m, /*repeat=*/true);
    PushKey(false, SDLK_m);
    PushKey(true, SDLK_m, false, KMOD_LALT);
    PushKey(true, SDLK_CAPSLOCK);
    PushKey(true, SDLK_LEFT);
    Sync();
    {
        std::lock_guard<std::mutex> lock(pressedLock);
        EXPECT_EQ(pressed, (std::vector<uint32_t>{77, 37}));
        pressed.clear();
    }
    EXPECT_EQ(Queue(), (std::vector<uint8_t>{77, 77, 37}));
    KillWindow();
    Window("Input", 1000, 800);
    PressKey(SDLK_m);
    std::lock_guard<std::mutex> lock(pressedLock);
    EXPECT_TRUE(pressed.empty());
}

TEST_F(Input, KeyTableFollowsPressAndRelease) {
    EXPECT_FALSE(KeyDown(39));
    PressKey(SDLK_RIGHT);
    EXPECT_TRUE(KeyDown(39));
    EXPECT_TRUE(KeyDown(39));  // asking consumes nothing
    PressKey(SDLK_RCTRL);
    EXPECT_TRUE(KeyDown(17));
    ReleaseKey(SDLK_RIGHT);
    EXPECT_FALSE(KeyDown(39));
    EXPECT_TRUE(KeyDown(17));
    EXPECT_FALSE(KeyDown(256));
    EXPECT_FALSE(KeyDown(0xFFFFFFFFu));
}

TEST_F(Input, KeyCodesOfTheMapping) {
    const std::vector<std::pair<SDL_Keycode, uint32_t>> keys = {
        {SDLK_a, 65},      {SDLK_q, 81},      {SDLK_z, 90},      {SDLK_0, 48},
        {SDLK_9, 57},      {SDLK_LEFT, 37},   {SDLK_UP, 38},     {SDLK_RIGHT, 39},
        {SDLK_DOWN, 40},   {SDLK_LCTRL, 17},  {SDLK_LSHIFT, 16}, {SDLK_SPACE, 32},
        {SDLK_RETURN, 13}, {SDLK_ESCAPE, 27}, {SDLK_F1, 112},    {SDLK_F12, 123}};
    for (const auto& [sym, code] : keys) {
        PressKey(sym);
        EXPECT_TRUE(KeyDown(code)) << code;
        ReleaseKey(sym);
        EXPECT_FALSE(KeyDown(code)) << code;
    }
    PressKey(SDLK_CAPSLOCK);  // unmapped keys are ignored
    EXPECT_TRUE(Queue().size() == keys.size());
}

TEST_F(Input, QueueKeepsEveryPressInOrderWithAutoRepeat) {
    PushKey(true, SDLK_LEFT);
    PushKey(true, SDLK_LEFT, /*repeat=*/true);
    PushKey(true, SDLK_LEFT, /*repeat=*/true);
    PushKey(true, SDLK_q);
    PushKey(false, SDLK_q);  // pressed and released between two polls
    Sync();
    EXPECT_EQ(Queue(), (std::vector<uint8_t>{37, 37, 37, 81}));
    EXPECT_TRUE(KeyDown(37));
    EXPECT_FALSE(KeyDown(81));  // never seen by the table, but queued
    FlushKeys();
    EXPECT_TRUE(Queue().empty());
    EXPECT_TRUE(KeyDown(37));  // flushing the queue leaves the table alone
}

TEST_F(Input, NextKeyTakesEachPressOnceOldestFirst) {
    PushKey(true, SDLK_LEFT);
    PushKey(true, SDLK_q);
    PushKey(false, SDLK_q);  // a tap that KeyDown misses
    Sync();
    EXPECT_FALSE(KeyDown(Key::Q));
    EXPECT_EQ(NextKey(), Key::Left);
    EXPECT_EQ(NextKey(), Key::Q);
    EXPECT_EQ(NextKey(), 0u);
    EXPECT_TRUE(Queue().empty());
    // Taken while the window thread appends: every press once, in order.
    constexpr uint32_t kPresses = 2000;
    std::atomic<bool> pushed{false};
    std::vector<uint32_t> taken;
    std::thread reader([&] {
        for (bool last = false; !last;) {
            last = pushed;
            for (uint32_t k = NextKey(); k != 0; k = NextKey())
                taken.push_back(k);
        }
    });
    for (uint32_t i = 0; i < kPresses; ++i)
        PushKey(true, i % 2 == 0 ? SDLK_a : SDLK_b, true);
    Sync();
    pushed = true;
    reader.join();
    ASSERT_EQ(taken.size(), kPresses);
    for (uint32_t i = 0; i < kPresses; ++i)
        ASSERT_EQ(taken[i], i % 2 == 0 ? Key::A : Key::B) << i;
}

TEST_F(Input, SystemKeysAreNotRecorded) {
    PushKey(true, SDLK_F10);
    PushKey(true, SDLK_x, false, KMOD_LALT);
    PushKey(true, SDLK_LALT);
    Sync();
    EXPECT_FALSE(KeyDown(121));
    EXPECT_FALSE(KeyDown(88));
    EXPECT_TRUE(Queue().empty());
    // Only presses are filtered: Right held, Alt pressed, Right let go with Alt still held.
    PressKey(SDLK_RIGHT);
    PushKey(true, SDLK_LALT, false, KMOD_LALT);
    PushKey(false, SDLK_RIGHT, false, KMOD_LALT);
    PushKey(false, SDLK_LALT);
    Sync();
    EXPECT_FALSE(KeyDown(39));
    EXPECT_EQ(Queue(), std::vector<uint8_t>{39});  // the plain press alone
}

TEST_F(Input, QueueIsBounded) {
    for (size_t i = 0; i < detail::kKeyQueueLimit + 100; ++i) {
        PushKey(true, i < 100 ? SDLK_a : SDLK_b, true);
    }
    Sync();
    const auto queue = Queue();
    ASSERT_EQ(queue.size(), detail::kKeyQueueLimit);
    EXPECT_EQ(queue.front(), 66);  // the oldest codes were dropped
}

TEST_F(Input, MousePositionAndCoordinatesOutsideTheClientArea) {
    int32_t x = -1, y = -1;
    MousePos(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    PushMouseMove(123, 456);
    Sync();
    MousePos(x, y);
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 456);
    // Captured moves left of and above the client area read as their low 16 bits.
    PushMouseButton(true, SDL_BUTTON_LEFT, 5, 5);
    PushMouseMove(-1, -32768);
    Sync();
    MousePos(x, y);
    EXPECT_EQ(x, 65535);
    EXPECT_EQ(y, 32768);
    PushMouseMove(70000, 5);  // beyond 16 bits: the low 16 bits
    Sync();
    MousePos(x, y);
    EXPECT_EQ(x, 70000 - 65536);
}

TEST_F(Input, LeftButtonFlagsCallbackAndDoubleClick) {
    detail::Shared& s = detail::shared();
    leftUps = 0;
    OnMouseLeftUp(CountLeftUp);
    PushMouseButton(true, SDL_BUTTON_LEFT, 10, 20);
    Sync();
    EXPECT_TRUE(s.left);
    PushMouseButton(false, SDL_BUTTON_LEFT, 11, 21);
    Sync();
    EXPECT_FALSE(s.left);
    EXPECT_EQ(leftUps, 1);
    EXPECT_EQ(lastX, 11);
    EXPECT_EQ(lastY, 21);

    // The second click of a double click sets nothing, but its release still calls back.
    PushMouseButton(true, SDL_BUTTON_LEFT, 11, 21, 2);
    Sync();
    EXPECT_FALSE(s.left);
    PushMouseButton(false, SDL_BUTTON_LEFT, 11, 21, 2);
    Sync();
    EXPECT_EQ(leftUps, 2);
    // SDL reports a release outside the window for no window: uncaptured it calls
    // nothing; captured (left held) it is the release.
    SDL_Event outside{};
    outside.type = SDL_MOUSEBUTTONUP;
    outside.button.button = SDL_BUTTON_LEFT;
    outside.button.state = SDL_RELEASED;
    ASSERT_TRUE(detail::PushEvent(outside));
    Sync();
    EXPECT_EQ(leftUps, 2);
    PushMouseButton(true, SDL_BUTTON_LEFT, 11, 21);
    ASSERT_TRUE(detail::PushEvent(outside));
    Sync();
    EXPECT_FALSE(s.left);
    EXPECT_EQ(leftUps, 3);

    // Both buttons: flags follow each.
    PushMouseButton(true, SDL_BUTTON_RIGHT, 1, 1);
    PushMouseButton(true, SDL_BUTTON_LEFT, 1, 1);
    Sync();
    EXPECT_TRUE(s.left);
    EXPECT_TRUE(s.right);
    PushMouseButton(false, SDL_BUTTON_RIGHT, 1, 1);
    PushMouseButton(false, SDL_BUTTON_LEFT, 1, 1);
    Sync();
    EXPECT_FALSE(s.left);
    EXPECT_FALSE(s.right);
    EXPECT_EQ(leftUps, 4);

    OnMouseLeftUp(nullptr);  // removed: the next release calls nothing
    PushMouseButton(true, SDL_BUTTON_LEFT, 1, 1);
    PushMouseButton(false, SDL_BUTTON_LEFT, 1, 1);
    Sync();
    EXPECT_EQ(leftUps, 4);
}

TEST_F(Input, PositionIsNeverTornBetweenTwoMoves) {
    // Moves along the diagonal x == y; every read must keep the pair together.
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            int32_t x = 0, y = 0;
            MousePos(x, y);
            ASSERT_EQ(x, y);
        }
    });
    for (int32_t i = 0; i < 3000; ++i)
        PushMouseMove(i % 1000, i % 1000);
    Sync();
    done = true;
    reader.join();
}

TEST_F(Input, FlushWhileTheWindowThreadAppends) {
    std::atomic<bool> done{false};
    std::thread flusher([&] {
        while (!done)
            FlushKeys();
    });
    for (int i = 0; i < 3000; ++i)
        PushKey(true, SDLK_a, true);
    Sync();
    done = true;
    flusher.join();
    FlushKeys();
    EXPECT_TRUE(Queue().empty());
}

namespace {

void PushWheel(int32_t x, int32_t y, bool flipped = false) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = detail::shared().windowId;
    event.wheel.x = x;
    event.wheel.y = y;
    event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    ASSERT_TRUE(detail::PushEvent(event));
}

void PushText(const char* text) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.windowID = detail::shared().windowId;
    SDL_strlcpy(event.text.text, text, sizeof event.text.text);
    ASSERT_TRUE(detail::PushEvent(event));
}

std::string TakeTyped(uint32_t size) {
    std::vector<char> out(size + 1, 'x');
    const uint32_t length = TypedText(out.data(), size);
    EXPECT_EQ(out[length], '\0');
    return std::string(out.data(), length);
}

}  // namespace

// Every button is held, pressed and released by polling, each press and release seen once;
// the wheel adds up its notches until taken; a closed window forgets them all.
TEST_F(Input, MouseButtonsByPollingAndTheWheel) {
    PushMouseButton(true, SDL_BUTTON_MIDDLE, 5, 5);
    PushMouseButton(true, SDL_BUTTON_X1, 5, 5);
    PushMouseButton(false, SDL_BUTTON_X1, 5, 5);
    PushMouseButton(false, SDL_BUTTON_RIGHT, 5, 5);  // a release without a press
    Sync();
    EXPECT_TRUE(MouseDown(MouseButton::Middle));
    EXPECT_FALSE(MouseDown(MouseButton::Back));
    EXPECT_TRUE(MousePressed(MouseButton::Middle));
    EXPECT_FALSE(MousePressed(MouseButton::Middle));  // taken
    EXPECT_TRUE(MousePressed(MouseButton::Back));     // a tap between two polls
    EXPECT_TRUE(MouseReleased(MouseButton::Back));
    EXPECT_FALSE(MouseReleased(MouseButton::Right));
    EXPECT_FALSE(MouseReleased(MouseButton::Middle));
    EXPECT_FALSE(MouseDown(0) || MousePressed(6) || MouseReleased(0xFFFFFFFF));
    // A double click's second press is a press too.
    PushMouseButton(true, SDL_BUTTON_LEFT, 5, 5);
    PushMouseButton(false, SDL_BUTTON_LEFT, 5, 5);
    PushMouseButton(true, SDL_BUTTON_LEFT, 5, 5, 2);
    Sync();
    EXPECT_TRUE(MousePressed(MouseButton::Left));
    EXPECT_TRUE(MouseDown(MouseButton::Left));
    EXPECT_TRUE(MouseReleased(MouseButton::Left));

    PushWheel(0, 1);
    PushWheel(-1, 2);
    PushWheel(0, 1, /*flipped=*/true);
    Sync();
    int32_t dx = 0, dy = 0;
    MouseWheel(dx, dy);
    EXPECT_EQ(dx, -1);
    EXPECT_EQ(dy, 2);
    MouseWheel(dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);

    PushWheel(0, 3);
    Sync();
    KillWindow();
    EXPECT_FALSE(MouseDown(MouseButton::Middle));
    EXPECT_FALSE(MousePressed(MouseButton::Left));
    MouseWheel(dx, dy);
    EXPECT_EQ(dy, 0);
}

// The keys beyond the game's have named codes of the same numbering; a character asks
// for the key that types it, so 'a' is A and not keypad 1 (97).
TEST_F(Input, NamedKeysAndCharacters) {
    const std::vector<std::pair<SDL_Keycode, uint32_t>> keys = {{SDLK_BACKSPACE, Key::Backspace},
                                                                {SDLK_DELETE, 46},
                                                                {SDLK_INSERT, 45},
                                                                {SDLK_HOME, 36},
                                                                {SDLK_END, 35},
                                                                {SDLK_PAGEUP, 33},
                                                                {SDLK_PAGEDOWN, 34},
                                                                {SDLK_KP_0, 96},
                                                                {SDLK_KP_1, 97},
                                                                {SDLK_KP_9, 105},
                                                                {SDLK_KP_DIVIDE, 111},
                                                                {SDLK_KP_MINUS, 109},
                                                                {SDLK_COMMA, 188},
                                                                {SDLK_SLASH, 191},
                                                                {SDLK_BACKSLASH, 220},
                                                                {SDLK_QUOTE, 222},
                                                                {SDLK_BACKQUOTE, 192},
                                                                {SDLK_RIGHTBRACKET, 221}};
    for (const auto& [sym, code] : keys) {
        PressKey(sym);
        EXPECT_TRUE(KeyDown(code)) << code;
        ReleaseKey(sym);
        EXPECT_FALSE(KeyDown(code)) << code;
    }
    PressKey(SDLK_a);
    EXPECT_TRUE(KeyDown('a'));
    EXPECT_TRUE(KeyDown('A'));
    EXPECT_FALSE(KeyDown(Key::Keypad1));
    PressKey(SDLK_SEMICOLON);
    EXPECT_TRUE(KeyDown(';'));
    EXPECT_EQ(KeyOf('z'), Key::Z);
    EXPECT_EQ(KeyOf('7'), Key::Digit7);
    EXPECT_EQ(KeyOf(' '), Key::Space);
    EXPECT_EQ(KeyOf('='), Key::Equals);
    EXPECT_EQ(KeyOf('!'), 0u);
    EXPECT_EQ(KeyOf('\xC3'), 0u);
}

// Asked for, Alt, F10 and keys held with Alt are recorded like any other.
TEST_F(Input, SystemKeysRecordedWhenAsked) {
    RecordSystemKeys(true);
    PushKey(true, SDLK_LALT, false, KMOD_LALT);
    PushKey(true, SDLK_x, false, KMOD_LALT);
    PushKey(true, SDLK_F10);
    Sync();
    EXPECT_TRUE(KeyDown(Key::Alt) && KeyDown(Key::X) && KeyDown(Key::F10));
    EXPECT_EQ(Queue(), (std::vector<uint8_t>{Key::Alt, Key::X, Key::F10}));
}

// Typed text is kept only when asked for, handed out in whole characters, oldest first,
// and bounded.
TEST_F(Input, TypedTextWhenAsked) {
    PushText("ignored");
    Sync();
    EXPECT_EQ(TakeTyped(64), "");
    EnableTextInput(true);
    Sync();
    EXPECT_TRUE(SDL_IsTextInputActive());
    PushText("Gr\xC3\xBC\xC3\x9F");  // Grüß
    PushText("e \xE2\x82\xAC");      // e €
    Sync();
    EXPECT_EQ(TakeTyped(6), "Gr\xC3\xBC");  // the NUL counts; ß would not fit whole
    EXPECT_EQ(TakeTyped(4),
              "\xC3\x9F"
              "e");
    EXPECT_EQ(TakeTyped(2), " ");
    EXPECT_EQ(TakeTyped(3), "");  // € needs 3 bytes and the NUL
    EXPECT_EQ(TakeTyped(4), "\xE2\x82\xAC");
    EXPECT_EQ(TakeTyped(64), "");
    EXPECT_EQ(TypedText(nullptr, 8), 0u);

    for (int i = 0; i < 2000; ++i)
        PushText("\xE2\x82\xAC");  // 6000 bytes
    Sync();
    std::string kept;
    for (std::string part = TakeTyped(1000); !part.empty(); part = TakeTyped(1000))
        kept += part;
    EXPECT_LE(kept.size(), detail::kTextQueueLimit);
    EXPECT_GT(kept.size(), detail::kTextQueueLimit - 3);
    EXPECT_EQ(kept.size() % 3, 0u);
    EXPECT_EQ(kept.substr(0, 3), "\xE2\x82\xAC");  // the oldest went whole
    EnableTextInput(false);
    Sync();
    EXPECT_FALSE(SDL_IsTextInputActive());
}

namespace {

struct Seen {
    std::mutex lock;
    std::vector<uint32_t> values;
    void Add(uint32_t v) {
        std::lock_guard<std::mutex> guard(lock);
        values.push_back(v);
    }
    std::vector<uint32_t> Take() {
        std::lock_guard<std::mutex> guard(lock);
        return std::exchange(values, {});
    }
};

void SeeClick(int32_t x, int32_t y, void* data) {
    static_cast<Seen*>(data)->Add(static_cast<uint32_t>(x * 1000 + y));
}

void SeeKey(uint32_t k, void* data) {
    static_cast<Seen*>(data)->Add(k);
}

}  // namespace

// Each registration hands its own pointer back, and either kind replaces the other.
TEST_F(Input, CallbacksCarryTheProgramsPointer) {
    Seen clicks, keysA, keysB;
    OnMouseLeftUp(SeeClick, &clicks);
    Click(12, 34);
    EXPECT_EQ(clicks.Take(), std::vector<uint32_t>{12034});
    OnKeyPress(SeeKey, &keysA);
    PressKey(SDLK_q);
    OnKeyPress(SeeKey, &keysB);
    PressKey(SDLK_w);
    EXPECT_EQ(keysA.Take(), std::vector<uint32_t>{Key::Q});
    EXPECT_EQ(keysB.Take(), std::vector<uint32_t>{Key::W});

    leftUps = 0;
    OnMouseLeftUp(CountLeftUp);  // the plain kind replaces the one with a pointer
    Click(1, 1);
    EXPECT_EQ(leftUps, 1);
    EXPECT_TRUE(clicks.Take().empty());
    OnMouseLeftUp(SeeClick, &clicks);
    OnMouseLeftUp(static_cast<MouseDataProc>(nullptr), &clicks);  // removed
    OnKeyPress(static_cast<KeyDataProc>(nullptr), nullptr);
    Click(2, 2);
    PressKey(SDLK_e);
    EXPECT_EQ(leftUps, 1);
    EXPECT_TRUE(clicks.Take().empty());
    EXPECT_TRUE(keysB.Take().empty());

    Seen toggles;
    EnableWindowKeys(true);
    OnFullscreenKey([](bool on, void* data) { static_cast<Seen*>(data)->Add(on); }, &toggles);
    PressKey(SDLK_F11);
    ReleaseKey(SDLK_F11);
    PressKey(SDLK_F11);
    EXPECT_EQ(toggles.Take(), (std::vector<uint32_t>{1, 0}));
    OnFullscreenKey(nullptr);
    EnableWindowKeys(false);
}
