#include "editor/SynEditTextBuffer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <limits>
#include <new>
#include <ostream>
#include <system_error>

#include "editor/LineBreaks.h"
#include "editor/SynEditScope.h"
#include "editor/Utf8.h"
#include "platform/AtomicFile.h"
#include "platform/FileErrors.h"
#include "platform/LargeMemory.h"

namespace tarnwick {

namespace {

// The columns a tab starting at column p fills, for the three kinds of tab width.
struct TTabToAnyStop {
  static constexpr char kCell = '\t';
  static int Cells(int column, int width) { return width - column % width; }
};
struct TTabToPowerOfTwoStop {
  static constexpr char kCell = '\t';
  static int Cells(int column, int width) { return width - (column & (width - 1)); }
};
struct TTabToNextColumn {
  static constexpr char kCell = ' ';
  static int Cells(int, int) { return 1; }
};

template <class TTabRule>
int ExpandTabs(std::string_view text, int tabWidth, std::string* out) {
  int column = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c == '\t') {
      int cells = TTabRule::Cells(column, tabWidth);
      if (out != nullptr) out->append(static_cast<std::size_t>(cells), TTabRule::kCell);
      column += cells;
      ++pos;
    } else if (c < 0x80) {
      if (out != nullptr) out->push_back(static_cast<char>(c));
      ++column;
      ++pos;
    } else {
      TUtf8Char character = Utf8CharAt(text, pos);
      if (out != nullptr) out->append(text.substr(pos, character.length));
      column += character.columns;
      pos += character.length;
    }
  }
  return column;
}

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

constexpr std::size_t kRecordSize = sizeof(TSynEditStringRec);

}  // namespace

ESynEditStringList::ESynEditStringList(int index)
    : std::out_of_range("Invalid stringlist index " + std::to_string(index)) {}

// A new document uses the platform's line break until a load finds the file's own.
TSynEditStringList::TSynEditStringList()
    : lineBreakStyle_(TSynEditLineBreakStyle::lbLF), expand_(&ExpandTabs<TTabToPowerOfTwoStop>) {}

TSynEditStringList::~TSynEditStringList() {
  OnUpdateBegin = nullptr;
  OnUpdateEnd = nullptr;
  OnLinesCleared = nullptr;
  OnLinesAdded = nullptr;
  OnLinesRemoved = nullptr;
  OnLinesReplaced = nullptr;
  ReleaseRecords(0, count_);
  FreeMemory(lines_, static_cast<std::size_t>(capacity_) * kRecordSize);
}

void TSynEditStringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index > limit) throw ESynEditStringList(index);
}

template <class TBody>
void TSynEditStringList::Bracketed(TBody&& body) {
  OpenUpdate();
  Finally(body, [this] { CloseUpdate(); });
}

void TSynEditStringList::OpenUpdate() {
  if (updateCount_++ == 0 && OnUpdateBegin) OnUpdateBegin(*this);
}

void TSynEditStringList::CloseUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0 && OnUpdateEnd) OnUpdateEnd(*this);
}

// ---- the record array -------------------------------------------------------------------

void TSynEditStringList::MoveGapTo(int index) {
  int gap = capacity_ - count_;
  if (gap == 0 || index == gapStart_) {
    gapStart_ = index;
    return;
  }
  if (index < gapStart_)
    std::memmove(lines_ + index + gap, lines_ + index, static_cast<std::size_t>(gapStart_ - index) * kRecordSize);
  else
    std::memmove(lines_ + gapStart_, lines_ + gapStart_ + gap, static_cast<std::size_t>(index - gapStart_) * kRecordSize);
  gapStart_ = index;
}

void TSynEditStringList::Resize(int capacity) {
  MoveGapTo(count_);
  lines_ = static_cast<TSynEditStringRec*>(
      ResizeMemory(lines_, static_cast<std::size_t>(capacity_) * kRecordSize, static_cast<std::size_t>(capacity) * kRecordSize));
  capacity_ = capacity;
}

void TSynEditStringList::Grow() {
  if (capacity_ > std::numeric_limits<int>::max() / 5 * 4) throw std::length_error("too many lines");
  Resize(capacity_ + (capacity_ > 64 ? capacity_ / 4 : 16));
}

TSynEditStringRec* TSynEditStringList::OpenRecords(int index, int count) {
  while (capacity_ - count_ < count) Grow();
  MoveGapTo(index);
  gapStart_ += count;
  count_ += count;
  if (!lineData_.empty()) ShiftLineData(index, count);
  longestLineIndex_ = -1;
  return lines_ + index;
}

