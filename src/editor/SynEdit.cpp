#include "editor/SynEdit.h"

#include <algorithm>
#include <climits>

#include "editor/SynEditScope.h"
#include "editor/Utf8.h"
#include "platform/LargeMemory.h"

namespace tarnwick {

TSynEdit::TSynEdit(TCanvas& canvas, TClipboard& clipboard)
    : canvas_(canvas), clipboard_(clipboard), wordChars_(WordCharSet("")) {
  Keystrokes.ResetDefaults();
  lines_.OnUpdateEnd = [this](TSynEditStringList&) {
    SetCaretPosEx(caret_, false);
    SetBlockAnchor(caret_);
    if (gutter_.AutoSize) SetClientSize(clientWidth_, clientHeight_);  // the digit count may have changed
    if (!(options_ & eoScrollPastEof)) SetTopRow(topRow_);
    if (OnRepaint) OnRepaint(*this);
  };
  lines_.OnLinesAdded = [this](TSynEditStringList&, int index, int count) {
    if (wrap_) {
      wrap_->InsertLines(index, count);
      for (int i = index; i < index + count; ++i) wrap_->SetLine(i, lines_.ExpandedText(i).View());
    }
    LinesAdded(index, count);
    GrowScrollWidth(index);
  };
  lines_.OnLinesRemoved = [this](TSynEditStringList&, int index, int count) {
    if (wrap_) wrap_->DeleteLines(index, count);
    if (highlighter_ != nullptr && LineCount() > 0) RescanFrom(index);
  };
  lines_.OnLinesReplaced = [this](TSynEditStringList&, int index, int) {
    if (wrap_) wrap_->SetLine(index, lines_.ExpandedText(index).View());
    if (highlighter_ != nullptr) RescanFrom(index);
    GrowScrollWidth(index);
  };
  lines_.OnLinesCleared = [this](TSynEditStringList&) {
    undoList_.ClearRecords();
    redoList_.ClearRecords();
    caret_ = blockAnchor_ = blockActive_ = {1, 1};
    topRow_ = leftColumn_ = 1;
    if (wrap_) wrap_->Reset(0);
  };
  undoList_.OnAdded = [this](TSynEditUndoList& list) { UndoListAdded(list); };
  redoList_.OnAdded = [this](TSynEditUndoList& list) { UndoListAdded(list); };
  MeasureMetrics();
}

TSynEdit::~TSynEdit() {
  SetHighlighter(nullptr);
  lines_.OnUpdateEnd = nullptr;
  lines_.OnLinesAdded = nullptr;
  lines_.OnLinesRemoved = nullptr;
  lines_.OnLinesReplaced = nullptr;
  lines_.OnLinesCleared = nullptr;
}

// ---- highlighting -------------------------------------------------------------------------

void TSynEdit::SetHighlighter(TSynCustomHighlighter* highlighter) {
  if (highlighter == highlighter_) return;
  if (highlighter_ != nullptr) highlighter_->UnsubscribeChanges(&TSynEdit::HighlighterChanged, this);
  highlighter_ = highlighter;
  if (highlighter_ == nullptr) {
    wordChars_ = WordCharSet("");
    return;
  }
  highlighter_->SubscribeChanges(&TSynEdit::HighlighterChanged, this);
  wordChars_ = highlighter_->IdentifierCharSet() & ~highlighter_->WordBreakCharSet();
  RebuildWrap();
  HighlighterChanged(this, {nullptr, highlighter_});
}

void TSynEdit::HighlighterChanged(void* editor, const TSynChangeSender& sender) {
  auto* self = static_cast<TSynEdit*>(editor);
  self->MeasureMetrics();
  if (sender.highlighter != nullptr) {
    self->lines_.OpenUpdate();
    Finally([&] { self->RescanAll(); }, [&] { self->lines_.CloseUpdate(); });
  }
  if (self->OnRepaint) self->OnRepaint(*self);
}

TSynRange TSynEdit::ScanLine(int index) {
  scanLine_.assign(lines_.Get(index).View());
  highlighter_->StartLine(scanLine_.c_str(), index);
  highlighter_->SkipToLineEnd();
  return highlighter_->CurrentRange();
}

int TSynEdit::RescanFrom(int index) {
  if (highlighter_ == nullptr || index >= LineCount()) return index;
  if (index <= 0) {
    index = 0;
    highlighter_->ResetRange();
  } else {
    highlighter_->RestoreRange(lines_.LineRange(index - 1));
  }
  for (;; ++index) {
    TSynRange range = ScanLine(index);
    if (range == lines_.LineRange(index)) return index;
    lines_.SetLineRange(index, range);
    if (index == LineCount() - 1) return index;
  }
}

void TSynEdit::RescanAll() {
  if (highlighter_ == nullptr) return;
  highlighter_->ResetRange();
  for (int index = 0; index < LineCount(); ++index) lines_.SetLineRange(index, ScanLine(index));
}

void TSynEdit::LinesAdded(int index, int count) {
  if (highlighter_ == nullptr || LineCount() == 0) return;
  // Every added line needs its range, even where a rescan stops early.
  for (int line = index; line < index + count; line = RescanFrom(line) + 1) {
  }
}

// ---- lines and positions ------------------------------------------------------------------

std::string TSynEdit::LineText(int line) const { return lines_.Get(line - 1).Str(); }

void TSynEdit::StoreLine(int line, TLineText text) {
  if (options_ & eoTrimTrailingSpaces) {
    std::size_t end = text.View().find_last_not_of(" \t");
    text = text.Part(0, end == std::string_view::npos ? 0 : end + 1);
  }
  lines_.ReplaceLine(line - 1, std::move(text));
}

int TSynEdit::ToCharStart(std::string_view line, int pos) const {
  std::size_t index = static_cast<std::size_t>(pos - 1);
  while (index > 0 && IsInsideUtf8Char(line, index)) --index;
  return static_cast<int>(index) + 1;
}

TBufferCoord TSynEdit::LimitPosition(TBufferCoord pos, bool forCaret) const {
  pos.Line = std::clamp(pos.Line, 1, std::max(1, LineCount()));
  std::string line = LineText(pos.Line);
  int length = static_cast<int>(line.size());
  if (forCaret) {
    if (!(options_ & eoScrollPastEol))
      pos.Char = std::min(pos.Char, length + 1);
    else if (!wordWrap_ && !(options_ & eoAutoSizeMaxScrollWidth))
      pos.Char = std::min(pos.Char, maxScrollWidth_ + 1);
  }
  pos.Char = std::max(pos.Char, 1);
  if (pos.Char <= length) pos.Char = ToCharStart(line, pos.Char);
  return pos;
}

void TSynEdit::SetCaretPosEx(TBufferCoord pos, bool ensureVisible) {
  pos = LimitPosition(pos, true);
  TSynStatusChanges changes = 0;
  if (pos.Char != caret_.Char) changes |= scCaretX;
  if (pos.Line != caret_.Line) changes |= scCaretY;
  caret_ = pos;
  if (changes != 0) StatusChanged(changes);
  if (ensureVisible) EnsureCaretVisible();
}

namespace {

TBufferCoord LimitSelectionEnd(TBufferCoord pos, int lineCount, int maxScrollWidth, bool limitToWidth) {
  pos.Char = std::max(pos.Char, 1);
  if (limitToWidth) pos.Char = std::min(pos.Char, maxScrollWidth + 1);
  pos.Line = std::clamp(pos.Line, 1, std::max(1, lineCount));
  return pos;
}

}  // namespace

void TSynEdit::SetBlockAnchor(TBufferCoord pos) {
  pos = LimitSelectionEnd(pos, LineCount(), maxScrollWidth_, (options_ & eoScrollPastEol) && !wordWrap_);
  std::string line = LineText(pos.Line);
  if (selectionMode_ == TSynSelectionMode::smNormal) pos.Char = std::min(pos.Char, static_cast<int>(line.size()) + 1);
  if (pos.Char <= static_cast<int>(line.size())) pos.Char = ToCharStart(line, pos.Char);
  bool changed = !(pos == blockAnchor_ && pos == blockActive_);
  blockAnchor_ = blockActive_ = pos;
  if (changed) StatusChanged(scSelection);
}

void TSynEdit::SetBlockActive(TBufferCoord pos) {
  pos = LimitSelectionEnd(pos, LineCount(), maxScrollWidth_, (options_ & eoScrollPastEol) && !wordWrap_);
  std::string line = LineText(pos.Line);
  if (selectionMode_ == TSynSelectionMode::smNormal) pos.Char = std::min(pos.Char, static_cast<int>(line.size()) + 1);
  if (pos.Char <= static_cast<int>(line.size())) pos.Char = ToCharStart(line, pos.Char);
  if (pos == blockActive_) return;
  blockActive_ = pos;
  StatusChanged(scSelection);
}

void TSynEdit::SetCaretAndSelection(TBufferCoord caret, TBufferCoord anchor, TBufferCoord active) {
  IncPaintLock();
  SetCaretPos(caret);
  SetBlockAnchor(anchor);
  SetBlockActive(active);
  DecPaintLock();
}

TBufferCoord TSynEdit::SelectionBegin() const { return blockActive_ < blockAnchor_ ? blockActive_ : blockAnchor_; }

TBufferCoord TSynEdit::SelectionEnd() const { return blockActive_ < blockAnchor_ ? blockAnchor_ : blockActive_; }

bool TSynEdit::HasSelection() const {
  return blockAnchor_.Char != blockActive_.Char ||
         (blockAnchor_.Line != blockActive_.Line && selectionMode_ != TSynSelectionMode::smColumn);
}

void TSynEdit::SetSelectionMode(TSynSelectionMode mode) {
  if (mode == selectionMode_) return;
  selectionMode_ = mode;
  if (HasSelection()) StatusChanged(scSelection);
}

std::pair<int, int> TSynEdit::ColumnBounds() const {
  int anchor = ColumnOf(blockAnchor_), active = ColumnOf(blockActive_);
  return {std::min(anchor, active), std::max(anchor, active)};
}

std::pair<std::size_t, std::size_t> TSynEdit::ColumnSpan(int line, int left, int right) const {
  std::size_t length = LineText(line).size();
  return {std::min<std::size_t>(CharAt(line, left).Char - 1, length),
          std::min<std::size_t>(CharAt(line, right).Char - 1, length)};
}

int TSynEdit::CharColumns(std::string_view line, int chars) const {
  int column = 0;
  std::size_t pos = 0, end = std::min(line.size(), static_cast<std::size_t>(std::max(chars, 0)));
  while (pos < end) {
    TUtf8Char cell = DisplayCellAt(line, pos, column, TabWidth());
    column += cell.columns;
    pos += cell.length;
  }
  return column + std::max(0, chars - static_cast<int>(line.size()));
}

TDisplayCoord TSynEdit::BufferToDisplayPos(TBufferCoord pos) const {
  int column = ColumnOf(pos);
  if (!wrap_ || pos.Line < 1 || pos.Line > LineCount()) return {column, pos.Line};
  // The last row that starts at or before the column.
  const std::vector<int>& starts = wrap_->RowStarts(pos.Line - 1);
  auto row = std::upper_bound(starts.begin(), starts.end(), column - 1) - 1;
  return {column - *row, wrap_->FirstRowOf(pos.Line - 1) + static_cast<int>(row - starts.begin())};
}

TBufferCoord TSynEdit::DisplayToBufferPos(TDisplayCoord pos) const {
  if (!wrap_ || LineCount() == 0) return CharAt(pos.Row, pos.Column);
  int line, start, end;
  RowSpan(pos.Row, line, start, end);
  return CharAt(line, std::min(start + pos.Column, end + 1));
}

void TSynEdit::RowSpan(int row, int& line, int& start, int& end) const {
  if (!wrap_ || LineCount() == 0) {
    line = row;
    start = 0;
    end = INT_MAX / 2;
    return;
  }
  int index, k;
  wrap_->RowToLine(row, index, k);
  const std::vector<int>& starts = wrap_->RowStarts(index);
  line = index + 1;
  start = starts[static_cast<std::size_t>(k)];
  end = static_cast<std::size_t>(k) + 1 < starts.size() ? starts[static_cast<std::size_t>(k) + 1] : INT_MAX / 2;
}

void TSynEdit::RebuildWrap() {
  if (!wordWrap_) {
    wrap_.reset();
    return;
  }
  TSynCharSet breaks = ~(highlighter_ != nullptr ? highlighter_->IdentifierCharSet() : [] {
    TSynCharSet set;
    for (int c = 33; c < 256; ++c) set.set(static_cast<std::size_t>(c));
    return set;
  }());
  wrap_ = std::make_unique<TSynWordWrapPlugin>(std::max(visibleColumns_, 1), TabWidth(), breaks);
  wrap_->Reset(LineCount());
  for (int i = 0; i < LineCount(); ++i) wrap_->SetLine(i, lines_.ExpandedText(i).View());
}

TBufferCoord TSynEdit::CharAt(int lineNumber, int column) const {
  std::string line = LineText(lineNumber);
  int reached = 0;
  std::size_t at = 0, start = 0;
  // The position before the character whose cells hold the column.
  while (reached < column) {
    start = at;
    TUtf8Char cell = at < line.size() ? DisplayCellAt(line, at, reached, TabWidth()) : TUtf8Char{1, 1};
    reached += cell.columns;
    at += cell.length;
  }
  return {static_cast<int>(start) + 1, lineNumber};
}

TBufferCoord TSynEdit::NextCharPos(TBufferCoord pos) const {
  std::string line = LineText(pos.Line);
  if (pos.Char > static_cast<int>(line.size())) return {pos.Char + 1, pos.Line};
  return {pos.Char + static_cast<int>(Utf8CharAt(line, static_cast<std::size_t>(pos.Char - 1)).length), pos.Line};
}

TBufferCoord TSynEdit::PrevCharPos(TBufferCoord pos) const {
  if (pos.Char <= 1) return pos;
  std::string line = LineText(pos.Line);
  if (pos.Char > static_cast<int>(line.size()) + 1) return {pos.Char - 1, pos.Line};
  return {ToCharStart(line, pos.Char - 1), pos.Line};
}

// ---- offsets ----------------------------------------------------------------------------

int TSynEdit::RowColToCharIndex(TBufferCoord pos) const {
  int line = std::min(pos.Line, LineCount());
  int offset = 0;
  for (int i = 1; i < line; ++i) offset += static_cast<int>(lines_.Get(i - 1).size()) + 2;
  return offset + pos.Char - 1;
}

TBufferCoord TSynEdit::CharIndexToRowCol(int offset) const {
  int start = 0;
  for (int line = 1; line <= LineCount(); ++line) {
    int end = start + static_cast<int>(lines_.Get(line - 1).size()) + 2;
    if (offset < end) return {offset - start + 1, line};
    start = end;
  }
  return {1, LineCount() + 1};
}

int TSynEdit::SelStartOffset() const { return RowColToCharIndex(HasSelection() ? SelectionBegin() : caret_); }

void TSynEdit::SetSelStartOffset(int offset) {
  IncPaintLock();
  SetCaretPos(CharIndexToRowCol(offset));
  SetBlockAnchor(caret_);
  DecPaintLock();
}

void TSynEdit::SetSelEndOffset(int offset) { SetBlockActive(CharIndexToRowCol(offset)); }

// ---- selected text ----------------------------------------------------------------------

std::string TSynEdit::SelectedText() const {
  if (!HasSelection()) return {};
  TBufferCoord begin = SelectionBegin(), end = SelectionEnd();
  std::string text;
  switch (selectionMode_) {
    case TSynSelectionMode::smNormal: {
      // Measured first, so a large selection is built in one allocation.
      auto part = [&](int line, std::string_view s) {
        std::size_t from = line == begin.Line ? std::min<std::size_t>(begin.Char - 1, s.size()) : 0;
        std::size_t to = line == end.Line ? std::min<std::size_t>(end.Char - 1, s.size()) : s.size();
        return to > from ? s.substr(from, to - from) : std::string_view();
      };
      std::size_t size = static_cast<std::size_t>(end.Line - begin.Line) * 2;
      for (int line = begin.Line; line <= end.Line; ++line) size += part(line, lines_.Get(line - 1)).size();
      text.reserve(size);
      AdviseLargeBuffer(text.data(), text.capacity());
      for (int line = begin.Line; line <= end.Line; ++line) {
        if (line > begin.Line) text += "\r\n";
        text += part(line, lines_.Get(line - 1));
      }
      break;
    }
    case TSynSelectionMode::smLine:
      for (int line = begin.Line; line <= end.Line; ++line) {
        text += LineText(line);
        if (line < LineCount()) text += "\r\n";
      }
      break;
    case TSynSelectionMode::smColumn: {
      auto [left, right] = ColumnBounds();
      for (int line = begin.Line; line <= end.Line; ++line) {
        auto [from, to] = ColumnSpan(line, left, right);
        if (line > begin.Line) text += "\r\n";
        text += LineText(line).substr(from, to - from);
      }
      break;
    }
  }
  return text;
}

void TSynEdit::SelectAllText() {
  IncPaintLock();
  TBufferCoord last = LineCount() == 0 ? TBufferCoord{1, 1}
                                       : TBufferCoord{static_cast<int>(lines_.Get(LineCount() - 1).size()) + 1, LineCount()};
  SetCaretPos(last);
  SetBlockAnchor({1, 1});
  SetBlockActive(last);
  StatusChanged(scSelection);
  DecPaintLock();
}

// ---- state ------------------------------------------------------------------------------

void TSynEdit::SetOptions(TSynEditorOptions options) {
  if (options == options_) return;
  options_ = options;
  SetTopRow(topRow_);
  SetLeftColumn(leftColumn_);
  SetCaretPosEx(caret_, false);
}

void TSynEdit::SetInsertMode(bool insert) {
  if (insert == insertMode_) return;
  insertMode_ = insert;
  StatusChanged(scInsertMode);
}

void TSynEdit::SetReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  StatusChanged(scReadOnly);
}

