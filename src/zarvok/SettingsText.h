// The player's standing choices as the settings file writes them: `key = value` lines
// with the keys scale, fullscreen, mute and volume. Reading and writing the text only;
// SettingsFile.h reads and writes the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Zarvok {

// What a settings file gives, key by key; a value it does not give stays empty.
struct Instellingen {
    std::optional<uint32_t> schaal;      // scale: 1 up, 0 for auto, or fit (GameWindow.h)
    std::optional<bool> volledigScherm;  // fullscreen
    std::optional<bool> stil;            // mute
    std::optional<uint32_t> volume;      // volume: 0..100
    bool operator==(const Instellingen&) const = default;
};

// The values read from a settings file's text, and one line for each fault in it.
struct GelezenInstellingen {
    Instellingen waarden;
    std::vector<std::string> fouten;  // what is wrong, without the file's name
    bool geweigerd = false;           // the text as a whole is no settings file
};

// The most bytes a settings file may hold; a larger one is no settings file.
constexpr size_t kInstellingenMax = 64 * 1024;

// Reads the text of a settings file: a UTF-8 byte-order mark at its start is skipped, a #
// starts a comment to the end of its line, blank lines are skipped, the last line may lack
// its newline, a key given twice counts as last given. A text holding control characters
// (a NUL, say) or more than kInstellingenMax bytes is refused: no values and one fault; a
// line that is no `key = value`, an unknown key or a value the key does not take gives one
// fault and leaves that key to the default. A fault shows unprintable bytes as \xHH.
GelezenInstellingen LeesInstellingen(std::string_view tekst);

// The settings file's text `oud` with each value given set: the value on every line of its
// key is replaced, its comment kept; a key with no line gets one at the end. Every other
// byte stays as it stands. From an empty text: a comment, then a line for each value.
std::string SchrijfInstellingen(const Instellingen& waarden, std::string_view oud = {});

// Where the settings file lives: zarvok/settings in XDG_CONFIG_HOME when that is an
// absolute path, else in .config of HOME when that is one; empty when neither is.
std::filesystem::path InstellingenPad(const char* xdgConfigHome, const char* home);

}  // namespace Zarvok
