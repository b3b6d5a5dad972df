// The settings file on disk: read at the start; when the player toggles fullscreen or
// mute in the game, that key's line is changed in it, so the choice holds for the next run.
#pragma once

#include <filesystem>
#include <string>

#include "SettingsText.h"

namespace Zarvok {

// Where this run's settings file lives, by XDG_CONFIG_HOME and HOME (see InstellingenPad).
std::filesystem::path EigenInstellingenPad();

// Reads the settings file. A missing file, or an empty path, gives no values silently;
// anything else wrong (unreadable, not a plain file, too large, bad content) writes one
// line per fault on standard error naming the file, and leaves those values out.
Instellingen LaadInstellingen(const std::filesystem::path& bestand);

// Sets the values given in the settings file on disk: reads it anew and changes only the
// lines of those keys (see SchrijfInstellingen), then puts the text in place of the file
// the path names, links followed, through a temporary file beside it renamed over it; the
// folder is made when missing. False, with the reason, when the file cannot be read, holds
// no settings the game can read, or cannot be written: it is then left as it was.
bool BewaarInstellingen(const std::filesystem::path& bestand, const Instellingen& waarden,
                        std::string& reden);

// From now on each fullscreen toggle by a window key, and each OnthoudStil, is a wish for
// the file; BewaarWensen writes them, and each pass of a menu calls it. An empty path
// remembers nothing.
void OnthoudInstellingen(const std::filesystem::path& bestand);

// Records the mute toggled in the game (any thread); nothing before OnthoudInstellingen.
void OnthoudStil(bool stil);

// Records the fullscreen toggled in the game (any thread); Vuderiv calls it for a window
// key once OnthoudInstellingen has run.
void OnthoudVolledigScherm(bool aan);

// Writes the toggles recorded since the last call into the file (program thread). The
// first toggle that cannot be written says so in one line, and is forgotten; later ones
// are tried again. The game goes on either way.
void BewaarWensen();

}  // namespace Zarvok