void TSynEdit::SetMaxScrollWidth(int width) {
  maxScrollWidth_ = std::clamp(width, 1, 65535);
  SetLeftColumn(leftColumn_);
}

void TSynEdit::SetTabWidth(int width) {
  lines_.SetTabWidth(std::clamp(width, 1, 256));
  RebuildWrap();
}

void TSynEdit::SetWordWrap(bool wrap) {
  if (wrap == wordWrap_) return;
  wordWrap_ = wrap;
  if (wrap) leftColumn_ = 1;
  RebuildWrap();
  SetTopRow(topRow_);
  SetCaretPosEx(caret_, true);
  if (OnRepaint) OnRepaint(*this);
}

void TSynEdit::IncPaintLock() { ++paintLock_; }

void TSynEdit::DecPaintLock() {
  if (paintLock_ == 0 || --paintLock_ > 0) return;
  if (statusChanges_ != 0) {
    TSynStatusChanges changes = std::exchange(statusChanges_, TSynStatusChanges{0});
    if (OnStatusChange) OnStatusChange(*this, changes);
  }
  if (OnRepaint) OnRepaint(*this);
}

void TSynEdit::StatusChanged(TSynStatusChanges changes) {
  statusChanges_ |= changes;
  if (paintLock_ == 0) {
    IncPaintLock();
    DecPaintLock();
  }
}

