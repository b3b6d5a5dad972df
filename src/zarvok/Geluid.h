// The game's sound effects: loaded once when the program starts, played at the moments the
// frame decides them. They sound beside the game: no state of the game depends on them.
#pragma once

#include <cstdint>

namespace Zarvok {

enum GELUID_EN : uint8_t {
    G_SCHOT,            // a bullet is fired
    G_TREFFER,          // a bullet hits an enemy that lives on
    G_VIJAND_DOOD,      // a bullet kills an enemy
    G_MANNEKE_GERAAKT,  // an enemy runs into the player
    G_MANNEKE_DOOD,     // the player's health is gone
    G_LEVEL_GEWONNEN,   // level 1 won
    G_SPEL_GEWONNEN,    // level 2 won: the game is won
    G_KNOP,             // a menu button chosen
    G_AANTAL
};

// The full volume in percent.
constexpr uint32_t kVolleVolume = 100;

// How the sound starts: muted or not, and the volume in percent (0..100).
struct GeluidKeuze {
    bool stil = false;
    uint32_t volume = kVolleVolume;
};

// Opens the sound device and loads every effect from sounds/ of the data folder, as the
// choice says; the M key toggles mute from then on. Without a device the game plays
// silently; a file that cannot be read leaves its effect silent.
void StartGeluid(const GeluidKeuze& keuze);
// Closes the device and forgets the effects.
void StopGeluid();
// Plays an effect; nothing before StartGeluid or without a device.
void Speel(GELUID_EN geluid);
// The key callback: M toggles mute. It runs on the window thread.
void GeluidToets(uint32_t k);

}  // namespace Zarvok
