#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "highlight/HighlighterConfiguration.h"
#include "highlight/SynHighlighterCSS.h"
#include "highlight/SynHighlighterHtml.h"
#include "highlight/SynHighlighterXML.h"

namespace tarnwick {
namespace {

using Tokens = std::vector<std::pair<std::string, int>>;

struct TScan {
  Tokens tokens;
  TSynRange end;
};

// The tokens of one line (without the end of line) and the range it ends in.
TScan Scan(TSynCustomHighlighter& highlighter, const std::string& line, TSynRange start) {
  highlighter.RestoreRange(start);
  highlighter.StartLine(line.c_str(), 0);
  TScan scan;
  int expectedStart = 0;
  while (!highlighter.AtLineEnd()) {
    EXPECT_EQ(highlighter.TokenStart(), expectedStart) << "tokens are contiguous";
    std::string text = highlighter.TokenText();
    expectedStart += static_cast<int>(text.size());
    scan.tokens.emplace_back(text, highlighter.TokenKind());
    highlighter.NextToken();
    if (scan.tokens.size() > 4 * line.size() + 8) {
      ADD_FAILURE() << "the scan does not end";
      break;
    }
  }
  scan.end = highlighter.CurrentRange();
  return scan;
}

struct TCase {
  std::string line;
  TSynRange start;
  Tokens tokens;
  TSynRange end;
};

void CheckCases(TSynCustomHighlighter& highlighter, const std::vector<TCase>& cases) {
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.line);
    TScan scan = Scan(highlighter, c.line, c.start);
    EXPECT_EQ(scan.tokens, c.tokens);
    EXPECT_EQ(scan.end, c.end);
  }
}

// ---- framework -------------------------------------------------------------------------------

struct TRecorder {
  std::vector<TSynChangeSender> senders;
  static void Notify(void* receiver, const TSynChangeSender& sender) {
    static_cast<TRecorder*>(receiver)->senders.push_back(sender);
  }
};

TEST(HighlighterFramework, ChangeNotificationsFollowTheRules) {
  TSynHTMLSyn html;
  TRecorder recorder;
  html.SubscribeChanges(&TRecorder::Notify, &recorder);
  html.SubscribeChanges(&TRecorder::Notify, &recorder);
  html.KeyAttri->SetStyle(html.KeyAttri->Style());
  html.SetEnabled(true);
  EXPECT_TRUE(recorder.senders.empty()) << "the same value sends nothing";
  html.KeyAttri->SetForeground(RGB(1, 2, 3));
  ASSERT_EQ(recorder.senders.size(), 2u) << "one call per subscription";
  EXPECT_EQ(recorder.senders[0].attribute, html.KeyAttri);
  recorder.senders.clear();
  html.SetEnabled(false);
  ASSERT_EQ(recorder.senders.size(), 2u);
  EXPECT_EQ(recorder.senders[0].attribute, nullptr);
  EXPECT_EQ(recorder.senders[0].highlighter, nullptr);

  html.UnsubscribeChanges(&TRecorder::Notify, &recorder);
  recorder.senders.clear();
  html.KeyAttri->SetForeground(RGB(4, 5, 6));
  EXPECT_TRUE(recorder.senders.empty()) << "subscribed twice, unsubscribed once: gone";

  html.SubscribeChanges(&TRecorder::Notify, &recorder);
  html.BeginConfiguration();
  html.KeyAttri->SetForeground(RGB(7, 8, 9));
  html.CommentAttri->SetStyle(fsBold);
  EXPECT_TRUE(recorder.senders.empty()) << "held back while configuring";
  html.EndConfiguration();
  EXPECT_EQ(recorder.senders.size(), 1u) << "the end of configuration sends one";
}

