#pragma once

#include <bitset>

namespace tarnwick {

// A set of the 256 byte values.
using TSynCharSet = std::bitset<256>;

// The ASCII letters, digits and "_", every byte from 128 up (each byte of a UTF-8 character
// belongs to words, so a word in any script is one word and no motion splits a character),
// plus the others given.
TSynCharSet WordCharSet(const char* others);

}  // namespace tarnwick
