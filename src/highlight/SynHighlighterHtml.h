#pragma once

#include <array>
#include <string>
#include <vector>

#include "highlight/SynHighlighterScanner.h"

namespace tarnwick {

class TSynHTMLSyn : public TSynTableScanner<TSynHTMLSyn> {
 public:
  enum TTokenKind {
    tkAmpersand, tkComment, tkIdentifier, tkKey, tkNull, tkSpace, tkSymbol, tkText, tkUndefKey, tkValue,
  };
  enum TRangeState {
    rsAmpersand, rsComment, rsTag, rsParam, rsText, rsUnknown, rsValue, rsQuoteValue, rsDoubleQuoteValue,
  };
  static constexpr int kEndKind = tkNull;
  static constexpr int kSpaceKind = tkSpace;

  TSynHTMLSyn();

  TSynHighlighterAttributes* DefaultAttribute(int role) const override;
  const TSynCharSet& IdentifierCharSet() const override;
  std::string LanguageName() const override { return "HTML"; }
  TSynRange CurrentRange() const override { return range_; }
  TSynHighlighterAttributes* TokenAttribute() const override;
  void NextToken() override;
  void RestoreRange(TSynRange range) override { range_ = static_cast<TRangeState>(range); }
  void ResetRange() override { range_ = rsText; }

  // The kind the tag-name look-up gives for the name at text, and how many characters it took.
  int LookUpTagName(const char* text, int& length) const;
  static const std::vector<std::string>& KnownTagNames();
  static const std::vector<std::string>& EntityNames();

  TSynHighlighterAttributes* AndAttri;
  TSynHighlighterAttributes* CommentAttri;
  TSynHighlighterAttributes* IdentifierAttri;
  TSynHighlighterAttributes* KeyAttri;
  TSynHighlighterAttributes* SpaceAttri;
  TSynHighlighterAttributes* SymbolAttri;
  TSynHighlighterAttributes* TextAttri;
  TSynHighlighterAttributes* UndefKeyAttri;
  TSynHighlighterAttributes* ValueAttri;

 private:
  friend class TSynTableScanner<TSynHTMLSyn>;

  void CommentProc();
  void TextProc();
  void AmpersandProc();
  void OpenAngleProc();
  void EqualProc();
  void CloseAngleProc();
  void QuoteValueProc();
  void WordProc();
  void SkipNumericReference();

  std::array<std::vector<const std::string*>, 251> tagBuckets_;
  TRangeState range_ = rsText;
  int entity_ = -1;  // the named entity the text routine found, until its token
};

}  // namespace tarnwick
