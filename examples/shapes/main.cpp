// Shapes and text with the keyboard: a ball bounces around the window, the left and right
// arrow keys move a paddle, every key press is counted from the key queue (even a tap too
// short for KeyDown to see), and Escape or the close box ends the program.
#include <Vuderiv.h>

#include <cmath>

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;
// Colours are 0x00BBGGRR.
constexpr uint32_t kWhite = 0xFFFFFF, kYellow = 0x00FFFF, kBlue = 0xFF8000, kGrey = 0x808080;
constexpr int32_t kRadius = 12, kPaddleY = 440, kPaddleWidth = 90;

struct Ball {
    int32_t x = kWidth / 2, y = 120;  // centre
    int32_t dx = 4, dy = 3;           // pixels a frame
};

// The ball as a filled 16-sided polygon.
void DrawBall(const Ball& ball) {
    constexpr uint32_t kCorners = 16;
    int32_t xs[kCorners], ys[kCorners];
    for (uint32_t i = 0; i < kCorners; ++i) {
        const double angle = 2 * 3.14159265 * i / kCorners;
        xs[i] = ball.x + static_cast<int32_t>(std::lround(kRadius * std::cos(angle)));
        ys[i] = ball.y + static_cast<int32_t>(std::lround(kRadius * std::sin(angle)));
    }
    Vuderiv::Polygon(kCorners, xs, ys, kYellow, true);
}

// Moves the ball one frame: it bounces off the walls and off the paddle, and a ball that
// falls past the paddle starts again from the top.
void Move(Ball& ball, int32_t paddle) {
    ball.x += ball.dx;
    ball.y += ball.dy;
    if (ball.x < kRadius || ball.x > kWidth - kRadius) ball.dx = -ball.dx;
    if (ball.y < kRadius) ball.dy = -ball.dy;
    const bool onPaddle = ball.x >= paddle && ball.x <= paddle + kPaddleWidth;
    if (ball.dy > 0 && onPaddle && ball.y + kRadius >= kPaddleY && ball.y < kPaddleY) {
        ball.dy = -ball.dy;
    }
    if (ball.y > kHeight + kRadius) ball = Ball{};
}

void DrawFrame(const Ball& ball, int32_t paddle, uint32_t presses) {
    Vuderiv::ClearScreen();
    Vuderiv::Rectangle(0, 0, kWidth - 1, kHeight - 1, kGrey, false);
    Vuderiv::ThickLine(0, kPaddleY + 20, kWidth - 1, kPaddleY + 20, kGrey, 3);
    Vuderiv::Rectangle(paddle, kPaddleY, paddle + kPaddleWidth, kPaddleY + 10, kBlue, true);
    DrawBall(ball);
    Vuderiv::SetFont(1, kWhite);  // sans bold 16 px
    Vuderiv::Text("Left and right move the paddle, Escape ends", 10, 10);
    Vuderiv::SetFont(2, kYellow);  // mono 16 px
    Vuderiv::Text("keys pressed:", 10, 34);
    Vuderiv::TextCard(presses, 150, 34);
    Vuderiv::UpdateWindow();  // shows the finished frame at once
}

}  // namespace

int main() {
    Vuderiv::Window("Shapes", kWidth, kHeight);  // the client area is kWidth x kHeight
    if (!Vuderiv::WindowIsOpen()) return 1;      // the library has said why
    Vuderiv::SetBuffering(true);                 // draw to the buffer, show with UpdateWindow
    Ball ball;
    int32_t paddle = (kWidth - kPaddleWidth) / 2;
    uint32_t presses = 0;
    while (Vuderiv::WindowIsOpen()) {
        for (uint32_t key = Vuderiv::NextKey(); key != 0; key = Vuderiv::NextKey()) {
            ++presses;
            if (key == Vuderiv::Key::Esc) Vuderiv::KillWindow();
        }
        if (Vuderiv::KeyDown(Vuderiv::Key::Left) && paddle > 0) paddle -= 6;
        if (Vuderiv::KeyDown(Vuderiv::Key::Right) && paddle < kWidth - kPaddleWidth) paddle += 6;
        Move(ball, paddle);
        DrawFrame(ball, paddle, presses);
        Vuderiv::Pause(16);
    }
    return 0;
}
