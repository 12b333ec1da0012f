// The command dispatcher and the commands that move the caret or change the selection.
#include <algorithm>

#include "editor/SynEdit.h"

namespace tarnwick {

namespace {

bool IsMovement(TSynEditorCommand command) {
  TSynEditorCommand plain = command > ecSelection ? static_cast<TSynEditorCommand>(command - ecSelection) : command;
  return plain >= ecLeft && plain <= ecGotoXY;
}

}  // namespace

void TSynEdit::ExecuteBuiltIn(TSynEditorCommand command, char32_t aChar, const void* data) {
  if (IsMovement(command) && (options_ & eoGroupUndo) && !undoList_.Empty()) undoList_.InsertGroupBreak();
  bool select = command > ecSelection && command <= ecSelGotoXY;
  TSynEditorCommand plain = select ? static_cast<TSynEditorCommand>(command - ecSelection) : command;
  if (IsMovement(command)) {
    switch (plain) {
      case ecLeft: MoveCaretHorizontally(-1, select); break;
      case ecRight: MoveCaretHorizontally(1, select); break;
      case ecPageLeft: MoveCaretHorizontally(-visibleColumns_, select); break;
      case ecPageRight: MoveCaretHorizontally(visibleColumns_, select); break;
      case ecUp: MoveCaretVertically(-1, select); break;
      case ecDown: MoveCaretVertically(1, select); break;
      case ecPageUp: PageScroll(-1, select); break;
      case ecPageDown: PageScroll(1, select); break;
      case ecWordLeft: MoveCaretAndSelection(caret_, WordLeftPos(caret_), select); break;
      case ecWordRight: MoveCaretAndSelection(caret_, WordRightPos(caret_), select); break;
      case ecLineStart: {
        int target = 1;
        if (options_ & eoEnhanceHomeKey) {
          std::string line = LineText(caret_.Line);
          std::size_t first = line.find_first_not_of(" \t");
          int firstChar = first == std::string::npos ? 1 : static_cast<int>(first) + 1;
          target = caret_.Char == firstChar ? 1 : firstChar;
        }
        MoveCaretAndSelection(caret_, {target, caret_.Line}, select);
        break;
      }
      case ecLineEnd:
        MoveCaretAndSelection(caret_, {static_cast<int>(LineText(caret_.Line).size()) + 1, caret_.Line}, select);
        break;
      case ecPageTop:
      case ecPageBottom: {
        int row = plain == ecPageTop ? topRow_ : topRow_ + std::max(visibleRows_, 1) - 1;
        row = std::clamp(row, 1, DisplayRowCount());
        MoveCaretAndSelection(caret_, DisplayToBufferPos({BufferToDisplayPos(caret_).Column, row}), select);
        break;
      }
      case ecEditorTop: MoveCaretAndSelection(caret_, {1, 1}, select); break;
      case ecEditorBottom: {
        int last = std::max(LineCount(), 1);
        MoveCaretAndSelection(caret_, {static_cast<int>(LineText(last).size()) + 1, last}, select);
        break;
      }
      case ecGotoXY:
        if (data != nullptr) MoveCaretAndSelection(caret_, *static_cast<const TBufferCoord*>(data), select);
        break;
      default: break;
    }
    return;
  }
  switch (command) {
    case ecSelectAll: SelectAllText(); break;
    case ecCopy: CopySelectedText(); break;
    case ecScrollUp: ScrollVertically(-1); break;
    case ecScrollDown: ScrollVertically(1); break;
    case ecScrollLeft: SetLeftColumn(leftColumn_ - 1); break;
    case ecScrollRight: SetLeftColumn(leftColumn_ + 1); break;
    case ecInsertMode: SetInsertMode(true); break;
    case ecOverwriteMode: SetInsertMode(false); break;
    case ecToggleMode: SetInsertMode(!insertMode_); break;
    case ecNormalSelect: SetSelectionMode(TSynSelectionMode::smNormal); break;
    case ecColumnSelect: SetSelectionMode(TSynSelectionMode::smColumn); break;
    case ecLineSelect: SetSelectionMode(TSynSelectionMode::smLine); break;
    case ecMatchBracket: FindMatchingBracket(); break;
    case ecContextHelp:
      if (OnContextHelp) OnContextHelp(*this, WordAtCaret());
      break;
    case ecUndo: Undo(); break;
    case ecRedo: Redo(); break;
    case ecCut: CutSelectedText(); break;
    case ecPaste: PasteClipboard(); break;
    default:
      if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
        GotoBookmark(command - ecGotoMarker0);
      } else if (command >= ecSetMarker0 && command <= ecSetMarker9) {
        SetBookmarkCommand(command - ecSetMarker0, data);
      } else if (!readOnly_) {
        switch (command) {
          case ecChar: TypeChar(aChar); break;
          case ecImeStr:
            if (data != nullptr) TypeString(*static_cast<const std::string*>(data));
            break;
          case ecLineBreak: LineBreak(true); break;
          case ecInsertLine: LineBreak(false); break;
          case ecTab: Tab(); break;
          case ecShiftTab: ShiftTab(); break;
          case ecDeleteLastChar: DeleteLastChar(); break;
          case ecDeleteChar: DeleteChar(); break;
          case ecDeleteWord: DeleteWord(); break;
          case ecDeleteLastWord: DeleteLastWord(false); break;
          case ecDeleteBOL: DeleteLastWord(true); break;
          case ecDeleteEOL: DeleteEndOfLine(); break;
          case ecDeleteLine: DeleteLine(); break;
          case ecClearAll: ClearAll(); break;
          case ecBlockIndent: BlockIndent(); break;
          case ecBlockUnindent: BlockUnindent(); break;
          case ecUpperCase:
          case ecLowerCase:
          case ecToggleCase:
          case ecTitleCase:
          case ecUpperCaseBlock:
          case ecLowerCaseBlock:
          case ecToggleCaseBlock: ChangeCase(command); break;
          default: break;
        }
      }
  }
}