void TSynEditStringList::CloseRecords(int index, int count) {
  MoveGapTo(index + count);
  gapStart_ -= count;
  count_ -= count;
  if (!lineData_.empty()) DropLineData(index, count);
  longestLineIndex_ = -1;
}

void TSynEditStringList::ReleaseRecords(int index, int count) {
  for (int i = index; i < index + count; ++i) TTextBlock::Release(Rec(i).Text.block);
}

void TSynEditStringList::SetAllocatedLines(int lines) {
  if (lines < count_) throw EListError("Stringlist capacity cannot be smaller than count");
  Resize(lines);
}

// ---- per-line data --------------------------------------------------------------------

void TSynEditStringList::ShiftLineData(int from, int delta) {
  for (auto& entry : lineData_)
    if (entry.first >= from) entry.first += delta;
}

void TSynEditStringList::DropLineData(int from, int count) {
  std::erase_if(lineData_, [&](const auto& entry) { return entry.first >= from && entry.first < from + count; });
  ShiftLineData(from + count, -count);
}

void* TSynEditStringList::GetLineData(int index) const {
  auto it = std::lower_bound(lineData_.begin(), lineData_.end(), index,
                             [](const auto& entry, int line) { return entry.first < line; });
  return it != lineData_.end() && it->first == index ? it->second : nullptr;
}

void TSynEditStringList::SetLineData(int index, void* data) {
  CheckIndex(index, count_ - 1);
  Bracketed([&] {
    auto it = std::lower_bound(lineData_.begin(), lineData_.end(), index,
                               [](const auto& entry, int line) { return entry.first < line; });
    bool present = it != lineData_.end() && it->first == index;
    if (data == nullptr) {
      if (present) lineData_.erase(it);
    } else if (present) {
      it->second = data;
    } else {
      lineData_.insert(it, {index, data});
    }
  });
}

// ---- reading ----------------------------------------------------------------------------

TLineText TSynEditStringList::Get(int index) const {
  if (index < 0 || index >= count_) return {};
  return TLineText::Share(Rec(index).Text);
}

TLineRange TSynEditStringList::LineRange(int index) const {
  return index < 0 || index >= count_ ? 0 : Rec(index).Range;
}

TSynEditStringFlags TSynEditStringList::LineFlags(int index) const {
  return index < 0 || index >= count_ ? 0 : Rec(index).Flags;
}

int TSynEditStringList::Expand(TSynEditStringRec& rec, std::string* out) {
  std::string_view text = rec.Text.View();
  bool tabs = !text.empty() && std::memchr(text.data(), '\t', text.size()) != nullptr;
  if (tabs) {
    rec.ExpandedLength = expand_(text, tabWidth_, out);
    rec.Flags = static_cast<TSynEditStringFlags>((rec.Flags | TabsFound) & ~NoTabsFound);
  } else {
    rec.ExpandedLength = Utf8Columns(text);
    rec.Flags = static_cast<TSynEditStringFlags>((rec.Flags | NoTabsFound) & ~TabsFound);
  }
  rec.Flags = static_cast<TSynEditStringFlags>(rec.Flags & ~LengthStale);
  return rec.ExpandedLength;
}

TLineText TSynEditStringList::ExpandedText(int index) {
  if (index < 0 || index >= count_) return {};
  TSynEditStringRec& rec = Rec(index);
  if (!(rec.Flags & NoTabsFound)) {
    std::string expanded;
    Expand(rec, &expanded);
    if (rec.Flags & TabsFound) return TLineText(expanded);
  }
  return TLineText::Share(rec.Text);
}

int TSynEditStringList::ExpandedTextLength(int index) {
  if (index < 0 || index >= count_) return 0;
  TSynEditStringRec& rec = Rec(index);
  return (rec.Flags & LengthStale) ? Expand(rec, nullptr) : rec.ExpandedLength;
}

int TSynEditStringList::MaxExpandedLength() {
  if (longestLineIndex_ >= 0) return Rec(longestLineIndex_).ExpandedLength;
  int longest = 0;
  for (int i = 0; i < count_; ++i) {
    int length = ExpandedTextLength(i);
    if (length > longest) {
      longest = length;
      longestLineIndex_ = i;
    }
  }
  return longest;
}

