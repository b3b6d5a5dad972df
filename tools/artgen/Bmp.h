// Picture files: the uncompressed 24-bit BMP encoding, byte for byte the same for the same
// picture (no time stamps, fixed resolution fields), and writing a picture to a file.
#pragma once

#include <string>
#include <vector>

#include "Image.h"

namespace Artgen {

// The complete file contents of the picture as a 24-bit bottom-up BMP.
std::vector<unsigned char> EncodeBmp(const Image& image);
// Writes the picture to `path`, as a PNG when the name ends in ".png", else as a BMP;
// false (with errno set by the system) when it cannot.
bool WritePicture(const std::string& path, const Image& image);

}  // namespace Artgen
