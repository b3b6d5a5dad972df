#include "CommandLine.h"

#include <iostream>
#include <optional>
#include <string_view>
#include <utility>

#include "DataFolder.h"
#include "Messages.h"
#include "SettingsFile.h"
#include "SoundEffects.h"

namespace Zarvok {

namespace {

constexpr std::string_view kDataOptie = "--data";
constexpr std::string_view kVolumeOptie = "--volume";

Opdracht Antwoord(Opdracht::Soort soort, std::string fout = {}) {
    Opdracht opdracht;
    opdracht.soort = soort;
    opdracht.fout = std::move(fout);
    return opdracht;
}

Opdracht Fout(std::string tekst) {
    return Antwoord(Opdracht::FOUT, std::move(tekst));
}

// The value of an option given as `--name VALUE` or `--name=VALUE`, moving i past it;
// nullopt when `arg` is not that option.
std::optional<std::string_view> Waarde(std::string_view naam, int argc, const char* const argv[],
                                       int& i) {
    const std::string_view arg = argv[i];
    if (arg == naam) return i + 1 < argc ? std::string_view(argv[++i]) : std::string_view();
    if (arg.starts_with(naam) && arg.size() > naam.size() && arg[naam.size()] == '=')
        return arg.substr(naam.size() + 1);
    return std::nullopt;
}

}  // namespace

Opdracht LeesOpdrachtregel(int argc, const char* const argv[]) {
    Opdracht opdracht;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") return Antwoord(Opdracht::HULP);
        if (arg == "--version") return Antwoord(Opdracht::VERSIE);
        if (arg == "--mute") {
            opdracht.stil = true;
        } else if (arg == "--fullscreen") {
            opdracht.weergave.volledigScherm = true;
        } else if (const auto schaal = Waarde("--scale", argc, argv, i)) {
            opdracht.weergave.schaal = LeesSchaal(*schaal);
            if (!opdracht.weergave.schaal) {
                return Fout("--scale takes a whole number from 1, auto or fit, not '" +
                            std::string(*schaal) + "'");
            }
        } else if (const auto map = Waarde(kDataOptie, argc, argv, i)) {
            opdracht.dataMap = *map;
            if (opdracht.dataMap.empty()) return Fout(std::string(arg) + " names no folder");
        } else if (const auto volume = Waarde(kVolumeOptie, argc, argv, i)) {
            const std::optional<uint32_t> waarde = LeesVolume(*volume);
            opdracht.volume = waarde ? static_cast<int32_t>(*waarde) : -1;
            if (opdracht.volume < 0) return Fout(std::string(arg) + " needs a whole number 0..100");
        } else {
            return Fout("unknown argument " + std::string(arg));
        }
    }
    return opdracht;
}

GeluidWens GevraagdGeluid(const Opdracht& opdracht) {
    GeluidWens wens;
    if (opdracht.stil) wens.stil = true;
    if (opdracht.volume >= 0) wens.volume = static_cast<uint32_t>(opdracht.volume);
    return wens;
}

std::string Gebruik() {
    return "Usage: zarvok [--data DIR] [--scale N|auto|fit] [--fullscreen] [--mute] [--volume N] "
           "[--help] [--version]";
}

std::string Hulptekst() {
    std::string tekst =
        Gebruik() +
        "\nA platform shooter: the left and right arrows walk, up with one of them\n"
        "jumps, Ctrl shoots, Q leaves a game, M turns the sound off and on.\n\n"
        "  --data DIR        read the levels, images and sounds from DIR\n"
        "  --scale N|auto|fit\n"
        "                    show each game pixel as N x N screen pixels (auto: the largest\n"
        "                    N that fits the screen; fit: the game as large as the screen\n"
        "                    allows, at any size), for this run. Without it the window\n"
        "                    shows scale 1, or the game fitted when that does not fit;\n"
        "                    fullscreen fills the screen unless N or auto is chosen\n"
        "  --fullscreen      start in fullscreen, for this run (F11 or Alt+Enter toggle it)\n"
        "  --mute            start with the sound off\n"
        "  --volume N        the sound's volume, 0 to 100 (100)\n"
        "  --help            show this text and stop\n"
        "  --version         show the version and stop\n\n"
        "Without --data the data is read from the first of these folders\n"
        "that holds level1.txt, level2.txt or images/Menu.bmp:\n";
    for (const auto& map : EigenDataKandidaten())
        tekst += "  " + map.string() + "\n";
    const auto instellingen = EigenInstellingenPad();
    if (!instellingen.empty()) {
        tekst += "\nThe standing choice of scale, fullscreen, mute and volume is kept in\n  " +
                 instellingen.string() +
                 "\n(key = value lines; an option above wins for its run).\n";
    }
    return tekst;
}

std::string Versie() {
    return "Zarvok " ZARVOK_VERSION;
}

int BeantwoordOpdracht(const Opdracht& opdracht) {
    switch (opdracht.soort) {
        case Opdracht::HULP:
            std::cout << Hulptekst() << std::flush;
            return 0;
        case Opdracht::VERSIE:
            std::cout << Versie() << std::endl;
            return 0;
        case Opdracht::FOUT:
            Meld("Zarvok: " + opdracht.fout + "\n" + Gebruik());
            return 2;
        case Opdracht::SPELEN:
            break;
    }
    return -1;
}

}  // namespace Zarvok
