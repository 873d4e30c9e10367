// Prints the scrambled form of a display text for the installer's tables.
//   scramble KEY TEXT      KEY decimal or 0x-hex, 0 to 65535
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Scramble.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s KEY TEXT\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long key = std::strtoul(argv[1], &end, 0);
    if (errno != 0 || end == argv[1] || *end != '\0' || key > 0xFFFF) {
        std::fprintf(stderr, "%s: the key \"%s\" is not a number from 0 to 65535\n", argv[0],
                     argv[1]);
        return 2;
    }
    std::printf("%s\n", tools::Scramble(argv[2], static_cast<uint16_t>(key)).c_str());
    return 0;
}
