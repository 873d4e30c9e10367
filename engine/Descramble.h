#pragma once

#include <string>

namespace engine {

// Turns a scrambled text (two characters per byte) and its 16-bit key into
// the plain bytes. Only the low 16 bits of `key` count. Never fails.
std::string Descramble(std::string text, int key);

}  // namespace engine
