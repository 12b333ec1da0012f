// The commands that change text and the primitive they share.
#include <algorithm>
#include <cctype>

#include "editor/SynEdit.h"
#include "editor/LineBreaks.h"
#include "editor/SynEditScope.h"
#include "editor/Utf8.h"
#include "platform/Clipboard.h"
#include "platform/LargeMemory.h"

namespace tarnwick {

const char* const kSynEditClipboardFormat = "SynEdit Control Block Type";

namespace {

// The pieces of text between its line breaks: CR LF, a lone CR and a lone LF each end one,
// and a break at the end leaves an empty last piece.
std::vector<std::string_view> SplitPieces(std::string_view text) {
  std::vector<std::string_view> pieces;
  pieces.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  AdviseLargeBuffer(pieces.data(), pieces.capacity() * sizeof(std::string_view));
  SplitLines(text, [&](std::size_t offset, std::size_t length) { pieces.push_back(text.substr(offset, length)); });
  if (text.empty() || text.back() == '\r' || text.back() == '\n') pieces.emplace_back();
  return pieces;
}

// A copy of a selection to hand to the clipboard; large ones go on huge pages.
std::string CopyOf(const std::string& text) {
  std::string copy;
  copy.reserve(text.size());
  AdviseLargeBuffer(copy.data(), copy.capacity());
  copy = text;
  return copy;
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  std::size_t end = text.find_last_not_of(" \t");
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

// ---- shared measures --------------------------------------------------------------------

int TSynEdit::LeadingBlankWidth(std::string_view text, bool expandTabs) const {
  if (!(options_ & eoAutoIndent) || text.empty()) return 0;
  int width = 0;
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 32) break;
    width += (c == '\t' && expandTabs) ? TabWidth() : 1;
  }
  return width;
}

std::string TSynEdit::IndentString(int width) const {
  if (width <= 0) return {};
  if ((options_ & eoTabsToSpaces) || width < TabWidth()) return std::string(static_cast<std::size_t>(width), ' ');
  return std::string(static_cast<std::size_t>(width / TabWidth()), '\t') +
         std::string(static_cast<std::size_t>(width % TabWidth()), ' ');
}

void TSynEdit::RecordChange(TChangeKind kind, TBufferCoord start, TBufferCoord end, std::string text,
                            TSynSelectionMode mode) {
  undoList_.RecordChange(kind, start, end, std::move(text), mode);
}

void TSynEdit::RecordSelectionRemoval() {
  RecordChange(TChangeKind::ckRemoved, blockAnchor_, blockActive_, SelectedText(), selectionMode_);
}

// ---- the primitive ----------------------------------------------------------------------

void TSynEdit::SetSelectedTextRaw(TSynSelectionMode mode, std::string_view text) {
  IncPaintLock();
  lines_.OpenUpdate();
  Finally(
      [&] {
        if (HasSelection()) DeleteSelection();
        if (!text.empty()) {
          if (LineCount() == 0) lines_.Add("");
          switch (mode) {
            case TSynSelectionMode::smNormal: InsertNormal(text); break;
            case TSynSelectionMode::smLine: InsertLines(text); break;
            case TSynSelectionMode::smColumn: InsertColumn(text); break;
          }
        }
        if (caret_.Line < 1) caret_.Line = 1;
      },
      [&] {
        lines_.CloseUpdate();
        DecPaintLock();
      });
}

void TSynEdit::DeleteSelection() {
  TBufferCoord begin = SelectionBegin(), end = SelectionEnd();
  switch (selectionMode_) {
    case TSynSelectionMode::smNormal: {
      std::string first = LineText(begin.Line), last = LineText(end.Line);
      std::string joined = first.substr(0, std::min<std::size_t>(begin.Char - 1, first.size())) +
                           last.substr(std::min<std::size_t>(end.Char - 1, last.size()));
      lines_.RemoveLines(begin.Line, end.Line - begin.Line);
      if ((options_ & eoTrimTrailingSpaces) && (options_ & eoScrollPastEol)) joined = TrimTrailingBlanks(joined);
      lines_.ReplaceLine(begin.Line - 1, joined);
      ShiftBookmarks(begin.Line + 1, begin.Line - end.Line);
      caret_ = begin;
      break;
    }
    case TSynSelectionMode::smLine:
      if (end.Line >= LineCount()) {
        lines_.ReplaceLine(end.Line - 1, "");
        lines_.RemoveLines(begin.Line - 1, end.Line - begin.Line);
      } else {
        lines_.RemoveLines(begin.Line - 1, end.Line - begin.Line + 1);
      }
      ShiftBookmarks(begin.Line, -(end.Line - begin.Line + (end.Line >= LineCount() ? 0 : 1)));
      caret_ = {1, begin.Line};
      break;
    case TSynSelectionMode::smColumn: {
      auto [left, right] = ColumnBounds();
      for (int line = begin.Line; line <= end.Line; ++line) {
        auto [from, to] = ColumnSpan(line, left, right);
        if (to > from) StoreLine(line, LineText(line).erase(from, to - from));
      }
      caret_ = CharAt(blockActive_.Line, left);
      break;
    }
  }
  blockAnchor_ = blockActive_ = caret_;
}

void TSynEdit::InsertNormal(std::string_view text) {
  std::string line = LineText(caret_.Line);
  std::size_t cut = static_cast<std::size_t>(caret_.Char - 1);
  if (line.size() < cut) line.resize(cut, ' ');
  std::string left = line.substr(0, cut), right = line.substr(cut);
  std::vector<std::string_view> pieces = SplitPieces(text);
  int first = caret_.Line;
  int lastLine = first + static_cast<int>(pieces.size()) - 1;
  std::string lastText;
  if (pieces.size() == 1) {
    lastText = left + std::string(pieces[0]);
    StoreLine(first, lastText + right);
  } else {
    StoreLine(first, left + std::string(pieces[0]));
    lines_.InsertEmptyLines(first, static_cast<int>(pieces.size()) - 1);
    // The lines in between share one copy of the text, as a loaded file's lines do.
    TLineText shared(text);
    for (std::size_t i = 1; i + 1 < pieces.size(); ++i)
      StoreLine(first + static_cast<int>(i), shared.Part(static_cast<std::size_t>(pieces[i].data() - text.data()), pieces[i].size()));
    lastText = std::string(pieces.back());
    StoreLine(lastLine, lastText + right);
    ShiftBookmarks(first + 1, lastLine - first);
  }
  bool trim = options_ & eoTrimTrailingSpaces;
  int caretChar;
  if (trim && right.empty())
    caretChar = static_cast<int>(lastText.size()) + 1;  // after what was typed, blanks trimmed or not
  else
    caretChar = static_cast<int>(LineText(lastLine).size()) -
                static_cast<int>(trim ? TrimTrailingBlanks(right).size() : right.size()) + 1;
  caret_ = {caretChar, lastLine};
}

void TSynEdit::InsertLines(std::string_view text) {
  std::vector<std::string_view> pieces = SplitPieces(text);
  caret_.Char = 1;
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
    lines_.Insert(std::min(caret_.Line - 1, LineCount()), pieces[i]);
    ShiftBookmarks(caret_.Line, 1);
    ++caret_.Line;
  }
  std::string_view final = pieces.back();
  if (caret_.Line > LineCount()) {
    lines_.Add("");
    StoreLine(LineCount(), final);
  } else {
    StoreLine(caret_.Line, std::string(final) + LineText(caret_.Line));
  }
  caret_.Char = static_cast<int>(final.size()) + 1;
}

