#include "Level.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "Messages.h"
#include "Vuderiv.h"

namespace Zarvok {

namespace {

constexpr int64_t kCodes = int64_t{kRijen} * kKolommen;  // codes in a level file
constexpr size_t kGetoond = 24;  // characters of a refused item shown in a message
constexpr uint64_t kGrootste = std::numeric_limits<uint32_t>::max();
// The most bytes a level file may hold: a level is a few kilobytes, and a larger file
// (40 GB of zero bytes, say) would keep the set-up reading instead of answering a close.
constexpr uint64_t kGrootsteBestand = uint64_t{1} << 20;

bool Scheiding(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 26;
}

bool Cijfer(int c) {
    return c >= '0' && c <= '9';
}

// One item of the text: the characters to show, and the value of its leading digits.
struct Item {
    std::string getoond;    // its first characters, unprintable ones escaped
    bool afgekapt = false;  // longer than what is shown
    uint64_t waarde = 0;    // leading digits after an optional sign, kGrootste + 1 above
    bool inCijfers = true;  // still reading the leading digits
    bool gewoon = true;     // digits alone so far, after at most a "+"
    bool leeg = true;       // nothing after the sign yet
};

// Digits after at most a "+": what a level file is meant to hold.
bool GewoonGetal(const Item& item) {
    return item.gewoon && !item.leeg;
}

void Toon(Item& item, size_t positie, int c) {
    if (positie >= kGetoond) {
        item.afgekapt = true;
    } else {
        VoegZichtbaarToe(item.getoond, static_cast<unsigned char>(c));
    }
}

void Neem(Item& item, size_t positie, int c) {
    Toon(item, positie, c);
    if (positie == 0 && (c == '+' || c == '-')) {
        item.gewoon = c == '+';
        return;
    }
    item.leeg = false;
    item.gewoon = item.gewoon && Cijfer(c);
    if (!item.inCijfers || !Cijfer(c)) {
        item.inCijfers = false;
        return;
    }
    item.waarde = item.waarde * 10 + static_cast<uint64_t>(c - '0');
    if (item.waarde > kGrootste) item.waarde = kGrootste + 1;
}

// The next item of the text; false at its end.
bool LeesItem(std::streambuf& bron, Item& item) {
    using Traits = std::streambuf::traits_type;
    Traits::int_type c = bron.sbumpc();
    while (c != Traits::eof() && Scheiding(c))
        c = bron.sbumpc();
    if (c == Traits::eof()) return false;
    item = Item{};
    for (size_t positie = 0; c != Traits::eof() && !Scheiding(c); ++positie) {
        Neem(item, positie, c);
        c = bron.sbumpc();
    }
    return true;
}

std::string Getoond(const Item& item) {
    return "\"" + item.getoond + (item.afgekapt ? "..." : "") + "\"";
}

// Why an item cannot stand in a level, or nothing when it is a tile code.
std::optional<std::string> Weigering(const Item& item) {
    if (item.waarde > kGrootste) return Getoond(item) + " is a number above 4294967295";
    if (item.waarde > GROND) {
        return Getoond(item) + " is not a tile code: use 0 (sky), 1 (brick) or 2 (ground)";
    }
    return std::nullopt;
}

// How an item that is no plain number is read.
std::string Vreemd(const Item& item) {
    static const char* const kTegels[] = {"sky", "brick", "ground"};
    return Getoond(item) + " is not a plain number: read as " + std::to_string(item.waarde) + " (" +
           kTegels[item.waarde] + ")";
}

// Counts an item read into the grid, and notes it when it is no plain number.
void Noteer(LevelOpmerkingen* opmerkingen, const Item& item, uint32_t rij, uint32_t kolom,
            const std::string& naam) {
    if (opmerkingen == nullptr) return;
    ++opmerkingen->items;
    if (!GewoonGetal(item)) opmerkingen->vreemd.push_back({rij, kolom, Vreemd(item), naam});
}

LevelProblem TeGroot(const std::string& pad, const std::string& bytes) {
    return {0, 0,
            "cannot be used: it holds " + bytes + " bytes, more than any level (" +
                std::to_string(kGrootsteBestand) + " at most)",
            pad};
}

uint32_t Laad(const Beeld& beeld) {
    return Vuderiv::LoadBitmap(beeld.bestand, beeld.breedte, beeld.hoogte);
}

// A tile image, loaded the first time and kept under its handle from then on.
void LaadEenmaal(int64_t element, const Beeld& beeld) {
    if (Bitmaps[element] == 0) Bitmaps[element] = Laad(beeld);
}

void LaadSprites() {
    Bitmaps[BMP_KOGEL_LINKS] = Laad(kKogelLinksBeeld);
    Bitmaps[BMP_KOGEL_RECHTS] = Laad(kKogelRechtsBeeld);
    Bmps_manneke[BMP_KIJKLINKS] = Laad(kMannekeLinksBeeld);
    Bmps_manneke[BMP_KIJKRECHTS] = Laad(kMannekeRechtsBeeld);
    Bmps_vijand[BMP_KIJKLINKS] = Laad(kVijandLinksBeeld);
    Bmps_vijand[BMP_KIJKRECHTS] = Laad(kVijandRechtsBeeld);
    Bmps_vijand[BMP_ONTPLOFT] = Laad(kOntploftBeeld);
}

void StartPositie() {
    Manneke.Huidigepos_x = kSpelerStart[Levelvar].x;
    Manneke.Huidigepos_y = kSpelerStart[Levelvar].y;
    if (Levelvar == LEVEL1) {
        Manneke.Levens = 100;
        Manneke.Wapen = NORMAL_GUN;
        Highscore = 0;
    }
    Resterende_vijanden = kAantalVijanden;
}

}  // namespace

std::string LevelProblem::Bericht() const {
    if (rij == 0) return bestand + ": " + text;
    return bestand + ", row " + std::to_string(rij) + ", column " + std::to_string(kolom) + ": " +
           text;
}

LevelFileError::LevelFileError(const LevelProblem& fout) : std::runtime_error(fout.Bericht()) {}

std::optional<LevelProblem> LeesLevel(std::istream& invoer, const std::string& naam,
                                      BACKGROUND& grid, LevelOpmerkingen* opmerkingen) {
    BACKGROUND gelezen{};
    std::streambuf* bron = invoer.rdbuf();
    Item item;
    for (int64_t k = 0; k < kCodes && bron != nullptr && LeesItem(*bron, item); ++k) {
        const auto rij = static_cast<uint32_t>(k / kKolommen + 1);
        const auto kolom = static_cast<uint32_t>(k % kKolommen + 1);
        if (auto weigering = Weigering(item)) return LevelProblem{rij, kolom, *weigering, naam};
        Noteer(opmerkingen, item, rij, kolom, naam);
        gelezen[rij][kolom] = static_cast<uint32_t>(item.waarde);
    }
    grid = gelezen;
    return std::nullopt;
}

std::optional<LevelProblem> LeesLevelBestand(const std::string& pad, BACKGROUND& grid,
                                             LevelOpmerkingen* opmerkingen) {
    std::error_code ec;
    const auto soort = std::filesystem::status(pad, ec).type();
    if (soort == std::filesystem::file_type::directory) {
        return LevelProblem{0, 0, "cannot be opened: it is a directory", pad};
    }
    // A device or a pipe may never end (/dev/zero would be read for ever): plain files only.
    if (!ec && soort != std::filesystem::file_type::regular) {
        return LevelProblem{0, 0, "cannot be opened: it is not a plain file", pad};
    }
    const uint64_t grootte = std::filesystem::file_size(pad, ec);
    if (!ec && grootte > kGrootsteBestand) return TeGroot(pad, std::to_string(grootte));
    std::ifstream bestand(pad, std::ios::binary);
    if (!bestand) {
        return LevelProblem{0, 0, std::string("cannot be opened: ") + std::strerror(errno), pad};
    }
    // At most one byte past the bound is read, should the file grow meanwhile.
    std::string tekst(kGrootsteBestand + 1, '\0');
    bestand.read(tekst.data(), static_cast<std::streamsize>(tekst.size()));
    tekst.resize(static_cast<size_t>(bestand.gcount()));
    if (tekst.size() > kGrootsteBestand)
        return TeGroot(pad, "at least " + std::to_string(tekst.size()));
    std::istringstream invoer(std::move(tekst));
    return LeesLevel(invoer, pad, grid, opmerkingen);
}

const char* LevelBestand(NUMBER_OF_LEVEL level) {
    return level == LEVEL1 ? "level1.txt" : "level2.txt";
}

void LoadBackground() {
    BACKGROUND grid;
    if (auto fout = LeesLevelBestand(LevelBestand(Levelvar), grid)) throw LevelFileError(*fout);
    LaadEenmaal(BMP_LUCHT, kLuchtBeeld);
    LaadEenmaal(BMP_BAKSTEEN, kBaksteenBeeld);
    LaadEenmaal(BMP_GROND, kGrondBeeld);
    Background = grid;
}

void Settings() {
    if (Eerstekeer) {
        LaadSprites();
        Eerstekeer = false;
    }
    StartPositie();
    for (uint32_t i = 1; i <= Array_index_vijanden; ++i)
        Vijanden_ar[i].DoodEnGetekend = false;
    for (int64_t i = KOGELS_AR::kFirst; i <= KOGELS_AR::kLast; ++i)
        Kogels[i].Status = DEAD;
    LoadBackground();
    Manneke.Sprong = NIHIL;
    Manneke.Val = false;
    Meter_vijand_app = 0;
    Array_index_vijanden = 0;
    Teller_spring = 1;
    Delta_vijand_app = 50;
}

}  // namespace Zarvok
