// Writing pictures as PNG files (for desktops, which take no BMP icons): 8-bit RGB,
// stored without compression, byte for byte the same for the same picture.
#pragma once

#include <vector>

#include "Image.h"

namespace Artgen {

// The complete file contents of the picture as a PNG.
std::vector<unsigned char> EncodePng(const Image& image);

}  // namespace Artgen