void TSynEdit::InsertColumn(std::string_view text) {
  std::vector<std::string_view> pieces = SplitPieces(text);
  int column = caret_.Char;
  int line = caret_.Line;
  for (std::size_t i = 0; i < pieces.size(); ++i, ++line) {
    std::string_view piece = pieces[i];
    int at = column;
    if (line > LineCount()) {
      TBufferCoord end{static_cast<int>(LineText(LineCount()).size()) + 1, LineCount()};
      lines_.Add(std::string(static_cast<std::size_t>(column - 1), ' ') + std::string(piece));
      RecordChange(TChangeKind::ckLineSplit, end, end, {}, TSynSelectionMode::smNormal);
    } else {
      std::string s = LineText(line);
      if (static_cast<int>(s.size()) < column - 1) s.resize(static_cast<std::size_t>(column - 1), ' ');
      // Never inside a character: the piece goes after it.
      std::size_t pos = static_cast<std::size_t>(column - 1);
      while (pos < s.size() && IsInsideUtf8Char(s, pos)) ++pos;
      at = static_cast<int>(pos) + 1;
      s.insert(pos, piece);
      StoreLine(line, s);
    }
    RecordChange(TChangeKind::ckPasted, {at, line}, {at + static_cast<int>(piece.size()), line}, {},
                 TSynSelectionMode::smNormal);
    caret_ = {at + static_cast<int>(piece.size()), line};
  }
}

// ---- shell operations -------------------------------------------------------------------

void TSynEdit::SetSelectedText(std::string_view text) {
  if (readOnly_) return;
  undoList_.OpenBlock();
  Finally(
      [&] {
        TBufferCoord begin = SelectionBegin();
        if (selectionMode_ == TSynSelectionMode::smLine) begin.Char = 1;
        if (!HasSelection()) begin = caret_;
        if (HasSelection()) RecordSelectionRemoval();
        SetSelectedTextRaw(selectionMode_, text);
        if (selectionMode_ != TSynSelectionMode::smColumn)
          RecordChange(TChangeKind::ckInserted, begin, caret_, {}, selectionMode_);
      },
      [&] { undoList_.CloseBlock(); });
}

void TSynEdit::RemoveSelection() {
  if (HasSelection()) SetSelectedText("");
}

// ---- typing -----------------------------------------------------------------------------

void TSynEdit::HorizontalFollow() {
  if (visibleColumns_ <= 0) return;
  if (BufferToDisplayPos(caret_).Column >= leftColumn_ + visibleColumns_)
    SetLeftColumn(leftColumn_ + std::min(25, visibleColumns_ - 1));
}

