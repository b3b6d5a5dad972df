#include "SoundEffects.h"

#include <array>
#include <string>

#include "SettingsFile.h"
#include "Vuderiv.h"

namespace Zarvok {

namespace {

constexpr std::array<const char*, G_AANTAL> kBestanden = {
    "sounds/schot.wav",           "sounds/treffer.wav",      "sounds/vijand_dood.wav",
    "sounds/manneke_geraakt.wav", "sounds/manneke_dood.wav", "sounds/level_gewonnen.wav",
    "sounds/spel_gewonnen.wav",   "sounds/knop.wav",
};

std::array<uint32_t, G_AANTAL> geluiden{};  // the handles; 0: silent. Program thread.

// How long the sound stays open for the sounds still playing when the game ends: long
// enough for the QUIT button's click, short enough that a closed game never lingers.
constexpr uint32_t kUitklinkenMs = 500;

}  // namespace

GeluidKeuze KiesGeluid(const GeluidWens& eerst, const GeluidWens& dan) {
    const GeluidKeuze standaard;
    return {eerst.stil.value_or(dan.stil.value_or(standaard.stil)),
            eerst.volume.value_or(dan.volume.value_or(standaard.volume))};
}

std::optional<uint32_t> LeesVolume(std::string_view tekst) {
    if (tekst.empty() || tekst.size() > 3) return std::nullopt;
    uint32_t waarde = 0;
    for (const char c : tekst) {
        if (c < '0' || c > '9') return std::nullopt;
        waarde = waarde * 10 + static_cast<uint32_t>(c - '0');
    }
    if (waarde > kVolleVolume) return std::nullopt;
    return waarde;
}

void StartGeluid(const GeluidKeuze& keuze) {
    Vuderiv::SetMute(keuze.stil);
    Vuderiv::SetVolume(keuze.volume);
    Vuderiv::OnKeyPress(GeluidToets);
    if (!Vuderiv::OpenSound()) return;  // the library said why, once
    for (size_t i = 0; i < geluiden.size(); ++i)
        geluiden[i] = Vuderiv::LoadSound(kBestanden[i]);
}

void StopGeluid() {
    Vuderiv::WaitSounds(kUitklinkenMs);
    Vuderiv::CloseSound();
    geluiden.fill(0);
}

void Speel(GELUID_EN geluid) {
    if (geluid < G_AANTAL) Vuderiv::PlaySound(geluiden[geluid]);
}

void GeluidToets(uint32_t k) {
    if (k != Vuderiv::Key::M) return;
    const bool stil = !Vuderiv::Muted();
    Vuderiv::SetMute(stil);
    OnthoudStil(stil);
}

}  // namespace Zarvok
