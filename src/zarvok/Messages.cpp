#include "Messages.h"

#include <iostream>

namespace Zarvok {

void Meld(const std::string& regel) {
    std::cerr << regel << std::endl;
}

void VoegZichtbaarToe(std::string& bericht, unsigned char c) {
    if (c >= 0x20 && c < 0x7F) {
        bericht += static_cast<char>(c);
        return;
    }
    static const char kHex[] = "0123456789ABCDEF";
    bericht += "\\x";
    bericht += kHex[c >> 4];
    bericht += kHex[c & 0xF];
}

}  // namespace Zarvok