void TSynEdit::TypeChar(char32_t aChar) {
  if (aChar < 32 || aChar == 127) return;
  std::string typed = EncodeUtf8(aChar);
  if (HasSelection()) {
    SetSelectedText(typed);
    return;
  }
  TSynEditorOptions saved = options_;
  options_ |= eoScrollPastEol;
  Finally(
      [&] {
        std::string line = LineText(caret_.Line);
        int length = static_cast<int>(line.size());
        int k = caret_.Char;
        bool wasEmpty = line.empty();
        if (LineCount() == 0) lines_.Add("");
        // Blanks up to a caret in virtual space.
        int padding = insertMode_ ? k - length - 1 : k - length;
        TBufferCoord paddingStart{length + 1, caret_.Line};
        std::string paddingText;
        if (padding > 0) {
          paddingText = wasEmpty ? IndentString(padding) : std::string(static_cast<std::size_t>(padding), ' ');
          line += paddingText;
          k = static_cast<int>(line.size()) + (insertMode_ ? 1 : 0);
        }
        std::size_t at = static_cast<std::size_t>(k - 1);
        if (insertMode_) {
          if (!wordWrap_ && !(saved & eoAutoSizeMaxScrollWidth) && caret_.Char > maxScrollWidth_) return;
          line.insert(at, typed);
          int newChar;
          if ((options_ & eoTrimTrailingSpaces) && aChar == ' ' && TrimTrailingBlanks(line).empty())
            newChar = CharColumns(line, static_cast<int>(line.size())) + 1;
          else if (wasEmpty)
            newChar = static_cast<int>(at + typed.size()) + 1;
          else
            newChar = k + static_cast<int>(typed.size());
          StoreLine(caret_.Line, line);
          TBufferCoord from{static_cast<int>(at) + 1, caret_.Line};
          if (padding > 0) {
            undoList_.OpenBlock();
            RecordChange(TChangeKind::ckPaddingAdded, paddingStart, from, paddingText, TSynSelectionMode::smNormal);
          }
          caret_.Char = newChar;
          RecordChange(TChangeKind::ckInserted, from, {from.Char + static_cast<int>(typed.size()), caret_.Line}, {},
                       TSynSelectionMode::smNormal);
          if (padding > 0) undoList_.CloseBlock();
        } else {
          std::size_t replaced = Utf8CharAt(line, at).length;
          std::string old = line.substr(at, replaced);
          line.replace(at, replaced, typed);
          StoreLine(caret_.Line, line);
          TBufferCoord from{static_cast<int>(at) + 1, caret_.Line};
          caret_.Char = from.Char + static_cast<int>(typed.size());
          if (padding > 0) {
            undoList_.OpenBlock();
            RecordChange(TChangeKind::ckPaddingAdded, paddingStart, from, paddingText, TSynSelectionMode::smNormal);
          }
          RecordChange(TChangeKind::ckInserted, from, caret_, padding > 0 ? std::string() : old,
                       TSynSelectionMode::smNormal);
          if (padding > 0) undoList_.CloseBlock();
        }
        HorizontalFollow();
      },
      [&] { options_ = saved; });
  SetCaretPosEx(caret_, true);
}

void TSynEdit::TypeString(std::string_view text) {
  if (text.empty()) return;
  if (HasSelection()) {
    SetSelectedText(text);
    return;
  }
  std::string line = LineText(caret_.Line);
  if (LineCount() == 0) lines_.Add("");
  std::size_t at = static_cast<std::size_t>(caret_.Char - 1);
  if (line.size() < at) line.resize(at, ' ');
  std::string old;
  if (!insertMode_) {
    std::size_t end = std::min(line.size(), at + text.size());
    while (end < line.size() && IsInsideUtf8Char(line, end)) ++end;
    old = line.substr(at, end - at);
    line.erase(at, end - at);
  }
  line.insert(at, text);
  StoreLine(caret_.Line, line);
  TBufferCoord from{static_cast<int>(at) + 1, caret_.Line};
  caret_.Char = from.Char + static_cast<int>(text.size());
  RecordChange(TChangeKind::ckInserted, from, caret_, old, TSynSelectionMode::smNormal);
  HorizontalFollow();
  SetCaretPosEx(caret_, true);
}

// ---- line breaks ------------------------------------------------------------------------

