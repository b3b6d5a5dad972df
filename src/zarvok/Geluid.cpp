#include "Geluid.h"

#include <array>
#include <string>

#include "Vuderiv.h"

namespace Zarvok {

namespace {

constexpr std::array<const char*, G_AANTAL> kBestanden = {
    "sounds/schot.wav",           "sounds/treffer.wav",      "sounds/vijand_dood.wav",
    "sounds/manneke_geraakt.wav", "sounds/manneke_dood.wav", "sounds/level_gewonnen.wav",
    "sounds/spel_gewonnen.wav",   "sounds/knop.wav",
};

std::array<uint32_t, G_AANTAL> geluiden{};  // the handles; 0: silent. Program thread.

}  // namespace

void StartGeluid(const GeluidKeuze& keuze) {
    Vuderiv::SetMute(keuze.stil);
    Vuderiv::SetVolume(keuze.volume);
    Vuderiv::OnKeyPress(GeluidToets);
    if (!Vuderiv::OpenSound()) return;  // the library said why, once
    for (size_t i = 0; i < geluiden.size(); ++i)
        geluiden[i] = Vuderiv::LoadSound(kBestanden[i]);
}

void StopGeluid() {
    Vuderiv::CloseSound();
    geluiden.fill(0);
}

void Speel(GELUID_EN geluid) {
    if (geluid < G_AANTAL) Vuderiv::PlaySound(geluiden[geluid]);
}

void GeluidToets(uint32_t k) {
    if (k == Vuderiv::Key::M) Vuderiv::SetMute(!Vuderiv::Muted());
}

}  // namespace Zarvok