std::string TSynEditStringList::Text() const {
  if (count_ == 0) return {};
  std::size_t size = static_cast<std::size_t>(count_ - 1) * 2;
  for (int i = 0; i < count_; ++i) size += Rec(i).Text.length;
  std::string text;
  text.reserve(size);
  for (int i = 0; i < count_; ++i) {
    if (i > 0) text += "\r\n";
    text += Rec(i).Text.View();
  }
  return text;
}

void TSynEditStringList::SetTabWidth(int width) {
  // A width below 1 would put tab stops nowhere; the editor clamps too, this keeps the buffer
  // safe on its own.
  width = std::max(width, 1);
  if (width == tabWidth_) return;
  tabWidth_ = width;
  expand_ = width == 1             ? &ExpandTabs<TTabToNextColumn>
            : IsPowerOfTwo(width) ? &ExpandTabs<TTabToPowerOfTwoStop>
                                  : &ExpandTabs<TTabToAnyStop>;
  longestLineIndex_ = -1;
  for (int i = 0; i < count_; ++i) {
    TSynEditStringRec& rec = Rec(i);
    rec.ExpandedLength = -1;
    rec.Flags = static_cast<TSynEditStringFlags>((rec.Flags | LengthStale) & ~NoTabsFound);
  }
}

// ---- changing ---------------------------------------------------------------------------

void TSynEditStringList::AddLoaded(TTextRef text) {
  int index = count_;
  *OpenRecords(index, 1) = {text, UnsetRange, -1, LengthStale};
  if (OnLinesAdded) OnLinesAdded(*this, index, 1);
}

int TSynEditStringList::Add(TLineText text) {
  int index = count_;
  Bracketed([&] { AddLoaded(text.Release()); });
  return index;
}

void TSynEditStringList::Insert(int index, TLineText text) {
  CheckIndex(index, count_);
  Bracketed([&] {
    *OpenRecords(index, 1) = {text.Release(), UnsetRange, -1, LengthStale};
    if (OnLinesAdded) OnLinesAdded(*this, index, 1);
  });
}

void TSynEditStringList::ReplaceLine(int index, TLineText text) {
  if (index == count_) {
    Add(std::move(text));
    return;
  }
  CheckIndex(index, count_ - 1);
  Bracketed([&] {
    TSynEditStringRec& rec = Rec(index);
    TTextBlock::Release(std::exchange(rec.Text, text.Release()).block);
    rec.Flags = static_cast<TSynEditStringFlags>((rec.Flags | LengthStale) & ~(TabsFound | NoTabsFound));
    longestLineIndex_ = -1;
    if (OnLinesReplaced) OnLinesReplaced(*this, index, 1);
  });
}

void TSynEditStringList::Delete(int index) {
  CheckIndex(index, count_ - 1);
  Bracketed([&] {
    ReleaseRecords(index, 1);
    CloseRecords(index, 1);
    if (OnLinesRemoved) OnLinesRemoved(*this, index, 1);
  });
}

void TSynEditStringList::InsertEmptyLines(int index, int count) {
  CheckIndex(index, count_);
  if (count <= 0) return;
  Bracketed([&] {
    Resize(count_ + count);
    std::memset(static_cast<void*>(OpenRecords(index, count)), 0, static_cast<std::size_t>(count) * kRecordSize);
    if (OnLinesAdded) OnLinesAdded(*this, index, count);
  });
}

void TSynEditStringList::RemoveLines(int index, int count) {
  if (count <= 0) return;
  CheckIndex(index, count_);
  count = std::min(count, count_ - index);
  if (count == 0) return;
  ReleaseRecords(index, count);
  Bracketed([&] { CloseRecords(index, count); });
  if (OnLinesRemoved) OnLinesRemoved(*this, index, count);
}

void TSynEditStringList::Exchange(int first, int second) {
  CheckIndex(first, count_ - 1);
  CheckIndex(second, count_ - 1);
  Bracketed([&] {
    std::swap(Rec(first), Rec(second));
    void* firstData = GetLineData(first);
    void* secondData = GetLineData(second);
    if (firstData != nullptr || secondData != nullptr) {
      SetLineData(first, secondData);
      SetLineData(second, firstData);
    }
    if (longestLineIndex_ == first)
      longestLineIndex_ = second;
    else if (longestLineIndex_ == second)
      longestLineIndex_ = first;
  });
}

