#include <gtest/gtest.h>

#include <sstream>

#include "editor/EditorTestText.h"
#include "editor/SynEdit.h"
#include "editor/SynEditSearch.h"
#include "platform/test/FixedCanvas.h"
#include "platform/test/MemoryClipboard.h"

namespace tarnwick {
namespace {

using Lines = std::vector<std::string>;

std::vector<int> Matches(TSynEditSearch& engine, const std::string& pattern, const std::string& line,
                         TSynSearchOptions options = 0) {
  engine.SetSearchOptions(options);
  engine.SetPattern(pattern);
  std::vector<int> found;
  for (int i = 0, n = engine.FindInLine(line); i < n; ++i) found.push_back(engine.MatchPosition(i));
  return found;
}

TEST(SearchEngine, FindsEveryMatchOfALine) {
  TSynEditSearch engine;
  struct TCase {
    std::string pattern, line;
    TSynSearchOptions options;
    std::vector<int> found;
  };
  const TCase cases[] = {
      {"aa", "aaaa", 0, {1, 3}},
      {"word", "a word. word", optWholeWord, {3, 9}},
      {"word", "swordfish word_ words", optWholeWord, {}},
      {"ABC", "xabcx ABC", 0, {2, 7}},
      {"ABC", "xabcx ABC", optMatchCase, {7}},
      {"abcab", "abcabcabcab", 0, {1, 7}},
      {"needle", "short", 0, {}},
      {"b", "ab", 0, {2}},
      {"\xc3\xa9t\xc3\xa9", "un \xc3\xa9t\xc3\xa9 chaud", optWholeWord, {4}},
      {"t", "\xc3\xa9t\xc3\xa9", optWholeWord, {}},
  };
  for (const TCase& c : cases) EXPECT_EQ(Matches(engine, c.pattern, c.line, c.options), c.found) << c.pattern << " in " << c.line;
  EXPECT_EQ(engine.MatchLength(0), 0) << "out of range";
  engine.SetPattern("");
  EXPECT_THROW(engine.FindInLine("x"), std::invalid_argument);
}

class FindReplaceTest : public testing::Test {
 protected:
  TFixedCanvas canvas;
  TMemoryClipboard clipboard;
  TSynEditSearch engine;
  TSynEdit editor{canvas, clipboard};

  void SetUp() override {
    editor.SetClientSize(640, 400);
    editor.SearchEngine = &engine;
  }
  void SetLines(const Lines& lines) { test::LoadLines(editor, lines); }
  Lines Text() const { return test::LinesOf(editor); }
  void Caret(int ch, int line) { editor.SetCaretAndSelection({ch, line}, {ch, line}, {ch, line}); }
};

TEST_F(FindReplaceTest, SearchesFromTheCaretInEitherDirection) {
  SetLines({"cat dog cat", "dog cat"});
  Caret(3, 1);
  EXPECT_EQ(editor.FindOrReplace("cat", "", 0), 1);
  EXPECT_EQ(editor.SelectionBegin(), (TBufferCoord{9, 1})) << "the match left of the caret is skipped";
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{12, 1}));
  EXPECT_EQ(editor.FindOrReplace("cat", "", 0), 1);
  EXPECT_EQ(editor.SelectionBegin(), (TBufferCoord{5, 2}));
  EXPECT_EQ(editor.FindOrReplace("cat", "", 0), 0);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{8, 2})) << "nothing found moves nothing";

  Caret(10, 1);
  EXPECT_EQ(editor.FindOrReplace("cat", "", optBackwards), 1);
  EXPECT_EQ(editor.SelectionBegin(), (TBufferCoord{1, 1})) << "the match ending right of the caret is skipped";
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{1, 1}));
  Caret(3, 2);
  EXPECT_EQ(editor.FindOrReplace("cat", "", optBackwards | optEntireScope), 1);
  EXPECT_EQ(editor.SelectionBegin(), (TBufferCoord{5, 2})) << "the entire scope starts at the end";
  EXPECT_EQ(editor.SelectedText(), "cat");
}

