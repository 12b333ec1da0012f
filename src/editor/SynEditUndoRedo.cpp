// Undo and redo steps over the two change lists, and the Modified flag they drive.
#include <algorithm>

#include "editor/SynEdit.h"
#include "editor/SynEditScope.h"

namespace tarnwick {

namespace {

using Kind = TChangeKind;

bool IsReplaceKind(Kind kind) { return kind == Kind::ckInserted || kind == Kind::ckPasted || kind == Kind::ckDragInserted; }

bool IsRemoveKind(Kind kind) {
  return kind == Kind::ckRemoved || kind == Kind::ckRemovedAfterCaret || kind == Kind::ckQuietRemoved ||
         kind == Kind::ckQuietRemovedAfterCaret;
}

bool CaretAtStart(Kind kind) { return kind == Kind::ckRemovedAfterCaret || kind == Kind::ckQuietRemovedAfterCaret; }

bool SelectsRestored(Kind kind) { return kind == Kind::ckRemoved || kind == Kind::ckRemovedAfterCaret; }

std::vector<std::string> SplitLinesCRLF(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t at = text.find("\r\n", start);
    parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return parts;
    start = at + 2;
  }
}

}  // namespace

void TSynEdit::SetModified(bool modified) {
  if (modified == modified_) return;
  modified_ = modified;
  if (!modified && (options_ & eoGroupUndo) && !undoList_.Empty()) undoList_.InsertGroupBreak();
  undoList_.MarkSaved(!modified);
  StatusChanged(scModified);
}

void TSynEdit::RecomputeModified() {
  bool modified = !undoList_.AtSavedState();
  if (modified == modified_) return;
  modified_ = modified;
  StatusChanged(scModified);
}

void TSynEdit::SetMaxUndo(int limit) {
  if (limit < 0) return;
  undoList_.SetLimit(limit);
  redoList_.SetLimit(limit);
}

void TSynEdit::SuspendUndo() {
  undoList_.HoldRecording();
  redoList_.HoldRecording();
}

void TSynEdit::ResumeUndo() {
  undoList_.ReleaseRecording();
  redoList_.ReleaseRecording();
}

void TSynEdit::UndoListAdded(TSynEditUndoList& list) {
  RecomputeModified();
  // A new change discards what could be redone.
  if (&list == &undoList_ && !inRedo_ && undoList_.LastKind() != Kind::ckGroupBreak) redoList_.ClearRecords();
  if (list.BlockDepth() == 0 && OnChange) OnChange(*this);
}

TBufferCoord TSynEdit::RestoreText(const TSynEditUndoItem& item) {
  TBufferCoord at = item.StartPos < item.EndPos ? item.StartPos : item.EndPos;
  if (item.Mode == TSynSelectionMode::smColumn)
    at = {std::min(item.StartPos.Char, item.EndPos.Char), std::min(item.StartPos.Line, item.EndPos.Line)};
  bool lineAdded = at.Line > LineCount();
  if (lineAdded) lines_.Add("");
  SetCaretAndSelection(at, at, at);
  SetSelectedTextRaw(item.Mode, item.SavedText);
  // A line added to hold the text belongs to what was restored: a redo removes its break too.
  if (lineAdded && at.Line > 1) return {static_cast<int>(LineText(at.Line - 1).size()) + 1, at.Line - 1};
  return at;
}

