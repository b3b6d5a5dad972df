// Writes BMP files in the layouts that image tools produce: 1-, 4- and 8-bit palette,
// 24- and 32-bit, rows bottom-up or top-down, and 8-bit run-length encoded. The picture
// generator writes its pictures with it, and the tests their sample files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace BmpWriter {

// A picture as palette indices, row by row from the top. Colours are 0x00BBGGRR.
// Direct-colour files store At(x, y) of each pixel: palette[index], or the pixel's own colour
// where `colors` holds them.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> palette;
    std::vector<uint8_t> index;
    std::vector<uint32_t> colors = {};  // each pixel's colour, for direct-colour files only

    uint32_t At(int32_t x, int32_t y) const {
        const size_t i = static_cast<size_t>(y) * static_cast<size_t>(width) + x;
        return colors.empty() ? palette[index[i]] : colors[i];
    }
};

enum class Layout : uint8_t { BottomUp, TopDown, Rle8 };

namespace internal {

inline void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// One row of pixels packed at `bits` per pixel, padded to four bytes.
inline std::vector<uint8_t> PackRow(const Picture& p, int32_t y, int bits) {
    std::vector<uint8_t> row;
    uint32_t accumulator = 0;
    int filled = 0;
    for (int32_t x = 0; x < p.width; ++x) {
        const uint32_t color = p.At(x, y);
        if (bits >= 24) {
            Put(row, color >> 16, 1);  // blue, green, red
            Put(row, color >> 8, 1);
            Put(row, color, 1);
            if (bits == 32) Put(row, 0, 1);
            continue;
        }
        accumulator = (accumulator << bits) | p.index[static_cast<size_t>(y) * p.width + x];
        filled += bits;
        if (filled == 8) {
            row.push_back(static_cast<uint8_t>(accumulator));
            accumulator = 0;
            filled = 0;
        }
    }
    if (filled > 0) row.push_back(static_cast<uint8_t>(accumulator << (8 - filled)));
    while (row.size() % 4 != 0)
        row.push_back(0);
    return row;
}

// One row as runs of equal indices, closed by an end-of-line mark.
inline std::vector<uint8_t> EncodeRow(const Picture& p, int32_t y) {
    std::vector<uint8_t> row;
    for (int32_t x = 0; x < p.width;) {
        const uint8_t value = p.index[static_cast<size_t>(y) * p.width + x];
        int32_t run = 1;
        while (x + run < p.width && run < 255 &&
               p.index[static_cast<size_t>(y) * p.width + x + run] == value) {
            ++run;
        }
        row.push_back(static_cast<uint8_t>(run));
        row.push_back(value);
        x += run;
    }
    row.push_back(0);
    row.push_back(0);
    return row;
}

}  // namespace internal

// The bytes of a BMP file of the picture at `bits` per pixel in the given layout.
inline std::vector<uint8_t> Encode(const Picture& p, int bits, Layout layout) {
    using internal::Put;
    std::vector<uint8_t> data;
    for (int32_t i = 0; i < p.height; ++i) {
        const int32_t y = layout == Layout::TopDown ? i : p.height - 1 - i;
        const auto row =
            layout == Layout::Rle8 ? internal::EncodeRow(p, y) : internal::PackRow(p, y, bits);
        data.insert(data.end(), row.begin(), row.end());
    }
    if (layout == Layout::Rle8) {
        data.push_back(0);
        data.push_back(1);  // end of bitmap
    }
    const uint32_t colors = bits <= 8 ? static_cast<uint32_t>(p.palette.size()) : 0;
    const uint32_t offset = 14 + 40 + 4 * colors;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put(out, offset + static_cast<uint32_t>(data.size()), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, 40, 4);
    Put(out, static_cast<uint32_t>(p.width), 4);
    Put(out, static_cast<uint32_t>(layout == Layout::TopDown ? -p.height : p.height), 4);
    Put(out, 1, 2);
    Put(out, static_cast<uint32_t>(bits), 2);
    Put(out, layout == Layout::Rle8 ? 1 : 0, 4);
    Put(out, static_cast<uint32_t>(data.size()), 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, colors, 4);
    Put(out, 0, 4);
    for (uint32_t i = 0; i < colors; ++i) {
        Put(out, p.palette[i] >> 16, 1);
        Put(out, p.palette[i] >> 8, 1);
        Put(out, p.palette[i], 1);
        Put(out, 0, 1);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline void Save(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A picture of one colour.
inline Picture Solid(int32_t width, int32_t height, uint32_t color) {
    return {
        width, height, {color}, std::vector<uint8_t>(static_cast<size_t>(width) * height, 0), {}};
}

}  // namespace BmpWriter
