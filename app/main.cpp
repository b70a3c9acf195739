#include <cstdio>

// The program's entry. For now it only says what it is; the desktop console and the
// application itself are hosted here as they arrive.
int main() {
    std::puts("Tilmora: a menu-bar window-arranging utility, running on a simulated desktop.");
    return 0;
}