// Reverses one record (for a redo step: performs it again) and records the inverse change
// on target, so that the other list can take it back.
void TSynEdit::ReverseItem(TSynEditUndoItem item, TSynEditUndoList& target, bool isRedo) {
  TSynSelectionMode savedMode = selectionMode_;
  TSynEditorOptions savedOptions = options_;
  selectionMode_ = item.Mode;
  options_ |= eoScrollPastEol;
  // Built field by field: a record may hold megabytes of text, moved rather than copied.
  TSynEditUndoItem inverse{item.Kind, item.Mode, item.StartPos, item.EndPos, {}, 0};
  undoList_.HoldRecording();  // the edits below must not record themselves
  Finally(
      [&] {
        Kind kind = item.Kind;
        if (IsReplaceKind(kind)) {
          SetCaretAndSelection(item.StartPos, item.StartPos, item.EndPos);
          inverse.SavedText = SelectedText();
          SetSelectedTextRaw(item.Mode, item.SavedText);
          inverse.EndPos = caret_;
          TBufferCoord caret = isRedo ? caret_ : item.StartPos;
          SetCaretAndSelection(caret, caret, caret);
        } else if (IsRemoveKind(kind) && !isRedo) {
          TBufferCoord at = RestoreText(item);
          inverse.SavedText = std::move(item.SavedText);
          // What a redo removes again: exactly the text put back, in the record's direction.
          if (item.Mode != TSynSelectionMode::smColumn) {
            bool forward = item.StartPos <= item.EndPos;
            inverse.StartPos = forward ? at : caret_;
            inverse.EndPos = forward ? caret_ : at;
          }
          TBufferCoord caret = CaretAtStart(kind) ? item.StartPos : item.EndPos;
          TBufferCoord other = CaretAtStart(kind) ? item.EndPos : item.StartPos;
          if (SelectsRestored(kind))
            SetCaretAndSelection(caret, other, caret);
          else
            SetCaretAndSelection(caret, caret, caret);
        } else if (IsRemoveKind(kind)) {
          SetCaretAndSelection(item.EndPos, item.StartPos, item.EndPos);
          inverse.SavedText = SelectedText();
          SetSelectedTextRaw(item.Mode, "");
          SetCaretAndSelection(caret_, caret_, caret_);
        } else if (kind == Kind::ckLineSplit && !isRedo) {
          int L = item.StartPos.Line;
          std::string line = LineText(L);
          bool leadingBlank = !item.SavedText.empty() && (item.SavedText[0] == ' ' || item.SavedText[0] == '\t');
          if (static_cast<int>(line.size()) < item.StartPos.Char - 1 && !leadingBlank)
            line.resize(static_cast<std::size_t>(item.StartPos.Char - 1), ' ');
          inverse.EndPos = {static_cast<int>(line.size()) + 1, L};
          inverse.SavedText = LineText(L + 1);
          lines_.OpenUpdate();
          Finally(
              [&] {
                lines_.ReplaceLine(L - 1, line + item.SavedText);
                if (L < LineCount()) lines_.Delete(L);
                ShiftBookmarks(L + 1, -1);
              },
              [&] { lines_.CloseUpdate(); });
          SetCaretAndSelection(item.StartPos, item.StartPos, item.StartPos);
        } else if (kind == Kind::ckLineSplit) {
          int L = item.StartPos.Line;
          std::string line = LineText(L);
          std::size_t cut = std::min<std::size_t>(static_cast<std::size_t>(item.EndPos.Char - 1), line.size());
          std::string tail = line.substr(cut);
          lines_.OpenUpdate();
          Finally(
              [&] {
                StoreLine(L, line.substr(0, cut));
                lines_.Insert(L, item.SavedText);
                ShiftBookmarks(L + 1, 1);
              },
              [&] { lines_.CloseUpdate(); });
          inverse.EndPos = item.StartPos;
          inverse.SavedText = tail;
          TBufferCoord caret{static_cast<int>(item.SavedText.size() - std::min(tail.size(), item.SavedText.size())) + 1, L + 1};
          SetCaretAndSelection(caret, caret, caret);
        } else if (kind == Kind::ckIndented) {
          SetCaretAndSelection(item.EndPos, item.StartPos, item.EndPos);
        } else if (kind == Kind::ckUnindented) {
          inverse.SavedText = item.SavedText;
          std::vector<std::string> pieces = SplitLinesCRLF(item.SavedText);
          lines_.OpenUpdate();
          Finally(
              [&] {
                for (std::size_t i = 0; i < pieces.size(); ++i) {
                  int line = item.StartPos.Line + static_cast<int>(i);
                  if (line > LineCount()) break;
                  std::string s = LineText(line);
                  std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(item.StartPos.Char - 1), s.size());
                  if (isRedo)
                    s.erase(at, std::min(pieces[i].size(), s.size() - at));
                  else
                    s.insert(at, pieces[i]);
                  lines_.ReplaceLine(line - 1, s);
                }
              },
              [&] { lines_.CloseUpdate(); });
          TBufferCoord first{1, item.StartPos.Line};
          TBufferCoord last{static_cast<int>(LineText(item.EndPos.Line).size()) + 1, item.EndPos.Line};
          SetCaretAndSelection(last, first, last);
        } else if (kind == Kind::ckCaretMoved) {
          inverse.StartPos = inverse.EndPos = caret_;
          SetCaretPos(item.StartPos);
        } else if (kind == Kind::ckSelectionChanged) {
          inverse.StartPos = blockAnchor_;
          inverse.EndPos = blockActive_;
          SetCaretAndSelection(item.EndPos, item.StartPos, item.EndPos);
        } else if (kind == Kind::ckPaddingAdded) {
          int L = item.StartPos.Line;
          std::string s = LineText(L);
          std::size_t from = static_cast<std::size_t>(item.StartPos.Char - 1);
          // The record keeps the padding itself: the blanks may have been trimmed away since.
          inverse.SavedText = item.SavedText;
          if (isRedo) {
            // Stored untrimmed: the character that follows goes after exactly these blanks.
            if (s.size() < from) s.resize(from, ' ');
            s.insert(from, item.SavedText);
            lines_.ReplaceLine(L - 1, s);
          } else if (from < s.size()) {
            std::size_t to = std::min(s.size(), static_cast<std::size_t>(item.EndPos.Char - 1));
            StoreLine(L, s.erase(from, to - from));
          }
          SetCaretAndSelection(item.StartPos, item.StartPos, item.StartPos);
        }
      },
      [&] {
        undoList_.ReleaseRecording();
        selectionMode_ = savedMode;
        options_ = savedOptions;
      });
  target.RecordChange(inverse.Kind, inverse.StartPos, inverse.EndPos, std::move(inverse.SavedText), inverse.Mode);
  EnsureCaretVisible();
}