// ---- view -------------------------------------------------------------------------------

void TSynEdit::SetFont(const TFontSpec& font) {
  font_ = font;
  MeasureMetrics();
}

// The widest cell and the tallest row over every style the text can show.
void TSynEdit::MeasureMetrics() {
  std::vector<TFontStyles> styles{font_.style};
  if (highlighter_ != nullptr)
    for (int i = 0; i < highlighter_->AttributeCount(); ++i) styles.push_back(highlighter_->AttributeAt(i)->Style());
  charWidth_ = lineHeight_ = 1;
  for (TFontStyles style : styles) {
    TFontSpec font = font_;
    font.style = style;
    canvas_.SetFont(font);
    charWidth_ = std::max(charWidth_, canvas_.CharWidth());
    lineHeight_ = std::max(lineHeight_, canvas_.LineHeight() + extraLineSpacing_);
  }
  canvas_.SetFont(font_);
  SetClientSize(clientWidth_, clientHeight_);
}

void TSynEdit::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  visibleRows_ = height / lineHeight_;
  int columns = std::max(width - GutterRealWidth() - 2, 0) / charWidth_;
  bool rewrap = wordWrap_ && columns != visibleColumns_;
  visibleColumns_ = columns;
  if (rewrap) RebuildWrap();
  SetTopRow(topRow_);
  SetLeftColumn(leftColumn_);
}

