#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/LineText.h"

namespace tarnwick {

class TAtomicFileWriter;

// A highlighter's scan state at the end of a line, stored and compared but never read here.
using TLineRange = std::intptr_t;
constexpr TLineRange UnsetRange = -1;

enum TSynEditStringFlag : std::uint8_t {
  TabsFound = 1 << 0,
  NoTabsFound = 1 << 1,
  LengthStale = 1 << 2,
};
using TSynEditStringFlags = std::uint8_t;

enum class TSynEditLineBreakStyle { lbCRLF, lbLF, lbCR };

// Expanded text and lengths count screen columns. The expanded form keeps the bytes of each
// UTF-8 character together and unchanged: a character is one cell of one column, or of two
// for an East Asian wide character, and a byte that is no character is a one-column cell of
// its own (see Utf8CharAt). Each column of a tab is a cell holding one tab byte (a space with
// tab width 1), so the painter walks cells and can tell tab cells from real blanks. A line of
// ASCII without tabs has as many columns as bytes.
struct TSynEditStringRec {
  TTextRef Text;
  TLineRange Range;
  std::int32_t ExpandedLength;
  TSynEditStringFlags Flags;
};

class ESynEditStringList : public std::out_of_range {
 public:
  explicit ESynEditStringList(int index);
};

class EListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The lines of one document, with each line's scan state and cached display width. Lines are
// records in one array with a gap at the place of the last change, so that typing line breaks
// in a long file moves no records; records move as raw memory.
class TSynEditStringList {
 public:
  using TNotify = std::function<void(TSynEditStringList&)>;
  using TLinesNotify = std::function<void(TSynEditStringList&, int index, int count)>;

  TSynEditStringList();
  ~TSynEditStringList();
  TSynEditStringList(const TSynEditStringList&) = delete;
  TSynEditStringList& operator=(const TSynEditStringList&) = delete;

  int Count() const { return count_; }
  int AllocatedLines() const { return capacity_; }
  void SetAllocatedLines(int lines);

  // Out of range: empty text, null data, range 0.
  TLineText Get(int index) const;
  void* GetLineData(int index) const;
  TLineRange LineRange(int index) const;
  TSynEditStringFlags LineFlags(int index) const;

  TLineText ExpandedText(int index);
  int ExpandedTextLength(int index);
  int MaxExpandedLength();
  int LongestLineIndex() const { return longestLineIndex_; }

  // Lines joined by CR LF, whatever the line break style.
  std::string Text() const;
  void SetText(std::string_view text);

  int Add(TLineText text);
  void Insert(int index, TLineText text);
  void ReplaceLine(int index, TLineText text);
  void Delete(int index);
  void InsertEmptyLines(int index, int count);
  void RemoveLines(int index, int count);
  void Exchange(int first, int second);
  void SetLineData(int index, void* data);
  void SetLineRange(int index, TLineRange range);
  void Clear();
  void AppendLines(const TSynEditStringList& source);
  void CopyLinesFrom(const TSynEditStringList& source);

  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int width);

  TSynEditLineBreakStyle LineBreakStyle() const { return lineBreakStyle_; }
  void SetLineBreakStyle(TSynEditLineBreakStyle style) { lineBreakStyle_ = style; }
  bool TerminateLastLine() const { return terminateLastLine_; }
  void SetTerminateLastLine(bool terminate) { terminateLastLine_ = terminate; }

  void OpenUpdate();
  void CloseUpdate();

  void LoadFile(const std::string& name);
  void ReadStream(std::istream& stream);
  // Replaces the file atomically: a failed save leaves the old file as it was.
  void SaveFile(const std::string& name);
  void WriteStream(std::ostream& stream);

  TNotify OnUpdateBegin;
  TNotify OnUpdateEnd;
  TNotify OnLinesCleared;
  TLinesNotify OnLinesAdded;
  TLinesNotify OnLinesRemoved;
  TLinesNotify OnLinesReplaced;

 private:
  using TExpandRoutine = int (*)(std::string_view text, int tabWidth, std::string* out);

  TSynEditStringRec& Rec(int index) { return lines_[index < gapStart_ ? index : index + (capacity_ - count_)]; }
  const TSynEditStringRec& Rec(int index) const {
    return lines_[index < gapStart_ ? index : index + (capacity_ - count_)];
  }
  void CheckIndex(int index, int limit) const;
  template <class TBody>
  void Bracketed(TBody&& body);
  void MoveGapTo(int index);
  void Resize(int capacity);
  void Grow();
  // Opens count records at index (the gap is there afterwards) and returns the first.
  TSynEditStringRec* OpenRecords(int index, int count);
  void CloseRecords(int index, int count);
  void ReleaseRecords(int index, int count);
  void AddLoaded(TTextRef text);
  int Expand(TSynEditStringRec& rec, std::string* out);
  std::size_t SavedSize() const;
  template <class TSink>
  void WriteLines(TSink& sink) const;
  void ReadBlock(TTextBlock* block);

  // Data is a slot that almost no line uses, so it lives beside the records, sorted by line.
  void ShiftLineData(int from, int delta);
  void DropLineData(int from, int count);

  TSynEditStringRec* lines_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
  int gapStart_ = 0;
  std::vector<std::pair<int, void*>> lineData_;
  TSynEditLineBreakStyle lineBreakStyle_;
  bool terminateLastLine_ = true;
  int tabWidth_ = 8;
  TExpandRoutine expand_;
  int longestLineIndex_ = -1;
  int updateCount_ = 0;
};

// Collects saved text in a 16384-byte buffer and writes it whole to the file; the file takes
// the new content only at Commit. A writer dropped before Commit leaves the old file.
class TSynEditFileWriter {
 public:
  explicit TSynEditFileWriter(const std::string& name);
  ~TSynEditFileWriter();

  void SetLineBreakStyle(TSynEditLineBreakStyle style);
  void WriteText(std::string_view text);
  void WriteLineText(std::string_view text);
  void Flush();
  void Commit();

 private:
  void Reserve(std::size_t bytes);

  std::string name_;
  std::unique_ptr<TAtomicFileWriter> file_;
  std::string buffer_;
  std::size_t capacity_ = 16384;
  std::string_view lineBreak_ = "\r\n";
};

}  // namespace tarnwick
