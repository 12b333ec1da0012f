#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnwick {

// Text is kept as the bytes of the file and read as UTF-8. A character is one well-formed
// UTF-8 sequence; a byte that starts no well-formed sequence is a character of its own, so
// any bytes can be walked, edited and shown without loss.
struct TUtf8Char {
  std::size_t length;  // bytes, 1 to 4
  int columns;         // screen columns: 2 for East Asian wide characters, else 1
};

// The character that starts at text[pos]; pos < text.size().
TUtf8Char Utf8CharAt(std::string_view text, std::size_t pos);

// The cell at text[pos] when it starts at screen column (0-based): a tab fills up to the
// next multiple of tabWidth, any other character is as wide as Utf8CharAt says.
inline TUtf8Char DisplayCellAt(std::string_view text, std::size_t pos, int column, int tabWidth) {
  if (text[pos] == '\t') return {1, tabWidth - column % tabWidth};
  return Utf8CharAt(text, pos);
}

// Screen columns of text without tabs.
int Utf8Columns(std::string_view text);

// True when text[pos] continues a well-formed sequence that starts before pos, so that a
// position there would stand inside a character.
bool IsInsideUtf8Char(std::string_view text, std::size_t pos);

// The UTF-8 bytes of a code point; a value that is no character gives U+FFFD.
std::string EncodeUtf8(char32_t code);

}  // namespace tarnwick