void TSynEdit::SetGutter(const TSynGutter& gutter) {
  gutter_ = gutter;
  gutter_.DigitCount = std::clamp(gutter_.DigitCount, 2, 12);
  gutter_.LeftOffset = std::max(gutter_.LeftOffset, 0);
  gutter_.RightOffset = std::max(gutter_.RightOffset, 0);
  SetClientSize(clientWidth_, clientHeight_);
}

int TSynEdit::GutterRealWidth() const {
  if (!gutter_.Visible) return 0;
  // Digits are measured in the editor font's cells, though drawn in the gutter font.
  if (gutter_.ShowLineNumbers) return gutter_.LeftOffset + gutter_.RightOffset + charWidth_ * GutterDigits() + 2;
  return gutter_.Width;
}

int TSynEdit::GutterDigits() const {
  if (!gutter_.AutoSize) return gutter_.DigitCount;
  int digits = static_cast<int>(std::to_string(std::max(LineCount() - (gutter_.ZeroStart ? 1 : 0), 1)).size());
  return std::max(gutter_.DigitCount, digits);
}

void TSynEdit::SetExtraLineSpacing(int pixels) {
  extraLineSpacing_ = std::max(pixels, 0);
  MeasureMetrics();
}

void TSynEdit::GrowScrollWidth(int index) {
  if (!(options_ & eoAutoSizeMaxScrollWidth) || index < 0 || index >= LineCount()) return;
  maxScrollWidth_ = std::max(maxScrollWidth_, lines_.ExpandedTextLength(index));
}

