#pragma once

#include <string>
#include <vector>

#include "highlight/SynHighlighterScanner.h"

namespace tarnwick {

class TSynCssSyn : public TSynTableScanner<TSynCssSyn> {
 public:
  enum TTokenKind {
    tkComment, tkProperty, tkKey, tkNull, tkSpace, tkString, tkSymbol, tkText, tkUndefProperty, tkValue,
    tkColor, tkNumber,
  };
  enum TRangeState { rsComment, rsUnused, rsProperty, rsSelector, rsPropertyAfterSemicolon, rsValue };
  static constexpr int kEndKind = tkNull;
  static constexpr int kSpaceKind = tkSpace;

  TSynCssSyn();

  TSynHighlighterAttributes* DefaultAttribute(int role) const override;
  const TSynCharSet& IdentifierCharSet() const override;
  std::string LanguageName() const override { return "Cascading Style Sheet"; }
  // The state, and inside a comment the state the comment returns to in the next byte.
  TSynRange CurrentRange() const override;
  TSynHighlighterAttributes* TokenAttribute() const override;
  void NextToken() override;
  void RestoreRange(TSynRange range) override;
  void ResetRange() override {
    range_ = rsSelector;
    commentReturn_ = rsSelector;
  }

  // The kind the property look-up gives for the word at text.
  int LookUpProperty(const char* text) const;
  static const std::vector<std::string>& PropertyNames();

  TSynHighlighterAttributes* CommentAttri;
  TSynHighlighterAttributes* PropertyAttri;
  TSynHighlighterAttributes* KeyAttri;
  TSynHighlighterAttributes* UndefPropertyAttri;
  TSynHighlighterAttributes* SpaceAttri;
  TSynHighlighterAttributes* ColourAttri;
  TSynHighlighterAttributes* NumberAttri;
  TSynHighlighterAttributes* StringAttri;
  TSynHighlighterAttributes* SymbolAttri;
  TSynHighlighterAttributes* TextAttri;
  TSynHighlighterAttributes* ValueAttri;

 private:
  friend class TSynTableScanner<TSynCssSyn>;

  void SelectorProc();
  void CommentProc();
  void SlashProc();
  void StringProc();
  void ColourProc();
  void NumberProc();
  void StateSymbolProc(TRangeState next);
  void CommaColonProc() { StateSymbolProc(rsValue); }
  void SemicolonProc() { StateSymbolProc(rsPropertyAfterSemicolon); }
  void OpenBraceProc() { StateSymbolProc(rsProperty); }
  void CloseBraceProc() { StateSymbolProc(rsSelector); }
  void WordProc();

  std::vector<std::vector<const std::string*>> buckets_;  // by hash; shorter names first
  TRangeState range_ = rsSelector;
  TRangeState commentReturn_ = rsSelector;
};

}  // namespace tarnwick