void TSynEdit::LineBreak(bool moveCaret) {
  undoList_.OpenBlock();
  lines_.OpenUpdate();
  Finally(
      [&] {
        if (HasSelection()) {
          RecordSelectionRemoval();
          SetSelectedTextRaw(selectionMode_, "");
        }
        if (LineCount() == 0) lines_.Add("");
        int L = caret_.Line;
        TBufferCoord old = caret_;
        std::string line = LineText(L);
        int length = static_cast<int>(line.size());
        TBufferCoord next = caret_;
        if (line.empty()) {
          int width = 0;
          for (int above = L; above >= 1; --above) {
            std::string s = LineText(above);
            if (!s.empty()) {
              width = LeadingBlankWidth(s, true);
              break;
            }
          }
          lines_.Insert(L - 1, "");
          RecordChange(TChangeKind::ckLineSplit, old, old, {}, TSynSelectionMode::smNormal);
          next = {width + 1, L + 1};
        } else if (caret_.Char > length) {
          std::string blanks;
          if (moveCaret && (options_ & eoAutoIndent))
            blanks = line.substr(0, static_cast<std::size_t>(LeadingBlankWidth(line, false)));
          lines_.Insert(L, blanks);
          RecordChange(TChangeKind::ckLineSplit, old, old, {}, TSynSelectionMode::smNormal);
          next = {static_cast<int>(blanks.size()) + 1, L + 1};
        } else if (caret_.Char == 1) {
          lines_.Insert(L - 1, "");
          RecordChange(TChangeKind::ckLineSplit, old, old, line, TSynSelectionMode::smNormal);
          next = {old.Char, L + 1};
        } else {
          std::string head = line.substr(0, static_cast<std::size_t>(caret_.Char - 1));
          std::string tail = line.substr(static_cast<std::size_t>(caret_.Char - 1));
          std::string indent = IndentString(LeadingBlankWidth(head, true));
          StoreLine(L, head);
          lines_.Insert(L, indent + tail);
          RecordChange(TChangeKind::ckLineSplit, old, old, tail, TSynSelectionMode::smNormal);
          next = {static_cast<int>(indent.size()) + 1, L + 1};
        }
        ShiftBookmarks(L + 1, 1);
        caret_ = moveCaret ? next : old;
      },
      [&] {
        lines_.CloseUpdate();
        undoList_.CloseBlock();
      });
  SetCaretPosEx(caret_, true);
  lastCaretColumn_ = BufferToDisplayPos(caret_).Column;
}

// ---- tabs -------------------------------------------------------------------------------

void TSynEdit::Tab() {
  int w = TabWidth();
  std::string line = LineText(caret_.Line);
  int caretColumn = ColumnOf(caret_);
  std::optional<int> smartWidth, smartTarget;
  if ((options_ & eoSmartTabs) && caret_.Line > 1) {
    for (int above = caret_.Line - 1; above >= 1 && !smartWidth; --above) {
      std::string s = LineText(above);
      if (CharColumns(s, static_cast<int>(s.size())) < caretColumn) continue;
      std::size_t pos = static_cast<std::size_t>(CharAt(above, caretColumn).Char - 1);
      std::size_t start = pos;
      while (pos < s.size() && !IsBlank(s[pos])) ++pos;
      while (pos < s.size() && IsBlank(s[pos])) ++pos;
      smartWidth = static_cast<int>(pos - start);
      smartTarget = CharColumns(s, static_cast<int>(pos)) + 1;
    }
  }
  undoList_.OpenBlock();
  TSynEditorOptions saved = options_;
  Finally(
      [&] {
        if (HasSelection()) {
          RecordSelectionRemoval();
          SetSelectedTextRaw(selectionMode_, "");
          line = LineText(caret_.Line);
          caretColumn = ColumnOf(caret_);
        }
        int width = smartWidth ? *smartWidth : w;
        if (!smartWidth && (options_ & eoTabsToSpaces)) width = w - ((caret_.Char - 1) % w);
        std::string text;
        int newChar;
        bool atOrAfterEnd = caret_.Char > static_cast<int>(line.size());
        if (options_ & eoTabsToSpaces) {
          text.assign(static_cast<std::size_t>(width), ' ');
          newChar = caret_.Char + width;
        } else if ((options_ & eoTrimTrailingSpaces) && atOrAfterEnd) {
          int move = smartWidth ? *smartTarget - caretColumn : w - ((caretColumn - 1) % w);
          newChar = caret_.Char + move;
        } else {
          if (smartWidth) {
            std::string before = line.substr(0, std::min<std::size_t>(caret_.Char - 1, line.size()));
            std::erase(before, '\t');
            std::size_t first = before.find_first_not_of(' ');
            if (first != std::string::npos) {
              text = "\t";
            } else {
              int distance = *smartTarget - caretColumn;
              int toStop = w - ((caretColumn - 1) % w);
              if (distance >= toStop) {
                text += '\t';
                distance -= toStop;
              }
              text.append(static_cast<std::size_t>(distance / w), '\t');
              text.append(static_cast<std::size_t>(distance % w), ' ');
            }
          } else {
            text = "\t";
          }
          bool onlyBlanks = line.find_first_not_of(" \t") == std::string::npos;
          if ((options_ & eoTrimTrailingSpaces) && onlyBlanks) {
            // The blanks will be trimmed away: the caret keeps the screen width they had.
            std::string before = line.substr(0, std::min<std::size_t>(caret_.Char - 1, line.size()));
            int widthBefore = CharColumns(before, caret_.Char - 1);
            newChar = caret_.Char + CharColumns(before + text, caret_.Char - 1 + static_cast<int>(text.size())) - widthBefore;
          } else {
            newChar = caret_.Char + static_cast<int>(text.size());
          }
        }
        TBufferCoord old = caret_;
        if (!text.empty()) {
          SetSelectedTextRaw(selectionMode_, text);
          if (selectionMode_ != TSynSelectionMode::smColumn)
            RecordChange(TChangeKind::ckInserted, old, caret_, {}, selectionMode_);
        }
        options_ |= eoScrollPastEol;
        SetCaretPosEx({newChar, caret_.Line}, true);
      },
      [&] {
        options_ = saved;
        undoList_.CloseBlock();
      });
}