void TSynEdit::MoveCaretAndSelection(TBufferCoord from, TBufferCoord to, bool select) {
  IncPaintLock();
  if (select) {
    if (!HasSelection()) SetBlockAnchor(from);
    TBufferCoord anchor = blockAnchor_;
    SetCaretPos(to);
    SetBlockAnchor(anchor);
    TBufferCoord active = caret_;
    // A column selection of no width would be no selection at all.
    if (selectionMode_ == TSynSelectionMode::smColumn && active.Char == anchor.Char) ++active.Char;
    SetBlockActive(active);
  } else {
    SetCaretPos(to);
    SetBlockAnchor(caret_);
  }
  DecPaintLock();
}

void TSynEdit::MoveCaretHorizontally(int columns, bool select) {
  TBufferCoord target = caret_;
  bool pastEol = options_ & eoScrollPastEol;
  int length = static_cast<int>(LineText(caret_.Line).size());
  if (columns > 0) {
    if (!pastEol && caret_.Char > length && caret_.Line < LineCount()) {
      target = {1, caret_.Line + 1};
    } else {
      for (int i = 0; i < columns; ++i) target = NextCharPos(target);
    }
  } else if (columns < 0) {
    if (caret_.Char == 1) {
      if (!pastEol && caret_.Line > 1)
        target = {static_cast<int>(LineText(caret_.Line - 1).size()) + 1, caret_.Line - 1};
    } else {
      for (int i = 0; i < -columns && target.Char > 1; ++i) target = PrevCharPos(target);
    }
  }
  MoveCaretAndSelection(caret_, target, select);
  lastCaretColumn_ = BufferToDisplayPos(caret_).Column;
}

