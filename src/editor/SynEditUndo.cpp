#include "editor/SynEditUndo.h"

namespace tarnwick {

std::optional<TChangeKind> MatchingStartMarker(TChangeKind end) {
  switch (end) {
    case TChangeKind::ckCompletionEnd: return TChangeKind::ckCompletionStart;
    case TChangeKind::ckPasteEnd: return TChangeKind::ckPasteStart;
    case TChangeKind::ckCustom1End: return TChangeKind::ckCustom1Start;
    case TChangeKind::ckCustom2End: return TChangeKind::ckCustom2Start;
    default: return std::nullopt;
  }
}

std::optional<TChangeKind> MatchingEndMarker(TChangeKind start) {
  switch (start) {
    case TChangeKind::ckCompletionStart: return TChangeKind::ckCompletionEnd;
    case TChangeKind::ckPasteStart: return TChangeKind::ckPasteEnd;
    case TChangeKind::ckCustom1Start: return TChangeKind::ckCustom1End;
    case TChangeKind::ckCustom2Start: return TChangeKind::ckCustom2End;
    default: return std::nullopt;
  }
}

void TSynEditUndoList::AdvanceSerial() {
  if (++nextSerial_ == 0) ++nextSerial_;
}

void TSynEditUndoList::Push(TSynEditUndoItem item) {
  TChangeKind kind = item.Kind;
  items_.push_back(std::move(item));
  while (static_cast<int>(items_.size()) > limit_) {
    items_.pop_front();
    truncated_ = true;
  }
  if (kind != TChangeKind::ckGroupBreak && OnAdded) OnAdded(*this);
}

void TSynEditUndoList::RecordChange(TChangeKind kind, TBufferCoord start, TBufferCoord end, std::string text,
                                    TSynSelectionMode mode) {
  if (lockDepth_ > 0) return;
  std::int32_t serial = blockSerial_ != 0 ? blockSerial_ : nextSerial_;
  if (blockSerial_ == 0 && blockDepth_ == 0) AdvanceSerial();
  Push({kind, mode, start, end, std::move(text), serial});
}

void TSynEditUndoList::OpenBlock() {
  if (blockDepth_++ == 0) blockSerial_ = nextSerial_;
}

void TSynEditUndoList::CloseBlock() {
  if (blockDepth_ == 0) return;
  if (--blockDepth_ > 0) return;
  std::int32_t closed = blockSerial_;
  blockSerial_ = 0;
  AdvanceSerial();
  if (!items_.empty() && items_.back().Serial == closed && OnAdded) OnAdded(*this);
}

std::optional<TSynEditUndoItem> TSynEditUndoList::TakeLast() {
  if (items_.empty()) return std::nullopt;
  TSynEditUndoItem item = std::move(items_.back());
  items_.pop_back();
  return item;
}

void TSynEditUndoList::InsertGroupBreak() {
  if (LastKind() == TChangeKind::ckGroupBreak) return;
  RecordChange(TChangeKind::ckGroupBreak, {}, {}, {}, TSynSelectionMode::smNormal);
}

void TSynEditUndoList::SetLimit(int limit) {
  limit_ = limit < 0 ? 0 : limit;
  while (static_cast<int>(items_.size()) > limit_) {
    items_.pop_front();
    truncated_ = true;
  }
}

void TSynEditUndoList::ClearRecords() {
  items_.clear();
  truncated_ = false;
}

void TSynEditUndoList::MarkSaved(bool saved) {
  if (saved)
    savedSerial_ = items_.empty() ? 0 : items_.back().Serial;
  else if (AtSavedState())
    savedSerial_ = -1;
}

bool TSynEditUndoList::AtSavedState() const {
  return items_.empty() ? savedSerial_ == 0 : items_.back().Serial == savedSerial_;
}

}  // namespace tarnwick
