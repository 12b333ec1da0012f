// The mouse: clicks place the caret, drags select, the wheel and the drag-scroll timer scroll.
#include <algorithm>

#include "editor/SynEdit.h"
#include "editor/SynEditScope.h"

namespace tarnwick {

TBufferCoord TSynEdit::PositionAt(int x, int y) const {
  TDisplayCoord display = PointToDisplay(x, y);
  display.Row = std::clamp(display.Row, 1, DisplayRowCount());
  return DisplayToBufferPos(display);
}

void TSynEdit::MouseDown(int x, int y, TShiftState shift, bool doubleClick) {
  if (x < GutterRealWidth()) return;
  IncPaintLock();
  if (options_ & eoAltSetsColumnMode) SetSelectionMode((shift & ssAlt) ? TSynSelectionMode::smColumn : TSynSelectionMode::smNormal);
  TBufferCoord pos = LimitPosition(PositionAt(x, y), true);
  dragPending_ = false;
  bool insideSelection = HasSelection() && selectionMode_ == TSynSelectionMode::smNormal && SelectionBegin() <= pos &&
                         pos < SelectionEnd();
  if (!doubleClick && !(shift & ssShift) && insideSelection && (options_ & eoDragDropEditing)) {
    // The selection stays: moving the mouse now drags it.
    dragPending_ = true;
    pressedAt_ = pos;
    mouseSelecting_ = false;
  } else if (doubleClick) {
    SetCaretPos(pos);
    if (!(options_ & eoNoSelection)) {
      std::string line = LineText(caret_.Line);
      std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(caret_.Char - 1), line.size());
      std::size_t start = at, end = at;
      while (start > 0 && IsWordChar(line[start - 1])) --start;
      while (end < line.size() && IsWordChar(line[end])) ++end;
      SetCaretAndSelection({static_cast<int>(end) + 1, caret_.Line}, {static_cast<int>(start) + 1, caret_.Line},
                           {static_cast<int>(end) + 1, caret_.Line});
    }
    mouseSelecting_ = false;
  } else if (shift & ssShift) {
    TBufferCoord anchor = HasSelection() ? blockAnchor_ : caret_;
    SetCaretAndSelection(pos, anchor, pos);
    mouseSelecting_ = true;
  } else {
    SetCaretAndSelection(pos, pos, pos);
    mouseSelecting_ = true;
  }
  lastCaretColumn_ = BufferToDisplayPos(caret_).Column;
  DecPaintLock();
}

void TSynEdit::MouseMove(int x, int y) {
  if (!mouseSelecting_) return;
  IncPaintLock();
  TBufferCoord anchor = blockAnchor_;
  TBufferCoord pos = LimitPosition(PositionAt(std::max(x, GutterRealWidth() + 2), y), true);
  SetCaretPos(pos);
  SetBlockAnchor(anchor);
  SetBlockActive(pos);
  DecPaintLock();
}

void TSynEdit::MouseUp() {
  mouseSelecting_ = false;
  // A press inside the selection that did not become a drag is an ordinary click.
  if (std::exchange(dragPending_, false)) SetCaretAndSelection(pressedAt_, pressedAt_, pressedAt_);
}

bool TSynEdit::DropSelectionFrom(TSynEdit& source, int x, int y, bool copy) {
  if (readOnly_ || !source.HasSelection()) return false;
  TBufferCoord at = LimitPosition(PositionAt(x, y), true);
  bool same = &source == this;
  TBufferCoord begin = SelectionBegin(), end = SelectionEnd();
  if (same && ((begin < at && at < end) || (!copy && (at == begin || at == end)))) return false;
  std::string text = source.SelectedText();
  TSynSelectionMode mode = source.SelectionMode();
  IncPaintLock();
  undoList_.OpenBlock();
  TSynEditorOptions saved = options_;
  Finally(
      [&] {
        if (!copy) {
          if (same) {
            // What goes before the drop point moves it back.
            RecordSelectionRemoval();
            SetSelectedTextRaw(selectionMode_, "");
            if (end <= at) {
              if (at.Line == end.Line) at.Char = begin.Char + (at.Char - end.Char);
              at.Line -= end.Line - begin.Line;
            }
          } else {
            source.SetSelectedText("");
          }
        }
        SetCaretAndSelection(at, at, at);
        options_ |= eoScrollPastEol;
        SuspendUndo();
        Finally([&] { SetSelectedTextRaw(mode, text); }, [&] { ResumeUndo(); });
        TBufferCoord after = caret_;
        RecordChange(same ? TChangeKind::ckDragInserted : TChangeKind::ckInserted, at, after, {}, mode);
        SetCaretAndSelection(at, after, at);
      },
      [&] {
        options_ = saved;
        undoList_.CloseBlock();
        DecPaintLock();
      });
  return true;
}