void TSynEdit::MoveCaretVertically(int rows, bool select) {
  TDisplayCoord now = BufferToDisplayPos(caret_);
  int column = (options_ & eoKeepCaretX) ? lastCaretColumn_ : now.Column;
  int row = std::clamp(now.Row + rows, 1, DisplayRowCount());
  MoveCaretAndSelection(caret_, DisplayToBufferPos({column, row}), select);
  if (!(options_ & eoKeepCaretX)) lastCaretColumn_ = column;
}

void TSynEdit::PageScroll(int direction, bool select) {
  int page = visibleRows_;
  if (options_ & eoHalfPageScroll) page /= 2;
  if (options_ & eoScrollByOneLess) --page;
  page = std::max(page, 1);
  SetTopRow(topRow_ + direction * page);
  MoveCaretVertically(direction * page, select);
}

void TSynEdit::ScrollVertically(int rows) {
  int caretRow = BufferToDisplayPos(caret_).Row;
  if (caretRow < topRow_ || caretRow >= topRow_ + visibleRows_) {
    EnsureCaretVisible();
    return;
  }
  SetTopRow(topRow_ + rows);
  int last = topRow_ + std::max(visibleRows_, 1) - 1;
  if (caretRow < topRow_ || caretRow > last) {
    int line = std::clamp(caretRow, topRow_, last);
    MoveCaretAndSelection(caret_, DisplayToBufferPos({BufferToDisplayPos(caret_).Column, line}), false);
  }
}

TBufferCoord TSynEdit::WordRightPos(TBufferCoord pos) const {
  std::string line = LineText(pos.Line);
  int length = static_cast<int>(line.size());
  int x = pos.Char;
  if (x >= length) {
    if (pos.Line >= LineCount()) return pos;
    std::string next = LineText(pos.Line + 1);
    auto word = std::find_if(next.begin(), next.end(), [this](char c) { return IsWordChar(c); });
    return {word == next.end() ? 1 : static_cast<int>(word - next.begin()) + 1, pos.Line + 1};
  }
  std::size_t at = static_cast<std::size_t>(x - 1);
  if (IsWordChar(line[at]))
    while (at < line.size() && IsWordChar(line[at])) ++at;
  while (at < line.size() && !IsWordChar(line[at])) ++at;
  return {at >= line.size() ? length + 1 : static_cast<int>(at) + 1, pos.Line};
}

TBufferCoord TSynEdit::WordLeftPos(TBufferCoord pos) const {
  std::string line = LineText(pos.Line);
  int x = std::min(pos.Char, static_cast<int>(line.size()) + 1);
  // Back over what is no word to the end of the word before, then to that word's start.
  int at = x - 1;  // characters before the caret
  while (at > 0 && !IsWordChar(line[static_cast<std::size_t>(at - 1)])) --at;
  if (at > 0) {
    while (at > 0 && IsWordChar(line[static_cast<std::size_t>(at - 1)])) --at;
    return {at + 1, pos.Line};
  }
  if (pos.Line > 1) return {static_cast<int>(LineText(pos.Line - 1).size()) + 1, pos.Line - 1};
  return {1, pos.Line};
}

std::string TSynEdit::WordAtCaret() const {
  std::string line = LineText(caret_.Line);
  std::size_t at = static_cast<std::size_t>(std::min(caret_.Char, static_cast<int>(line.size()) + 1) - 1);
  std::size_t start = at, end = at;
  while (start > 0 && IsWordChar(line[start - 1])) --start;
  while (end < line.size() && IsWordChar(line[end])) ++end;
  return line.substr(start, end - start);
}

void TSynEdit::GotoBookmark(int number) {
  TBufferCoord pos;
  if (!GetBookmark(number, pos)) return;
  SetCaretAndSelection(pos, pos, pos);
  CentreRow(caret_.Line);
  EnsureCaretVisible();
}

