#include "Png.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace Artgen {

namespace {

using Bytes = std::vector<unsigned char>;

constexpr size_t kMaxStoredBlock = 65535;

void PutBig32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>((v >> shift) & 0xFF));
}

uint32_t Crc32(const Bytes& bytes, size_t from) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const Bytes& bytes) {
    uint32_t a = 1, b = 0;
    for (const unsigned char byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// A chunk: length, type, data, and the CRC of type and data.
void PutChunk(Bytes& out, const std::string& type, const Bytes& data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out, start));
}

// The rows, each led by filter type 0 (none), as RGB bytes.
Bytes Scanlines(const Image& image) {
    Bytes raw;
    for (int y = 0; y < image.Height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.Width(); ++x) {
            const Colour c = image.At(x, y);
            raw.insert(raw.end(), {c.r, c.g, c.b});
        }
    }
    return raw;
}

// A zlib stream of stored (uncompressed) deflate blocks.
Bytes Zlib(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min(kMaxStoredBlock, raw.size() - at);
        const bool last = at + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<unsigned char>(n & 0xFF));
        out.push_back(static_cast<unsigned char>(n >> 8));
        out.push_back(static_cast<unsigned char>(~n & 0xFF));
        out.push_back(static_cast<unsigned char>((~n >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                   raw.begin() + static_cast<ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    PutBig32(out, Adler32(raw));
    return out;
}

}  // namespace

std::vector<unsigned char> EncodePng(const Image& image) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBig32(header, static_cast<uint32_t>(image.Width()));
    PutBig32(header, static_cast<uint32_t>(image.Height()));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filter 0, no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", Zlib(Scanlines(image)));
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace Artgen