void TSynEdit::ShiftTab() {
  int w = TabWidth();
  int k = caret_.Char;
  int n = k;
  int L = caret_.Line;
  if ((options_ & eoSmartTabs) && k > 1 && L > 1) {
    for (int above = L - 1; above >= 1; --above) {
      std::string s = LineText(above);
      if (static_cast<int>(s.size()) < k - 1) continue;
      int at = k - 1;
      while (at > 1 && s[static_cast<std::size_t>(at - 1)] == ' ') --at;
      while (at > 1 && s[static_cast<std::size_t>(at - 2)] != ' ') --at;
      n = std::max(at, 1);
      break;
    }
  }
  std::string line = LineText(L);
  if (n == k) {
    int s = w * ((k - 2) / w) + 1;
    if (static_cast<int>(line.size()) < k)
      n = s;
    else if (s < k && k >= 2 && line[static_cast<std::size_t>(k - 2)] == '\t')
      n = k - 1;
    else
      while (n > s && n >= 2 && line[static_cast<std::size_t>(n - 2)] == ' ') --n;
  }
  n = std::max(n, 1);
  if (n == k) return;
  std::size_t from = std::min<std::size_t>(n - 1, line.size());
  std::size_t to = std::min<std::size_t>(k - 1, line.size());
  std::string removed = line.substr(from, to - from);
  if (!removed.empty()) StoreLine(L, line.erase(from, to - from));
  RecordChange(TChangeKind::ckRemovedAfterCaret, {n, L}, {k, L}, removed, TSynSelectionMode::smNormal);
  SetCaretPos({n, L});
}

// ---- deletions --------------------------------------------------------------------------

void TSynEdit::DeleteRange(TBufferCoord from, TBufferCoord to, TChangeKind kind, TBufferCoord caret) {
  TSynSelectionMode mode = selectionMode_;
  selectionMode_ = TSynSelectionMode::smNormal;
  blockAnchor_ = from;
  blockActive_ = to;
  std::string removed = SelectedText();
  SetSelectedTextRaw(TSynSelectionMode::smNormal, "");
  selectionMode_ = mode;
  RecordChange(kind, from, to, removed, TSynSelectionMode::smNormal);
  SetCaretPos(caret);
}

void TSynEdit::DeleteLastChar() {
  if (HasSelection()) {
    bool forward = blockAnchor_ < blockActive_;
    RecordChange(forward ? TChangeKind::ckRemoved : TChangeKind::ckRemovedAfterCaret, blockAnchor_, blockActive_,
                 SelectedText(), selectionMode_);
    SetSelectedTextRaw(selectionMode_, "");
    return;
  }
  int L = caret_.Line;
  std::string line = LineText(L);
  int len = static_cast<int>(line.size());
  int k = caret_.Char;
  TBufferCoord old = caret_;
  auto smartTarget = [&](bool expand) {
    int target = -1;
    for (int above = L - 1; above >= 1; --above) {
      std::string s = LineText(above);
      int width = LeadingBlankWidth(s, expand);
      if (width < k - 1) {
        target = width;
        break;
      }
    }
    if (target < 0) target = LeadingBlankWidth(LineText(1), expand);
    return target == k - 1 ? 0 : target;
  };
  if (k > len + 1) {
    int target;
    if (options_ & eoSmartTabDelete) {
      target = len == 0 ? (L == 1 ? 0 : smartTarget(options_ & eoTrimTrailingSpaces)) + 1 : len + 1;
    } else {
      target = k - 1;
    }
    SetCaretPos({target, L});
  } else if (k == 1) {
    if (L == 1) return;
    std::string previous = LineText(L - 1);
    std::string joined = previous + std::string((options_ & eoTrimTrailingSpaces) ? TrimTrailingBlanks(line) : line);
    lines_.OpenUpdate();
    Finally(
        [&] {
          lines_.ReplaceLine(L - 2, joined);
          lines_.Delete(L - 1);
          ShiftBookmarks(L, -1);
          caret_ = {static_cast<int>(previous.size()) + 1, L - 1};
        },
        [&] { lines_.CloseUpdate(); });
    RecordChange(TChangeKind::ckQuietRemoved, caret_, old, "\r\n", TSynSelectionMode::smNormal);
    SetCaretPos(caret_);
    return;
  } else {
    char before = line[static_cast<std::size_t>(k - 2)];
    if (static_cast<unsigned char>(before) > 32 || k - 1 != LeadingBlankWidth(line, false)) {
      int start = ToCharStart(line, k - 1);
      std::string removed = line.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(k - start));
      int column = ColumnOf({start, L});
      std::string changed = line;
      changed.erase(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(k - start));
      StoreLine(L, changed);
      int newChar = start;
      std::string stored = LineText(L);
      // Trailing blanks trimmed from a line with tabs: keep the caret's screen column.
      if (static_cast<int>(stored.size()) < start - 1 && stored.find('\t') != std::string::npos)
        newChar = CharAt(L, column).Char;
      SetCaretPos({newChar, L});
      RecordChange(TChangeKind::ckQuietRemoved, caret_, old, removed, TSynSelectionMode::smNormal);
      return;
    }
    // Right after the leading blanks: unindent. The removed blanks are [from, from + count).
    std::size_t from = 0, count;
    if (options_ & eoSmartTabDelete) {
      count = static_cast<std::size_t>(k - 1 - smartTarget(false));
    } else {
      // Back towards the previous tab stop over spaces; a tab before the caret goes alone.
      std::size_t stop = static_cast<std::size_t>(TabWidth() * ((k - 2) / TabWidth()));
      std::size_t at = static_cast<std::size_t>(k - 1);
      while (at > stop && line[at - 1] == ' ') --at;
      if (at == static_cast<std::size_t>(k - 1)) at = static_cast<std::size_t>(k - 2);
      from = at;
      count = static_cast<std::size_t>(k - 1) - at;
    }
    std::string removed = line.substr(from, count);
    StoreLine(L, std::string(line).erase(from, count));
    SetCaretPos({k - static_cast<int>(count), L});
    RecordChange(TChangeKind::ckQuietRemoved, caret_, old, removed, TSynSelectionMode::smNormal);
    return;
  }
  if (!(caret_ == old)) RecordChange(TChangeKind::ckQuietRemoved, caret_, old, {}, TSynSelectionMode::smNormal);
}

