// soundgen: makes every sound effect of the game from its readable description.
//
//   soundgen SOUNDS_FILE OUT_DIR
//
// reads SOUNDS_FILE (see Script.h) and writes each sound it describes as OUT_DIR/NAME.wav.
// The same description always gives byte-identical files.
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "Script.h"
#include "Wav.h"

namespace {

int Generate(const std::string& file, const std::string& outDir) {
    const std::vector<Soundgen::Sound> sounds = Soundgen::ReadSounds(file);
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    for (const Soundgen::Sound& sound : sounds) {
        const std::string path = outDir + "/" + sound.name;
        std::ofstream out(path, std::ios::binary);
        out << Soundgen::WavFile(Soundgen::Render(sound), Soundgen::kRate);
        if (!out.flush()) {
            std::cerr << "soundgen: cannot write " << path << ": " << std::strerror(errno) << "\n";
            return 1;
        }
    }
    std::cout << "soundgen: " << sounds.size() << " sounds written to " << outDir << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: soundgen SOUNDS_FILE OUT_DIR\n";
        return 2;
    }
    try {
        return Generate(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "soundgen: " << e.what() << "\n";
        return 1;
    }
}
