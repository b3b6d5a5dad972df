// The start menu and the difficulty screen.
#include "Menu.h"

#include <array>
#include <span>

#include "Messages.h"
#include "SoundEffects.h"
#include "StandardMenu.h"
#include "State.h"
#include "Vuderiv.h"

namespace Zarvok {

namespace {

using StandardMenu::ButtonRc;
using Knoppen = std::array<ButtonRc, 3>;

// The menu's buttons and picture: loaded once, valid while Menubeelden_geladen.
Knoppen startMenu;     // start, settings, quit
Knoppen spinnerMenu;   // down, up, back
Knoppen difficulties;  // the fields easy, medium, hard
uint32_t background = 0;

bool wacht = false;  // the start menu stays up

// The difficulty screen's keys: Left and Right its arrows (the pad's D-pad and stick
// alike), Enter, Esc and the pad's south and east buttons BACK.
constexpr std::array<StandardMenu::KeyChoice, 6> spinnerToetsen = {{
    {Vuderiv::Key::Left, 0},
    {Vuderiv::Key::Right, 1},
    {Vuderiv::Key::Enter, 2},
    {Vuderiv::Key::Esc, 2},
    {Vuderiv::Key::PadSouth, 2},
    {Vuderiv::Key::PadEast, 2},
}};

void MenuStart(Knoppen& StartMenuKnoppen) {
    StartMenuKnoppen[0] =
        StandardMenu::CreateButton(225, 65, "images/start0.bmp", "images/start1.bmp");
    StartMenuKnoppen[1] =
        StandardMenu::CreateButton(225, 65, "images/settings0.bmp", "images/settings1.bmp");
    StartMenuKnoppen[2] =
        StandardMenu::CreateButton(225, 65, "images/quit0.bmp", "images/quit1.bmp");
    StandardMenu::SetVerticalMenu(50, 50, 150, StartMenuKnoppen);
}

ButtonRc Spinnerknop(int32_t w, const char* mouseOver, const char* mask, int32_t x, int32_t y) {
    ButtonRc knop =
        StandardMenu::CreateMaskedButton(w, 100, "images/full_mask.bmp", mouseOver, mask);
    knop.x0 = x;
    knop.y0 = y;
    return knop;
}

ButtonRc Veld(const char* mask) {
    ButtonRc veld = StandardMenu::CreateField(170, 100, "images/full_mask.bmp", mask);
    veld.x0 = 75;
    veld.y0 = 250;
    return veld;
}

void MenuDifficulty(Knoppen& DifficultyMenuKnoppen, Knoppen& DifficultyMenuSpinner) {
    DifficultyMenuKnoppen[0] = Spinnerknop(50, "images/down1.bmp", "images/down_mask.bmp", 25, 250);
    DifficultyMenuKnoppen[1] = Spinnerknop(50, "images/up1.bmp", "images/up_mask.bmp", 245, 250);
    DifficultyMenuKnoppen[2] =
        Spinnerknop(200, "images/back1.bmp", "images/back_mask.bmp", 175, 500);
    DifficultyMenuSpinner[0] = Veld("images/easy_mask.bmp");
    DifficultyMenuSpinner[1] = Veld("images/medium_mask.bmp");
    DifficultyMenuSpinner[2] = Veld("images/hard_mask.bmp");
}

void LaadMenubeelden() {
    if (Menubeelden_geladen) return;
    MenuStart(startMenu);
    MenuDifficulty(spinnerMenu, difficulties);
    background = Vuderiv::LoadBitmap(kMenuBeeld.bestand, kMenuBeeld.breedte, kMenuBeeld.hoogte);
    Menubeelden_geladen = true;
}

// Clicks when a button was chosen.
int32_t Geklikt(int32_t keuze) {
    if (keuze != StandardMenu::kNoSelection) Speel(G_KNOP);
    return keuze;
}

// Waits for a button of the menu, as MenuSelection does, and clicks when one is chosen.
int32_t Kies(const Knoppen& menu, std::span<const StandardMenu::KeyChoice> toetsen) {
    return Geklikt(StandardMenu::MenuSelection(menu, toetsen));
}

// The same wait with the menu's focus kept from the wait before.
int32_t Kies(const Knoppen& menu, StandardMenu::MenuState& toestand) {
    return Geklikt(StandardMenu::MenuSelection(menu, toestand));
}

void StartSpel() {
    Vuderiv::ClearScreen();
    wacht = false;
}

// The difficulty screen; level is the level it shows, and it leaves it in Difficulty.
void Select(uint32_t& level) {
    const ButtonRc& veld = difficulties[0];
    const auto breedte = static_cast<uint32_t>(veld.width);
    const auto hoogte = static_cast<uint32_t>(veld.height);
    const uint32_t diffbg = Vuderiv::CreateBitmap(breedte, hoogte);
    Vuderiv::CopyBitmap(background, diffbg, veld.x0, veld.y0, 0, 0, breedte, hoogte);
    Vuderiv::DrawBitmap(background, 0, 0);
    bool terug = false;
    while (!terug && Vuderiv::WindowIsOpen()) {
        Vuderiv::DrawBitmap(diffbg, veld.x0, veld.y0);
        StandardMenu::DrawButton(difficulties[level]);
        Vuderiv::UpdateWindow();
        switch (Kies(spinnerMenu, spinnerToetsen)) {
            case 0:
                if (level > 0) level = level - 1;
                break;
            case 1:
                if (level < 2) level = level + 1;
                break;
            case 2:
                terug = true;
                break;
            default:
                if (Vuderiv::WindowIsOpen()) Meld("error! button undefined!");
        }
    }
    Difficulty = level;
    Vuderiv::DestroyBitmap(diffbg);
}

void Quit() {
    Vuderiv::KillWindow();
}

}  // namespace

void Menu() {
    LaadMenubeelden();
    uint32_t difficultyLevel = 0;
    StandardMenu::MenuState startToestand;  // the focus, kept across the difficulty screen
    wacht = true;
    while (wacht && Vuderiv::WindowIsOpen()) {
        Vuderiv::ClearScreen();
        Vuderiv::DrawBitmap(background, 0, 0);
        Vuderiv::UpdateWindow();
        switch (Kies(startMenu, startToestand)) {
            case 0:
                StartSpel();
                break;
            case 1:
                Select(difficultyLevel);
                break;
            case 2:
                Quit();
                break;
            default:
                if (Vuderiv::WindowIsOpen()) Meld("error! wrong button number!");
        }
    }
}

}  // namespace Zarvok
