#include "Bmp.h"

#include <cstdint>
#include <fstream>

#include "BmpWriter.h"
#include "Png.h"

namespace Artgen {

std::vector<unsigned char> EncodeBmp(const Image& image) {
    BmpWriter::Picture picture{image.Width(), image.Height(), {}, {}, {}};
    picture.colors.reserve(static_cast<size_t>(image.Width()) * image.Height());
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Colour c = image.At(x, y);
            picture.colors.push_back(c.r | static_cast<uint32_t>(c.g) << 8 |
                                     static_cast<uint32_t>(c.b) << 16);
        }
    }
    return BmpWriter::Encode(picture, 24, BmpWriter::Layout::BottomUp);
}

bool WritePicture(const std::string& path, const Image& image) {
    const std::vector<unsigned char> bytes =
        path.ends_with(".png") ? EncodePng(image) : EncodeBmp(image);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace Artgen
