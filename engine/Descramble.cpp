#include "Descramble.h"

#include <cstdint>

namespace engine {

std::string Descramble(std::string text, int key) {
    std::string out;
    out.reserve(text.size() / 2);
    uint32_t k = static_cast<uint32_t>(key) & 0xFFFF;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        const uint32_t t = static_cast<unsigned char>(text[i]);
        const uint32_t u = static_cast<unsigned char>(text[i + 1]);
        // 1755 = 27 * 'A': for capital letters the pair is a base-26 number.
        const uint32_t m = (26 * t + u - 1755) & 0xFF;
        out += static_cast<char>(m ^ (k >> 8));
        // The key advances with the pair value, not with the output byte.
        k = ((m + k) * 5089 + 57932) & 0xFFFF;
    }
    return out;
}

}  // namespace engine
