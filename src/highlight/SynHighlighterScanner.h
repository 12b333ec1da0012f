#pragma once

#include <array>
#include <string>

#include "highlight/SynEditHighlighter.h"

namespace tarnwick {

// The machinery the table-driven highlighters share: the line, the scan position, the token
// and a 256-entry dispatch table of the derived scanner's routines. TDerived names its end
// of line and whitespace kinds as kEndKind and kSpaceKind.
template <class TDerived>
class TSynTableScanner : public TSynCustomHighlighter {
 public:
  bool AtLineEnd() const override { return kind_ == TDerived::kEndKind; }
  std::string TokenText() const override { return std::string(line_ + tokenStart_, static_cast<std::size_t>(run_ - tokenStart_)); }
  int TokenKind() const override { return kind_; }
  int TokenStart() const override { return tokenStart_; }
  void StartLine(const char* text, int) override {
    line_ = text;
    run_ = 0;
    NextToken();
  }

 protected:
  using TRoutine = void (TDerived::*)();

  unsigned char At(int index) const { return static_cast<unsigned char>(line_[index]); }
  unsigned char Here() const { return At(run_); }
  bool AtBreak() const { return Here() == 0 || Here() == '\n' || Here() == '\r'; }
  // Whether text starts at the scan position; the comparison stops at the line's NUL.
  bool LooksAt(int from, const char* text) const {
    for (int i = 0; text[i] != '\0'; ++i)
      if (line_[from + i] != text[i]) return false;
    return true;
  }
  void Dispatch() { (static_cast<TDerived*>(this)->*dispatch_[Here()])(); }

  // The routines every scanner has alike.
  void NullProc() { kind_ = TDerived::kEndKind; }
  void LineFeedProc() {
    kind_ = TDerived::kSpaceKind;
    ++run_;
  }
  void CarriageReturnProc() {
    kind_ = TDerived::kSpaceKind;
    ++run_;
    if (Here() == '\n') ++run_;
  }
  // A TAB always begins a whitespace token of its own; blanks after it join it.
  void SpaceProc() {
    kind_ = TDerived::kSpaceKind;
    ++run_;
    while (Here() <= 32 && Here() != 0 && Here() != '\t' && Here() != '\n' && Here() != '\r') ++run_;
  }
  // Fills the table with the shared routines; the derived scanner then sets its own.
  void InitDispatch(TRoutine other) {
    for (int c = 0; c < 256; ++c) dispatch_[static_cast<std::size_t>(c)] = c <= 32 ? &TDerived::SpaceProc : other;
    dispatch_[0] = &TDerived::NullProc;
    dispatch_['\n'] = &TDerived::LineFeedProc;
    dispatch_['\r'] = &TDerived::CarriageReturnProc;
  }

  std::array<TRoutine, 256> dispatch_{};
  const char* line_ = "";
  int run_ = 0;
  int tokenStart_ = 0;
  int kind_ = TDerived::kEndKind;
};

}  // namespace tarnwick
