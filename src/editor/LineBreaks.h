#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

namespace tarnwick {

// Calls line(offset, length) for each line of bytes: a line ends at CR LF, at a lone LF and
// at a lone CR. Returns whether a CR and whether an LF were seen.
template <class TLine>
inline std::pair<bool, bool> SplitLines(std::string_view bytes, TLine&& line) {
  const char* data = bytes.data();
  std::size_t size = bytes.size(), pos = 0;
  // The next CR and LF at or after pos, found once each, so a file with only one kind of
  // break is still walked in a single pass.
  auto find = [&](char c, std::size_t from) {
    const void* hit = from < size ? std::memchr(data + from, c, size - from) : nullptr;
    return hit == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(hit) - data);
  };
  std::size_t nextCR = find('\r', 0), nextLF = find('\n', 0);
  bool sawCR = false, sawLF = false;
  while (pos < size) {
    if (nextCR < pos) nextCR = find('\r', pos);
    if (nextLF < pos) nextLF = find('\n', pos);
    std::size_t end = std::min(nextCR, nextLF);
    line(pos, end - pos);
    pos = end;
    if (pos < size && data[pos] == '\r') {
      sawCR = true;
      ++pos;
    }
    if (pos < size && data[pos] == '\n') {
      sawLF = true;
      ++pos;
    }
  }
  return {sawCR, sawLF};
}

}  // namespace tarnwick
