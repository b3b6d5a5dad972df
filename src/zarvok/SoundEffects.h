// The game's sound effects: loaded once when the program starts, played at the moments the
// frame decides them. They sound beside the game: no state of the game depends on them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

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

// A sound wish: what one source (the command line or the settings file) asks for; what it
// does not give is left to the next source, then to the default.
struct GeluidWens {
    std::optional<bool> stil;
    std::optional<uint32_t> volume;
};

// The choice: each value from the first source that gives it, else the default.
GeluidKeuze KiesGeluid(const GeluidWens& eerst, const GeluidWens& dan);

// Reads a volume: a whole number 0..100 written in plain digits. Empty when it is not one.
std::optional<uint32_t> LeesVolume(std::string_view tekst);

// Opens the sound device and loads every effect from sounds/ of the data folder, as the
// choice says; the M key toggles mute from then on. Without a device the game plays
// silently; a file that cannot be read leaves its effect silent.
void StartGeluid(const GeluidKeuze& keuze);
// Lets the effects still playing end (the QUIT button's click), for half a second at most,
// then closes the device and forgets the effects.
void StopGeluid();
// Plays an effect; nothing before StartGeluid or without a device.
void Speel(GELUID_EN geluid);
// The key callback: M toggles mute, and the settings file remembers it. It runs on the
// window thread.
void GeluidToets(uint32_t k);

}  // namespace Zarvok
