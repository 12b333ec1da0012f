#pragma once

#include <cstdint>

namespace tarnwick {

// 0x00BBGGRR for an RGB colour; 0xFF0000nn for the system colour number nn, which the canvas
// resolves; clNone for "no colour of its own".
using TColor = std::uint32_t;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor RGB(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr TColor SystemColor(unsigned number) { return 0xFF000000u | number; }
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clSilver = RGB(192, 192, 192);

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

}  // namespace tarnwick
