// A StandardMenu menu of two screens with text buttons, a click sound and something that
// moves while the menu waits: the main screen offers START and QUIT, START opens a second
// screen whose BACK (or Esc) leads back. The arrows and Enter choose as well as the mouse.
// It needs no files: the click is a WAV it writes at start.
#include <StandardMenu.h>
#include <Vuderiv.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using StandardMenu::ButtonRc;
using StandardMenu::MenuState;

constexpr int32_t kWidth = 500, kHeight = 400;

// Writes a short click as a 16-bit mono WAV file: a falling tone, 60 ms at 22050 Hz.
void WriteClick(const std::filesystem::path& file) {
    std::vector<int16_t> samples(1323);
    for (size_t i = 0; i < samples.size(); ++i) {
        const double fade = 1.0 - static_cast<double>(i) / static_cast<double>(samples.size());
        samples[i] = static_cast<int16_t>(9000.0 * fade * std::sin(static_cast<double>(i) * 0.2));
    }
    const auto bytes = static_cast<uint32_t>(samples.size() * 2);  // on a little-endian machine
    const uint32_t format[4] = {16, 1 | 1 << 16, 22050, 44100};    // PCM, mono, rate, bytes/s
    const uint32_t end[2] = {2 | 16 << 16, 0x61746164};            // block, bits; "data"
    std::ofstream out(file, std::ios::binary);
    out << "RIFF";
    const uint32_t riff = 36 + bytes;
    out.write(reinterpret_cast<const char*>(&riff), 4) << "WAVEfmt ";
    out.write(reinterpret_cast<const char*>(format), sizeof format);
    out.write(reinterpret_cast<const char*>(end), sizeof end);
    out.write(reinterpret_cast<const char*>(&bytes), 4);
    out.write(reinterpret_cast<const char*>(samples.data()), static_cast<std::streamsize>(bytes));
}

// A screen of text buttons under each other, 200 x 50, from (150, top), 100 pixels apart.
template <size_t N>
std::array<ButtonRc, N> Screen(std::array<const char*, N> labels, int32_t top) {
    std::array<ButtonRc, N> buttons;
    for (size_t i = 0; i < N; ++i)
        buttons[i] = StandardMenu::CreateTextButton(200, 50, labels[i]);
    StandardMenu::SetVerticalMenu(150, top, 100, buttons);
    return buttons;
}

// One frame of a screen: a square moving to and fro over the top, the title, the buttons.
// The chosen button, or kNoSelection.
template <size_t N>
int32_t Frame(const std::array<ButtonRc, N>& buttons, MenuState& state, const char* title,
              int32_t frame) {
    Vuderiv::ClearScreen();
    const int32_t x = std::abs(frame % 230 * 4 - 460);
    Vuderiv::Rectangle(x, 20, x + 39, 59, 0x00C0FF, true);
    Vuderiv::SetFont(1, 0xFFFFFF);
    Vuderiv::Text(title, 150, 70);
    const int32_t chosen = StandardMenu::MenuStep(buttons, state);
    Vuderiv::UpdateWindow();
    return chosen;
}

}  // namespace

int main() {
    Vuderiv::Window("Menu", kWidth, kHeight);
    if (!Vuderiv::WindowIsOpen()) return 1;
    Vuderiv::SetBuffering(true);  // each frame is drawn into the buffer, then shown
    const std::filesystem::path click = std::filesystem::temp_directory_path() / "menu-click.wav";
    WriteClick(click);
    Vuderiv::OpenSound();  // without a device the program runs silently
    const uint32_t sound = Vuderiv::LoadSound(click.string().c_str());
    std::filesystem::remove(click);
    const auto mainScreen = Screen<2>({"START", "QUIT"}, 150);
    const auto secondScreen = Screen<1>({"BACK"}, 250);
    MenuState mainState;                                           // its focus is kept
    MenuState secondState{.shortcuts = {{Vuderiv::Key::Esc, 0}}};  // Esc chooses BACK
    bool second = false;
    for (int32_t frame = 0; Vuderiv::WindowIsOpen(); ++frame) {
        const int32_t chosen = second ? Frame(secondScreen, secondState, "The second screen", frame)
                                      : Frame(mainScreen, mainState, "The main screen", frame);
        if (chosen != StandardMenu::kNoSelection) Vuderiv::PlaySound(sound);
        if (!second && chosen == 1) break;  // QUIT
        if (chosen == 0) {
            second = !second;
            StandardMenu::RestartMenu(second ? secondState : mainState);
        }
        Vuderiv::WaitFrame(60);  // a steady 60 frames a second
    }
    Vuderiv::WaitSounds(500);  // the last click is heard to its end
    Vuderiv::CloseSound();
    Vuderiv::KillWindow();
    return 0;
}
