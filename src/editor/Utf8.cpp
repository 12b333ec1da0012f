#include "editor/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace tarnwick {

namespace {

struct TRange {
  char32_t first, last;
};

// East Asian Wide and Fullwidth blocks, in order.
constexpr TRange kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},
    {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4}, {0x17000, 0x18CFF}, {0x1AFF0, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F2FF},
    {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

bool IsWide(char32_t c) {
  if (c < kWide[0].first) return false;
  auto it = std::upper_bound(std::begin(kWide), std::end(kWide), c,
                             [](char32_t value, const TRange& range) { return value < range.first; });
  return it != std::begin(kWide) && c <= std::prev(it)->last;
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

TUtf8Char Utf8CharAt(std::string_view text, std::size_t pos) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos);
  if (lead < 0x80) return {1, 1};
  std::size_t length;
  char32_t code;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return {1, 1};
  }
  if (pos + length > text.size()) return {1, 1};
  if (byte(pos + 1) < low || byte(pos + 1) > high) return {1, 1};
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(pos + i))) return {1, 1};
    code = (code << 6) | (byte(pos + i) & 0x3F);
  }
  return {length, IsWide(code) ? 2 : 1};
}

int Utf8Columns(std::string_view text) {
  int columns = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++columns, ++pos;
      continue;
    }
    TUtf8Char c = Utf8CharAt(text, pos);
    columns += c.columns;
    pos += c.length;
  }
  return columns;
}

bool IsInsideUtf8Char(std::string_view text, std::size_t pos) {
  if (pos == 0 || pos >= text.size() || !IsContinuation(static_cast<unsigned char>(text[pos]))) return false;
  // A sequence is at most four bytes long: look back for its lead.
  std::size_t start = pos;
  for (int back = 0; back < 3 && start > 0; ++back) {
    --start;
    if (!IsContinuation(static_cast<unsigned char>(text[start]))) return start + Utf8CharAt(text, start).length > pos;
  }
  return false;
}

std::string EncodeUtf8(char32_t code) {
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

}  // namespace tarnwick
