#include "Script.h"

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "Errors.h"

namespace Soundgen {

namespace {

constexpr double kMaxSeconds = 10;
constexpr double kMaxPitch = kRate;  // Hz

const std::map<std::string, Wave> kWaves = {
    {"sine", Wave::Sine}, {"square", Wave::Square}, {"triangle", Wave::Triangle},
    {"saw", Wave::Saw},   {"noise", Wave::Noise},
};

// The words of one line, read from the front, with the place to name in a fault.
class Line {
public:
    Line(const std::string& where, const std::string& text) : where_(where), in_(text) {}
    [[noreturn]] void Fail(const std::string& what) const {
        throw Artgen::SourceError(where_, what);
    }
    bool Next(std::string& word) { return static_cast<bool>(in_ >> word); }
    std::string Word(const char* what) {
        std::string word;
        if (!Next(word)) Fail(std::string("missing ") + what);
        return word;
    }
    // A number in [low, high].
    double Number(const char* what, double low, double high) {
        const std::string word = Word(what);
        size_t used = 0;
        double value = 0;
        try {
            value = std::stod(word, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != word.size() || !std::isfinite(value)) Fail("not a number: " + word);
        if (value < low || value > high) Fail(std::string(what) + " out of range: " + word);
        return value;
    }
    // The next word when it is a number, else nothing consumed.
    bool PeekNumber() {
        const auto at = in_.tellg();
        std::string word;
        const bool number = Next(word) && !word.empty() &&
                            (std::isdigit(static_cast<unsigned char>(word[0])) || word[0] == '.');
        in_.clear();
        in_.seekg(at);
        return number;
    }

private:
    std::string where_;
    std::istringstream in_;
};

void ReadKey(Line& line, const std::string& key, Voice& v, double soundLength) {
    if (key == "at") {
        v.at = line.Number("start", 0, soundLength);
    } else if (key == "for") {
        v.length = line.Number("length", 0.001, kMaxSeconds);
    } else if (key == "pitch") {
        v.pitchFrom = v.pitchTo = line.Number("pitch", 1, kMaxPitch);
        if (line.PeekNumber()) v.pitchTo = line.Number("pitch", 1, kMaxPitch);
    } else if (key == "volume") {
        v.volume = line.Number("volume", 0, 1);
    } else if (key == "attack") {
        v.attack = line.Number("attack", 0, kMaxSeconds);
    } else if (key == "decay") {
        v.halfLife = line.Number("decay", 0.0001, kMaxSeconds);
    } else if (key == "release") {
        v.release = line.Number("release", 0, kMaxSeconds);
    } else if (key == "seed") {
        v.seed = static_cast<uint32_t>(line.Number("seed", 1, 4294967295.0));
    } else {
        line.Fail("unknown voice setting: " + key);
    }
}

Voice ReadVoice(Line& line, Wave wave, double soundLength) {
    Voice v;
    v.wave = wave;
    if (wave == Wave::Noise) v.pitchFrom = v.pitchTo = kRate;
    for (std::string key; line.Next(key);)
        ReadKey(line, key, v, soundLength);
    return v;
}

Sound ReadHeading(Line& line, std::set<std::string>& names) {
    Sound sound;
    sound.name = line.Word("file name");
    if (sound.name.size() < 5 || !sound.name.ends_with(".wav") ||
        sound.name.find('/') != std::string::npos) {
        line.Fail("not a plain NAME.wav: " + sound.name);
    }
    if (!names.insert(sound.name).second) line.Fail("sound made twice: " + sound.name);
    sound.length = line.Number("sound length", 0.001, kMaxSeconds);
    std::string extra;
    if (line.Next(extra)) line.Fail("unexpected " + extra);
    return sound;
}

}  // namespace

std::vector<Sound> ReadSounds(const std::string& file) {
    std::ifstream in(file);
    const std::string name = file.substr(file.find_last_of('/') + 1);
    if (!in) throw Artgen::SourceError(name, "cannot open the file");
    std::vector<Sound> sounds;
    std::set<std::string> names;
    int number = 0;
    for (std::string text; std::getline(in, text);) {
        Line line(name + ":" + std::to_string(++number), text);
        std::string command;
        if (!line.Next(command) || command[0] == '#') continue;
        if (command == "sound") {
            sounds.push_back(ReadHeading(line, names));
        } else if (const auto wave = kWaves.find(command); wave != kWaves.end()) {
            if (sounds.empty()) line.Fail("no sound started");
            sounds.back().voices.push_back(ReadVoice(line, wave->second, sounds.back().length));
        } else {
            line.Fail("unknown command: " + command);
        }
    }
    return sounds;
}

}  // namespace Soundgen
