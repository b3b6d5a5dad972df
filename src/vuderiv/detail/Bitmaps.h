// The bitmap table's internals and the BMP decoder. Private to Vuderiv (and its tests and
// fuzz target).
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Shared.h"
#include "Surface.h"

namespace Vuderiv::detail {

// The most pixels one bitmap may hold (1 GiB of pixel data); larger ones are refused.
constexpr uint64_t kMaxBitmapPixels = uint64_t{1} << 28;

// A black width x height surface, or an empty one when a size is 0 or 2^31 or more, the
// area exceeds maxPixels, or memory runs out.
Surface MakeSurface(uint64_t width, uint64_t height, uint64_t maxPixels = kMaxBitmapPixels);

// Reads a BMP image from the stream (which it closes), converts it to 0x00BBGGRR and
// brings it to width x height by nearest neighbour; a side of 0 keeps the file's own
// (the table still draws the asked block of such a bitmap, which is empty).
// Files whose picture exceeds maxPixels, or that are shorter than their uncompressed
// rows, are refused without decoding. An empty surface on any failure, and the reason in
// `fault` when it is given (not a BMP file, cut off, too large, ...).
Surface DecodeBmp(SDL_RWops* stream, uint32_t width, uint32_t height,
                  uint64_t maxPixels = kMaxBitmapPixels, std::string* fault = nullptr);

// Converts a loaded SDL surface (which it frees) to 0x00BBGGRR, or with its opacity in bits
// 24-31 when `keepAlpha`, brought to width x height by nearest neighbour (a side of 0 keeps
// the picture's own); empty when it cannot.
Surface ConvertSurface(SDL_Surface* loaded, uint32_t width, uint32_t height, uint64_t maxPixels,
                       bool keepAlpha);

// Opens a file for reading, with every "\" of its name taken as "/"; nullptr on failure.
SDL_RWops* OpenFile(const char* file);

// Enters a non-empty surface into the lowest free slot, or a new one at the end, with the
// surface's own size as its drawn block; the handle (slot + 1), or 0 when the table
// cannot grow.
uint32_t AddBitmap(std::vector<BitStruct>& table, Surface&& surface);

// Frees the slot at position `del` and drops every free slot at the table's end.
void DelBitmap(std::vector<BitStruct>& table, size_t del);

}  // namespace Vuderiv::detail
