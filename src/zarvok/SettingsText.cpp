#include "SettingsText.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "GameWindow.h"
#include "Messages.h"
#include "SoundEffects.h"

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

constexpr std::string_view kWit = " \t\r";  // blanks; a CRLF line's CR counts as one
constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The key of that name; nullptr when there is none.
const Sleutel* ZoekSleutel(std::string_view naam) {
    const auto sleutel = std::find_if(kSleutels.begin(), kSleutels.end(),
                                      [naam](const Sleutel& s) { return s.naam == naam; });
    return sleutel == kSleutels.end() ? nullptr : &*sleutel;
}

// The text without the blanks around it.
std::string_view Bijgeknipt(std::string_view tekst) {
    const auto begin = tekst.find_first_not_of(kWit);
    if (begin == std::string_view::npos) return {};
    return tekst.substr(begin, tekst.find_last_not_of(kWit) - begin + 1);
}

// A line without its comment.
std::string_view Inhoud(std::string_view regel) {
    return regel.substr(0, regel.find('#'));
}

// Takes the next line, without its newline, off the text.
std::string_view NeemRegel(std::string_view& tekst) {
    const size_t einde = std::min(tekst.find('\n'), tekst.size());
    const std::string_view regel = tekst.substr(0, einde);
    tekst.remove_prefix(std::min(einde + 1, tekst.size()));
    return regel;
}

// A piece of the file quoted in a fault: shortened when long, unprintable bytes escaped.
std::string Getoond(std::string_view tekst) {
    std::string getoond = "'";
    for (const char c : tekst.substr(0, kGetoond))
        VoegZichtbaarToe(getoond, static_cast<unsigned char>(c));
    return getoond + (tekst.size() > kGetoond ? "...'" : "'");
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
    const Sleutel* sleutel = ZoekSleutel(naam);
    if (sleutel == nullptr) return "unknown key " + Getoond(naam) + ", ignored";
    if (sleutel->lees(in, waarde)) return std::nullopt;
    return std::string(naam) + " takes " + std::string(sleutel->neemt) + ", not " +
           Getoond(waarde) + ": it keeps its default";
}

// The line with its value set to `waarde`, or nothing when it is no line of the key.
std::optional<std::string> MetWaarde(std::string_view regel, std::string_view naam,
                                     const std::string& waarde) {
    const std::string_view inhoud = Inhoud(regel);
    const size_t is = inhoud.find('=');
    if (is == std::string_view::npos || Bijgeknipt(inhoud.substr(0, is)) != naam)
        return std::nullopt;
    const size_t begin = inhoud.find_first_not_of(kWit, is + 1);
    if (begin == std::string_view::npos)  // no value yet: after the '=', before the rest
        return std::string(regel.substr(0, is + 1)) + " " + waarde +
               std::string(regel.substr(is + 1));
    const size_t einde = inhoud.find_last_not_of(kWit) + 1;
    return std::string(regel.substr(0, begin)) + waarde + std::string(regel.substr(einde));
}

// The text with every line of the key set to the value; false when it has no such line.
bool ZetInRegels(std::string& tekst, std::string_view naam, const std::string& waarde) {
    std::string_view rest = tekst;
    std::string uit(rest.starts_with(kBom) ? kBom : "");
    rest.remove_prefix(uit.size());
    bool gevonden = false;
    while (!rest.empty()) {
        const bool heel = rest.find('\n') != std::string_view::npos;
        const std::string_view regel = NeemRegel(rest);
        const auto nieuw = MetWaarde(regel, naam, waarde);
        gevonden = gevonden || nieuw.has_value();
        uit += nieuw ? *nieuw : std::string(regel);
        if (heel) uit += '\n';
    }
    tekst = std::move(uit);
    return gevonden;
}

}  // namespace

GelezenInstellingen LeesInstellingen(std::string_view tekst) {
    GelezenInstellingen gelezen;
    if (const auto fout = Onbruikbaar(tekst)) {
        gelezen.fouten.push_back(*fout);
        gelezen.geweigerd = true;
        return gelezen;
    }
    if (tekst.starts_with(kBom)) tekst.remove_prefix(kBom.size());
    size_t nummer = 0;
    size_t fouten = 0;
    while (!tekst.empty()) {
        const std::string_view regel = Bijgeknipt(Inhoud(NeemRegel(tekst)));
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

std::string SchrijfInstellingen(const Instellingen& waarden, std::string_view oud) {
    std::string tekst(oud.empty() ? "# Zarvok's settings: scale (1, 2, ..., auto or fit),\n"
                                    "# fullscreen and mute (yes or no), volume (0 to 100).\n"
                                  : oud);
    for (const Sleutel& sleutel : kSleutels) {
        const auto waarde = sleutel.schrijf(waarden);
        if (!waarde || ZetInRegels(tekst, sleutel.naam, *waarde)) continue;
        if (!tekst.empty() && !tekst.ends_with('\n')) tekst += '\n';
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
