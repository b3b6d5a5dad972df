// What every benchmark program shares: the game's 1000 x 800 window with buffering on,
// and the plain copy of a whole buffer that each drawing figure is set beside.
#pragma once

#include <cstdint>

namespace BenchWindow {

constexpr int32_t kWidth = 1000, kHeight = 800;

// Opens the window (on a real display when useDisplay and one is there, else offscreen),
// turns buffering on, calls prepare, runs the benchmarks the command line selects, closes
// the window. The program's exit status: 1 when the window could not be opened.
int Run(int argc, char** argv, bool useDisplay = false, void (*prepare)() = nullptr);

}  // namespace BenchWindow
