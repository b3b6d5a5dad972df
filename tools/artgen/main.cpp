// artgen: makes every picture of the game from the readable sources in the art folder.
//
//   artgen ART_DIR OUT_DIR
//
// runs ART_DIR/images.txt and writes each picture it describes as OUT_DIR/NAME. The same
// sources always give byte-identical files.
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>

#include "Bmp.h"
#include "Script.h"

namespace {

constexpr const char* kMainScript = "images.txt";

int Generate(const std::string& artDir, const std::string& outDir) {
    const std::vector<Artgen::NamedImage> images = Artgen::RunScripts(artDir, kMainScript);
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    for (const Artgen::NamedImage& n : images) {
        const std::string path = outDir + "/" + n.name;
        if (!Artgen::WritePicture(path, n.image)) {
            std::cerr << "artgen: cannot write " << path << ": " << std::strerror(errno) << "\n";
            return 1;
        }
    }
    std::cout << "artgen: " << images.size() << " pictures written to " << outDir << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: artgen ART_DIR OUT_DIR\n";
        return 2;
    }
    try {
        return Generate(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "artgen: " << e.what() << "\n";
        return 1;
    }
}
