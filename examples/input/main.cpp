// Every kind of input at a steady 60 frames a second: each pad paints with a square of its own
// steered by the left stick (south button: a bigger square), the mouse paints where its left
// button is held and the wheel sizes the brush, typed text (UTF-8) edits a line, F2 toggles pads
// acting as arrow keys, and Escape or the close box ends the program.
#include <Vuderiv.h>

#include <atomic>
#include <string>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kGrey = 0x606060;
constexpr uint32_t kPadColours[Vuderiv::MaxPads] = {0x3030FF, 0x30FF30, 0xFF3030, 0x30FFFF,
                                                    0xFF30FF, 0xFFFF30, 0x3090FF, 0xFF9030};

struct Square {
    double x = 320, y = 240;
};

// Window thread: counts the key presses into the counter it is given.
void CountPress(uint32_t, void* counter) {
    ++*static_cast<std::atomic<uint32_t>*>(counter);
}

// Typed text joins the line; Backspace takes its last character (all its UTF-8 bytes).
void EditLine(std::string& line) {
    char typed[64];
    while (Vuderiv::TypedText(typed, sizeof typed) > 0)
        line += typed;
    for (uint32_t k = Vuderiv::NextKey(); k != 0; k = Vuderiv::NextKey()) {
        if (k == Vuderiv::Key::F2) Vuderiv::SetPadsAsKeys(!Vuderiv::PadsAsKeys());
        if (k != Vuderiv::Key::Backspace) continue;
        while (!line.empty() && (line.back() & 0xC0) == 0x80)
            line.pop_back();
        if (!line.empty()) line.pop_back();
    }
}

void DrawPads(Square (&squares)[Vuderiv::MaxPads], double dt) {
    for (uint32_t pad = 0; pad < Vuderiv::MaxPads; ++pad) {
        if (!Vuderiv::PadConnected(pad)) continue;
        Square& s = squares[pad];
        s.x += 300 * dt * Vuderiv::PadValue(pad, Vuderiv::PadAxis::LeftX);  // 300 px/s
        s.y += 300 * dt * Vuderiv::PadValue(pad, Vuderiv::PadAxis::LeftY);
        const auto half = Vuderiv::PadDown(pad, Vuderiv::PadButton::South) ? 20 : 10;
        const auto x = static_cast<int32_t>(s.x), y = static_cast<int32_t>(s.y);
        Vuderiv::Rectangle(x - half, y - half, x + half, y + half, kPadColours[pad], true);
        Vuderiv::SetFont(3, kPadColours[pad]);
        Vuderiv::Text(Vuderiv::PadName(pad), 10, 420 - 16 * static_cast<int32_t>(pad));
    }
}

}  // namespace

int main() {
    Vuderiv::Window("Input", 640, 480);
    Vuderiv::SetBuffering(true);
    Vuderiv::EnableTextInput(true);
    std::atomic<uint32_t> presses{0};
    Vuderiv::OnKeyPress(CountPress, &presses);
    Square squares[Vuderiv::MaxPads];
    std::string line = "Grüße € ✓ ";
    int32_t brush = 4;
    uint32_t padPresses = 0;
    Vuderiv::ClearScreen();
    while (Vuderiv::WindowIsOpen() && !Vuderiv::KeyDown(Vuderiv::Key::Esc)) {
        const double dt = Vuderiv::WaitFrame(60);
        EditLine(line);
        for (Vuderiv::PadEvent e; Vuderiv::NextPadEvent(e);)
            padPresses += e.down ? 1 : 0;
        int32_t dx = 0, dy = 0, x = 0, y = 0;
        Vuderiv::MouseWheel(dx, dy);
        brush = brush + dy < 1 ? 1 : brush + dy;
        Vuderiv::MousePos(x, y);
        if (Vuderiv::MouseDown(Vuderiv::MouseButton::Left))
            Vuderiv::Rectangle(x - brush, y - brush, x + brush, y + brush, kWhite, true);
        if (Vuderiv::MousePressed(Vuderiv::MouseButton::Right) || Vuderiv::KeyDown('c'))
            Vuderiv::ClearScreen();  // the right button or C wipes the painting
        Vuderiv::Rectangle(0, 0, 639, 60, 0, true);
        Vuderiv::SetFont(2, kWhite);
        Vuderiv::Text(line.c_str(), 10, 8);
        Vuderiv::SetFont(4, kGrey);
        Vuderiv::Text(Vuderiv::PadsAsKeys() ? "pads act as keys (F2)" : "pads as pads (F2)", 10,
                      32);
        Vuderiv::TextCard(presses + padPresses, 300, 32);
        Vuderiv::TextCard(static_cast<uint32_t>(Vuderiv::SecondsSinceFrame() * 1e6), 400, 32);
        DrawPads(squares, dt);
        Vuderiv::UpdateWindow();
    }
    Vuderiv::KillWindow();
    return 0;
}
