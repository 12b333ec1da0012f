#include "editor/SynEditSearch.h"

#include <stdexcept>

namespace tarnwick {

TSynEditSearch::TSynEditSearch() {
  for (int c = 0; c < 256; ++c) {
    bool letterOrDigit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128;
    delimiters_[static_cast<std::size_t>(c)] = !letterOrDigit && c != '_';
  }
  BuildCaseTable();
}

void TSynEditSearch::BuildCaseTable() {
  for (int c = 0; c < 256; ++c)
    caseTable_[static_cast<std::size_t>(c)] =
        static_cast<unsigned char>(!matchCase_ && c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

void TSynEditSearch::SetPattern(const std::string& pattern) {
  if (pattern != pattern_) {
    pattern_ = pattern;
    shiftStale_ = true;
  }
  matches_.clear();
}

void TSynEditSearch::SetSearchOptions(TSynSearchOptions options) {
  bool matchCase = options & optMatchCase;
  if (matchCase != matchCase_) {
    matchCase_ = matchCase;
    BuildCaseTable();
    shiftStale_ = true;
  }
  wholeWord_ = options & optWholeWord;
}

int TSynEditSearch::MatchLength(int index) const {
  return index >= 0 && index < MatchCount() ? static_cast<int>(pattern_.size()) : 0;
}

int TSynEditSearch::MatchPosition(int index) const {
  return index >= 0 && index < MatchCount() ? matches_[static_cast<std::size_t>(index)] : 0;
}

void TSynEditSearch::BuildShiftTable() {
  if (pattern_.empty()) throw std::invalid_argument("Pattern is empty");
  int m = static_cast<int>(pattern_.size());
  shift_.fill(m + 1);
  for (int j = 1; j <= m; ++j) shift_[Fold(pattern_[static_cast<std::size_t>(j - 1)])] = m + 1 - j;
  // How far the last character repeats to its left: where a mismatch may resume.
  lookAt_ = m;
  for (int k = 1; k < m; ++k) {
    if (Fold(pattern_[static_cast<std::size_t>(m - k - 1)]) == Fold(pattern_.back())) {
      lookAt_ = k;
      break;
    }
  }
  shiftStale_ = false;
}

int TSynEditSearch::FindInLine(std::string_view text) {
  matches_.clear();
  if (shiftStale_) BuildShiftTable();
  int m = static_cast<int>(pattern_.size());
  int n = static_cast<int>(text.size());
  if (n < m) return 0;
  // 1-based, as the positions reported; outside the line reads as the terminating NUL.
  auto at = [&](int position) { return position >= 1 && position <= n ? text[static_cast<std::size_t>(position - 1)] : '\0'; };
  unsigned char last = Fold(pattern_.back());
  int r = m;
  while (r <= n) {
    if (Fold(at(r)) != last) {
      r += shift_[Fold(at(r + 1))];
      continue;
    }
    int start = r - m + 1;
    bool same = true;
    for (int j = 0; j < m && same; ++j) same = Fold(at(start + j)) == Fold(pattern_[static_cast<std::size_t>(j)]);
    if (same && (!wholeWord_ || (IsDelimiter(at(start - 1)) && IsDelimiter(at(r + 1))))) {
      matches_.push_back(start);
      r += m;
      continue;
    }
    r += lookAt_;
    r += shift_[Fold(at(r))] - 1;
  }
  return MatchCount();
}

}  // namespace tarnwick
