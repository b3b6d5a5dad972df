// Bitmaps with masks and the mouse: a background made once from tiles, a figure that
// follows the mouse, drawn through a mask, and a stamp left wherever the left button is
// released. Run it in the game's data folder (or name that folder as the argument): it
// reads images/lucht.bmp, grond.bmp, up1.bmp and up_mask.bmp. Escape ends it.
#include <Vuderiv.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

constexpr int32_t kWidth = 400, kHeight = 300, kTile = 20;
constexpr uint32_t kFigureWidth = 50, kFigureHeight = 100;

// The last left-button release. The callback runs on the library's window thread, so it
// only records; the program thread reads the record.
std::atomic<int32_t> stampX{-1000}, stampY{-1000};

void OnRelease(int32_t x, int32_t y) {
    stampX = x;
    stampY = y;
}

// A bitmap of the whole window: sky above, ground in the bottom two rows of tiles.
uint32_t MakeBackground(uint32_t sky, uint32_t ground) {
    const uint32_t background = Vuderiv::CreateBitmap(kWidth, kHeight);
    for (int32_t y = 0; y < kHeight; y += kTile) {
        for (int32_t x = 0; x < kWidth; x += kTile) {
            const uint32_t tile = y >= kHeight - 2 * kTile ? ground : sky;
            Vuderiv::CopyBitmap(tile, background, 0, 0, x, y, kTile, kTile);
        }
    }
    return background;
}

}  // namespace

int main(int argc, char** argv) {
    std::error_code error;
    if (argc > 1) std::filesystem::current_path(argv[1], error);
    if (error) {
        std::fprintf(stderr, "bitmaps: %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    Vuderiv::Window("Bitmaps", kWidth, kHeight);
    if (!Vuderiv::WindowIsOpen()) return 1;
    // A handle is 0 when a file cannot be read; the library names the file on the console.
    const uint32_t sky = Vuderiv::LoadBitmap("images/lucht.bmp", kTile, kTile);
    const uint32_t ground = Vuderiv::LoadBitmap("images/grond.bmp", kTile, kTile);
    const uint32_t figure = Vuderiv::LoadBitmap("images/up1.bmp", kFigureWidth, kFigureHeight);
    const uint32_t mask = Vuderiv::LoadBitmap("images/up_mask.bmp", kFigureWidth, kFigureHeight);
    if (sky == 0 || ground == 0 || figure == 0 || mask == 0) return 1;
    const uint32_t background = MakeBackground(sky, ground);

    Vuderiv::SetBuffering(true);
    Vuderiv::OnMouseLeftUp(OnRelease);  // the one left-up callback: a later call replaces it
    while (Vuderiv::WindowIsOpen() && !Vuderiv::KeyDown(Vuderiv::Key::Esc)) {
        int32_t x = 0, y = 0;
        Vuderiv::MousePos(x, y);
        Vuderiv::DrawBitmap(background, 0, 0);
        Vuderiv::DrawMaskBitmap(figure, mask, stampX, stampY);  // the figure where released
        Vuderiv::DrawMaskBitmap(figure, mask, x - 25, y - 50);  // and one under the mouse
        Vuderiv::SetFont(3, 0);                                 // sans 13 px, black
        Vuderiv::Text("Release the left button to leave a stamp", 8, 8);
        Vuderiv::UpdateWindow();
        Vuderiv::Pause(16);
    }
    Vuderiv::OnMouseLeftUp(nullptr);
    for (uint32_t bitmap : {background, mask, figure, ground, sky})
        Vuderiv::DestroyBitmap(bitmap);
    Vuderiv::KillWindow();
    return 0;
}