std::pair<int, int> TSynEdit::ClientPoint(TDisplayCoord pos) const {
  return {(pos.Column - 1) * charWidth_ + GutterRealWidth() + 2 - (leftColumn_ - 1) * charWidth_,
          (pos.Row - topRow_) * lineHeight_};
}

TDisplayCoord TSynEdit::PointToDisplay(int x, int y) const {
  int column = leftColumn_ + (x - GutterRealWidth() - 2 + charWidth_ / 2) / charWidth_;
  int row = topRow_ + (y < 0 ? -1 : y / lineHeight_);
  return {std::max(column, 1), std::max(row, 1)};
}

namespace {

// Scroll bars take ranges up to 32767: larger ones are scaled down in proportion.
TScrollBarInfo Scaled(int max, int page, int position) {
  max = std::max(max, 1);
  if (max <= 32767) return {1, max, page, position};
  double factor = 32767.0 / max;
  return {1, 32767, std::max(1, static_cast<int>(page * factor)), std::max(1, static_cast<int>(position * factor))};
}

}  // namespace

TScrollBarInfo TSynEdit::VerticalScrollInfo() const {
  int max = DisplayRowCount() + ((options_ & eoScrollPastEof) ? visibleRows_ - 1 : 0);
  return Scaled(max, visibleRows_, topRow_);
}