bool TSynEdit::SameStep(const TSynEditUndoList& list, TChangeKind reversed, std::int32_t serial) const {
  const TSynEditUndoItem* next = list.LastRecord();
  if (next == nullptr) return false;
  if (next->Serial == serial) return true;
  return (options_ & eoGroupUndo) && next->Kind == reversed && reversed != Kind::ckIndented &&
         reversed != Kind::ckUnindented;
}

// Moves one step from one list to the other, reversing each record: a bracketed block up to
// its marker, or the records that belong together with the last one.
void TSynEdit::ReverseStep(TSynEditUndoList& from, TSynEditUndoList& to, bool isRedo) {
  Kind first = from.LastKind();
  std::int32_t serial = from.LastRecord()->Serial;
  std::optional<Kind> marker = isRedo ? MatchingEndMarker(first) : MatchingStartMarker(first);
  std::int32_t saved = to.BlockSerial();
  to.SetBlockSerial(serial);
  inRedo_ = isRedo;
  Finally(
      [&] {
        for (;;) {
          TSynEditUndoItem item = std::move(*from.TakeLast());
          Kind kind = item.Kind;
          ReverseItem(std::move(item), to, isRedo);
          if (from.Empty()) break;
          if (marker) {
            if (from.LastKind() == *marker) {
              ReverseItem(*from.TakeLast(), to, isRedo);
              break;
            }
            continue;
          }
          if (!SameStep(from, kind, serial)) break;
        }
      },
      [&] {
        inRedo_ = false;
        to.SetBlockSerial(saved);
      });
}

void TSynEdit::Undo() {
  if (readOnly_) return;
  IncPaintLock();
  Finally(
      [&] {
        if (undoList_.LastKind() == Kind::ckGroupBreak) {
          TSynEditUndoItem groupBreak = *undoList_.TakeLast();
          std::int32_t saved = redoList_.BlockSerial();
          redoList_.SetBlockSerial(groupBreak.Serial);
          redoList_.RecordChange(Kind::ckGroupBreak, {}, {}, {}, TSynSelectionMode::smNormal);
          redoList_.SetBlockSerial(saved);
          RecomputeModified();
        }
        if (undoList_.Empty()) return;
        ReverseStep(undoList_, redoList_, false);
        RecomputeModified();
      },
      [&] { DecPaintLock(); });
}

void TSynEdit::Redo() {
  if (readOnly_ || redoList_.Empty()) return;
  IncPaintLock();
  Finally(
      [&] {
        ReverseStep(redoList_, undoList_, true);
        if (redoList_.LastKind() == Kind::ckGroupBreak) {
          redoList_.TakeLast();
          undoList_.RecordChange(Kind::ckGroupBreak, {}, {}, {}, TSynSelectionMode::smNormal);
        }
        RecomputeModified();
      },
      [&] { DecPaintLock(); });
}

}  // namespace tarnwick
