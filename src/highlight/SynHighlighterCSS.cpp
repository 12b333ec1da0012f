#include "highlight/SynHighlighterCSS.h"

#include <algorithm>
#include <stdexcept>

namespace tarnwick {

namespace {

// Split at every character that is not an identifier character.
const char* const kProperties =
    "azimuth, background, background-attachment, background-color, background-image, background-position, "
    "background-repeat, border, border-collapse, border-color, border-spacing, border-style, border-top "
    "border-right border-bottom border-left, border-top-color border-right-color border-bottom-color "
    "border-left-color, border-top-style border-right-style border-bottom-style border-left-style, "
    "border-top-width border-right-width border-bottom-width border-left-width, border-width, bottom, "
    "caption-side, clear, clip, color, content, counter-increment, counter-reset, cue, cue-after, cue-before, "
    "cursor, direction, display, elevation, empty-cells, float, font, font-family, font-size, font-size-adjust, "
    "font-stretch, font-style, font-variant, font-weight, height, left, letter-spacing, line-height, list-style, "
    "list-style-image, list-style-position, list-style-type, margin, margin-top margin-right margin-bottom "
    "margin-left, marker-offset, marks, max-height, max-width, min-height, min-width, orphans, outline, "
    "outline-color, outline-style, outline-width, overflow, padding, padding-top padding-right padding-bottom "
    "padding-left, page, page-break-after, page-break-before, page-break-inside, pause, pause-after, "
    "pause-before, pitch, pitch-range, play-during, position, quotes, richness, right, size, speak, "
    "speak-header, speak-numeral, speak-punctuation, speech-rate, stress, table-layout, text-align, "
    "text-decoration, text-indent, text-shadow, text-transform, top, unicode-bidi, vertical-align, visibility, "
    "voice-family, volume, white-space, widows, width, word-spacing, z-index";

int LetterValue(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  if (c >= 'a' && c <= 'z') return c - 'a' + 1;
  return 0;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(unsigned char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

int PropertyHash(const char* text, int& length) {
  int hash = 0;
  length = 0;
  for (unsigned char c; (c = static_cast<unsigned char>(text[length])) == '-' || LetterValue(c) != 0; ++length) hash += LetterValue(c);
  for (unsigned char c; IsDigit(c = static_cast<unsigned char>(text[length])); ++length) hash += c - '0';
  return hash;
}

bool SameNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LetterValue(static_cast<unsigned char>(x)) == LetterValue(static_cast<unsigned char>(y)) &&
                  (LetterValue(static_cast<unsigned char>(x)) != 0 || x == y);
         });
}

}  // namespace

const std::vector<std::string>& TSynCssSyn::PropertyNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    std::string word;
    for (const char* c = kProperties;; ++c) {
      bool identifier = *c == '-' || *c == '_' || IsDigit(static_cast<unsigned char>(*c)) || LetterValue(static_cast<unsigned char>(*c)) != 0;
      if (identifier) {
        word += *c;
      } else if (!word.empty()) {
        list.push_back(std::move(word));
        word.clear();
      }
      if (*c == '\0') break;
    }
    return list;
  }();
  return names;
}

TSynCssSyn::TSynCssSyn() {
  CommentAttri = AddAttribute("Comment");
  PropertyAttri = AddAttribute("Property");
  PropertyAttri->SetStyle(fsBold);
  KeyAttri = AddAttribute("Reserved Word");
  KeyAttri->SetStyle(fsBold);
  KeyAttri->SetForeground(RGB(0x80, 0x00, 0xFF));
  UndefPropertyAttri = AddAttribute("Undefined Property");
  UndefPropertyAttri->SetStyle(fsBold);
  UndefPropertyAttri->SetForeground(RGB(0x80, 0x00, 0xFF));
  SpaceAttri = AddAttribute("Space");
  ColourAttri = AddAttribute("Color Value");
  NumberAttri = AddAttribute("Number");
  StringAttri = AddAttribute("String");
  SymbolAttri = AddAttribute("Symbol");
  TextAttri = AddAttribute("Text");
  ValueAttri = AddAttribute("Value");
  ValueAttri->SetForeground(RGB(0x00, 0x80, 0xFF));
  CaptureDefaults();

  InitDispatch(&TSynCssSyn::WordProc);
  dispatch_['"'] = &TSynCssSyn::StringProc;
  dispatch_['#'] = &TSynCssSyn::ColourProc;
  dispatch_[','] = dispatch_[':'] = &TSynCssSyn::CommaColonProc;
  dispatch_['.'] = &TSynCssSyn::NumberProc;
  for (int c = '0'; c <= '9'; ++c) dispatch_[static_cast<std::size_t>(c)] = &TSynCssSyn::NumberProc;
  dispatch_['/'] = &TSynCssSyn::SlashProc;
  dispatch_[';'] = &TSynCssSyn::SemicolonProc;
  dispatch_['{'] = &TSynCssSyn::OpenBraceProc;
  dispatch_['}'] = &TSynCssSyn::CloseBraceProc;

  for (const std::string& name : PropertyNames()) {
    int length;
    std::size_t hash = static_cast<std::size_t>(PropertyHash(name.c_str(), length));
    if (buckets_.size() <= hash) buckets_.resize(hash + 1);
    auto& bucket = buckets_[hash];
    for (const std::string* other : bucket)
      if (SameNoCase(*other, name)) throw std::logic_error("Duplicate property name '" + name + "'");
    // Shorter names first; names of one length keep the list's order.
    auto at = std::upper_bound(bucket.begin(), bucket.end(), name.size(),
                               [](std::size_t size, const std::string* other) { return size < other->size(); });
    bucket.insert(at, &name);
  }
  SetDefaultFilter("Cascading Stylesheets (*.css)|*.css");
}

