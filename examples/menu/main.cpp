// A StandardMenu menu with two screens: the main screen offers START and QUIT; START opens
// a second screen whose masked BACK button leads back. Run it in the game's data folder (or
// name that folder as the argument): the buttons' images are read from images/.
#include <StandardMenu.h>
#include <Vuderiv.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

using StandardMenu::ButtonRc;

constexpr int32_t kWidth = 500, kHeight = 400;

// The main screen: START and QUIT, one above the other.
std::array<ButtonRc, 2> MainScreen() {
    std::array<ButtonRc, 2> buttons = {
        StandardMenu::CreateButton(225, 65, "images/start0.bmp", "images/start1.bmp"),
        StandardMenu::CreateButton(225, 65, "images/quit0.bmp", "images/quit1.bmp"),
    };
    StandardMenu::SetVerticalMenu(50, 50, 150, buttons);
    return buttons;
}

// The second screen's one button: white where the mask is light, the mouse-over picture
// drawn through the same mask.
std::array<ButtonRc, 1> SecondScreen() {
    ButtonRc back = StandardMenu::CreateMaskedButton(200, 100, "images/full_mask.bmp",
                                                     "images/back1.bmp", "images/back_mask.bmp");
    back.x0 = 150;
    back.y0 = 250;
    return {back};
}

// Shows the second screen until BACK is chosen; false when the window was closed instead.
bool ShowSecondScreen(const std::array<ButtonRc, 1>& screen) {
    Vuderiv::ClearScreen();
    Vuderiv::SetFont(1, 0xFFFFFF);
    Vuderiv::Text("The second screen", 50, 50);
    Vuderiv::SetFont(3, 0xC0C0C0);
    Vuderiv::Text("BACK returns to the main screen.", 50, 90);
    return StandardMenu::MenuSelection(screen) != StandardMenu::kNoSelection;
}

}  // namespace

int main(int argc, char** argv) {
    std::error_code error;
    if (argc > 1) std::filesystem::current_path(argv[1], error);
    if (error) {
        std::fprintf(stderr, "menu: %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    Vuderiv::Window("Menu", kWidth, kHeight);
    if (!Vuderiv::WindowIsOpen()) return 1;
    Vuderiv::SetBuffering(true);  // menus draw into the buffer; MenuSelection shows it
    const auto mainScreen = MainScreen();
    const auto secondScreen = SecondScreen();
    bool running = true;
    while (running) {
        Vuderiv::ClearScreen();
        switch (StandardMenu::MenuSelection(mainScreen)) {
            case 0:  // START
                running = ShowSecondScreen(secondScreen);
                break;
            case 1:  // QUIT
                Vuderiv::KillWindow();
                running = false;
                break;
            default:  // the window was closed
                running = false;
        }
    }
    return 0;
}
