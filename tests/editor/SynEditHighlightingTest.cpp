#include <gtest/gtest.h>

#include <sstream>

#include "editor/EditorTestText.h"
#include "editor/SynEdit.h"
#include "highlight/SynHighlighterCSS.h"
#include "highlight/SynHighlighterHtml.h"
#include "platform/test/FixedCanvas.h"
#include "platform/test/MemoryClipboard.h"

namespace tarnwick {
namespace {

class HighlightedEditorTest : public testing::Test {
 protected:
  TFixedCanvas canvas;
  TMemoryClipboard clipboard;
  TSynHTMLSyn html;
  TSynCssSyn css;
  TSynEdit editor{canvas, clipboard};

  void SetLines(const std::vector<std::string>& lines) { test::LoadLines(editor, lines); }
  std::vector<TSynRange> Ranges() const {
    std::vector<TSynRange> ranges;
    for (int i = 0; i < editor.Lines().Count(); ++i) ranges.push_back(editor.Lines().LineRange(i));
    return ranges;
  }
};

TEST_F(HighlightedEditorTest, AssigningAHighlighterScansEveryLine) {
  SetLines({"<p>text", "<!-- open", "still", "-->", "<b>"});
  EXPECT_EQ(editor.Lines().LineRange(0), UnsetRange);
  editor.SetHighlighter(&html);
  using H = TSynHTMLSyn;
  EXPECT_EQ(Ranges(), (std::vector<TSynRange>{H::rsText, H::rsComment, H::rsComment, H::rsText, H::rsText}));
  editor.SetHighlighter(nullptr);
  html.KeyAttri->SetForeground(RGB(1, 1, 1));  // no longer subscribed: nothing to reach
}

TEST_F(HighlightedEditorTest, TypingACommentOpenerRescansTheLinesBelowUntilTheyMatch) {
  SetLines({"<p>a</p>", "b", "c -->", "<i>x</i>", "y"});
  editor.SetHighlighter(&html);
  using H = TSynHTMLSyn;
  editor.SetCaretPos({9, 1});
  for (char c : std::string("<!--")) editor.ExecuteCommand(ecChar, static_cast<char32_t>(c));
  EXPECT_EQ(Ranges(), (std::vector<TSynRange>{H::rsComment, H::rsComment, H::rsText, H::rsText, H::rsText}));
  editor.ExecuteCommand(ecUndo);
  EXPECT_EQ(Ranges(), (std::vector<TSynRange>{H::rsText, H::rsText, H::rsText, H::rsText, H::rsText}));

  editor.SetCaretPos({2, 2});
  editor.ExecuteCommand(ecLineBreak);
  EXPECT_EQ(editor.Lines().Count(), 6);
  for (TSynRange range : Ranges()) EXPECT_NE(range, UnsetRange) << "added lines get their range";
}

TEST_F(HighlightedEditorTest, WordCharactersAndBracketsFollowTheHighlighter) {
  SetLines({"a { content: \"}\" } /* } */ }"});
  editor.SetHighlighter(&css);
  EXPECT_TRUE(editor.WordChars()['_']);
  EXPECT_TRUE(editor.WordChars()[0xC3]);
  EXPECT_FALSE(editor.WordChars()['-']) << "an identifier character, but a word break";
  editor.SetCaretPos({3, 1});
  editor.ExecuteCommand(ecMatchBracket);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{18, 1})) << "the brace in the string does not count";
  editor.SetCaretPos({28, 1});
  editor.ExecuteCommand(ecMatchBracket);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{28, 1})) << "a closing brace with no opener outside comments";
}

}  // namespace
}  // namespace tarnwick
