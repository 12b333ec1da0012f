#pragma once

#include <string>

#include "highlight/SynHighlighterScanner.h"

namespace tarnwick {

class TSynXMLSyn : public TSynTableScanner<TSynXMLSyn> {
 public:
  enum TTokenKind {
    tkAposAttrValue, tkAposEntityRef, tkAttribute, tkCDATA, tkComment, tkElement, tkEntityRef, tkEqual, tkNull,
    tkProcessingInstruction, tkQuoteAttrValue, tkQuoteEntityRef, tkSpace, tkSymbol, tkText, tknsAposAttrValue,
    tknsAposEntityRef, tknsAttribute, tknsEqual, tknsQuoteAttrValue, tknsQuoteEntityRef, tkDocType,
  };
  enum TRangeState {
    rsAposAttrValue, rsAPosEntityRef, rsAttribute, rsCDATA, rsComment, rsElement, rsEntityRef, rsEqual,
    rsProcessingInstruction, rsQuoteAttrValue, rsQuoteEntityRef, rsText, rsnsAposAttrValue, rsnsAPosEntityRef,
    rsnsEqual, rsnsQuoteAttrValue, rsnsQuoteEntityRef, rsDocType, rsDocTypeSquareBraces,
  };
  static constexpr int kEndKind = tkNull;
  static constexpr int kSpaceKind = tkSpace;

  TSynXMLSyn();

  TSynHighlighterAttributes* DefaultAttribute(int role) const override;
  const TSynCharSet& IdentifierCharSet() const override;
  std::string LanguageName() const override { return "XML"; }
  TSynRange CurrentRange() const override { return range_; }
  TSynHighlighterAttributes* TokenAttribute() const override;
  void NextToken() override;
  void RestoreRange(TSynRange range) override { range_ = static_cast<TRangeState>(range); }
  void ResetRange() override { range_ = rsText; }

  // Stored with the settings; it has no effect on scanning.
  bool WantBracesParsed = true;

  TSynHighlighterAttributes* ElementAttri;
  TSynHighlighterAttributes* TextAttri;
  TSynHighlighterAttributes* SpaceAttri;
  TSynHighlighterAttributes* EntityRefAttri;
  TSynHighlighterAttributes* ProcessingInstructionAttri;
  TSynHighlighterAttributes* CDATAAttri;
  TSynHighlighterAttributes* CommentAttri;
  TSynHighlighterAttributes* DocTypeAttri;
  TSynHighlighterAttributes* AttributeAttri;
  TSynHighlighterAttributes* NamespaceAttributeAttri;
  TSynHighlighterAttributes* AttributeValueAttri;
  TSynHighlighterAttributes* NamespaceAttributeValueAttri;
  TSynHighlighterAttributes* SymbolAttri;

 private:
  friend class TSynTableScanner<TSynXMLSyn>;

  void OpenAngleProc();
  void CloseAngleProc();
  void CommentProc();
  void ClosedByProc(int kind, unsigned char before);  // processing instruction and CDATA
  void DocTypeProc();
  void TextProc();
  void WordProc();
  void NameChars();
  void EntityRefProc(int kind, TRangeState back);
  void ValueProc(int kind, unsigned char quote, TRangeState entity);

  TRangeState range_ = rsText;
};

}  // namespace tarnwick