void TSynEdit::DeleteChar() {
  if (HasSelection()) {
    DeleteLastChar();
    return;
  }
  int L = caret_.Line;
  std::string line = LineText(L);
  int len = static_cast<int>(line.size());
  int k = caret_.Char;
  if (k > len) {
    if (L >= LineCount()) return;
    std::string joined = line + std::string(static_cast<std::size_t>(k - 1 - len), ' ') + LineText(L + 1);
    lines_.OpenUpdate();
    Finally(
        [&] {
          StoreLine(L, joined);
          lines_.Delete(L);
          ShiftBookmarks(L + 1, -1);
        },
        [&] { lines_.CloseUpdate(); });
    RecordChange(TChangeKind::ckQuietRemovedAfterCaret, caret_, {1, L + 1}, "\r\n", TSynSelectionMode::smNormal);
  } else {
    std::size_t length = Utf8CharAt(line, static_cast<std::size_t>(k - 1)).length;
    std::string removed = line.substr(static_cast<std::size_t>(k - 1), length);
    StoreLine(L, line.erase(static_cast<std::size_t>(k - 1), length));
    RecordChange(TChangeKind::ckQuietRemovedAfterCaret, caret_, {k + static_cast<int>(length), L}, removed,
                 TSynSelectionMode::smNormal);
  }
  SetCaretPos(caret_);
}

void TSynEdit::DeleteWord() {
  int L = caret_.Line;
  std::string line = LineText(L);
  int len = static_cast<int>(line.size());
  int k = caret_.Char;
  std::size_t at = static_cast<std::size_t>(std::min(k, len + 1) - 1);
  while (at < line.size() && IsWordChar(line[at])) ++at;
  TBufferCoord end{static_cast<int>(at) + 1, L};
  if (k >= end.Char) {
    if (k > len) {
      if (L >= LineCount()) return;
      end = {1, L + 1};
    } else if (line[static_cast<std::size_t>(end.Char - 1)] != ' ') {
      ++end.Char;
    }
  }
  std::string endLine = LineText(end.Line);
  while (end.Char <= static_cast<int>(endLine.size()) && endLine[static_cast<std::size_t>(end.Char - 1)] == ' ')
    ++end.Char;
  TBufferCoord start = caret_;
  if (start.Line == end.Line && start.Char > len) return;
  if (start.Char > len + 1) start.Char = len + 1;
  DeleteRange(start, end, TChangeKind::ckQuietRemovedAfterCaret, caret_);
}

void TSynEdit::DeleteEndOfLine() {
  int len = static_cast<int>(LineText(caret_.Line).size());
  if (caret_.Char > len) return;
  DeleteRange(caret_, {len + 1, caret_.Line}, TChangeKind::ckQuietRemovedAfterCaret, caret_);
}

void TSynEdit::DeleteLastWord(bool toLineStart) {
  TBufferCoord start = toLineStart ? TBufferCoord{1, caret_.Line} : WordLeftPos(caret_);
  TBufferCoord end = caret_;
  int len = static_cast<int>(LineText(end.Line).size());
  if (end.Char > len + 1) end.Char = len + 1;
  if (!(start < end)) {
    SetCaretPos(start);
    return;
  }
  DeleteRange(start, end, TChangeKind::ckQuietRemoved, start);
}

void TSynEdit::DeleteLine() {
  if (LineCount() == 0 || (LineCount() == 1 && LineText(1).empty())) return;
  SetBlockAnchor(caret_);
  TBufferCoord caret = caret_;
  int L = caret_.Line;
  std::string removed = LineText(L);
  // The only line is emptied, not removed: its undo must not add a line break.
  if (LineCount() == 1) {
    lines_.ReplaceLine(0, "");
  } else {
    lines_.Delete(L - 1);
    ShiftBookmarks(L, -1);
    if (L <= LineCount()) removed += "\r\n";
  }
  RecordChange(TChangeKind::ckQuietRemovedAfterCaret, {1, L}, caret, removed, TSynSelectionMode::smNormal);
  SetCaretPos({1, std::min(L, std::max(LineCount(), 1))});
}