TScrollBarInfo TSynEdit::HorizontalScrollInfo() {
  int max = (options_ & eoScrollPastEol) ? maxScrollWidth_ : std::max(lines_.MaxExpandedLength(), 1);
  return Scaled(max, visibleColumns_, leftColumn_);
}

void TSynEdit::SetTopRow(int row) {
  int last = (options_ & eoScrollPastEof) ? DisplayRowCount() : std::max(DisplayRowCount() - visibleRows_ + 1, 1);
  row = std::clamp(row, 1, last);
  if (row == topRow_) return;
  topRow_ = row;
  StatusChanged(scTopLine);
}

void TSynEdit::SetLeftColumn(int column) {
  int last;
  if (wordWrap_)
    last = 1;
  else if (options_ & eoScrollPastEol)
    last = (options_ & eoAutoSizeMaxScrollWidth) ? column : std::max(maxScrollWidth_ - visibleColumns_ + 1, 1);
  else
    last = std::max(lines_.MaxExpandedLength() - visibleColumns_ + 1, 1);
  column = std::clamp(column, 1, std::max(last, 1));
  if ((options_ & eoScrollPastEol) && (options_ & eoAutoSizeMaxScrollWidth))
    maxScrollWidth_ = std::max(maxScrollWidth_, column + visibleColumns_);
  if (column == leftColumn_) return;
  leftColumn_ = column;
  StatusChanged(scLeftChar);
}

void TSynEdit::EnsureCaretVisible() {
  if (visibleRows_ <= 0 || visibleColumns_ <= 0) return;
  IncPaintLock();
  TDisplayCoord caret = BufferToDisplayPos(caret_);
  if (caret.Column < leftColumn_)
    SetLeftColumn(caret.Column);
  else if (caret.Column >= leftColumn_ + visibleColumns_)
    SetLeftColumn(caret.Column - visibleColumns_ + 1);
  if (caret.Row < topRow_)
    SetTopRow(caret.Row);
  else if (caret.Row > topRow_ + visibleRows_ - 1)
    SetTopRow(caret.Row - visibleRows_ + 1);
  DecPaintLock();
}

