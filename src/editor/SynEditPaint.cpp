// Painting: the gutter, the text rows token by token, the selection and the right edge, all
// drawn through the canvas so that any window layer (or a test) can show them.
#include <algorithm>
#include <climits>
#include <cstdio>

#include "editor/SynEdit.h"
#include "editor/Utf8.h"

namespace tarnwick {

namespace {

constexpr const char* kMiddleDot = "\xC2\xB7";    // a space, shown
constexpr const char* kDoubleAngle = "\xC2\xBB";  // a run of tab cells
constexpr const char* kPilcrow = "\xC2\xB6";      // the end of a line

struct TRun {
  TColor foreground, background;
  TFontStyles style;
};

struct TCell {
  int column;  // 1-based display column
  int width;
  std::string text;
  int run;
};

bool IsBlankCell(char c) { return c == ' ' || c == '\t'; }

}  // namespace

TColor TSynEdit::LineBackground(int line) const {
  if (line == caret_.Line && ActiveLineColor != clNone) return ActiveLineColor;
  return TextBackground();
}

TColor TSynEdit::TextBackground() const {
  if (highlighter_ != nullptr) {
    TSynHighlighterAttributes* space = highlighter_->DefaultAttribute(SYN_ATTR_WHITESPACE);
    if (space != nullptr && space->Background() != clNone) return space->Background();
  }
  return Color;
}

void TSynEdit::Paint(TCanvas& canvas, const TRect& clip) {
  if (clip.Empty()) return;
  int gutter = GutterRealWidth();
  int firstRow = topRow_ + std::max(clip.top, 0) / lineHeight_;
  int lastRow = topRow_ + std::max(clip.bottom - 1, 0) / lineHeight_;
  if (gutter > 0 && clip.left < gutter) PaintGutter(canvas, firstRow, lastRow);
  if (clip.right > gutter && clip.left < gutter + 2)
    canvas.FillRect({gutter, clip.top, gutter + 2, clip.bottom}, TextBackground());
  for (int row = firstRow; row <= lastRow; ++row) PaintRow(canvas, row, clip);
  if (RightEdge > 0) {
    int x = RightEdge * charWidth_ + gutter + 2 - (leftColumn_ - 1) * charWidth_;
    if (x >= gutter + 2 && x >= clip.left && x < clip.right) canvas.DrawLine(x, clip.top, x, clip.bottom, RightEdgeColor);
  }
}

void TSynEdit::PaintGutter(TCanvas& canvas, int firstRow, int lastRow) {
  int gutter = GutterRealWidth();
  int top = (firstRow - topRow_) * lineHeight_, bottom = (lastRow - topRow_ + 1) * lineHeight_;
  canvas.FillRect({0, top, gutter, bottom}, gutter_.Color);
  if (gutter_.ShowLineNumbers) {
    TFontSpec font = gutter_.UseFontStyle ? gutter_.Font : TFontSpec{font_.name, font_.size, 0};
    canvas.SetFont(font);
    for (int row = firstRow; row <= std::min(lastRow, DisplayRowCount()); ++row) {
      if (LineCount() == 0) break;
      int line, start, end;
      RowSpan(row, line, start, end);
      int y0 = (row - topRow_) * lineHeight_ + (lineHeight_ - canvas.LineHeight()) / 2;
      if (start > 0) {
        // A continuation row: the wrap mark instead of a number.
        int x = gutter - gutter_.RightOffset - canvas.CharWidth() - 2;
        canvas.DrawText(x, y0, "\xE2\x86\xB5", FontColor);
        continue;
      }
      char number[32];
      int value = gutter_.ZeroStart ? line - 1 : line;
      std::snprintf(number, sizeof number, gutter_.LeadingZeros ? "%0*d" : "%*d", GutterDigits(), value);
      std::string text = number;
      int width = static_cast<int>(text.size()) * canvas.CharWidth();
      int y = (row - topRow_) * lineHeight_ + (lineHeight_ - canvas.LineHeight()) / 2;
      int x = gutter - gutter_.RightOffset - width - 2;
      canvas.FillRect({x, y, x + width, y + canvas.LineHeight()}, gutter_.Color);
      canvas.DrawText(x, y, text, FontColor);
    }
    canvas.SetFont(font_);
  }
  // Bookmarks: their digit in a box, from the left margin, 12 pixels apart.
  for (const auto& mark : bookmarks_) {
    if (!mark || !mark->Visible) continue;
    int row = BufferToDisplayPos({1, mark->Line}).Row;
    if (row < firstRow || row > lastRow) continue;
    int x = 2 + 12 * (mark->BookmarkNumber % 2);
    int y = (row - topRow_) * lineHeight_;
    canvas.FillRect({x, y + 1, x + 11, y + lineHeight_ - 1}, clHighlight);
    canvas.SetFont(gutter_.Font);
    canvas.DrawText(x + 2, y + (lineHeight_ - canvas.LineHeight()) / 2, std::to_string(mark->BookmarkNumber), clHighlightText);
    canvas.SetFont(font_);
  }
  switch (gutter_.BorderStyle) {
    case TSynGutterBorderStyle::gbsMiddle:
      canvas.DrawLine(gutter - 2, top, gutter - 2, bottom, Color);
      canvas.DrawLine(gutter - 1, top, gutter - 1, bottom, gutter_.Color);
      break;
    case TSynGutterBorderStyle::gbsRight: canvas.DrawLine(gutter - 1, top, gutter - 1, bottom, Color); break;
    case TSynGutterBorderStyle::gbsNone: break;
  }
}

void TSynEdit::PaintRow(TCanvas& canvas, int row, const TRect& clip) {
  int gutter = GutterRealWidth();
  int textLeft = gutter + 2;
  int y = (row - topRow_) * lineHeight_;
  int left = std::max(clip.left, textLeft);
  if (clip.right <= left) return;
  if (row > DisplayRowCount() || LineCount() == 0) {
    canvas.FillRect({left, y, clip.right, y + lineHeight_}, TextBackground());
    return;
  }
  // The part of the line this row shows: columns rowStart + 1 .. rowEnd.
  int line, rowStart, rowEnd;
  RowSpan(row, line, rowStart, rowEnd);
  TColor background = LineBackground(line);
  bool special = options_ & eoShowSpecialChars;

  // The runs: tokens merged where they look alike.
  std::string expanded = lines_.ExpandedText(line - 1).Str();
  std::vector<TRun> runs;
  std::vector<int> runOfByte(expanded.size(), 0);
  bool lastWasComment = false;
  if (highlighter_ != nullptr) {
    if (line == 1)
      highlighter_->ResetRange();
    else
      highlighter_->RestoreRange(lines_.LineRange(line - 2));
    highlighter_->StartLine(expanded.c_str(), line - 1);
    TSynHighlighterAttributes* comment = highlighter_->DefaultAttribute(SYN_ATTR_COMMENT);
    for (; !highlighter_->AtLineEnd(); highlighter_->NextToken()) {
      int start = highlighter_->TokenStart();
      std::string text = highlighter_->TokenText();
      if (text.empty()) continue;
      TSynHighlighterAttributes* attribute = highlighter_->TokenAttribute();
      TRun run{FontColor, background, font_.style};
      if (attribute != nullptr) {
        if (attribute->Foreground() != clNone) run.foreground = attribute->Foreground();
        if (attribute->Background() != clNone && !(line == caret_.Line && ActiveLineColor != clNone))
          run.background = attribute->Background();
        run.style = attribute->Style();
      }
      lastWasComment = attribute != nullptr && attribute == comment;
      bool blanks = std::all_of(text.begin(), text.end(), IsBlankCell);
      bool merges = false;
      if (!runs.empty()) {
        const TRun& previous = runs.back();
        bool style = run.style == previous.style || (blanks && !((run.style | previous.style) & fsUnderline));
        merges = style && run.background == previous.background && (run.foreground == previous.foreground || blanks);
      }
      if (!merges) runs.push_back(run);
      std::fill(runOfByte.begin() + start, runOfByte.begin() + start + static_cast<int>(text.size()),
                static_cast<int>(runs.size()) - 1);
    }
  } else {
    runs.push_back({FontColor, background, font_.style});
  }

  // The cells, with tabs and blanks as they are shown.
  std::vector<TCell> cells;
  int column = 1;
  for (std::size_t at = 0; at < expanded.size();) {
    if (expanded[at] == '\t') {
      std::size_t end = at;
      while (end < expanded.size() && expanded[end] == '\t') ++end;
      std::size_t middle = at + (end - at) / 2;
      for (; at < end; ++at) cells.push_back({column++, 1, special && at == middle ? kDoubleAngle : " ", runOfByte[at]});
      continue;
    }
    TUtf8Char c = Utf8CharAt(expanded, at);
    std::string text = expanded.substr(at, c.length);
    if (special && text == " ") text = kMiddleDot;
    cells.push_back({column, c.columns, text, runOfByte[at]});
    column += c.columns;
    at += c.length;
  }
  int endColumn = column;  // the column after the text
  int lastVisible = leftColumn_ + rowStart + (clientWidth_ - textLeft + charWidth_ - 1) / std::max(charWidth_, 1);
  bool lastRow = endColumn <= rowEnd + 1;
  if (special && lastRow && (highlighter_ != nullptr || endColumn < lastVisible)) {
    TRun run{FontColor, background, font_.style};
    if (highlighter_ != nullptr) {
      TSynHighlighterAttributes* attribute =
          highlighter_->DefaultAttribute(lastWasComment ? SYN_ATTR_COMMENT : SYN_ATTR_WHITESPACE);
      if (attribute != nullptr) {
        if (attribute->Foreground() != clNone) run.foreground = attribute->Foreground();
        if (attribute->Background() != clNone) run.background = attribute->Background();
        run.style = attribute->Style();
      }
    }
    runs.push_back(run);
    cells.push_back({endColumn, 1, kPilcrow, static_cast<int>(runs.size()) - 1});
  }

  // The selected columns of this row.
  int selectedFrom = INT_MAX, selectedTo = INT_MAX;
  if (HasSelection() && !(HideSelection && !Focused)) {
    TBufferCoord begin = SelectionBegin(), end = SelectionEnd();
    if (line >= begin.Line && line <= end.Line) {
      switch (selectionMode_) {
        case TSynSelectionMode::smNormal:
          selectedFrom = line == begin.Line ? ColumnOf(begin) : 1;
          selectedTo = line == end.Line ? ColumnOf(end) : INT_MAX - 1;
          break;
        case TSynSelectionMode::smLine:
          selectedFrom = 1;
          selectedTo = INT_MAX - 1;
          break;
        case TSynSelectionMode::smColumn: {
          auto [from, to] = ColumnBounds();
          selectedFrom = from;
          selectedTo = to;
          break;
        }
      }
    }
  }
  auto selected = [&](int col) { return col >= selectedFrom && col < selectedTo; };
  auto xOf = [&](int col) { return textLeft + (col - rowStart - leftColumn_) * charWidth_; };
  int firstVisible = leftColumn_ + rowStart;
  lastVisible = std::min(lastVisible, rowEnd + 1 + (lastRow ? INT_MAX / 4 : 0));

  // Consecutive visible cells of one run and one selection state are drawn together.
  for (std::size_t i = 0; i < cells.size();) {
    std::size_t j = i;
    while (j < cells.size() && cells[j].run == cells[i].run && selected(cells[j].column) == selected(cells[i].column)) ++j;
    int from = cells[i].column, to = cells[j - 1].column + cells[j - 1].width;
    if (to > firstVisible && from < lastVisible) {
      const TRun& run = runs[static_cast<std::size_t>(cells[i].run)];
      bool inSelection = selected(from);
      TColor fg = inSelection ? SelectedColor.Foreground : run.foreground;
      TColor bg = inSelection ? SelectedColor.Background : run.background;
      std::string text;
      int firstColumn = INT_MAX;
      for (std::size_t k = i; k < j; ++k) {
        if (cells[k].column + cells[k].width <= firstVisible || cells[k].column >= lastVisible) continue;
        firstColumn = std::min(firstColumn, cells[k].column);
        text += cells[k].text;
      }
      canvas.FillRect({xOf(firstColumn), y, xOf(std::min(to, lastVisible)), y + lineHeight_}, bg);
      TFontSpec font = font_;
      font.style = run.style;
      canvas.SetFont(font);
      canvas.DrawText(xOf(firstColumn), y, text, fg);
    }
    i = j;
  }
  canvas.SetFont(font_);

  // The rest of the row, with the selection where it goes on.
  // The rest of the row: after its text, to the window's edge.
  int rowRight = leftColumn_ + rowStart + (clientWidth_ - textLeft + charWidth_ - 1) / std::max(charWidth_, 1);
  int restFrom = std::max(std::min(cells.empty() ? endColumn : cells.back().column + cells.back().width, rowEnd + 1), firstVisible);
  lastVisible = rowRight;
  if (restFrom < lastVisible) {
    int split = std::clamp(selectedFrom, restFrom, lastVisible);
    int splitEnd = std::clamp(selectedTo, restFrom, lastVisible);
    if (split > restFrom) canvas.FillRect({xOf(restFrom), y, xOf(split), y + lineHeight_}, background);
    if (splitEnd > split) canvas.FillRect({xOf(split), y, xOf(splitEnd), y + lineHeight_}, SelectedColor.Background);
    if (lastVisible > splitEnd) canvas.FillRect({xOf(splitEnd), y, xOf(lastVisible), y + lineHeight_}, background);
  }
}

}  // namespace tarnwick
