#pragma once

#include <cstdint>

namespace tarnwick {

// A text position: Char is the 1-based byte index in the line (length + 1 is just after the
// last character, more lies in virtual space); Line is 1-based.
struct TBufferCoord {
  int Char = 1;
  int Line = 1;
  bool operator==(const TBufferCoord&) const = default;
};
inline bool operator<(TBufferCoord a, TBufferCoord b) { return a.Line < b.Line || (a.Line == b.Line && a.Char < b.Char); }
inline bool operator<=(TBufferCoord a, TBufferCoord b) { return !(b < a); }

// Where a text position is shown: Column counts screen columns with tabs expanded.
struct TDisplayCoord {
  int Column = 1;
  int Row = 1;
  bool operator==(const TDisplayCoord&) const = default;
};

enum class TSynSelectionMode : std::uint8_t { smNormal, smLine, smColumn };

enum TSynEditorOption : std::uint32_t {
  eoAltSetsColumnMode = 1u << 0,
  eoAutoIndent = 1u << 1,
  eoAutoSizeMaxScrollWidth = 1u << 2,
  eoDisableScrollArrows = 1u << 3,
  eoDragDropEditing = 1u << 4,
  eoDropFiles = 1u << 5,
  eoEnhanceHomeKey = 1u << 6,
  eoGroupUndo = 1u << 7,
  eoHalfPageScroll = 1u << 8,
  eoHideShowScrollbars = 1u << 9,
  eoKeepCaretX = 1u << 10,
  eoNoCaret = 1u << 11,
  eoNoSelection = 1u << 12,
  eoRightMouseMovesCursor = 1u << 13,
  eoScrollByOneLess = 1u << 14,
  eoScrollHintFollows = 1u << 15,
  eoScrollPastEof = 1u << 16,
  eoScrollPastEol = 1u << 17,
  eoShowScrollHint = 1u << 18,
  eoShowSpecialChars = 1u << 19,
  eoSmartTabDelete = 1u << 20,
  eoSmartTabs = 1u << 21,
  eoSpecialLineDefaultFg = 1u << 22,
  eoTabIndent = 1u << 23,
  eoTabsToSpaces = 1u << 24,
  eoTrimTrailingSpaces = 1u << 25,
};
using TSynEditorOptions = std::uint32_t;

constexpr TSynEditorOptions kDefaultEditorOptions = eoAutoIndent | eoDragDropEditing | eoGroupUndo |
                                                    eoScrollPastEol | eoShowScrollHint | eoSmartTabDelete |
                                                    eoSmartTabs | eoTabsToSpaces | eoTrimTrailingSpaces;

enum TSynStatusChange : std::uint16_t {
  scAll = 1u << 0,
  scCaretX = 1u << 1,
  scCaretY = 1u << 2,
  scLeftChar = 1u << 3,
  scTopLine = 1u << 4,
  scInsertMode = 1u << 5,
  scModified = 1u << 6,
  scSelection = 1u << 7,
  scReadOnly = 1u << 8,
};
using TSynStatusChanges = std::uint16_t;

}  // namespace tarnwick
