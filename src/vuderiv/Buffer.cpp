// The off-screen buffer as a whole: the buffering switch, the full copy into the window,
// and reading pixels back.
#include "Shared.h"
#include "Vuderiv.h"

namespace Vuderiv {

using detail::Canvas;

void SetBuffering(bool state) {
    Canvas canvas;
    if (!canvas.Open()) return;
    if (canvas.Buffering() && !state) {
        canvas.Show(0, 0, canvas.Buffer().width, canvas.Buffer().height);
    }
    canvas.SetBuffering(state);
}

void UpdateWindow() {
    Canvas canvas;
    if (!canvas.Open()) return;
    canvas.Show(0, 0, canvas.Buffer().width, canvas.Buffer().height);
}

uint32_t WindowPixel(int32_t x, int32_t y) {
    Canvas canvas;
    if (!canvas.Open() || !canvas.Buffer().Contains(x, y)) return 0;
    return detail::FramePixel(canvas.Shown(), x, y);
}

uint32_t BufferPixel(int32_t x, int32_t y) {
    Canvas canvas;
    return canvas.Open() ? canvas.Buffer().At(x, y) : 0;
}

}  // namespace Vuderiv
