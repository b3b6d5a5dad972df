// Bitmaps with masks and the mouse: a background made once from tiles, a figure that follows
// the mouse, drawn through a mask, and a stamp wherever the left button is released. It
// needs no files (it writes its pictures as BMP files and loads them). Escape ends it.
#include <Vuderiv.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <vector>

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

// A w x h bitmap whose pixel (x, y) is paint(x, y), a colour 0x00BBGGRR: written as a
// 32-bit BMP file (on a little-endian machine), loaded, and the file removed again.
template <typename Paint>
uint32_t MakeBitmap(uint32_t w, uint32_t h, Paint paint) {
    std::vector<uint32_t> pixels;  // the bottom row first, each pixel 0xAARRGGBB
    for (uint32_t y = h; y-- > 0;) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t c = paint(int32_t(x), int32_t(y));
            pixels.push_back(0xFF000000 | (c >> 16 & 0xFF) | (c & 0xFF00) | (c & 0xFF) << 16);
        }
    }
    const uint32_t size = 4 * w * h;  // file size, offset, header size, planes and bits, ...
    const uint32_t header[13] = {54 + size, 0, 54, 40, w, h, 1 | 32 << 16, 0, size, 0, 0, 0, 0};
    const auto file = std::filesystem::temp_directory_path() / "bitmaps-example.bmp";
    std::ofstream out(file, std::ios::binary);
    out << "BM";
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    out.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(size));
    out.close();
    const uint32_t bitmap = Vuderiv::LoadBitmap(file.string().c_str(), w, h);
    std::filesystem::remove(file);
    return bitmap;
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

int main() {
    Vuderiv::Window("Bitmaps", kWidth, kHeight);
    if (!Vuderiv::WindowIsOpen()) return 1;
    // A handle is 0 when a file cannot be read; the library names the file on the console.
    const uint32_t sky = MakeBitmap(kTile, kTile, [](int32_t, int32_t y) {
        return 0xF0C080u + uint32_t(y) * 0x010100u;  // light blue, lighter downwards
    });
    const uint32_t ground = MakeBitmap(kTile, kTile, [](int32_t x, int32_t y) {
        return (x + y) % 7 == 0 ? 0x204060u : 0x3070A0u;  // brown with darker stripes
    });
    const uint32_t figure = MakeBitmap(kFigureWidth, kFigureHeight, [](int32_t x, int32_t y) {
        return y < 40 ? 0x80C0F0u : (x / 6 + y / 6) % 2 == 0 ? 0x2020C0u : 0xC02020u;
    });
    const uint32_t mask = MakeBitmap(kFigureWidth, kFigureHeight, [](int32_t x, int32_t y) {
        const bool head = (x - 25) * (x - 25) + (y - 20) * (y - 20) <= 18 * 18;
        return head || (y >= 40 && x >= 8 && x < 42) ? 0xFFFFFFu : 0u;  // light: drawn
    });
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
    Vuderiv::KillWindow();  // releases the bitmaps too
    return 0;
}
