#include "highlight/SynHighlighterHtml.h"

#include <cstring>
#include <sstream>

namespace tarnwick {

namespace {

std::vector<std::string> Words(const char* text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// Names known both as NAME and as /NAME, then those known only without "/".
const char* const kPairedTags =
    "A ABBR ACRONYM ADDRESS APPLET B BDO BIG BLINK BLOCKQUOTE BODY BUTTON CAPTION CENTER CITE CODE COLGROUP "
    "COMMENT DD DEL DFN DIR DIV DL DT EM EMBED FIELDSET FONT FORM FRAMESET H1 H2 H3 H4 H5 H6 HEAD HTML I IFRAME "
    "ILAYER INS KBD LABEL LAYER LEGEND LI LISTING MAP MARQUEE MENU MULTICOL NOBR NOEMBED NOFRAMES NOLAYER "
    "NOSCRIPT OBJECT OL OPTGROUP OPTION P PRE Q S SAMP SCRIPT SELECT SERVER SMALL SPAN STRIKE STRONG STYLE SUB "
    "SUP TABLE TBODY TD TEXTAREA TFOOT TH THEAD TITLE TR TT U UL VAR XMP";
const char* const kSingleTags =
    "!DOCTYPE AREA BASE BASEFONT BGSOUND BR COL FRAME HR IMG INPUT ISINDEX KEYGEN LINK META NEXTID PARAM "
    "PLAINTEXT SPACER WBR";

const char* const kEntities =
    "Alpha Beta Gamma Delta Epsilon Zeta Eta Theta Iota Kappa Lambda Mu Nu Xi Omicron Pi Rho Sigma Tau Upsilon "
    "Phi Chi Psi Omega alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi rho "
    "sigmaf sigma tau upsilon phi chi psi omega thetasym upsih piv bull hellip prime Prime oline frasl weierp "
    "image real trade alefsym larr uarr rarr darr harr crarr lArr uArr rArr dArr hArr forall part exist empty "
    "nabla isin notin ni prod sum minus lowast radic prop infin ang and or cap cup int there4 sim cong asymp ne "
    "equiv le ge sub sup nsub sube supe oplus otimes perp sdot lceil rceil lfloor rfloor lang rang loz spades "
    "clubs hearts diams lsquo rsquo sbquo ldquo rdquo bdquo dagger Dagger permil lsaquo rsaquo quot amp lt gt "
    "ndash mdash nbsp thinsp ensp emsp iexcl cent pound curren yen brvbar brkbar sect uml die copy ordf laquo "
    "not shy reg macr hibar deg plusmn sup2 sup3 acute micro para middot cedil sup1 ordm raquo frac14 frac12 "
    "frac34 iquest Agrave Aacute Acirc Atilde Auml Aring AElig Ccedil Egrave Eacute Ecirc Euml Igrave Iacute "
    "Icirc Iuml ETH Ntilde Ograve Oacute Ocirc Otilde Ouml times Oslash Ugrave Uacute Ucirc Uuml Yacute THORN "
    "szlig agrave aacute acirc atilde auml aring aelig ccedil egrave eacute ecirc euml igrave iacute icirc iuml "
    "eth ntilde ograve oacute ocirc otilde ouml divide oslash ugrave uacute ucirc uuml yacute thorn yuml euro "
    "OElig oelig scaron Scaron fnof circ";

// The look-up's character values: letters by their place in the alphabet, "!" and "/" high.
const std::array<int, 256>& TagCharValues() {
  static const std::array<int, 256> values = [] {
    std::array<int, 256> v{};
    for (int c = 'A'; c <= 'Z'; ++c) v[static_cast<std::size_t>(c)] = v[static_cast<std::size_t>(c - 'A' + 'a')] = c - 'A' + 1;
    v['!'] = 123;
    v['/'] = 122;
    return v;
  }();
  return values;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// The hash of the name at text and the number of its characters.
int TagHash(const char* text, int& length) {
  const auto& values = TagCharValues();
  int hash = 0;
  length = 0;
  while (values[static_cast<unsigned char>(text[length])] != 0) hash += values[static_cast<unsigned char>(text[length++])];
  while (IsDigit(static_cast<unsigned char>(text[length]))) hash += text[length++] - '0';
  return hash;
}

}  // namespace

const std::vector<std::string>& TSynHTMLSyn::KnownTagNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const std::string& name : Words(kPairedTags)) {
      list.push_back(name);
      list.push_back("/" + name);
    }
    for (const std::string& name : Words(kSingleTags)) list.push_back(name);
    return list;
  }();
  return names;
}

