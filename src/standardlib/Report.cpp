#include "Report.h"

#include <iostream>

namespace StandardLib::detail {

void Report(const std::string& line) {
    std::cerr << line << std::endl;
}

}  // namespace StandardLib::detail