void TSynEdit::ClearAll() {
  lines_.Clear();
  bookmarks_ = {};
  undoList_.ClearRecords();
  redoList_.ClearRecords();
  SetModified(false);
}

// ---- block indentation and case ---------------------------------------------------------

void TSynEdit::BlockIndent() {
  if (!HasSelection()) return;
  TBufferCoord begin = SelectionBegin(), end = SelectionEnd();
  int last = end.Char == 1 && end.Line > begin.Line ? end.Line - 1 : end.Line;
  int column = selectionMode_ == TSynSelectionMode::smColumn ? std::min(begin.Char, end.Char) : 1;
  std::string indent = (options_ & eoTabsToSpaces) ? std::string(static_cast<std::size_t>(TabWidth()), ' ') : "\t";
  TBufferCoord anchor = blockAnchor_, active = blockActive_;
  undoList_.OpenBlock();
  Finally(
      [&] {
        RecordChange(TChangeKind::ckIndented, anchor, active, {}, selectionMode_);
        lines_.OpenUpdate();
        for (int line = begin.Line; line <= last; ++line) {
          std::string s = LineText(line);
          if (static_cast<int>(s.size()) < column - 1) continue;
          s.insert(static_cast<std::size_t>(column - 1), indent);
          lines_.ReplaceLine(line - 1, s);
          RecordChange(TChangeKind::ckPasted, {column, line}, {column + static_cast<int>(indent.size()), line}, {},
                       TSynSelectionMode::smNormal);
        }
        lines_.CloseUpdate();
      },
      [&] { undoList_.CloseBlock(); });
  int grow = static_cast<int>(indent.size());
  auto widened = [&](TBufferCoord p) {
    if (p.Line <= last && (p.Char > 1 || selectionMode_ != TSynSelectionMode::smNormal)) p.Char += grow;
    return p;
  };
  SetCaretAndSelection(widened(caret_), widened(anchor), widened(active));
}

void TSynEdit::BlockUnindent() {
  if (!HasSelection()) return;
  TBufferCoord begin = SelectionBegin(), end = SelectionEnd();
  int last = end.Char == 1 && end.Line > begin.Line ? end.Line - 1 : end.Line;
  int column = selectionMode_ == TSynSelectionMode::smColumn ? std::min(begin.Char, end.Char) : 1;
  std::string saved;
  std::vector<int> removedPerLine;
  lines_.OpenUpdate();
  for (int line = begin.Line; line <= last; ++line) {
    std::string s = LineText(line);
    std::size_t at = static_cast<std::size_t>(column - 1);
    std::size_t count = 0;
    if (at < s.size() && s[at] == '\t') {
      count = 1;
    } else {
      while (at + count < s.size() && s[at + count] == ' ' && static_cast<int>(count) < TabWidth()) ++count;
    }
    if (line > begin.Line) saved += "\r\n";
    saved += s.substr(std::min(at, s.size()), count);
    removedPerLine.push_back(static_cast<int>(count));
    if (count > 0) lines_.ReplaceLine(line - 1, s.erase(at, count));
  }
  lines_.CloseUpdate();
  if (std::all_of(removedPerLine.begin(), removedPerLine.end(), [](int n) { return n == 0; })) return;
  RecordChange(TChangeKind::ckUnindented, {column, begin.Line}, {column, last}, saved, selectionMode_);
  auto narrowed = [&](TBufferCoord p) {
    if (p.Line >= begin.Line && p.Line <= last) p.Char = std::max(1, p.Char - removedPerLine[static_cast<std::size_t>(p.Line - begin.Line)]);
    return p;
  };
  SetCaretAndSelection(narrowed(caret_), narrowed(blockAnchor_), narrowed(blockActive_));
}