const std::vector<std::string>& TSynHTMLSyn::EntityNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const std::string& name : Words(kEntities)) list.push_back("&" + name + ";");
    return list;
  }();
  return names;
}

TSynHTMLSyn::TSynHTMLSyn() {
  CommentAttri = AddAttribute("Comment");
  IdentifierAttri = AddAttribute("Identifier");
  IdentifierAttri->SetStyle(fsBold);
  KeyAttri = AddAttribute("Reserved Word");
  KeyAttri->SetStyle(fsBold);
  KeyAttri->SetForeground(RGB(0x80, 0x00, 0xFF));
  SpaceAttri = AddAttribute("Space");
  SymbolAttri = AddAttribute("Symbol");
  SymbolAttri->SetStyle(fsBold);
  TextAttri = AddAttribute("Text");
  UndefKeyAttri = AddAttribute("Unknown Word");
  UndefKeyAttri->SetStyle(fsBold);
  UndefKeyAttri->SetForeground(RGB(0xFF, 0x00, 0x00));
  ValueAttri = AddAttribute("Value");
  ValueAttri->SetForeground(RGB(0x00, 0x80, 0xFF));
  AndAttri = AddAttribute("Escape Ampersand");
  AndAttri->SetStyle(fsBold);
  AndAttri->SetForeground(RGB(0x00, 0xFF, 0x00));
  CaptureDefaults();

  for (const std::string& name : KnownTagNames()) {
    int length;
    tagBuckets_[static_cast<std::size_t>(TagHash(name.c_str(), length))].push_back(&name);
  }
  InitDispatch(&TSynHTMLSyn::WordProc);
  dispatch_['"'] = dispatch_['\''] = &TSynHTMLSyn::QuoteValueProc;
  dispatch_['&'] = &TSynHTMLSyn::AmpersandProc;
  dispatch_['<'] = &TSynHTMLSyn::OpenAngleProc;
  dispatch_['='] = &TSynHTMLSyn::EqualProc;
  dispatch_['>'] = &TSynHTMLSyn::CloseAngleProc;
  SetDefaultFilter("HTML Documents (*.htm;*.html)|*.htm;*.html");
}

TSynHighlighterAttributes* TSynHTMLSyn::DefaultAttribute(int role) const {
  switch (role) {
    case SYN_ATTR_COMMENT: return CommentAttri;
    case SYN_ATTR_IDENTIFIER: return IdentifierAttri;
    case SYN_ATTR_KEYWORD: return KeyAttri;
    case SYN_ATTR_WHITESPACE: return SpaceAttri;
    case SYN_ATTR_SYMBOL: return SymbolAttri;
    default: return nullptr;
  }
}

// The Latin-1 letters of the original set are bytes of UTF-8 characters here.
const TSynCharSet& TSynHTMLSyn::IdentifierCharSet() const {
  static const TSynCharSet chars = WordCharSet("");
  return chars;
}

TSynHighlighterAttributes* TSynHTMLSyn::TokenAttribute() const {
  switch (kind_) {
    case tkAmpersand: return AndAttri;
    case tkComment: return CommentAttri;
    case tkIdentifier: return IdentifierAttri;
    case tkKey: return KeyAttri;
    case tkSpace: return SpaceAttri;
    case tkSymbol: return SymbolAttri;
    case tkText: return TextAttri;
    case tkUndefKey: return UndefKeyAttri;
    case tkValue: return ValueAttri;
    default: return nullptr;
  }
}

int TSynHTMLSyn::LookUpTagName(const char* text, int& length) const {
  int hash = TagHash(text, length);
  if (hash >= 251) return tkIdentifier;
  const auto& values = TagCharValues();
  for (const std::string* name : tagBuckets_[static_cast<std::size_t>(hash)]) {
    if (static_cast<int>(name->size()) != length) continue;
    bool same = true;
    for (int i = 0; i < length && same; ++i)
      same = values[static_cast<unsigned char>((*name)[static_cast<std::size_t>(i)])] == values[static_cast<unsigned char>(text[i])];
    if (same) return tkKey;
  }
  return tkUndefKey;
}

