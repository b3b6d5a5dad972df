// The program's run-time error: a message on the console, then the program stops.
#include <cstdlib>
#include <iostream>

#include "StandardLib.h"

namespace StandardLib {

void RunTimeError(const std::string& what) {
    std::cerr << "Zarvok: run-time error: " << what << std::endl;
    std::abort();
}

}  // namespace StandardLib
