#pragma once

#include <bitset>

namespace tarnwick {

// A set of the 256 byte values.
using TSynCharSet = std::bitset<256>;

}  // namespace tarnwick