void TSynHTMLSyn::NextToken() {
  tokenStart_ = run_;
  switch (range_) {
    case rsComment: CommentProc(); break;
    case rsText: TextProc(); break;
    case rsQuoteValue:
    case rsDoubleQuoteValue:
      if (AtBreak())
        Dispatch();
      else
        QuoteValueProc();
      break;
    default: Dispatch();
  }
}

void TSynHTMLSyn::CommentProc() {
  kind_ = tkComment;
  if (AtBreak()) {
    Dispatch();
    return;
  }
  while (!AtBreak()) {
    // The two dashes may be those of the opener; a ">" at index 0 or 1 has none on this line.
    if (Here() == '>' && run_ >= 2 && At(run_ - 1) == '-' && At(run_ - 2) == '-') {
      ++run_;
      range_ = rsText;
      return;
    }
    ++run_;
  }
}

void TSynHTMLSyn::SkipNumericReference() {
  run_ += 2;  // "&#"
  if (Here() == 'X' || Here() == 'x') {
    ++run_;
    while (IsHexDigit(Here())) ++run_;
  } else {
    while (IsDigit(Here())) ++run_;
  }
}

void TSynHTMLSyn::TextProc() {
  if (Here() < 32 || Here() == '<') {
    Dispatch();
    return;
  }
  kind_ = tkText;
  for (;;) {
    while (Here() >= 32 && Here() != '&' && Here() != '<') ++run_;
    if (Here() != '&') return;
    if (At(run_ + 1) == '#') {
      int ampersand = run_;
      SkipNumericReference();
      if (Here() == ';') {
        run_ = ampersand;
        range_ = rsAmpersand;
      }
      return;
    }
    const std::vector<std::string>& entities = EntityNames();
    for (std::size_t i = 0; i < entities.size(); ++i) {
      if (LooksAt(run_, entities[i].c_str())) {
        entity_ = static_cast<int>(i);
        range_ = rsAmpersand;
        return;
      }
    }
    ++run_;  // an ordinary "&"
  }
}

void TSynHTMLSyn::AmpersandProc() {
  switch (range_) {
    case rsAmpersand:
      if (entity_ >= 0) {
        kind_ = tkAmpersand;
        run_ += static_cast<int>(EntityNames()[static_cast<std::size_t>(entity_)].size());
      } else {
        SkipNumericReference();
        kind_ = tkText;
        if (Here() == ';') {
          ++run_;
          kind_ = tkAmpersand;
        }
      }
      entity_ = -1;
      range_ = rsText;
      break;
    case rsTag:
      // "<&": the tag is given up and the "&" shows as text.
      ++run_;
      range_ = rsText;
      kind_ = tkText;
      break;
    default: WordProc();
  }
}

void TSynHTMLSyn::OpenAngleProc() {
  ++run_;
  if (LooksAt(run_, "!--")) {
    range_ = rsComment;
    kind_ = tkComment;
    run_ += 3;
  } else {
    range_ = rsTag;
    kind_ = tkSymbol;
  }
}

void TSynHTMLSyn::EqualProc() {
  range_ = rsValue;
  kind_ = tkSymbol;
  ++run_;
}

void TSynHTMLSyn::CloseAngleProc() {
  range_ = rsText;
  kind_ = tkSymbol;
  ++run_;
}

void TSynHTMLSyn::QuoteValueProc() {
  char closing;
  switch (range_) {
    case rsQuoteValue: closing = '\''; break;
    case rsDoubleQuoteValue: closing = '"'; break;
    case rsValue:
      closing = static_cast<char>(Here());
      range_ = closing == '"' ? rsDoubleQuoteValue : rsQuoteValue;
      ++run_;
      break;
    default: WordProc(); return;
  }
  kind_ = tkValue;
  while (!AtBreak() && Here() != static_cast<unsigned char>(closing)) ++run_;
  if (Here() == static_cast<unsigned char>(closing)) {
    ++run_;
    range_ = rsParam;
  }
}

void TSynHTMLSyn::WordProc() {
  switch (range_) {
    case rsTag: {
      range_ = rsParam;
      int length;
      kind_ = LookUpTagName(line_ + run_, length);
      run_ += length;
      break;
    }
    case rsValue:
      range_ = rsParam;
      kind_ = tkValue;
      ++run_;
      while (Here() > 32 && Here() != '>') ++run_;
      break;
    default:
      kind_ = tkIdentifier;
      ++run_;
      while (Here() > 32 && Here() != '"' && Here() != '=' && Here() != '>') ++run_;
  }
}

}  // namespace tarnwick
