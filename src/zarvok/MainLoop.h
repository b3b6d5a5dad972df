// The program's spine: one frame in its fixed order, the end-of-level check, the pauses,
// and the loop that runs one game after another for as long as the window is open.
#pragma once

#include "GameWindow.h"

#include <cstdint>

#include "SoundEffects.h"

namespace Zarvok {

// A pause of the program thread; tests put in one that returns at once.
using PauzeProc = void (*)(uint32_t ms);
// Replaces the pause; nullptr restores WachtZolangOpen.
void SetPauze(PauzeProc pauze);
// Writes the settings toggled since the last pause (BewaarWensen), then pauses through
// the installed pause.
void Pauze(uint32_t ms);
// The real pause: waits ms milliseconds, or less once the window has been closed.
void WachtZolangOpen(uint32_t ms);

// One frame: TelFrame, FrameLogica, draw, pause 70 ms, then Eindelevel.
void SpeelFrame();
// The start of a frame: counts it for enemy generation and samples the Q key.
void TelFrame();
// The game logic of a frame: the player, the enemies, contacts, generation, the bullets.
void FrameLogica();
// The end-of-level check: level 1 won leads into level 2, level 2 won ends the game, and
// health at 0 or less ends it with Difficulty back to easy. A game won in a frame is not
// lost in it too; a player dead as he wins level 1 dies after level 2 is set up.
void Eindelevel();
// A game: the start menu, then level 1 until the game ends (Q, death, win) or the window
// closes. Nothing is set up when the window closes in the menu.
void SpeelSpel();
// The program: opens the window and plays games, each from the start menu, until the
// window is closed (the quit button closes it too). The exit
// status: 0 when the window was closed, 1 when it could not be opened or a level file is
// refused, 2 when the scale asked for does not fit (each with a message on the console).
// The window shows the game as `weergave` says; schaalGevraagd: the scale was asked for on
// the command line, so one that does not fit is refused rather than reduced. With a sound
// choice, the sound starts once the window is open and stops with the program.
int Programma(const Weergave& weergave = {}, bool schaalGevraagd = false,
              const GeluidKeuze* geluid = nullptr);

}  // namespace Zarvok
