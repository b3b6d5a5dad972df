// The program's entry: the game, until its window is closed.
#include "MainLoop.h"

int main() {
    return Zarvok::Programma();
}
