// Writing pictures as uncompressed 24-bit BMP files, byte for byte the same for the same
// picture (no time stamps, fixed resolution fields).
#pragma once

#include <string>
#include <vector>

#include "Image.h"

namespace Artgen {

// The complete file contents of the picture as a 24-bit bottom-up BMP.
std::vector<unsigned char> EncodeBmp(const Image& image);
// Writes the picture to `path`; false (with errno set by the system) when it cannot.
bool WriteBmp(const std::string& path, const Image& image);

}  // namespace Artgen
