// A small window that reports its mouse record on standard output, for the real-window
// tests: every left-button-up callback as "up X Y", and the position as "pos X Y" each
// time F1 goes down. F1 comes through the same event stream as the mouse, so a "pos"
// line shows the record after every earlier mouse event has been handled.
#include <chrono>
#include <cstdio>
#include <thread>

#include "Vuderiv.h"

namespace {

constexpr uint32_t kF1 = 112;

void Report(const char* what, int32_t x, int32_t y) {
    std::printf("%s %d %d\n", what, x, y);
    std::fflush(stdout);
}

void LeftUp(int32_t x, int32_t y) {
    Report("up", x, y);
}

}  // namespace

int main() {
    Vuderiv::Window("Zarvok probe", 400, 300);
    if (!Vuderiv::WindowIsOpen()) return 1;
    Vuderiv::OnMouseLeftUp(LeftUp);
    std::printf("ready\n");
    std::fflush(stdout);
    bool held = false;
    while (Vuderiv::WindowIsOpen()) {
        const bool down = Vuderiv::KeyDown(kF1);
        if (down && !held) {
            int32_t x = 0, y = 0;
            Vuderiv::MousePos(x, y);
            Report("pos", x, y);
        }
        held = down;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return 0;
}
