#include "highlight/SynHighlighterXML.h"

#include <string_view>

namespace tarnwick {

namespace {

// Element and attribute names.
const TSynCharSet& NameCharSet() {
  static const TSynCharSet chars = WordCharSet("-.:");
  return chars;
}

}  // namespace

TSynXMLSyn::TSynXMLSyn() {
  struct TAttributeDefaults {
    TSynHighlighterAttributes** field;
    const char* name;
    TColor background, foreground;
    TFontStyles style;
  };
  const TAttributeDefaults table[] = {
      {&ElementAttri, "Element Name", clNone, RGB(0x80, 0, 0), fsBold},
      {&TextAttri, "Text", clNone, RGB(0, 0, 0), fsBold},
      {&SpaceAttri, "Whitespace", clNone, clNone, 0},
      {&EntityRefAttri, "Entity Reference", clNone, RGB(0, 0, 0xFF), fsBold},
      {&ProcessingInstructionAttri, "Processing Instruction", clNone, RGB(0, 0, 0xFF), 0},
      {&CDATAAttri, "CDATA Section", clNone, RGB(0x80, 0x80, 0), fsItalic},
      {&CommentAttri, "Comment", RGB(0xC0, 0xC0, 0xC0), RGB(0x80, 0x80, 0x80), fsBold | fsItalic},
      {&DocTypeAttri, "DOCTYPE Section", clNone, RGB(0, 0, 0xFF), fsItalic},
      {&AttributeAttri, "Attribute Name", clNone, RGB(0x80, 0, 0), 0},
      {&NamespaceAttributeAttri, "Namespace Attribute Name", clNone, RGB(0xFF, 0, 0), 0},
      {&AttributeValueAttri, "Attribute Value", clNone, RGB(0, 0, 0x80), fsBold},
      {&NamespaceAttributeValueAttri, "Namespace Attribute Value", clNone, RGB(0xFF, 0, 0), fsBold},
      {&SymbolAttri, "Symbol", clNone, RGB(0, 0, 0xFF), 0},
  };
  for (const TAttributeDefaults& row : table) {
    TSynHighlighterAttributes* attribute = *row.field = AddAttribute(row.name);
    attribute->SetBackground(row.background);
    attribute->SetForeground(row.foreground);
    attribute->SetStyle(row.style);
  }
  CaptureDefaults();
  InitDispatch(&TSynXMLSyn::WordProc);
  dispatch_['<'] = &TSynXMLSyn::OpenAngleProc;
  dispatch_['>'] = &TSynXMLSyn::CloseAngleProc;
  SetDefaultFilter("XML Files (*.xml;*.xsd;*.xsl;*.xslt;*.dtd)|*.xml;*.xsd;*.xsl;*.xslt;*.dtd");
}

TSynHighlighterAttributes* TSynXMLSyn::DefaultAttribute(int role) const {
  switch (role) {
    case SYN_ATTR_COMMENT: return CommentAttri;
    case SYN_ATTR_IDENTIFIER: return AttributeAttri;
    case SYN_ATTR_KEYWORD: return ElementAttri;
    case SYN_ATTR_WHITESPACE: return SpaceAttri;
    case SYN_ATTR_SYMBOL: return SymbolAttri;
    default: return nullptr;
  }
}

const TSynCharSet& TSynXMLSyn::IdentifierCharSet() const {
  static const TSynCharSet chars = WordCharSet("-.");
  return chars;
}

TSynHighlighterAttributes* TSynXMLSyn::TokenAttribute() const {
  switch (kind_) {
    case tkAposAttrValue:
    case tkQuoteAttrValue: return AttributeValueAttri;
    case tkAposEntityRef:
    case tkQuoteEntityRef:
    case tkEntityRef:
    case tknsAposEntityRef:
    case tknsQuoteEntityRef: return EntityRefAttri;
    case tkAttribute: return AttributeAttri;
    case tkCDATA: return CDATAAttri;
    case tkComment: return CommentAttri;
    case tkElement: return ElementAttri;
    case tkEqual:
    case tknsEqual:
    case tkSymbol: return SymbolAttri;
    case tkProcessingInstruction: return ProcessingInstructionAttri;
    case tkSpace: return SpaceAttri;
    case tkText: return TextAttri;
    case tknsAposAttrValue:
    case tknsQuoteAttrValue: return NamespaceAttributeValueAttri;
    case tknsAttribute: return NamespaceAttributeAttri;
    case tkDocType: return DocTypeAttri;
    default: return nullptr;
  }
}

void TSynXMLSyn::NextToken() {
  tokenStart_ = run_;
  switch (range_) {
    case rsCDATA: ClosedByProc(tkCDATA, ']'); break;
    case rsComment: CommentProc(); break;
    case rsProcessingInstruction: ClosedByProc(tkProcessingInstruction, '?'); break;
    case rsText: TextProc(); break;
    case rsDocType:
    case rsDocTypeSquareBraces: DocTypeProc(); break;
    default: Dispatch();
  }
}

void TSynXMLSyn::OpenAngleProc() {
  ++run_;
  if (Here() == '/') ++run_;
  if (Here() == '!') {
    if (LooksAt(run_ + 1, "--")) {
      kind_ = tkSymbol;
      range_ = rsComment;
      run_ += 3;
    } else if (LooksAt(run_ + 1, "DOCTYPE")) {
      kind_ = tkDocType;
      range_ = rsDocType;
      run_ += 8;
    } else if (LooksAt(run_ + 1, "[CDATA[")) {
      kind_ = tkCDATA;
      range_ = rsCDATA;
      run_ += 8;
    } else {
      kind_ = tkSymbol;
      range_ = rsElement;
      ++run_;
    }
  } else if (Here() == '?') {
    kind_ = tkProcessingInstruction;
    range_ = rsProcessingInstruction;
    ++run_;
  } else {
    kind_ = tkSymbol;
    range_ = rsElement;
  }
}

void TSynXMLSyn::CloseAngleProc() {
  kind_ = tkSymbol;
  range_ = rsText;
  ++run_;
}

void TSynXMLSyn::CommentProc() {
  if (LooksAt(run_, "-->")) {
    kind_ = tkSymbol;
    range_ = rsText;
    run_ += 3;
    return;
  }
  kind_ = tkComment;
  if (AtBreak()) {
    Dispatch();
    return;
  }
  while (!AtBreak() && !LooksAt(run_, "-->")) ++run_;
}

void TSynXMLSyn::ClosedByProc(int kind, unsigned char before) {
  kind_ = kind;
  if (AtBreak()) {
    Dispatch();
    return;
  }
  while (!AtBreak()) {
    // A ">" at index 0 has nothing before it on this line.
    if (Here() == '>' && run_ > 0 && At(run_ - 1) == before) {
      ++run_;
      range_ = rsText;
      return;
    }
    ++run_;
  }
}

void TSynXMLSyn::DocTypeProc() {
  kind_ = tkDocType;
  if (AtBreak()) {
    Dispatch();
    return;
  }
  if (range_ == rsDocTypeSquareBraces) {
    while (!AtBreak() && Here() != ']') ++run_;
    if (Here() == ']') {
      ++run_;
      range_ = rsDocType;
    }
    return;
  }
  while (!AtBreak()) {
    if (Here() == '>') {
      ++run_;
      range_ = rsAttribute;
      return;
    }
    if (Here() == '[') {
      ++run_;
      while (!AtBreak() && Here() != ']') ++run_;
      if (Here() == ']')
        ++run_;
      else
        range_ = rsDocTypeSquareBraces;
      return;
    }
    ++run_;
  }
}

void TSynXMLSyn::TextProc() {
  if (Here() < 32 || Here() == '<') {
    Dispatch();
    return;
  }
  kind_ = tkText;
  while (Here() >= 32 && Here() != '&' && Here() != '<') ++run_;
  if (Here() == '&') range_ = rsEntityRef;
}

void TSynXMLSyn::NameChars() {
  while (NameCharSet()[Here()]) ++run_;
}

void TSynXMLSyn::EntityRefProc(int kind, TRangeState back) {
  kind_ = kind;
  while (Here() > 32 && Here() != ';') ++run_;
  if (Here() == ';') ++run_;
  range_ = back;
}

void TSynXMLSyn::ValueProc(int kind, unsigned char quote, TRangeState entity) {
  kind_ = kind;
  while (!AtBreak() && Here() != quote && Here() != '&') ++run_;
  if (Here() == '&')
    range_ = entity;
  else if (Here() == quote)
    range_ = rsAttribute;
}

void TSynXMLSyn::WordProc() {
  switch (range_) {
    case rsElement:
      if (Here() == '/') ++run_;
      NameChars();
      kind_ = tkElement;
      range_ = rsAttribute;
      break;
    case rsAttribute:
      if (Here() == '"' || Here() == '\'') {
        kind_ = tkSymbol;
        ++run_;
        break;
      }
      NameChars();
      if (std::string_view(line_ + tokenStart_, static_cast<std::size_t>(run_ - tokenStart_)).find("xmlns") !=
          std::string_view::npos) {
        kind_ = tknsAttribute;
        range_ = rsnsEqual;
      } else {
        kind_ = tkAttribute;
        range_ = rsEqual;
      }
      break;
    case rsEqual:
    case rsnsEqual: {
      bool ns = range_ == rsnsEqual;
      kind_ = ns ? tknsEqual : tkEqual;
      while (!AtBreak()) {
        if (Here() == '/') {
          kind_ = tkSymbol;
          range_ = rsElement;
          ++run_;
          return;
        }
        if (Here() == '"') {
          range_ = ns ? rsnsQuoteAttrValue : rsQuoteAttrValue;
          ++run_;
          return;
        }
        if (Here() == '\'') {
          range_ = ns ? rsnsAposAttrValue : rsAposAttrValue;
          ++run_;
          return;
        }
        ++run_;
      }
      break;
    }
    case rsQuoteAttrValue: ValueProc(tkQuoteAttrValue, '"', rsQuoteEntityRef); break;
    case rsnsQuoteAttrValue: ValueProc(tknsQuoteAttrValue, '"', rsnsQuoteEntityRef); break;
    case rsAposAttrValue: ValueProc(tkAposAttrValue, '\'', rsAPosEntityRef); break;
    case rsnsAposAttrValue: ValueProc(tknsAposAttrValue, '\'', rsnsAPosEntityRef); break;
    case rsQuoteEntityRef: EntityRefProc(tkQuoteEntityRef, rsQuoteAttrValue); break;
    case rsnsQuoteEntityRef: EntityRefProc(tknsQuoteEntityRef, rsnsQuoteAttrValue); break;
    case rsAPosEntityRef: EntityRefProc(tkAposEntityRef, rsAposAttrValue); break;
    case rsnsAPosEntityRef: EntityRefProc(tknsAposEntityRef, rsnsAposAttrValue); break;
    case rsEntityRef: EntityRefProc(tkEntityRef, rsText); break;
    default:
      // Other states scan their own routines and dispatch only blanks and brackets here.
      kind_ = tkText;
      ++run_;
  }
}

}  // namespace tarnwick
