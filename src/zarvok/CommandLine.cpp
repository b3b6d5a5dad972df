#include "CommandLine.h"

#include <iostream>
#include <string_view>
#include <utility>

#include "DataFolder.h"
#include "Melding.h"

namespace Zarvok {

namespace {

constexpr std::string_view kDataOptie = "--data";

Opdracht Fout(std::string tekst) {
    return {Opdracht::FOUT, {}, std::move(tekst), {}};
}

}  // namespace

Opdracht LeesOpdrachtregel(int argc, const char* const argv[]) {
    Opdracht opdracht;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") return {Opdracht::HULP, {}, {}, {}};
        if (arg == "--version") return {Opdracht::VERSIE, {}, {}, {}};
        if (arg == "--fullscreen") {
            opdracht.weergave.volledigScherm = true;
            continue;
        }
        if (arg == "--scale" || arg.starts_with("--scale=")) {
            const std::string waarde =
                arg == "--scale" ? (i + 1 < argc ? argv[++i] : "") : std::string(arg.substr(8));
            opdracht.weergave.schaal = LeesSchaal(waarde);
            if (!opdracht.weergave.schaal) {
                return Fout("--scale takes a whole number from 1 or auto, not '" + waarde + "'");
            }
            continue;
        }
        if (arg == kDataOptie) {
            opdracht.dataMap = i + 1 < argc ? argv[++i] : "";
        } else if (arg.starts_with("--data=")) {
            opdracht.dataMap = arg.substr(kDataOptie.size() + 1);
        } else {
            return Fout("unknown argument " + std::string(arg));
        }
        if (opdracht.dataMap.empty()) return Fout(std::string(arg) + " names no folder");
    }
    return opdracht;
}

std::string Gebruik() {
    return "Usage: zarvok [--data DIR] [--scale N|auto] [--fullscreen] [--help] [--version]";
}

std::string Hulptekst() {
    std::string tekst =
        Gebruik() +
        "\nA platform shooter: the left and right arrows walk, up with one of them\n"
        "jumps, Ctrl shoots, Q leaves a game.\n\n"
        "  --data DIR        read the levels and images from DIR\n"
        "  --scale N|auto    show each game pixel as N x N screen pixels (auto: as large\n"
        "                    as fits the screen), for this run\n"
        "  --fullscreen      start in fullscreen, for this run (F11 or Alt+Enter toggle it)\n"
        "  --help            show this text and stop\n"
        "  --version         show the version and stop\n\n"
        "Without --data the data is read from the first of these folders\n"
        "that holds level1.txt, level2.txt or images/Menu.bmp:\n";
    for (const auto& map : EigenDataKandidaten())
        tekst += "  " + map.string() + "\n";
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
