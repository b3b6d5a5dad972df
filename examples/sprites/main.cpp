// Sprites and a sound the program makes itself: walkers from a sprite sheet stride to and fro,
// mirrored when they turn, under a sun of circles, to a looping hum. Escape or close ends it.
#include <Vuderiv.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace Vuderiv;

constexpr int32_t kWidth = 480, kHeight = 320, kCell = 16, kGround = 250;
constexpr uint32_t kKey = Rgb(255, 0, 255);  // the sheet's background, left out

// Writes `count` little-endian bytes of a number.
static void Put(std::FILE* file, uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
        std::fputc(static_cast<int>((value >> (8 * i)) & 0xFF), file);
}

// The walker's colour at (x, y) of frame 0 or 1 (legs apart), facing right.
static uint32_t Walker(int32_t x, int32_t y, int32_t frame) {
    const bool head = (x - 8) * (x - 8) + (y - 3) * (y - 3) <= 6 || (x == 11 && y == 3);
    const bool body = x >= 6 && x <= 9 && y >= 6 && y <= 10;
    const bool legs = y > 10 && std::abs(2 * x - 15) == 1 + (y - 10) * (frame == 0 ? 2 : 6) / 5;
    return head ? Rgb(255, 210, 160) : body || legs ? Rgb(40, 90, 220) : kKey;
}

// The sheet: two cells side by side in a 24-bit BMP, rows bottom-up.
static void WriteSheet(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    const uint32_t width = 2 * kCell, size = 54 + width * 3 * kCell;
    std::fputs("BM", f);
    for (uint32_t v : {size, 0u, 54u, 40u, width, 16u, 0x180001u, 0u, 0u, 0u, 0u, 0u, 0u})
        Put(f, v, 4);  // the file and picture headers: 16 rows, 1 plane, 24 bits, no compression
    for (int32_t y = kCell - 1; y >= 0; --y) {
        for (int32_t x = 0; x < 2 * kCell; ++x) {
            const uint32_t c = Walker(x % kCell, y, x / kCell);
            Put(f, (c >> 16) | (c & 0xFF00) | (c & 0xFF) << 16, 3);  // blue, green, red
        }
    }
    std::fclose(f);
}

// One second of a hum, 16-bit mono at 22050 Hz: whole periods, so it loops smoothly.
static void WriteHum(const std::filesystem::path& path) {
    constexpr uint32_t kRate = 22050;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("RIFF", f), Put(f, 36 + 2 * kRate, 4), std::fputs("WAVEfmt ", f);
    for (uint32_t v : {16u, 1u | (1u << 16), kRate, 2 * kRate, 2u | (16u << 16)})
        Put(f, v, 4);
    std::fputs("data", f), Put(f, 2 * kRate, 4);
    for (uint32_t i = 0; i < kRate; ++i)  // a square wave of 110.25 Hz, quietly
        Put(f, static_cast<uint32_t>(i % 200 < 100 ? 1500 : -1500), 2);
    std::fclose(f);
}

static void DrawSky(int frame) {
    ClearScreen();
    Circle(400, 60, 30, Rgb(255, 220, 0), true);  // the sun and a ring
    Circle(400, 60, 36 + frame / 4 % 12, Rgb(255, 150, 0), false);
    SetPixel(frame * 7 % kWidth, 20 + frame % 50, Rgb(255, 255, 255));  // a shooting star
    Line(0, kGround, kWidth - 1, kGround, Rgb(0, 200, 0));
}

int main() {
    const auto dir = std::filesystem::temp_directory_path();
    const auto sheetFile = dir / "sprites-sheet.bmp", humFile = dir / "sprites-hum.wav";
    WriteSheet(sheetFile);
    WriteHum(humFile);
    Window("Sprites", kWidth, kHeight);
    SetBuffering(true);
    const uint32_t sheet = LoadImage(sheetFile.c_str());  // at its own size
    SetColorKey(sheet, kKey);
    uint32_t sheetWidth = 0, sheetHeight = 0;
    BitmapSize(sheet, sheetWidth, sheetHeight);
    OpenSound();  // without a device every sound stays silent
    const uint32_t hum = LoadSound(humFile.c_str());
    SetSoundVolume(hum, 40);
    LoopSound(hum);
    int32_t x[3] = {20, 200, 380}, step[3] = {2, -3, 1};
    for (int frame = 0; WindowIsOpen() && NextKey() != Key::Esc; ++frame) {
        DrawSky(frame);
        for (int i = 0; i < 3; ++i) {
            x[i] += step[i];
            if (x[i] < 0 || x[i] > kWidth - kCell) step[i] = -step[i];  // turn back
            const int32_t cell = frame / 6 % 2 * kCell;                 // the walking frame
            const uint32_t flip = step[i] < 0 ? FlipHorizontal : FlipNone;
            DrawBitmapPart(sheet, cell, 0, kCell, sheetHeight, x[i], kGround - kCell, flip);
        }
        UpdateWindow();
        Vuderiv::Pause(16);
    }
    StopSound(hum);
    CloseSound();
    KillWindow();
    return 0;
}
