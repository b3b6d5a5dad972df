// The settings file on disk: read once at the start, rewritten whole when the player
// toggles fullscreen or mute in the game, so the choice holds for the next run.
#pragma once

#include <filesystem>
#include <string>

#include "Instellingen.h"

namespace Zarvok {

// Where this run's settings file lives, by XDG_CONFIG_HOME and HOME (see InstellingenPad).
std::filesystem::path EigenInstellingenPad();

// Reads the settings file. A missing file, or an empty path, gives no values silently;
// anything else wrong (unreadable, not a plain file, too large, bad content) writes one
// line per fault on standard error naming the file, and leaves those values out.
Instellingen LaadInstellingen(const std::filesystem::path& bestand);

// Writes the settings file whole: the text goes to a temporary file beside it, which is
// then renamed over it; the folder is made first when missing. False, with the reason,
// when that fails (the old file, if any, is left as it was).
bool BewaarInstellingen(const std::filesystem::path& bestand, const Instellingen& waarden,
                        std::string& reden);

// From now on each fullscreen toggle by a window key, and each OnthoudStil, rewrites the
// file: `uitBestand` with the toggled value changed. The run's command-line options are
// not in it, so they are never written. An empty path remembers nothing. The first write
// that fails says so in one line; nothing is remembered then, and the game goes on.
void OnthoudInstellingen(const std::filesystem::path& bestand, const Instellingen& uitBestand);

// Remembers the mute toggled in the game (any thread); nothing before OnthoudInstellingen.
void OnthoudStil(bool stil);

// Remembers the fullscreen toggled in the game (any thread); Vuderiv calls it for a
// window key once OnthoudInstellingen has run.
void OnthoudVolledigScherm(bool aan);

}  // namespace Zarvok
