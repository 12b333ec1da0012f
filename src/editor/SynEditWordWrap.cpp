#include "editor/SynEditWordWrap.h"

#include <algorithm>

#include "editor/Utf8.h"

namespace tarnwick {

namespace {

constexpr int kMaxRow = 255;

struct TCell {
  int column;  // 0-based
  int width;
  unsigned char first;  // the first byte
};

}  // namespace

TSynWordWrapPlugin::TSynWordWrapPlugin(int visibleColumns, int tabWidth, const TSynCharSet& breaks)
    : rowLimit_(std::clamp(visibleColumns, 1, kMaxRow)), tabWidth_(std::max(tabWidth, 1)), breaks_(breaks) {
  rowMinimum_ = std::max(rowLimit_ - rowLimit_ / 3, 1);
}

std::vector<int> TSynWordWrapPlugin::CutRows(std::string_view expanded) const {
  std::vector<TCell> cells;
  std::vector<int> cellOfColumn;  // the cell that covers each column
  int total = 0;
  for (std::size_t at = 0; at < expanded.size();) {
    TUtf8Char c = Utf8CharAt(expanded, at);
    for (int k = 0; k < c.columns; ++k) cellOfColumn.push_back(static_cast<int>(cells.size()));
    cells.push_back({total, c.columns, static_cast<unsigned char>(expanded[at])});
    total += c.columns;
    at += c.length;
  }
  auto blank = [&](int cell) { return cells[static_cast<std::size_t>(cell)].first == ' ' || cells[static_cast<std::size_t>(cell)].first == '\t'; };
  auto startOf = [&](int cell) { return cells[static_cast<std::size_t>(cell)].column; };
  // A cut at a column inside a wide character moves to that character's start.
  auto boundary = [&](int column) { return column >= total ? total : startOf(cellOfColumn[static_cast<std::size_t>(column)]); };

  std::vector<int> starts{0};
  for (int p = 0; total - p > rowLimit_;) {
    int next = cellOfColumn[static_cast<std::size_t>(p + rowLimit_)];  // the first cell that does not fit
    int last = cellOfColumn[static_cast<std::size_t>(p + rowLimit_ - 1)];
    int end = -1;
    if (blank(next)) {
      // Blanks stay at the end of the upper row.
      int after = next;
      while (after < static_cast<int>(cells.size()) && blank(after)) ++after;
      end = after < static_cast<int>(cells.size()) ? startOf(after) : total;
    } else {
      for (int k = last; k >= 0 && startOf(k) >= p + rowMinimum_; --k)
        if (breaks_[cells[static_cast<std::size_t>(k)].first]) {
          end = startOf(k) + cells[static_cast<std::size_t>(k)].width;
          break;
        }
      if (end < 0) end = boundary(p + rowLimit_);
    }
    if (end - p > kMaxRow) {
      end = boundary(p + kMaxRow);
      // Inside a run of tab cells the cut goes back to the tab stop before it.
      if (end < total && cells[static_cast<std::size_t>(cellOfColumn[static_cast<std::size_t>(end)])].first == '\t') {
        int stop = end / tabWidth_ * tabWidth_;
        if (stop > p) end = stop;
      }
    }
    if (end <= p) end = std::max(boundary(p + rowLimit_), p + 1);
    if (end >= total) break;
    starts.push_back(end);
    p = end;
  }
  return starts;
}

void TSynWordWrapPlugin::Reset(int lineCount) {
  rowStarts_.assign(static_cast<std::size_t>(lineCount), std::vector<int>{0});
  rowEnds_.assign(static_cast<std::size_t>(lineCount), 0);
  Recount(0);
}

void TSynWordWrapPlugin::SetLine(int index, std::string_view expanded) {
  rowStarts_[static_cast<std::size_t>(index)] = CutRows(expanded);
  Recount(index);
}

void TSynWordWrapPlugin::InsertLines(int index, int count) {
  rowStarts_.insert(rowStarts_.begin() + index, static_cast<std::size_t>(count), std::vector<int>{0});
  rowEnds_.insert(rowEnds_.begin() + index, static_cast<std::size_t>(count), 0);
  Recount(index);
}

void TSynWordWrapPlugin::DeleteLines(int index, int count) {
  count = std::min(count, static_cast<int>(rowStarts_.size()) - index);
  if (count <= 0) return;
  rowStarts_.erase(rowStarts_.begin() + index, rowStarts_.begin() + index + count);
  rowEnds_.erase(rowEnds_.begin() + index, rowEnds_.begin() + index + count);
  Recount(index);
}

void TSynWordWrapPlugin::Recount(int from) {
  int running = from > 0 ? rowEnds_[static_cast<std::size_t>(from - 1)] : 0;
  for (std::size_t i = static_cast<std::size_t>(std::max(from, 0)); i < rowStarts_.size(); ++i) {
    running += static_cast<int>(rowStarts_[i].size());
    rowEnds_[i] = running;
  }
}

int TSynWordWrapPlugin::RowCount() const { return rowEnds_.empty() ? 1 : rowEnds_.back(); }

int TSynWordWrapPlugin::FirstRowOf(int line) const {
  if (line <= 0) return 1;
  line = std::min(line, static_cast<int>(rowEnds_.size()));
  return rowEnds_[static_cast<std::size_t>(line - 1)] + 1;
}

void TSynWordWrapPlugin::RowToLine(int row, int& line, int& rowInLine) const {
  if (rowEnds_.empty()) {
    line = 0;
    rowInLine = 0;
    return;
  }
  auto it = std::lower_bound(rowEnds_.begin(), rowEnds_.end(), row);
  if (it == rowEnds_.end()) --it;
  line = static_cast<int>(it - rowEnds_.begin());
  int first = FirstRowOf(line);
  rowInLine = std::clamp(row - first, 0, static_cast<int>(rowStarts_[static_cast<std::size_t>(line)].size()) - 1);
}

}  // namespace tarnwick
