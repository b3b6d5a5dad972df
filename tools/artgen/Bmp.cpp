#include "Bmp.h"

#include <cstdint>
#include <fstream>

#include "Png.h"

namespace Artgen {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void Put16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void Put32(std::vector<unsigned char>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Each row of 3-byte pixels is padded to a multiple of 4 bytes.
uint32_t RowBytes(int width) {
    return (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
}

}  // namespace

std::vector<unsigned char> EncodeBmp(const Image& image) {
    const uint32_t rowBytes = RowBytes(image.Width());
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(image.Height());
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<unsigned char> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + pixelBytes);  // file size
    Put32(out, 0);                    // reserved
    Put32(out, offset);               // where the pixels start
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<uint32_t>(image.Width()));
    Put32(out, static_cast<uint32_t>(image.Height()));  // positive: bottom row first
    Put16(out, 1);                                      // planes
    Put16(out, 24);                                     // bits per pixel
    Put32(out, 0);                                      // no compression
    Put32(out, pixelBytes);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);  // no palette
    Put32(out, 0);
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Colour c = image.At(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (uint32_t pad = static_cast<uint32_t>(image.Width()) * 3; pad < rowBytes; ++pad) {
            out.push_back(0);
        }
    }
    return out;
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
