// The forward direction of the display-text scrambling. Host-side only: the
// program itself holds just the scrambled texts and Descramble.
#pragma once

#include <cstdint>
#include <string>

namespace tools {

// Each plain byte is XORed with the key's high byte; the key then advances
// with the scrambled byte, which is what Descramble sees as the pair value.
inline std::string Scramble(const std::string& plain, uint16_t key) {
    std::string out;
    uint32_t k = key;
    for (unsigned char p : plain) {
        const uint32_t c = (p ^ (k >> 8)) & 0xFF;
        k = ((c + k) * 5089 + 57932) % 65536;
        out += static_cast<char>('A' + c / 26);
        out += static_cast<char>('A' + c % 26);
    }
    return out;
}

}  // namespace tools
