// Opening the files the library reads (bitmaps, the icon, sounds). Private to Vuderiv.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <limits>
#include <string>

namespace Vuderiv::detail {

// The file's name with every "\" taken as "/".
std::string FilePath(const char* file);

// Opens a file for reading, with every "\" of its name taken as "/". Only a plain file of
// at most maxBytes is opened; a pipe or device is refused without waiting for a writer.
// nullptr on failure, with the reason in `fault` when it is given: "missing", "it is a
// folder", "it is not a plain file", "larger than 16 MiB" or the system's own.
SDL_RWops* OpenFile(const char* file, std::string* fault = nullptr,
                    uint64_t maxBytes = std::numeric_limits<uint64_t>::max());

}  // namespace Vuderiv::detail