void TSynEditStringList::SetLineRange(int index, TLineRange range) {
  CheckIndex(index, count_ - 1);
  Bracketed([&] { Rec(index).Range = range; });
}

void TSynEditStringList::Clear() {
  if (count_ > 0) {
    Bracketed([&] {
      ReleaseRecords(0, count_);
      Resize(0);
      count_ = gapStart_ = 0;
      lineData_.clear();
      if (OnLinesCleared) OnLinesCleared(*this);
    });
  }
  longestLineIndex_ = -1;
}

void TSynEditStringList::AppendLines(const TSynEditStringList& source) {
  int added = source.count_;
  if (added == 0) return;
  Bracketed([&] {
    int first = count_;
    int needed = (count_ + added + 15) / 16 * 16;
    if (capacity_ < needed) Resize(needed);
    TSynEditStringRec* records = OpenRecords(first, added);
    for (int i = 0; i < added; ++i) {
      TTextRef text = source.Rec(i).Text;
      TTextBlock::AddRef(text.block);
      records[i] = {text, UnsetRange, -1, LengthStale};
    }
    // A copy, since the source may be this list.
    for (const auto& [line, data] : std::vector<std::pair<int, void*>>(source.lineData_))
      if (line < added) lineData_.emplace_back(first + line, data);
    if (OnLinesAdded) OnLinesAdded(*this, first, added);
  });
}

void TSynEditStringList::CopyLinesFrom(const TSynEditStringList& source) {
  if (&source == this) return;
  Bracketed([&] {
    Clear();
    AppendLines(source);
  });
}

// ---- loading ----------------------------------------------------------------------------

namespace {

// A new reference to part of block; an empty line holds no block.
TTextRef ShareBytes(TTextBlock* block, std::size_t offset, std::size_t length) {
  if (length == 0) return {};
  TTextBlock::AddRef(block);
  return {block, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length)};
}

TTextBlock* ReadAll(int fd, const std::string& name) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw EFOpenError(name, errno);
  if (S_ISDIR(info.st_mode)) throw EFOpenError(name, EISDIR);
  if (static_cast<std::uint64_t>(info.st_size) > std::numeric_limits<std::uint32_t>::max())
    throw EFOpenError(name, EFBIG);
  // Regular files are read in one piece of their own size; other files grow as they come.
  std::size_t capacity = std::max<std::size_t>(static_cast<std::size_t>(info.st_size), 4096);
  TTextBlock* block = TTextBlock::Allocate(capacity);
  std::size_t done = 0;
  for (;;) {
    if (done == capacity) {
      if (capacity >= std::numeric_limits<std::uint32_t>::max() / 2) {
        TTextBlock::Release(block);
        throw EFOpenError(name, EFBIG);
      }
      capacity *= 2;
      block = TTextBlock::Resize(block, capacity);
    }
    ssize_t n = ::read(fd, block->Bytes() + done, capacity - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      TTextBlock::Release(block);
      throw EFOpenError(name, error);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return TTextBlock::Resize(block, done);
}

}  // namespace

void TSynEditStringList::ReadBlock(TTextBlock* block) {
  Clear();
  std::string_view bytes(block->Bytes(), block->size);
  auto [sawCR, sawLF] = SplitLines(bytes, [&](std::size_t offset, std::size_t length) {
    AddLoaded(ShareBytes(block, offset, length));
  });
  if (!terminateLastLine_ && !bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) AddLoaded({});
  // Only the platform's break is used where the file has none to follow.
  lineBreakStyle_ = sawCR && !sawLF   ? TSynEditLineBreakStyle::lbCR
                    : sawLF && !sawCR ? TSynEditLineBreakStyle::lbLF
                    : sawCR && sawLF  ? TSynEditLineBreakStyle::lbCRLF
                                      : TSynEditLineBreakStyle::lbLF;
}

void TSynEditStringList::LoadFile(const std::string& name) {
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFOpenError(name, errno);
  TTextBlock* block = nullptr;
  Bracketed([&] {
    try {
      block = ReadAll(fd, name);
    } catch (...) {
      ::close(fd);
      throw;
    }
    ::close(fd);
    ReadBlock(block);
  });
  TTextBlock::Release(block);
}