TEST_F(FindReplaceTest, ReplaceAllFollowsShiftedMatchesAndIsOneUndoStep) {
  SetLines({"axa", "a"});
  EXPECT_EQ(editor.FindOrReplace("a", "bb", optReplaceAll | optEntireScope), 3);
  EXPECT_EQ(Text(), (Lines{"bbxbb", "bb"}));
  editor.Undo();
  EXPECT_EQ(Text(), (Lines{"axa", "a"}));
  EXPECT_FALSE(editor.CanUndo());
}

TEST_F(FindReplaceTest, PromptAnswersDecideWhatIsReplaced) {
  std::vector<TSynReplaceAction> answers;
  std::vector<int> asked;
  editor.OnReplaceText = [&](TSynEdit&, const std::string&, const std::string&, int line, int column,
                             TSynReplaceAction& action) {
    asked.push_back(line * 100 + column);
    action = answers.at(asked.size() - 1);
  };
  const TSynSearchOptions all = optReplace | optReplaceAll | optPrompt | optEntireScope;

  SetLines({"x x x"});
  answers = {TSynReplaceAction::raSkip, TSynReplaceAction::raReplace, TSynReplaceAction::raSkip};
  EXPECT_EQ(editor.FindOrReplace("x", "yy", all), 3);
  EXPECT_EQ(Text(), Lines{"x yy x"});
  EXPECT_EQ(asked, (std::vector<int>{101, 103, 106})) << "columns shift after a replacement";

  SetLines({"x x x"});
  asked.clear();
  answers = {TSynReplaceAction::raSkip};
  EXPECT_EQ(editor.FindOrReplace("x", "y", optReplace | optPrompt | optEntireScope), 1);
  EXPECT_EQ(Text(), Lines{"x x x"}) << "a skip without replace-all ends the run";
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{2, 1})) << "after the skipped match, so Find Next moves on";

  SetLines({"x x x"});
  asked.clear();
  answers = {TSynReplaceAction::raReplace, TSynReplaceAction::raReplaceAll};
  EXPECT_EQ(editor.FindOrReplace("x", "y", all), 3);
  EXPECT_EQ(Text(), Lines{"y y y"});
  EXPECT_EQ(asked.size(), 2u) << "replace all stops asking";

  SetLines({"x x x"});
  asked.clear();
  answers = {TSynReplaceAction::raCancel};
  EXPECT_EQ(editor.FindOrReplace("x", "y", all), 1);
  EXPECT_EQ(Text(), Lines{"x x x"});
  EXPECT_EQ(editor.SelectedText(), "x") << "the first occurrence stays selected";
}

TEST_F(FindReplaceTest, TheSameTextStillCountsAsAReplacement) {
  SetLines({"same same"});
  EXPECT_EQ(editor.FindOrReplace("same", "same", optReplaceAll | optEntireScope), 2);
  EXPECT_TRUE(editor.CanUndo());
}

TEST_F(FindReplaceTest, TheSelectionCanBeTheRange) {
  SetLines({"ab ab ab", "ab ab ab"});
  editor.SetCaretAndSelection({6, 2}, {4, 1}, {6, 2});
  EXPECT_EQ(editor.FindOrReplace("ab", "X", optReplaceAll | optSelectedOnly), 4);
  EXPECT_EQ(Text(), (Lines{"ab X X", "X X ab"}));

  SetLines({"ab ab ab", "ab ab ab"});
  editor.SetSelectionMode(TSynSelectionMode::smColumn);
  editor.SetCaretAndSelection({6, 2}, {4, 1}, {6, 2});
  EXPECT_EQ(editor.FindOrReplace("ab", "X", optReplaceAll | optSelectedOnly), 2);
  EXPECT_EQ(Text(), (Lines{"ab X ab", "ab X ab"}));
}

TEST_F(FindReplaceTest, NeedsAnEngineAndAText) {
  SetLines({"abc"});
  EXPECT_EQ(editor.FindOrReplace("", "x", 0), 0);
  editor.SearchEngine = nullptr;
  try {
    editor.FindOrReplace("a", "", 0);
    ADD_FAILURE() << "searched without an engine";
  } catch (const ESynEditError& e) {
    EXPECT_STREQ(e.what(), "No search engine has been assigned");
  }
}

}  // namespace
}  // namespace tarnwick
