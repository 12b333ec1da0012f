#pragma once

#include <string_view>
#include <vector>

#include "highlight/SynCharSet.h"

namespace tarnwick {

// The rows of every line while word wrap is on. Rows are cut on the expanded text in display
// columns; rowStarts[i] holds the 0-based start column of each row of line i (0 first).
class TSynWordWrapPlugin {
 public:
  // Lines are given as their expanded text; breaks are the characters a row may end after.
  TSynWordWrapPlugin(int visibleColumns, int tabWidth, const TSynCharSet& breaks);

  int RowLimit() const { return rowLimit_; }
  void Reset(int lineCount);
  void SetLine(int index, std::string_view expanded);
  void InsertLines(int index, int count);
  void DeleteLines(int index, int count);

  int RowCount() const;
  // The first row (1-based) of a 0-based line, and the line and row inside it of a row.
  int FirstRowOf(int line) const;
  void RowToLine(int row, int& line, int& rowInLine) const;
  const std::vector<int>& RowStarts(int line) const { return rowStarts_[static_cast<std::size_t>(line)]; }

  // The 0-based start columns of the rows of one expanded line.
  std::vector<int> CutRows(std::string_view expanded) const;

 private:
  void Recount(int from);

  int rowLimit_;
  int rowMinimum_;
  int tabWidth_;
  TSynCharSet breaks_;
  std::vector<std::vector<int>> rowStarts_;
  std::vector<int> rowEnds_;  // running row count up to and including each line
};

}  // namespace tarnwick