TEST(HighlighterFramework, AttributesAreSortedAndKeepTheirDefaults) {
  TSynHTMLSyn html;
  std::vector<std::string> names;
  for (int i = 0; i < html.AttributeCount(); ++i) names.push_back(html.AttributeAt(i)->StorageName());
  EXPECT_EQ(names, (std::vector<std::string>{"Comment", "Escape Ampersand", "Identifier", "Reserved Word", "Space",
                                             "Symbol", "Text", "Unknown Word", "Value"}));
  EXPECT_EQ(html.AttributeAt(-1), nullptr);
  EXPECT_EQ(html.AttributeAt(html.AttributeCount()), nullptr);

  TSynCssSyn css;
  TSynXMLSyn xml;
  ConfigureHighlighters(html, css, xml);
  EXPECT_EQ(html.ValueAttri->Foreground(), 15618048u);
  EXPECT_EQ(html.ValueAttri->ForegroundDefault(), RGB(0x00, 0x80, 0xFF));
  EXPECT_EQ(html.AndAttri->Style(), fsBold);
  EXPECT_EQ(html.CommentAttri->Style(), fsItalic);
  EXPECT_EQ(html.DefaultFilter(), "HTML Document (*.htm,*.html)|*.htm;*.html");
  EXPECT_FALSE(xml.WantBracesParsed);
  EXPECT_EQ(xml.CommentAttri->Background(), RGB(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(css.DefaultAttribute(SYN_ATTR_STRING), css.StringAttri);
  EXPECT_EQ(html.DefaultAttribute(SYN_ATTR_STRING), nullptr);
  EXPECT_TRUE(html.IdentifierCharSet()[0xC3]) << "UTF-8 bytes are word characters";
  EXPECT_FALSE(html.IdentifierCharSet()['-']);
  EXPECT_TRUE(css.IdentifierCharSet()['-']);
}

TEST(HighlighterFramework, EmptyLinesAndNulsEndTheLine) {
  TSynHTMLSyn html;
  TSynCssSyn css;
  TSynXMLSyn xml;
  for (TSynCustomHighlighter* h : std::vector<TSynCustomHighlighter*>{&html, &css, &xml}) {
    SCOPED_TRACE(h->LanguageName());
    TScan empty = Scan(*h, "", 1);
    EXPECT_TRUE(empty.tokens.empty());
    EXPECT_EQ(empty.end, 1) << "an empty line keeps its range";
    const char withNul[] = "ab\0cd";
    h->ResetRange();
    h->StartLine(withNul, 0);
    std::string seen;
    while (!h->AtLineEnd()) {
      seen += h->TokenText();
      h->NextToken();
    }
    EXPECT_EQ(seen, "ab");
  }
}

// ---- HTML ------------------------------------------------------------------------------------

TEST(HtmlHighlighter, TokensOfTheDocumentedLines) {
  using H = TSynHTMLSyn;
  TSynHTMLSyn html;
  CheckCases(html, {
      {"<b>bold</b>", H::rsText,
       {{"<", 6}, {"b", 3}, {">", 6}, {"bold", 7}, {"<", 6}, {"/b", 3}, {">", 6}}, H::rsText},
      {"<a href='x.htm'>", H::rsText,
       {{"<", 6}, {"a", 3}, {" ", 5}, {"href", 2}, {"=", 6}, {"'x.htm'", 9}, {">", 6}}, H::rsText},
      {"<a href=\"x.htm\">", H::rsText,
       {{"<", 6}, {"a", 3}, {" ", 5}, {"href", 2}, {"=", 6}, {"\"x.htm\"", 9}, {">", 6}}, H::rsText},
      {"<font size=2>", H::rsText,
       {{"<", 6}, {"font", 3}, {" ", 5}, {"size", 2}, {"=", 6}, {"2", 9}, {">", 6}}, H::rsText},
      {"<customelement>", H::rsText, {{"<", 6}, {"customelement", 8}, {">", 6}}, H::rsText},
      {"</customelement>", H::rsText, {{"<", 6}, {"/customelement", 2}, {">", 6}}, H::rsText},
      {"<?xml version='1.0'?>", H::rsText,
       {{"<", 6}, {"", 8}, {"?xml", 2}, {" ", 5}, {"version", 2}, {"=", 6}, {"'1.0'", 9}, {"?", 2}, {">", 6}},
       H::rsText},
      {"a &amp; b", H::rsText, {{"a ", 7}, {"&amp;", 0}, {" b", 7}}, H::rsText},
      {"a &AMP; b", H::rsText, {{"a &AMP; b", 7}}, H::rsText},
      {"a &amp b", H::rsText, {{"a &amp b", 7}}, H::rsText},
      {"&amp;", H::rsText, {{"", 7}, {"&amp;", 0}}, H::rsText},
      {"&#169;", H::rsText, {{"", 7}, {"&#169;", 0}}, H::rsText},
      {"&#xA9;", H::rsText, {{"", 7}, {"&#xA9;", 0}}, H::rsText},
      {"&#;", H::rsText, {{"", 7}, {"&#;", 0}}, H::rsText},
      {"&#169 x", H::rsText, {{"&#169", 7}, {" x", 7}}, H::rsText},
      {"<!-- a -->", H::rsText, {{"<!--", 1}, {" a -->", 1}}, H::rsText},
      {"<!-- a", H::rsText, {{"<!--", 1}, {" a", 1}}, H::rsComment},
      {"b --> c", H::rsComment, {{"b -->", 1}, {" c", 7}}, H::rsText},
      {"<!-->", H::rsText, {{"<!--", 1}, {">", 1}}, H::rsText},
      {"> x", H::rsComment, {{"> x", 1}}, H::rsComment},
      {"<p class=\"a", H::rsText, {{"<", 6}, {"p", 3}, {" ", 5}, {"class", 2}, {"=", 6}, {"\"a", 9}}, H::rsDoubleQuoteValue},
      {"b\" id=x>", H::rsDoubleQuoteValue, {{"b\"", 9}, {" ", 5}, {"id", 2}, {"=", 6}, {"x", 9}, {">", 6}}, H::rsText},
      {"<a\tb\t\tc>", H::rsText, {{"<", 6}, {"a", 3}, {"\t", 5}, {"b", 2}, {"\t", 5}, {"\t", 5}, {"c", 2}, {">", 6}}, H::rsText},
      {"<a  x>", H::rsText, {{"<", 6}, {"a", 3}, {"  ", 5}, {"x", 2}, {">", 6}}, H::rsText},
      {"<&", H::rsText, {{"<", 6}, {"&", 7}}, H::rsText},
      {"<H1>\xc3\xa9t\xc3\xa9</h1>", H::rsText,
       {{"<", 6}, {"H1", 3}, {">", 6}, {"\xc3\xa9t\xc3\xa9", 7}, {"<", 6}, {"/h1", 3}, {">", 6}}, H::rsText},
  });
}

TEST(HtmlHighlighter, EveryKnownTagNameIsFoundAndNearMissesAreNot) {
  TSynHTMLSyn html;
  ASSERT_EQ(TSynHTMLSyn::KnownTagNames().size(), 202u);
  for (const std::string& name : TSynHTMLSyn::KnownTagNames()) {
    int length;
    EXPECT_EQ(html.LookUpTagName(name.c_str(), length), TSynHTMLSyn::tkKey) << name;
    EXPECT_EQ(length, static_cast<int>(name.size()));
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(html.LookUpTagName(lower.c_str(), length), TSynHTMLSyn::tkKey) << lower;
  }
  int length;
  for (const char* miss : {"DIVV", "H7", "/BR", "TABL", "SPAM"})
    EXPECT_EQ(html.LookUpTagName(miss, length), TSynHTMLSyn::tkUndefKey) << miss;
  EXPECT_EQ(html.LookUpTagName("!DOCTYPE", length), TSynHTMLSyn::tkKey);
  EXPECT_EQ(TSynHTMLSyn::EntityNames().size(), 249u);
}

TEST(HtmlHighlighter, ACommentOverSeveralLinesScansTheSameLineByLine) {
  TSynHTMLSyn html;
  std::vector<std::string> lines = {"x <!-- one", "two", "three --> <i>y</i>"};
  std::vector<TScan> carried;
  html.ResetRange();
  for (const std::string& line : lines) {
    carried.push_back(Scan(html, line, html.CurrentRange()));
  }
  EXPECT_EQ(carried[0].end, TSynHTMLSyn::rsComment);
  EXPECT_EQ(carried[1].tokens, (Tokens{{"two", 1}}));
  EXPECT_EQ(carried[2].end, TSynHTMLSyn::rsText);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    TScan again = Scan(html, lines[i], carried[i - 1].end);
    EXPECT_EQ(again.tokens, carried[i].tokens);
    EXPECT_EQ(again.end, carried[i].end);
  }
}

// ---- CSS -------------------------------------------------------------------------------------

TEST(CssHighlighter, TokensOfTheDocumentedLines) {
  using C = TSynCssSyn;
  TSynCssSyn css;
  CheckCases(css, {
      {"body { color: red; }", C::rsSelector,
       {{"body ", 2}, {"{", 6}, {" ", 4}, {"color", 1}, {":", 6}, {" ", 4}, {"red", 9}, {";", 6}, {" ", 4}, {"}", 6}},
       C::rsSelector},
      {"h1, h2 {", C::rsSelector, {{"h1, h2 ", 2}, {"{", 6}}, C::rsProperty},
      {"a:hover {", C::rsSelector, {{"a:hover ", 2}, {"{", 6}}, C::rsProperty},
      {"margin: 0 auto;", C::rsProperty,
       {{"margin", 1}, {":", 6}, {" ", 4}, {"0", 11}, {" ", 4}, {"auto", 9}, {";", 6}}, C::rsPropertyAfterSemicolon},
      {"color: #FF0000;", C::rsProperty, {{"color", 1}, {":", 6}, {" ", 4}, {"#FF0000", 10}, {";", 6}},
       C::rsPropertyAfterSemicolon},
      {"color: #GG0000;", C::rsProperty, {{"color", 1}, {":", 6}, {" ", 4}, {"#", 10}, {"GG0000", 9}, {";", 6}},
       C::rsPropertyAfterSemicolon},
      {"FONT-SIZE: 8pt", C::rsProperty, {{"FONT-SIZE", 1}, {":", 6}, {" ", 4}, {"8", 11}, {"pt", 9}}, C::rsProperty},
      {"colour: red", C::rsProperty, {{"colour", 8}, {":", 6}, {" ", 4}, {"red", 9}}, C::rsProperty},
      {"color.x: red", C::rsProperty, {{"color.x", 1}, {":", 6}, {" ", 4}, {"red", 9}}, C::rsProperty},
      {"font: bold italic;", C::rsProperty, {{"font", 1}, {":", 6}, {" ", 4}, {"bold italic", 9}, {";", 6}},
       C::rsPropertyAfterSemicolon},
      {"font-family: \"Arial\", serif;", C::rsProperty,
       {{"font-family", 1}, {":", 6}, {" ", 4}, {"\"Arial\"", 5}, {",", 6}, {" ", 4}, {"serif", 9}, {";", 6}},
       C::rsPropertyAfterSemicolon},
      {"/* note */ p {", C::rsSelector, {{"/* note */", 0}, {" p ", 2}, {"{", 6}}, C::rsProperty},
      {"a /*", C::rsSelector, {{"a ", 2}, {"/*", 0}}, C::rsComment | (C::rsSelector << 8)},
      {"x / y", C::rsProperty, {{"x", 8}, {" ", 4}, {"/", 6}, {" ", 4}, {"y", 8}}, C::rsProperty},
      {"content: \"open", C::rsProperty, {{"content", 1}, {":", 6}, {" ", 4}, {"\"open", 5}}, C::rsValue},
      {"1.5..2", C::rsValue, {{"1.5", 11}, {"..2", 11}}, C::rsValue},
  });
}

TEST(CssHighlighter, ACommentReturnsToTheStateItOpenedIn) {
  using C = TSynCssSyn;
  TSynCssSyn css;
  for (TSynRange opened : {TSynRange{C::rsProperty}, TSynRange{C::rsPropertyAfterSemicolon}, TSynRange{C::rsValue}}) {
    SCOPED_TRACE(opened);
    TScan first = Scan(css, "/* begins", opened);
    EXPECT_EQ(first.end, C::rsComment | (opened << 8));
    TScan carried = Scan(css, "ends */", css.CurrentRange());
    TScan restored = Scan(css, "ends */", first.end);
    EXPECT_EQ(carried.end, opened);
    EXPECT_EQ(restored.end, opened);
    EXPECT_EQ(carried.tokens, (Tokens{{"ends */", 0}}));
  }
}

TEST(CssHighlighter, EveryPropertyIsFoundWithoutRegardToCase) {
  TSynCssSyn css;
  ASSERT_EQ(TSynCssSyn::PropertyNames().size(), 122u);
  for (const std::string& name : TSynCssSyn::PropertyNames()) {
    EXPECT_EQ(css.LookUpProperty(name.c_str()), TSynCssSyn::tkProperty) << name;
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(css.LookUpProperty(upper.c_str()), TSynCssSyn::tkProperty) << upper;
  }
  for (const char* miss : {"colour", "margins", "border-top-colour", "z", "widt"})
    EXPECT_EQ(css.LookUpProperty(miss), TSynCssSyn::tkUndefProperty) << miss;
}

// ---- XML -------------------------------------------------------------------------------------

TEST(XmlHighlighter, TokensOfTheDocumentedLines) {
  using X = TSynXMLSyn;
  TSynXMLSyn xml;
  CheckCases(xml, {
      {"<root a='1'>", X::rsText,
       {{"<", 13}, {"root", 5}, {" ", 12}, {"a", 2}, {"='", 7}, {"1", 0}, {"'", 13}, {">", 13}}, X::rsText},
      {"<root a=\"1\">", X::rsText,
       {{"<", 13}, {"root", 5}, {" ", 12}, {"a", 2}, {"=\"", 7}, {"1", 10}, {"\"", 13}, {">", 13}}, X::rsText},
      {"<x xmlns:p='u'/>", X::rsText,
       {{"<", 13}, {"x", 5}, {" ", 12}, {"xmlns:p", 17}, {"='", 18}, {"u", 15}, {"'", 13}, {"", 2}, {"/", 13}, {">", 13}},
       X::rsText},
      {"a &amp; b", X::rsText, {{"a ", 14}, {"&amp;", 6}, {" b", 14}}, X::rsText},
      {"&x y", X::rsText, {{"", 14}, {"&x", 6}, {" y", 14}}, X::rsText},
      {"<!-- note -->", X::rsText, {{"<!--", 13}, {" note ", 4}, {"-->", 13}}, X::rsText},
      {"<!-- open", X::rsText, {{"<!--", 13}, {" open", 4}}, X::rsComment},
      {"<![CDATA[ x ]]>", X::rsText, {{"<![CDATA[", 3}, {" x ]]>", 3}}, X::rsText},
      {"<?xml version='1.0'?>", X::rsText, {{"<?", 9}, {"xml version='1.0'?>", 9}}, X::rsText},
      {"<?>", X::rsText, {{"<?", 9}, {">", 9}}, X::rsText},
      {"<!DOCTYPE note [", X::rsText, {{"<!DOCTYPE", 21}, {" note [", 21}}, X::rsDocTypeSquareBraces},
      {"<!ENTITY x 'y'> ]>", X::rsDocTypeSquareBraces, {{"<!ENTITY x 'y'> ]", 21}, {">", 21}}, X::rsAttribute},
      {"<a b=value>", X::rsText, {{"<", 13}, {"a", 5}, {" ", 12}, {"b", 2}, {"=value>", 7}}, X::rsEqual},
      {"<a b=\"open", X::rsText, {{"<", 13}, {"a", 5}, {" ", 12}, {"b", 2}, {"=\"", 7}, {"open", 10}}, X::rsQuoteAttrValue},
      {"v &lt; w\">", X::rsQuoteAttrValue, {{"v ", 10}, {"&lt;", 11}, {" ", 12}, {"w", 10}, {"\"", 13}, {">", 13}}, X::rsText},
      {"<\xc3\xa9l\xc3\xa9ment/>", X::rsText, {{"<", 13}, {"\xc3\xa9l\xc3\xa9ment", 5}, {"", 2}, {"/", 13}, {">", 13}}, X::rsText},
  });
}

}  // namespace
}  // namespace tarnwick
