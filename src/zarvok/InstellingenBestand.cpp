#include "InstellingenBestand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

#include "Melding.h"
#include "Vuderiv.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace Zarvok {

namespace fs = std::filesystem;

namespace {

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

void MeldOver(const fs::path& bestand, const std::string& wat) {
    Meld("Zarvok: " + bestand.string() + ": " + wat);
}

// The file's text, at most one byte more than a settings file may hold; nothing when it
// is missing (silent) or cannot be read (said).
std::optional<std::string> LeesTekst(const fs::path& bestand) {
    // Non-blocking: a FIFO named settings must not hold up the start.
    const Bestand invoer(open(bestand.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (invoer.Fd() < 0) {
        if (errno != ENOENT) MeldOver(bestand, std::string("cannot be read: ") + strerror(errno));
        return std::nullopt;
    }
    struct stat status {};
    if (fstat(invoer.Fd(), &status) != 0 || !S_ISREG(status.st_mode)) {
        MeldOver(bestand, "is not a plain file, so no settings are read from it");
        return std::nullopt;
    }
    std::string tekst(kInstellingenMax + 1, '\0');
    size_t gelezen = 0;
    while (gelezen < tekst.size()) {
        const ssize_t stuk = read(invoer.Fd(), tekst.data() + gelezen, tekst.size() - gelezen);
        if (stuk == 0) break;
        if (stuk < 0 && errno == EINTR) continue;
        if (stuk < 0) {
            MeldOver(bestand, std::string("cannot be read: ") + strerror(errno));
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

bool SchrijfAlles(int fd, const std::string& tekst) {
    size_t geschreven = 0;
    while (geschreven < tekst.size()) {
        const ssize_t stuk = write(fd, tekst.data() + geschreven, tekst.size() - geschreven);
        if (stuk < 0 && errno == EINTR) continue;
        if (stuk <= 0) return false;
        geschreven += static_cast<size_t>(stuk);
    }
    return true;
}

// Writes the text to a file made anew at `pad`, through to the disk: 0, or the error
// number of the step that failed.
int SchrijfNieuw(const fs::path& pad, const std::string& tekst) {
    const Bestand uitvoer(
        open(pad.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666));
    errno = EIO;  // a write that writes nothing says no more
    if (uitvoer.Fd() < 0 || !SchrijfAlles(uitvoer.Fd(), tekst) || fsync(uitvoer.Fd()) != 0)
        return errno;
    return 0;
}

// What the game remembers: the file and the values it holds. Set on the program thread
// before the window keys can change it; the window thread changes it on a toggle.
struct Geheugen {
    std::mutex slot;  // guards every field below
    fs::path bestand;
    Instellingen waarden;
    bool gemeld = false;  // a failed write was reported
};

Geheugen& geheugen() {
    static Geheugen g;
    return g;
}

template <typename T>
void Onthoud(std::optional<T> Instellingen::*veld, T waarde) {
    Geheugen& g = geheugen();
    std::lock_guard<std::mutex> lock(g.slot);
    if (g.bestand.empty()) return;
    g.waarden.*veld = waarde;
    std::string reden;
    if (BewaarInstellingen(g.bestand, g.waarden, reden) || g.gemeld) return;
    g.gemeld = true;
    MeldOver(g.bestand, "cannot be written (" + reden + "), so the settings are not remembered");
}

}  // namespace

fs::path EigenInstellingenPad() {
    return InstellingenPad(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

Instellingen LaadInstellingen(const fs::path& bestand) {
    if (bestand.empty()) return {};
    const std::optional<std::string> tekst = LeesTekst(bestand);
    if (!tekst) return {};
    const GelezenInstellingen gelezen = LeesInstellingen(*tekst);
    for (const std::string& fout : gelezen.fouten)
        MeldOver(bestand, fout);
    return gelezen.waarden;
}

bool BewaarInstellingen(const fs::path& bestand, const Instellingen& waarden, std::string& reden) {
    std::error_code mapFout;
    fs::create_directories(bestand.parent_path(), mapFout);
    if (mapFout) {
        reden = "its folder cannot be made: " + mapFout.message();
        return false;
    }
    const fs::path tijdelijk = bestand.string() + "." + std::to_string(getpid()) + ".new";
    int fout = SchrijfNieuw(tijdelijk, SchrijfInstellingen(waarden));
    if (fout == 0 && rename(tijdelijk.c_str(), bestand.c_str()) == 0) {
        SchrijfDoor();
        return true;
    }
    if (fout == 0) fout = errno;
    reden = strerror(fout);
    unlink(tijdelijk.c_str());
    return false;
}

void OnthoudInstellingen(const fs::path& bestand, const Instellingen& uitBestand) {
    {
        Geheugen& g = geheugen();
        std::lock_guard<std::mutex> lock(g.slot);
        g.bestand = bestand;
        g.waarden = uitBestand;
        g.gemeld = false;
    }
    Vuderiv::OnFullscreenKey(bestand.empty() ? nullptr : OnthoudVolledigScherm);
}

void OnthoudStil(bool stil) {
    Onthoud(&Instellingen::stil, stil);
}

void OnthoudVolledigScherm(bool aan) {
    Onthoud(&Instellingen::volledigScherm, aan);
}

}  // namespace Zarvok