// ---- keys -------------------------------------------------------------------------------

TSynEditorCommand TSynEdit::KeyToCommand(TKeyCode key, TShiftState shift) {
  int index = -1;
  if (firstKey_ != 0) index = Keystrokes.FindKeycode2(firstKey_, firstShift_, key, shift);
  // A remembered first key that starts no two-key stroke still lets this key stand alone:
  // otherwise Ctrl+C right after typing a letter would copy nothing.
  if (index < 0) index = Keystrokes.FindKeycode(key, shift);
  if (index >= 0) {
    firstKey_ = 0;
    return Keystrokes.Items[static_cast<std::size_t>(index)].Command;
  }
  if (key >= 30 && key <= 145) {
    firstKey_ = key;
    firstShift_ = shift;
  } else {
    firstKey_ = 0;
  }
  return ecNone;
}

bool TSynEdit::KeyDown(TKeyCode key, TShiftState shift) {
  ignoreNextChar_ = false;
  if (OnKeyDown) OnKeyDown(*this, key, shift);
  if (key == 0) return true;
  TSynEditorCommand command = KeyToCommand(key, shift);
  if (command == ecNone) return false;
  ignoreNextChar_ = true;
  ExecuteCommand(command, 0, nullptr);
  return true;
}

void TSynEdit::KeyPress(char32_t aChar) {
  if (std::exchange(ignoreNextChar_, false)) return;
  if (OnKeyPress) OnKeyPress(*this, aChar);
  if (aChar == 0) return;
  ExecuteCommand(ecChar, aChar, nullptr);
}

void TSynEdit::KeyUp(TKeyCode key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(*this, key, shift);
}

void TSynEdit::DropFiles(int x, int y, const std::vector<std::string>& files) {
  if (AcceptsDroppedFiles() && !files.empty() && OnDropFiles) OnDropFiles(*this, x, y, files);
}

void TSynEdit::ExecuteCommand(TSynEditorCommand command, char32_t aChar, const void* data) {
  IncPaintLock();
  Finally(
      [&] {
        if (command < ecUserFirst) {
          if (OnProcessCommand) OnProcessCommand(*this, command, aChar, data);
        } else if (OnProcessUserCommand) {
          OnProcessUserCommand(*this, command, aChar, data);
        }
        if (command != ecNone && command < ecUserFirst) ExecuteBuiltIn(command, aChar, data);
        if (OnCommandProcessed) OnCommandProcessed(*this, command, aChar, data);
      },
      [&] { DecPaintLock(); });
}

// ---- bookmarks --------------------------------------------------------------------------

bool TSynEdit::GetBookmark(int number, TBufferCoord& pos) const {
  if (number < 0 || number > 9 || !bookmarks_[static_cast<std::size_t>(number)]) return false;
  const TSynEditMark& mark = *bookmarks_[static_cast<std::size_t>(number)];
  pos = {mark.Char, mark.Line};
  return true;
}

void TSynEdit::SetBookmark(int number, TBufferCoord pos) {
  if (number < 0 || number > 9 || pos.Line < 1 || pos.Line > std::max(LineCount(), 1)) return;
  TSynEditMark mark{number, pos.Line, pos.Char, true};
  if (OnPlaceBookmark) OnPlaceBookmark(*this, mark);
  bookmarks_[static_cast<std::size_t>(number)] = mark;
}

void TSynEdit::ClearBookmark(int number) {
  if (number >= 0 && number <= 9) bookmarks_[static_cast<std::size_t>(number)].reset();
}

void TSynEdit::ShiftBookmarks(int fromLine, int delta) {
  for (auto& mark : bookmarks_) {
    if (!mark || mark->Line < fromLine) continue;
    // delta > 0: lines inserted before fromLine; delta < 0: lines removed from fromLine on,
    // and a bookmark on a removed line goes to the line that takes its place.
    mark->Line = delta > 0 ? mark->Line + delta : std::max(fromLine, mark->Line + delta);
  }
}

}  // namespace tarnwick
