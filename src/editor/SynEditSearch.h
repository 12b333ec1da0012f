#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

enum TSynSearchOption : std::uint8_t {
  optMatchCase = 1 << 0,
  optWholeWord = 1 << 1,
  optBackwards = 1 << 2,
  optEntireScope = 1 << 3,
  optSelectedOnly = 1 << 4,
  optReplace = 1 << 5,
  optReplaceAll = 1 << 6,
  optPrompt = 1 << 7,
};
using TSynSearchOptions = std::uint8_t;

enum class TSynReplaceAction { raCancel, raSkip, raReplace, raReplaceAll };

// Finds every occurrence of a pattern in one line.
class TSynEditSearchCustom {
 public:
  virtual ~TSynEditSearchCustom() = default;

  virtual const std::string& Pattern() const = 0;
  virtual void SetPattern(const std::string& pattern) = 0;
  virtual int MatchLength(int index) const = 0;
  // 1-based character positions; 0 out of range.
  virtual int MatchPosition(int index) const = 0;
  virtual int MatchCount() const = 0;
  virtual void SetSearchOptions(TSynSearchOptions options) = 0;
  virtual int FindInLine(std::string_view text) = 0;
  virtual std::string ReplacementText(const std::string& found, const std::string& replacement) const = 0;
};

// Boyer-Moore-Horspool over folded bytes. Only ASCII letters fold: the bytes of a UTF-8
// character are compared as they are, and count as word characters for whole words.
class TSynEditSearch : public TSynEditSearchCustom {
 public:
  TSynEditSearch();

  const std::string& Pattern() const override { return pattern_; }
  void SetPattern(const std::string& pattern) override;
  int MatchLength(int index) const override;
  int MatchPosition(int index) const override;
  int MatchCount() const override { return static_cast<int>(matches_.size()); }
  void SetSearchOptions(TSynSearchOptions options) override;
  int FindInLine(std::string_view text) override;
  std::string ReplacementText(const std::string& found, const std::string& replacement) const override {
    (void)found;
    return replacement;
  }

 private:
  void BuildCaseTable();
  void BuildShiftTable();
  unsigned char Fold(char c) const { return caseTable_[static_cast<unsigned char>(c)]; }
  bool IsDelimiter(char c) const { return delimiters_[static_cast<unsigned char>(c)]; }

  std::string pattern_;
  bool matchCase_ = false;
  bool wholeWord_ = false;
  std::array<unsigned char, 256> caseTable_{};
  std::array<bool, 256> delimiters_{};
  std::array<int, 256> shift_{};
  int lookAt_ = 1;
  bool shiftStale_ = true;
  std::vector<int> matches_;
};

}  // namespace tarnwick