void TSynEdit::RightMouseDown(int x, int y) {
  if (!(options_ & eoRightMouseMovesCursor) || x < GutterRealWidth()) return;
  TBufferCoord pos = LimitPosition(PositionAt(x, y), true);
  bool inside = HasSelection() && SelectionBegin() <= pos && pos < SelectionEnd();
  if (!inside) SetCaretAndSelection(pos, pos, pos);
}

void TSynEdit::DragScrollTick(int x, int y, TShiftState shift) {
  if (!mouseSelecting_) return;
  int textLeft = GutterRealWidth() + 2;
  int columns = 0, rows = 0;
  if (x < textLeft) columns = (x - textLeft) / charWidth_ - 1;
  if (x >= clientWidth_) columns = (x - clientWidth_) / charWidth_ + 1;
  if (y < 0) rows = y / lineHeight_ - 1;
  if (y >= clientHeight_) rows = (y - clientHeight_) / lineHeight_ + 1;
  if (shift & ssShift) rows *= std::max(visibleRows_, 1);
  if (columns == 0 && rows == 0) return;
  IncPaintLock();
  SetLeftColumn(leftColumn_ + columns);
  SetTopRow(topRow_ + rows);
  // The caret goes to the first or last visible column and row in the direction scrolled.
  TDisplayCoord display = BufferToDisplayPos(caret_);
  if (columns < 0) display.Column = leftColumn_;
  if (columns > 0) display.Column = leftColumn_ + std::max(visibleColumns_, 1) - 1;
  if (rows < 0) display.Row = topRow_;
  if (rows > 0) display.Row = std::min(topRow_ + std::max(visibleRows_, 1) - 1, DisplayRowCount());
  TBufferCoord anchor = blockAnchor_;
  SetCaretPosEx(DisplayToBufferPos(display), false);
  SetBlockAnchor(anchor);
  SetBlockActive(caret_);
  DecPaintLock();
}

void TSynEdit::MouseWheel(int delta, TShiftState shift, int linesPerNotch) {
  wheelAccumulator_ += delta;
  int notches = wheelAccumulator_ / 120;
  if (notches == 0) return;
  wheelAccumulator_ -= notches * 120;
  int step;
  if (shift & ssCtrl)
    step = (options_ & eoHalfPageScroll) ? visibleRows_ / 2 : visibleRows_;
  else  // a setting of a whole page (0 or less here) or more than a page means a page
    step = linesPerNotch <= 0 || linesPerNotch > visibleRows_ ? visibleRows_ : linesPerNotch;
  SetTopRow(topRow_ - notches * std::max(step, 1));
}

TRect TSynEdit::CaretRect() const {
  auto [x, y] = ClientPoint(BufferToDisplayPos(caret_));
  int height = lineHeight_ - 2;
  switch (insertMode_ ? InsertCaret : OverwriteCaret) {
    case TSynEditCaretType::ctVerticalLine: return {x - 1, y, x + 1, y + height};
    case TSynEditCaretType::ctHorizontalLine: return {x, y + lineHeight_ - 2, x + charWidth_, y + lineHeight_};
    case TSynEditCaretType::ctHalfBlock: return {x, y + height / 2, x + charWidth_, y + height};
    case TSynEditCaretType::ctBlock: break;
  }
  return {x, y, x + charWidth_, y + height};
}

std::string TSynEdit::ScrollHintText(int topRow) const {
  if (ScrollHintFormat == TSynScrollHintFormat::shfTopLineOnly) return "Top Line: " + std::to_string(topRow);
  int last = std::min(topRow + std::max(visibleRows_, 1) - 1, std::max(LineCount(), 1));
  return std::to_string(topRow) + " - " + std::to_string(last);
}

TSynMouseCursor TSynEdit::MouseCursorAt(int x, int y) const {
  if (x < GutterRealWidth()) return TSynMouseCursor::crDefault;
  if ((options_ & eoDragDropEditing) && selectionMode_ == TSynSelectionMode::smNormal && HasSelection()) {
    TBufferCoord pos = PositionAt(x, y);
    if (SelectionBegin() <= pos && pos < SelectionEnd()) return TSynMouseCursor::crArrow;
  }
  return TSynMouseCursor::crIBeam;
}

}  // namespace tarnwick
