// The program's run-time error: a message on the console, then the program stops.
#include <cstdlib>

#include "Report.h"
#include "StandardLib.h"

namespace StandardLib {

void RunTimeError(const std::string& what) {
    detail::Report("Zarvok: run-time error: " + what);
    std::abort();
}

}  // namespace StandardLib