void TSynEdit::CentreRow(int row) {
  if (visibleRows_ <= 0 || (row >= topRow_ - 1 && row <= topRow_ + visibleRows_)) return;
  if (row < topRow_)
    SetTopRow(std::max(row - visibleRows_ / 2 + 1, 1));
  else
    SetTopRow(row - (visibleRows_ - visibleRows_ / 2) + 1);
}

void TSynEdit::SetBookmarkCommand(int number, const void* data) {
  TBufferCoord pos = data != nullptr ? *static_cast<const TBufferCoord*>(data) : caret_;
  TBufferCoord existing;
  if (GetBookmark(number, existing) && existing.Line == pos.Line) {
    ClearBookmark(number);
    return;
  }
  SetBookmark(number, pos);
}

void TSynEdit::FindMatchingBracket() {
  static constexpr char kPairs[] = "()[]{}<>";
  std::string line = LineText(caret_.Line);
  if (caret_.Char > static_cast<int>(line.size())) return;
  char here = line[static_cast<std::size_t>(caret_.Char - 1)];
  const char* found = std::char_traits<char>::find(kPairs, 8, here);
  if (found == nullptr) return;
  std::size_t index = static_cast<std::size_t>(found - kPairs);
  bool forward = index % 2 == 0;
  char open = kPairs[index & ~std::size_t{1}], close = kPairs[index | 1];
  int depth = 0;
  int lineNo = caret_.Line;
  int at = caret_.Char - 1;
  for (;;) {
    std::string s = LineText(lineNo);
    // Brackets in comments and strings do not count.
    std::vector<std::pair<int, int>> ignored = CommentAndStringSpans(lineNo);
    auto counts = [&](int pos) {
      return std::none_of(ignored.begin(), ignored.end(), [pos](const auto& span) { return pos >= span.first && pos < span.second; });
    };
    if (forward) {
      for (; at < static_cast<int>(s.size()); ++at) {
        if (!counts(at)) continue;
        if (s[static_cast<std::size_t>(at)] == open) ++depth;
        if (s[static_cast<std::size_t>(at)] == close && --depth == 0) {
          SetCaretAndSelection({at + 1, lineNo}, {at + 1, lineNo}, {at + 1, lineNo});
          return;
        }
      }
      if (++lineNo > LineCount()) return;
      at = 0;
    } else {
      for (; at >= 0; --at) {
        if (!counts(at)) continue;
        if (s[static_cast<std::size_t>(at)] == close) ++depth;
        if (s[static_cast<std::size_t>(at)] == open && --depth == 0) {
          SetCaretAndSelection({at + 1, lineNo}, {at + 1, lineNo}, {at + 1, lineNo});
          return;
        }
      }
      if (--lineNo < 1) return;
      at = static_cast<int>(LineText(lineNo).size()) - 1;
    }
  }
}

std::vector<std::pair<int, int>> TSynEdit::CommentAndStringSpans(int line) {
  std::vector<std::pair<int, int>> spans;
  if (highlighter_ == nullptr) return spans;
  if (line <= 1)
    highlighter_->ResetRange();
  else
    highlighter_->RestoreRange(lines_.LineRange(line - 2));
  scanLine_.assign(lines_.Get(line - 1).View());
  highlighter_->StartLine(scanLine_.c_str(), line - 1);
  TSynHighlighterAttributes* comment = highlighter_->DefaultAttribute(SYN_ATTR_COMMENT);
  TSynHighlighterAttributes* string = highlighter_->DefaultAttribute(SYN_ATTR_STRING);
  for (; !highlighter_->AtLineEnd(); highlighter_->NextToken()) {
    TSynHighlighterAttributes* attribute = highlighter_->TokenAttribute();
    if (attribute != nullptr && (attribute == comment || attribute == string)) {
      int start = highlighter_->TokenStart();
      spans.emplace_back(start, start + static_cast<int>(highlighter_->TokenText().size()));
    }
  }
  return spans;
}

}  // namespace tarnwick