void TSynEdit::ChangeCase(TSynEditorCommand command) {
  bool block = command >= ecUpperCaseBlock;
  TBufferCoord oldCaret = caret_, oldAnchor = blockAnchor_, oldActive = blockActive_;
  if (!HasSelection()) {
    std::string line = LineText(caret_.Line);
    if (block) {
      if (caret_.Char > static_cast<int>(line.size())) return;
      TBufferCoord next = NextCharPos(caret_);
      blockAnchor_ = caret_;
      blockActive_ = next;
    } else {
      TBufferCoord start = caret_, end = caret_;
      std::size_t at = static_cast<std::size_t>(std::min<int>(caret_.Char, static_cast<int>(line.size()) + 1) - 1);
      if ((at >= line.size() || !IsWordChar(line[at])) && at > 0 && IsWordChar(line[at - 1])) --at;
      std::size_t s = at, e = at;
      while (s > 0 && IsWordChar(line[s - 1])) --s;
      while (e < line.size() && IsWordChar(line[e])) ++e;
      if (s == e) return;
      start.Char = static_cast<int>(s) + 1;
      end.Char = static_cast<int>(e) + 1;
      blockAnchor_ = start;
      blockActive_ = end;
    }
  }
  std::string text = SelectedText();
  bool first = true;
  for (char& c : text) {
    if (static_cast<unsigned char>(c) >= 128) continue;
    switch (command) {
      case ecUpperCase:
      case ecUpperCaseBlock: c = static_cast<char>(std::toupper(static_cast<unsigned char>(c))); break;
      case ecLowerCase:
      case ecLowerCaseBlock: c = static_cast<char>(std::tolower(static_cast<unsigned char>(c))); break;
      case ecToggleCase:
      case ecToggleCaseBlock:
        c = std::isupper(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
                                                         : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        break;
      case ecTitleCase:
        c = first ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
                  : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        break;
      default: break;
    }
    first = false;
  }
  TBufferCoord anchor = blockAnchor_, active = blockActive_;
  undoList_.OpenBlock();
  Finally(
      [&] {
        RecordChange(TChangeKind::ckCaretMoved, oldCaret, oldCaret, {}, selectionMode_);
        RecordChange(TChangeKind::ckSelectionChanged, oldAnchor, oldActive, {}, selectionMode_);
        SetSelectedText(text);
      },
      [&] { undoList_.CloseBlock(); });
  if (oldAnchor == oldActive)
    SetCaretAndSelection(oldCaret, oldCaret, oldCaret);
  else
    SetCaretAndSelection(oldCaret, anchor, active);
}

// ---- clipboard --------------------------------------------------------------------------

bool TSynEdit::CanPaste() const {
  return !readOnly_ && (clipboard_.HasText() || clipboard_.HasFormat(kSynEditClipboardFormat));
}

void TSynEdit::CopyToClipboard(std::string text) {
  if (text.empty()) return;
  std::string block;
  block.reserve(text.size() + 2);
  AdviseLargeBuffer(block.data(), block.capacity());
  block += static_cast<char>(selectionMode_);
  block += text;
  block += '\0';
  std::vector<std::pair<std::string, std::string>> formats;
  formats.emplace_back(kSynEditClipboardFormat, std::move(block));
  if (!clipboard_.SetContents(std::move(text), std::move(formats)))
    throw ESynEditError("Clipboard copy operation failed");
}

void TSynEdit::CopySelectedText() {
  if (HasSelection()) CopyToClipboard(SelectedText());
}

void TSynEdit::CutSelectedText() {
  if (readOnly_ || !HasSelection()) return;
  std::string text = SelectedText();
  CopyToClipboard(CopyOf(text));
  TBufferCoord anchor = blockAnchor_, active = blockActive_;
  SuspendUndo();
  Finally([&] { SetSelectedTextRaw(selectionMode_, ""); }, [&] { ResumeUndo(); });
  RecordChange(TChangeKind::ckRemoved, anchor, active, std::move(text), selectionMode_);
}

void TSynEdit::PasteClipboard() {
  if (readOnly_) return;
  std::optional<std::string> block;
  TSynSelectionMode mode = selectionMode_;
  std::string text;
  if (clipboard_.HasFormat(kSynEditClipboardFormat)) {
    block = clipboard_.GetFormat(kSynEditClipboardFormat);
    if (!block || block->empty()) throw ESynEditError("Clipboard paste operation failed.");
    mode = static_cast<TSynSelectionMode>(std::min<unsigned char>(static_cast<unsigned char>((*block)[0]), 2));
    text = block->substr(1, block->find('\0', 1) == std::string::npos ? std::string::npos : block->find('\0', 1) - 1);
  } else if (clipboard_.HasText()) {
    std::optional<std::string> plain = clipboard_.GetText();
    if (!plain) throw ESynEditError("Clipboard paste operation failed.");
    text = *plain;
  } else {
    return;
  }
  undoList_.OpenBlock();
  Finally(
      [&] {
        RecordChange(TChangeKind::ckPasteStart, caret_, caret_, {}, selectionMode_);
        TBufferCoord start = caret_;
        if (HasSelection()) {
          start = SelectionBegin();
          if (selectionMode_ == TSynSelectionMode::smLine) start.Char = 1;
          RecordSelectionRemoval();
        }
        SetSelectedTextRaw(mode, text);
        if (!block) {
          if (mode != TSynSelectionMode::smColumn) RecordChange(TChangeKind::ckPasted, start, caret_, {}, mode);
        } else if (mode == TSynSelectionMode::smNormal) {
          RecordChange(TChangeKind::ckPasted, start, caret_, {}, TSynSelectionMode::smNormal);
        } else if (mode == TSynSelectionMode::smLine) {
          if (caret_.Char == 1)
            RecordChange(TChangeKind::ckPasted, {1, start.Line}, {std::max(visibleColumns_, 1), caret_.Line - 1}, {},
                         TSynSelectionMode::smLine);
          else
            RecordChange(TChangeKind::ckPasted, {1, start.Line}, caret_, {}, TSynSelectionMode::smNormal);
        }
        RecordChange(TChangeKind::ckPasteEnd, caret_, caret_, {}, selectionMode_);
      },
      [&] { undoList_.CloseBlock(); });
  EnsureCaretVisible();
  StatusChanged(scSelection);
}

}  // namespace tarnwick
