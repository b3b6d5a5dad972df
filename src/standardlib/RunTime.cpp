// The program's run-time error: a message on the console, then the program stops.
#include <cstdlib>

#include "Report.h"
#include "StandardLib.h"

namespace StandardLib {

namespace {

std::string gProgramName;  // empty: each error names its library

}  // namespace

void SetProgramName(const char* name) {
    gProgramName = name != nullptr ? name : "";
}

void RunTimeError(const std::string& what, const char* library) {
    const std::string& name = gProgramName.empty() ? library : gProgramName;
    detail::Report(name + ": run-time error: " + what);
    std::_Exit(kRunTimeErrorStatus);
}

}  // namespace StandardLib
