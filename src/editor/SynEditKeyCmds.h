#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick {

using TSynEditorCommand = std::uint16_t;

// The command numbers; a selecting movement is its movement + 100.
enum : TSynEditorCommand {
  ecNone = 0,
  ecLeft = 1, ecRight, ecUp, ecDown, ecWordLeft, ecWordRight, ecLineStart, ecLineEnd, ecPageUp, ecPageDown,
  ecPageLeft, ecPageRight, ecPageTop, ecPageBottom, ecEditorTop, ecEditorBottom, ecGotoXY,
  ecSelection = 100,
  ecSelLeft = ecLeft + ecSelection, ecSelRight, ecSelUp, ecSelDown, ecSelWordLeft, ecSelWordRight, ecSelLineStart,
  ecSelLineEnd, ecSelPageUp, ecSelPageDown, ecSelPageLeft, ecSelPageRight, ecSelPageTop, ecSelPageBottom,
  ecSelEditorTop, ecSelEditorBottom, ecSelGotoXY,
  ecSelectAll = 199,
  ecCopy = 201,
  ecScrollUp = 211, ecScrollDown, ecScrollLeft, ecScrollRight,
  ecInsertMode = 221, ecOverwriteMode, ecToggleMode,
  ecNormalSelect = 231, ecColumnSelect, ecLineSelect,
  ecMatchBracket = 250, ecCommentBlock,
  ecGotoMarker0 = 301, ecGotoMarker9 = 310,
  ecSetMarker0 = 351, ecSetMarker9 = 360,
  ecContextHelp = 490,
  ecDeleteLastChar = 501, ecDeleteChar, ecDeleteWord, ecDeleteLastWord, ecDeleteBOL, ecDeleteEOL, ecDeleteLine,
  ecClearAll, ecLineBreak, ecInsertLine, ecChar,
  ecImeStr = 550,
  ecUndo = 601, ecRedo, ecCut, ecPaste,
  ecBlockIndent = 610, ecBlockUnindent, ecTab, ecShiftTab,
  ecUpperCase = 620, ecLowerCase, ecToggleCase, ecTitleCase,
  ecUpperCaseBlock = 625, ecLowerCaseBlock, ecToggleCaseBlock,
  ecString = 630,
  ecAutoCompletion = 650,
  ecUserFirst = 1001,
};

// Key codes are the virtual key numbers the table was written in; the window layer
// translates its own keys into them.
using TKeyCode = std::uint16_t;
enum : TKeyCode {
  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
  VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D,
  VK_DELETE = 0x2E, VK_F1 = 0x70,
};

enum TShiftStateBit : std::uint8_t { ssShift = 1 << 0, ssAlt = 1 << 1, ssCtrl = 1 << 2 };
using TShiftState = std::uint8_t;

struct TSynEditKeyStroke {
  TKeyCode Key = 0;
  TShiftState Shift = 0;
  TKeyCode Key2 = 0;  // 0: no second key
  TShiftState Shift2 = 0;
  TSynEditorCommand Command = ecNone;
};

class TSynEditKeyStrokes {
 public:
  std::vector<TSynEditKeyStroke> Items;

  void Add(TSynEditorCommand command, TKeyCode key, TShiftState shift, TKeyCode key2 = 0, TShiftState shift2 = 0);
  void ResetDefaults();
  // The entry for key and shift with no second key, or for the remembered first key followed
  // by this one; -1 when there is none.
  int FindKeycode(TKeyCode key, TShiftState shift) const;
  int FindKeycode2(TKeyCode key1, TShiftState shift1, TKeyCode key2, TShiftState shift2) const;
};

// Converts between command names ("ecLeft") and numbers.
std::optional<TSynEditorCommand> IdentToEditorCommand(const std::string& name);
std::string EditorCommandToIdent(TSynEditorCommand command);

}  // namespace tarnwick
