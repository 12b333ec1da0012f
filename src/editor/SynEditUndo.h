#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "editor/SynEditTypes.h"

namespace tarnwick {

enum class TChangeKind : std::uint8_t {
  ckInserted = 0,
  ckPasted = 1,
  ckDragInserted = 2,
  ckRemovedAfterCaret = 3,
  ckRemoved = 4,
  ckLineSplit = 5,
  ckIndented = 6,
  ckUnindented = 7,
  ckQuietRemoved = 8,
  ckQuietRemovedAfterCaret = 9,
  ckCompletionStart = 10,
  ckCompletionEnd = 11,
  ckPasteStart = 12,
  ckPasteEnd = 13,
  ckCustom1Start = 14,
  ckCustom1End = 15,
  ckCustom2Start = 16,
  ckCustom2End = 17,
  ckCaretMoved = 18,
  ckSelectionChanged = 19,
  ckNone = 20,
  ckGroupBreak = 21,
  ckAllRemoved = 22,
  ckPaddingAdded = 25,
};

struct TSynEditUndoItem {
  TChangeKind Kind = TChangeKind::ckNone;
  TSynSelectionMode Mode = TSynSelectionMode::smNormal;
  TBufferCoord StartPos;
  TBufferCoord EndPos;
  std::string SavedText;
  std::int32_t Serial = 0;
};

// The start marker that pairs with an end marker, or nothing for other kinds.
std::optional<TChangeKind> MatchingStartMarker(TChangeKind end);
std::optional<TChangeKind> MatchingEndMarker(TChangeKind start);

// One list of change records, newest on top, with blocks that share a serial number.
class TSynEditUndoList {
 public:
  std::function<void(TSynEditUndoList&)> OnAdded;

  void RecordChange(TChangeKind kind, TBufferCoord start, TBufferCoord end, std::string text, TSynSelectionMode mode);
  void OpenBlock();
  void CloseBlock();
  std::optional<TSynEditUndoItem> TakeLast();
  const TSynEditUndoItem* LastRecord() const { return items_.empty() ? nullptr : &items_.back(); }
  TChangeKind LastKind() const { return items_.empty() ? TChangeKind::ckNone : items_.back().Kind; }
  void InsertGroupBreak();
  void HoldRecording() { ++lockDepth_; }
  void ReleaseRecording() {
    if (lockDepth_ > 0) --lockDepth_;
  }
  int Limit() const { return limit_; }
  void SetLimit(int limit);
  void ClearRecords();
  void MarkSaved(bool saved);
  bool AtSavedState() const;

  bool Empty() const { return items_.empty(); }
  const std::deque<TSynEditUndoItem>& Items() const { return items_; }
  bool Truncated() const { return truncated_; }
  int BlockDepth() const { return blockDepth_; }
  std::int32_t BlockSerial() const { return blockSerial_; }
  // An undo or redo step makes everything it records on the other list one block there.
  void SetBlockSerial(std::int32_t serial) { blockSerial_ = serial; }

 private:
  void AdvanceSerial();
  void Push(TSynEditUndoItem item);

  std::deque<TSynEditUndoItem> items_;
  int limit_ = 1024;
  std::int32_t nextSerial_ = 1;
  std::int32_t blockSerial_ = 0;
  int blockDepth_ = 0;
  int lockDepth_ = 0;
  std::int32_t savedSerial_ = 0;
  bool truncated_ = false;
};

}  // namespace tarnwick