TSynHighlighterAttributes* TSynCssSyn::DefaultAttribute(int role) const {
  switch (role) {
    case SYN_ATTR_COMMENT: return CommentAttri;
    case SYN_ATTR_KEYWORD: return KeyAttri;
    case SYN_ATTR_STRING: return StringAttri;
    case SYN_ATTR_WHITESPACE: return SpaceAttri;
    default: return nullptr;
  }
}

const TSynCharSet& TSynCssSyn::IdentifierCharSet() const {
  static const TSynCharSet chars = WordCharSet("-");
  return chars;
}

TSynRange TSynCssSyn::CurrentRange() const {
  if (range_ != rsComment) return range_;
  return rsComment | (static_cast<TSynRange>(commentReturn_) << 8);
}

void TSynCssSyn::RestoreRange(TSynRange range) {
  range_ = static_cast<TRangeState>(range & 0xFF);
  commentReturn_ = range_ == rsComment ? static_cast<TRangeState>((range >> 8) & 0xFF) : rsSelector;
}

TSynHighlighterAttributes* TSynCssSyn::TokenAttribute() const {
  switch (kind_) {
    case tkComment: return CommentAttri;
    case tkProperty: return PropertyAttri;
    case tkKey: return KeyAttri;
    case tkSpace: return SpaceAttri;
    case tkString: return StringAttri;
    case tkSymbol: return SymbolAttri;
    case tkText: return TextAttri;
    case tkUndefProperty: return UndefPropertyAttri;
    case tkValue: return ValueAttri;
    case tkColor: return ColourAttri;
    case tkNumber: return NumberAttri;
    default: return nullptr;
  }
}

int TSynCssSyn::LookUpProperty(const char* text) const {
  int length;
  std::size_t hash = static_cast<std::size_t>(PropertyHash(text, length));
  if (hash >= buckets_.size()) return tkUndefProperty;
  for (const std::string* name : buckets_[hash]) {
    if (static_cast<int>(name->size()) > length) return tkUndefProperty;
    if (static_cast<int>(name->size()) < length) continue;
    bool same = true;
    for (int i = 0; i < length && same; ++i)
      same = LetterValue(static_cast<unsigned char>((*name)[static_cast<std::size_t>(i)])) ==
             LetterValue(static_cast<unsigned char>(text[i]));
    if (same) return tkProperty;
  }
  return tkUndefProperty;
}

void TSynCssSyn::NextToken() {
  tokenStart_ = run_;
  switch (range_) {
    case rsComment: CommentProc(); break;
    case rsSelector: SelectorProc(); break;
    default: Dispatch();
  }
}

void TSynCssSyn::SelectorProc() {
  if (Here() < 32 || Here() == '/' || Here() == '{') {
    Dispatch();
    return;
  }
  kind_ = tkKey;
  while (Here() >= 32 && Here() != '/' && Here() != '{') ++run_;
}

void TSynCssSyn::SlashProc() {
  ++run_;
  if (Here() != '*') {
    kind_ = tkSymbol;
    return;
  }
  kind_ = tkComment;
  commentReturn_ = range_;
  range_ = rsComment;
  ++run_;
  if (!AtBreak()) CommentProc();
}

void TSynCssSyn::CommentProc() {
  if (Here() == 0) {
    kind_ = tkNull;
    return;
  }
  kind_ = tkComment;
  while (Here() != 0) {
    if (Here() == '*' && At(run_ + 1) == '/') {
      run_ += 2;
      range_ = commentReturn_;
      return;
    }
    ++run_;
  }
}

void TSynCssSyn::StringProc() {
  kind_ = tkString;
  ++run_;
  while (!AtBreak() && Here() != '"') ++run_;
  if (Here() == '"') ++run_;
}

void TSynCssSyn::ColourProc() {
  kind_ = tkColor;
  ++run_;
  while (IsHexDigit(Here())) ++run_;
}

void TSynCssSyn::NumberProc() {
  kind_ = tkNumber;
  ++run_;
  for (;;) {
    if (IsDigit(Here()))
      ++run_;
    else if (Here() == '.' && At(run_ + 1) != '.')
      ++run_;
    else
      return;
  }
}

void TSynCssSyn::StateSymbolProc(TRangeState next) {
  range_ = next;
  kind_ = tkSymbol;
  ++run_;
}

void TSynCssSyn::WordProc() {
  if (range_ == rsValue) {
    kind_ = tkValue;
    range_ = rsProperty;
    while (!AtBreak() && Here() != ',' && Here() != ';' && Here() != '}') ++run_;
    return;
  }
  kind_ = LookUpProperty(line_ + run_);
  ++run_;
  while (Here() > 32 && Here() != '"' && Here() != ':' && Here() != ';' && Here() != '}') ++run_;
}

}  // namespace tarnwick
