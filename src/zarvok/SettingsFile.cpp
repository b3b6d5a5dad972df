#include "SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

#include "Messages.h"
#include "StandardMenu.h"
#include "Vuderiv.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace Zarvok {

namespace fs = std::filesystem;

namespace {

// The most symbolic links followed to the settings file's target.
constexpr int kLinkDiepte = 40;

// An open file descriptor, closed when it goes.
class Bestand {
public:
    explicit Bestand(int fd) : fd_(fd) {}
    ~Bestand() {
        if (fd_ >= 0) close(fd_);
    }
    Bestand(const Bestand&) = delete;
    Bestand& operator=(const Bestand&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

// SIGXFSZ ignored while it lives: over a file-size limit (ulimit -f) a write then fails
// with EFBIG instead of ending the game.
class ZonderXfsz {
public:
    ZonderXfsz() {
        struct sigaction negeer {};
        negeer.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &negeer, &oud_);
    }
    ~ZonderXfsz() { sigaction(SIGXFSZ, &oud_, nullptr); }
    ZonderXfsz(const ZonderXfsz&) = delete;
    ZonderXfsz& operator=(const ZonderXfsz&) = delete;

private:
    struct sigaction oud_ {};
};

void MeldOver(const fs::path& bestand, const std::string& wat) {
    Meld("Zarvok: " + bestand.string() + ": " + wat);
}

std::string Reden(int fout) {
    return strerror(fout);
}

// The file's text, at most one byte more than a settings file may hold; "" when it is
// missing; nothing, with the reason, when it cannot be read or is no plain file.
std::optional<std::string> LeesTekst(const fs::path& bestand, std::string& reden) {
    // Non-blocking: a FIFO named settings must not hold up the game.
    const Bestand invoer(open(bestand.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (invoer.Fd() < 0 && errno == ENOENT) return std::string();
    if (invoer.Fd() < 0) {
        reden = "cannot be read: " + Reden(errno);
        return std::nullopt;
    }
    struct stat status {};
    if (fstat(invoer.Fd(), &status) != 0 || !S_ISREG(status.st_mode)) {
        reden = "is not a plain file";
        return std::nullopt;
    }
    std::string tekst(kInstellingenMax + 1, '\0');
    size_t gelezen = 0;
    while (gelezen < tekst.size()) {
        const ssize_t stuk = read(invoer.Fd(), tekst.data() + gelezen, tekst.size() - gelezen);
        if (stuk == 0) break;
        if (stuk < 0 && errno == EINTR) continue;
        if (stuk < 0) {
            reden = "cannot be read: " + Reden(errno);
            return std::nullopt;
        }
        gelezen += static_cast<size_t>(stuk);
    }
    tekst.resize(gelezen);
    return tekst;
}

// In a browser the settings folder lies in the page's storage, which takes the new file
// once it is in place.
void SchrijfDoor() {
#ifdef __EMSCRIPTEN__
    emscripten_run_script(
        "FS.syncfs(false, e => { if (e) console.error('Zarvok: the settings are not stored: ' + "
        "e); });");
#endif
}

// Writes all of the text: 0, or the error number of the write that failed.
int SchrijfAlles(int fd, const std::string& tekst) {
    size_t geschreven = 0;
    while (geschreven < tekst.size()) {
        const ssize_t stuk = write(fd, tekst.data() + geschreven, tekst.size() - geschreven);
        if (stuk < 0 && errno == EINTR) continue;
        if (stuk < 0) return errno;
        if (stuk == 0) return EIO;  // a write that writes nothing says no more
        geschreven += static_cast<size_t>(stuk);
    }
    return 0;
}

// Writes the text to a file made anew at `pad`, through to the disk, with the access bits
// given, else the usual ones within the umask: 0, or the error number of the step that failed.
int SchrijfNieuw(const fs::path& pad, const std::string& tekst, std::optional<mode_t> modus) {
    const Bestand uitvoer(
        open(pad.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (uitvoer.Fd() < 0 || (modus && fchmod(uitvoer.Fd(), *modus) != 0)) return errno;
    if (const int fout = SchrijfAlles(uitvoer.Fd(), tekst); fout != 0) return fout;
    if (fsync(uitvoer.Fd()) != 0) return errno;
    return 0;
}

// The access bits of the file, or nothing when it is missing.
std::optional<mode_t> Modus(const fs::path& doel) {
    struct stat status {};
    if (stat(doel.c_str(), &status) != 0) return std::nullopt;
    return status.st_mode & 07777;
}

// The file the path names once its symbolic links are followed; the last may dangle.
fs::path Doel(fs::path pad) {
    std::error_code fout;
    for (int i = 0; i < kLinkDiepte && fs::is_symlink(pad, fout); ++i) {
        const fs::path naar = fs::read_symlink(pad, fout);
        if (fout) break;
        pad = naar.is_absolute() ? naar : pad.parent_path() / naar;
    }
    return pad;
}

// The process id in the name of a temporary file `<file>.<pid>.new`, or 0.
pid_t TijdelijkVan(const std::string& naam, const std::string& bestand) {
    const std::string voor = bestand + ".";
    constexpr std::string_view kNa = ".new";
    if (naam.size() <= voor.size() + kNa.size() || !naam.starts_with(voor) || !naam.ends_with(kNa))
        return 0;
    const std::string getal = naam.substr(voor.size(), naam.size() - voor.size() - kNa.size());
    if (getal.size() > 9 ||
        !std::all_of(getal.begin(), getal.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return static_cast<pid_t>(std::stol(getal));
}

// Removes the temporary files beside the file that a write ended half-way left behind:
// those named by a process id that no process has.
void RuimOp(const fs::path& doel) {
    std::error_code fout;
    for (fs::directory_iterator item(doel.parent_path(), fout), einde; !fout && item != einde;
         item.increment(fout)) {
        const pid_t pid = TijdelijkVan(item->path().filename(), doel.filename());
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH) unlink(item->path().c_str());
    }
}

// The text put in place of the target's through a temporary file beside it: 0, or the
// error number of the step that failed.
int Vervang(const fs::path& doel, const std::string& tekst) {
    RuimOp(doel);
    const fs::path tijdelijk = doel.string() + "." + std::to_string(getpid()) + ".new";
    const ZonderXfsz zonderXfsz;
    int fout = SchrijfNieuw(tijdelijk, tekst, Modus(doel));
    if (fout == 0 && rename(tijdelijk.c_str(), doel.c_str()) != 0) fout = errno;
    if (fout != 0) unlink(tijdelijk.c_str());
    return fout;
}

// What the player asked the game to remember. The window thread records a toggle; the
// program thread writes it.
struct Geheugen {
    std::mutex slot;      // guards bestand and wensen
    fs::path bestand;     // the settings file; program thread (OnthoudInstellingen)
    Instellingen wensen;  // toggles not written yet; any thread
    bool gemeld = false;  // a toggle not remembered was said; program thread only
};

Geheugen& geheugen() {
    static Geheugen g;
    return g;
}

template <typename T>
void Wens(std::optional<T> Instellingen::*veld, T waarde) {
    Geheugen& g = geheugen();
    std::lock_guard<std::mutex> lock(g.slot);
    if (!g.bestand.empty()) g.wensen.*veld = waarde;
}

}  // namespace

fs::path EigenInstellingenPad() {
    return InstellingenPad(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

Instellingen LaadInstellingen(const fs::path& bestand) {
    if (bestand.empty()) return {};
    std::string reden;
    const std::optional<std::string> tekst = LeesTekst(bestand, reden);
    if (!tekst) {
        MeldOver(bestand, reden + ", so no settings are read from it");
        return {};
    }
    const GelezenInstellingen gelezen = LeesInstellingen(*tekst);
    for (const std::string& fout : gelezen.fouten)
        MeldOver(bestand, fout);
    return gelezen.waarden;
}

bool BewaarInstellingen(const fs::path& bestand, const Instellingen& waarden, std::string& reden) {
    const std::optional<std::string> oud = LeesTekst(bestand, reden);
    if (!oud) return false;
    if (LeesInstellingen(*oud).geweigerd) {
        reden = "holds no settings the game can read, so it is left as it is";
        return false;
    }
    const fs::path doel = Doel(bestand);
    std::error_code mapFout;
    fs::create_directories(doel.parent_path(), mapFout);
    if (mapFout) {
        reden = "its folder cannot be made: " + mapFout.message();
        return false;
    }
    const int fout = Vervang(doel, SchrijfInstellingen(waarden, *oud));
    if (fout != 0) reden = "cannot be written: " + Reden(fout);
    if (fout == 0) SchrijfDoor();
    return fout == 0;
}

void OnthoudInstellingen(const fs::path& bestand) {
    {
        Geheugen& g = geheugen();
        std::lock_guard<std::mutex> lock(g.slot);
        g.bestand = bestand;
        g.wensen = {};
        g.gemeld = false;
    }
    Vuderiv::OnFullscreenKey(bestand.empty() ? nullptr : OnthoudVolledigScherm);
    StandardMenu::OnMenuPass(bestand.empty() ? nullptr : BewaarWensen);
}

void OnthoudStil(bool stil) {
    Wens(&Instellingen::stil, stil);
}

void OnthoudVolledigScherm(bool aan) {
    Wens(&Instellingen::volledigScherm, aan);
}

void BewaarWensen() {
    Geheugen& g = geheugen();
    fs::path bestand;
    Instellingen wensen;
    {
        std::lock_guard<std::mutex> lock(g.slot);
        if (g.wensen == Instellingen{}) return;
        bestand = g.bestand;
        wensen = std::exchange(g.wensen, {});
    }
    std::string reden;
    if (BewaarInstellingen(bestand, wensen, reden) || g.gemeld) return;
    g.gemeld = true;
    MeldOver(bestand, reden + "; the toggle is not remembered");
}

}  // namespace Zarvok
