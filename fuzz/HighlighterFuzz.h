#pragma once

// Feeds arbitrary bytes to a highlighter line by line and checks the token protocol: tokens
// contiguous and in order, one end-of-line token at the first NUL, nothing read past that
// NUL (each line lies in a buffer of its exact size, so AddressSanitizer sees any such read),
// the same line from the same range giving the same tokens and end range, and no end range
// outside the highlighter's states.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "highlight/SynEditHighlighter.h"

namespace tarnwick::fuzz {

struct TToken {
  int start, kind;
  std::string text;
  bool operator==(const TToken&) const = default;
};

inline void Require(bool condition) {
  if (!condition) std::abort();
}

inline std::vector<TToken> ScanLine(TSynCustomHighlighter& highlighter, const char* line, std::size_t length,
                                    TSynRange start, TSynRange& end) {
  highlighter.RestoreRange(start);
  highlighter.StartLine(line, 0);
  std::vector<TToken> tokens;
  int position = 0;
  int visibleEnd = static_cast<int>(std::strlen(line));
  while (!highlighter.AtLineEnd()) {
    Require(highlighter.TokenStart() == position);
    std::string text = highlighter.TokenText();
    position += static_cast<int>(text.size());
    Require(position <= visibleEnd);
    tokens.push_back({highlighter.TokenStart(), highlighter.TokenKind(), text});
    highlighter.NextToken();
    Require(tokens.size() <= 4 * length + 8);  // every token but a few empty ones moves on
  }
  Require(highlighter.TokenStart() == visibleEnd && position == visibleEnd);
  Require(highlighter.TokenText().empty());
  highlighter.NextToken();
  Require(highlighter.AtLineEnd() && highlighter.TokenStart() == visibleEnd);
  end = highlighter.CurrentRange();
  return tokens;
}

template <class THighlighter, class TValidRange>
int FuzzLines(const std::uint8_t* data, std::size_t size, TValidRange validRange) {
  static THighlighter highlighter;
  highlighter.ResetRange();
  TSynRange range = highlighter.CurrentRange();
  std::size_t begin = 0;
  while (begin <= size) {
    std::size_t end = begin;
    while (end < size && data[end] != '\n') ++end;
    std::size_t length = end - begin;
    std::unique_ptr<char[]> line(new char[length + 1]);
    if (length > 0) std::memcpy(line.get(), data + begin, length);
    line[length] = '\0';
    TSynRange after = 0, again = 0;
    std::vector<TToken> first = ScanLine(highlighter, line.get(), length, range, after);
    std::vector<TToken> second = ScanLine(highlighter, line.get(), length, range, again);
    Require(first == second && after == again);
    Require(validRange(after));
    range = after;
    begin = end + 1;
  }
  return 0;
}

}  // namespace tarnwick::fuzz