void TSynEditStringList::ReadStream(std::istream& stream) {
  TTextBlock* block = nullptr;
  Bracketed([&] {
    stream.seekg(0, std::ios::end);
    std::streamoff size = stream.tellg();
    stream.seekg(0, std::ios::beg);
    if (!stream || size < 0) throw std::ios_base::failure("the stream cannot be read");
    block = TTextBlock::Allocate(static_cast<std::size_t>(size));
    stream.read(block->Bytes(), size);
    block = TTextBlock::Resize(block, static_cast<std::size_t>(stream.gcount()));
    ReadBlock(block);
  });
  TTextBlock::Release(block);
}

void TSynEditStringList::SetText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  Bracketed([&] {
    Clear();
    if (text.empty()) return;
    TTextBlock* block = TTextBlock::Allocate(text.size());
    std::memcpy(block->Bytes(), text.data(), text.size());
    SplitLines(text, [&](std::size_t offset, std::size_t length) {
      TTextRef ref = ShareBytes(block, offset, length);
      Add(TLineText::Share(ref));
      TTextBlock::Release(ref.block);
    });
    TTextBlock::Release(block);
  });
}

// ---- saving -----------------------------------------------------------------------------

namespace {

std::string_view BreakOf(TSynEditLineBreakStyle style) {
  switch (style) {
    case TSynEditLineBreakStyle::lbCRLF: return "\r\n";
    case TSynEditLineBreakStyle::lbLF: return "\n";
    case TSynEditLineBreakStyle::lbCR: return "\r";
  }
  return "\n";
}

// Builds the output of a stream save in one string of exactly the right size.
struct TStringSink {
  std::string& out;
  std::string_view lineBreak;
  void WriteText(std::string_view text) { out += text; }
  void WriteLineText(std::string_view text) {
    out += text;
    out += lineBreak;
  }
};

}  // namespace

template <class TSink>
void TSynEditStringList::WriteLines(TSink& sink) const {
  for (int i = 0; i < count_; ++i) {
    std::string_view text = Rec(i).Text.View();
    if (i == count_ - 1 && !terminateLastLine_)
      sink.WriteText(text);
    else
      sink.WriteLineText(text);
  }
}

std::size_t TSynEditStringList::SavedSize() const {
  std::size_t size = 0;
  for (int i = 0; i < count_; ++i) size += Rec(i).Text.length;
  std::size_t breaks = count_ == 0 ? 0 : terminateLastLine_ ? count_ : count_ - 1;
  return size + breaks * BreakOf(lineBreakStyle_).size();
}

void TSynEditStringList::SaveFile(const std::string& name) {
  TSynEditFileWriter writer(name);
  writer.SetLineBreakStyle(lineBreakStyle_);
  WriteLines(writer);
  writer.Commit();
}

void TSynEditStringList::WriteStream(std::ostream& stream) {
  std::string out;
  out.reserve(SavedSize());
  TStringSink sink{out, BreakOf(lineBreakStyle_)};
  WriteLines(sink);
  stream.write(out.data(), static_cast<std::streamsize>(out.size()));
}

TSynEditFileWriter::TSynEditFileWriter(const std::string& name) : name_(name) {
  try {
    file_ = std::make_unique<TAtomicFileWriter>(name, TFileReplaceRules{.allowInPlace = true});
  } catch (const std::system_error& e) {
    throw EFCreateError(name, e.code().value());
  }
  buffer_.reserve(capacity_);
}

TSynEditFileWriter::~TSynEditFileWriter() = default;

void TSynEditFileWriter::SetLineBreakStyle(TSynEditLineBreakStyle style) { lineBreak_ = BreakOf(style); }

void TSynEditFileWriter::Reserve(std::size_t bytes) {
  if (buffer_.size() + bytes <= capacity_) return;
  Flush();
  if (bytes > capacity_) {
    capacity_ = bytes;
    buffer_.reserve(capacity_);
  }
}

void TSynEditFileWriter::WriteText(std::string_view text) {
  Reserve(text.size());
  buffer_ += text;
}

void TSynEditFileWriter::WriteLineText(std::string_view text) {
  Reserve(text.size() + lineBreak_.size());
  buffer_ += text;
  buffer_ += lineBreak_;
}

void TSynEditFileWriter::Flush() {
  try {
    file_->Write(buffer_);
  } catch (const std::system_error& e) {
    throw EFCreateError(name_, e.code().value());
  }
  buffer_.clear();
}

void TSynEditFileWriter::Commit() {
  Flush();
  try {
    file_->Commit();
  } catch (const std::system_error& e) {
    throw EFCreateError(name_, e.code().value());
  }
}

}  // namespace tarnwick
