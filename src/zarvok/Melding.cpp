#include "Melding.h"

#include <iostream>

namespace Zarvok {

void Meld(const std::string& regel) {
    std::cerr << regel << std::endl;
}

}  // namespace Zarvok
