#include "Instellingen.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "Geluid.h"
#include "Weergave.h"

namespace Zarvok {

namespace {

// The most faulty lines named one by one; the rest are counted in one more line.
constexpr size_t kGenoemdeFouten = 8;
// The most characters of a line or value repeated in a fault.
constexpr size_t kGetoond = 40;

std::optional<bool> LeesJaNee(std::string_view tekst) {
    std::string klein(tekst);
    std::transform(klein.begin(), klein.end(), klein.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* ja : {"yes", "true", "on", "1"})
        if (klein == ja) return true;
    for (const char* nee : {"no", "false", "off", "0"})
        if (klein == nee) return false;
    return std::nullopt;
}

std::string JaNee(bool waarde) {
    return waarde ? "yes" : "no";
}

std::string Getal(uint32_t waarde) {
    return std::to_string(waarde);
}

// One key of the file: its name, the values it takes (said in a fault), and how its value
// is read into, and written from, the settings.
struct Sleutel {
    std::string_view naam;
    std::string_view neemt;
    bool (*lees)(Instellingen& in, std::string_view tekst);          // false: no such value
    std::optional<std::string> (*schrijf)(const Instellingen& uit);  // empty: not given
};

template <auto veld, auto leesWaarde, auto schrijfWaarde>
constexpr Sleutel MaakSleutel(std::string_view naam, std::string_view neemt) {
    return {naam, neemt,
            [](Instellingen& in, std::string_view tekst) {
                const auto waarde = leesWaarde(tekst);
                if (waarde) in.*veld = waarde;
                return waarde.has_value();
            },
            [](const Instellingen& uit) -> std::optional<std::string> {
                if (!(uit.*veld)) return std::nullopt;
                return schrijfWaarde(*(uit.*veld));
            }};
}

// Every key, in the order the file is written.
constexpr std::array kSleutels = {
    MaakSleutel<&Instellingen::schaal, LeesSchaal, SchaalTekst>(
        "scale", "a whole number from 1, auto or fit"),
    MaakSleutel<&Instellingen::volledigScherm, LeesJaNee, JaNee>("fullscreen", "yes or no"),
    MaakSleutel<&Instellingen::stil, LeesJaNee, JaNee>("mute", "yes or no"),
    MaakSleutel<&Instellingen::volume, LeesVolume, Getal>("volume", "a whole number 0..100"),
};

// The text without the blanks around it; a CRLF line's CR counts as one.
std::string_view Bijgeknipt(std::string_view tekst) {
    constexpr std::string_view kWit = " \t\r";
    const auto begin = tekst.find_first_not_of(kWit);
    if (begin == std::string_view::npos) return {};
    return tekst.substr(begin, tekst.find_last_not_of(kWit) - begin + 1);
}

// A piece of the file quoted in a fault: shortened when long, a CR or tab shown as '?'.
std::string Getoond(std::string_view tekst) {
    std::string getoond(tekst.substr(0, kGetoond));
    std::replace_if(
        getoond.begin(), getoond.end(), [](char c) { return c == '\r' || c == '\t'; }, '?');
    return "'" + getoond + (tekst.size() > kGetoond ? "...'" : "'");
}

bool Stuurteken(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
}

// Why the text as a whole is no settings file, or nothing when it may be one.
std::optional<std::string> Onbruikbaar(std::string_view tekst) {
    if (tekst.size() > kInstellingenMax) {
        return "larger than " + std::to_string(kInstellingenMax / 1024) +
               " KiB, so no settings file: every setting keeps its default";
    }
    if (std::any_of(tekst.begin(), tekst.end(),
                    [](char c) { return Stuurteken(static_cast<unsigned char>(c)); })) {
        return "holds binary data, not key = value lines: every setting keeps its default";
    }
    return std::nullopt;
}

// Reads one line into the settings: the fault, or nothing when the line is sound.
std::optional<std::string> LeesRegel(std::string_view regel, Instellingen& in) {
    const size_t is = regel.find('=');
    if (is == std::string_view::npos) return Getoond(regel) + " is no key = value line";
    const std::string_view naam = Bijgeknipt(regel.substr(0, is));
    const std::string_view waarde = Bijgeknipt(regel.substr(is + 1));
    const auto sleutel = std::find_if(kSleutels.begin(), kSleutels.end(),
                                      [naam](const Sleutel& s) { return s.naam == naam; });
    if (sleutel == kSleutels.end()) return "unknown key " + Getoond(naam) + ", ignored";
    if (sleutel->lees(in, waarde)) return std::nullopt;
    return std::string(naam) + " takes " + std::string(sleutel->neemt) + ", not " +
           Getoond(waarde) + ": it keeps its default";
}

}  // namespace

GelezenInstellingen LeesInstellingen(std::string_view tekst) {
    GelezenInstellingen gelezen;
    if (const auto fout = Onbruikbaar(tekst)) {
        gelezen.fouten.push_back(*fout);
        return gelezen;
    }
    size_t nummer = 0;
    size_t fouten = 0;
    while (!tekst.empty()) {
        const size_t einde = std::min(tekst.find('\n'), tekst.size());
        const std::string_view heel = tekst.substr(0, einde);
        const std::string_view regel = Bijgeknipt(heel.substr(0, heel.find('#')));
        tekst.remove_prefix(std::min(einde + 1, tekst.size()));
        ++nummer;
        if (regel.empty()) continue;
        const auto fout = LeesRegel(regel, gelezen.waarden);
        if (fout && ++fouten <= kGenoemdeFouten)
            gelezen.fouten.push_back("line " + std::to_string(nummer) + ": " + *fout);
    }
    if (fouten > kGenoemdeFouten) {
        gelezen.fouten.push_back(std::to_string(fouten - kGenoemdeFouten) +
                                 " more faulty lines, ignored");
    }
    return gelezen;
}

std::string SchrijfInstellingen(const Instellingen& waarden) {
    std::string tekst =
        "# Zarvok's settings, rewritten by the game: scale (1, 2, ..., auto or fit),\n"
        "# fullscreen and mute (yes or no), volume (0 to 100).\n";
    for (const Sleutel& sleutel : kSleutels) {
        if (const auto waarde = sleutel.schrijf(waarden))
            tekst += std::string(sleutel.naam) + " = " + *waarde + "\n";
    }
    return tekst;
}

std::filesystem::path InstellingenPad(const char* xdgConfigHome, const char* home) {
    const auto absoluut = [](const char* map) { return map != nullptr && map[0] == '/'; };
    if (absoluut(xdgConfigHome))
        return std::filesystem::path(xdgConfigHome) / "zarvok" / "settings";
    if (absoluut(home)) return std::filesystem::path(home) / ".config" / "zarvok" / "settings";
    return {};
}

}  // namespace Zarvok
