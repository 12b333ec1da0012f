#include <gtest/gtest.h>

#include <sstream>

#include "editor/EditorTestText.h"
#include "editor/SynEdit.h"
#include "editor/Utf8.h"
#include "platform/test/FixedCanvas.h"
#include "platform/test/MemoryClipboard.h"

namespace tarnwick {
namespace {

using Lines = std::vector<std::string>;
using Mode = TSynSelectionMode;

class EditorTest : public testing::Test {
 protected:
  TFixedCanvas canvas;
  TMemoryClipboard clipboard;
  TSynEdit editor{canvas, clipboard};

  // 80 columns by 25 rows of 8 x 16 cells.
  void SetUp() override { editor.SetClientSize(640, 400); }

  void SetLines(const Lines& lines) { test::LoadLines(editor, lines); }
  Lines Text() const { return test::LinesOf(editor); }
  void Caret(int ch, int line) { editor.SetCaretAndSelection({ch, line}, {ch, line}, {ch, line}); }
  void Select(TBufferCoord anchor, TBufferCoord active) { editor.SetCaretAndSelection(active, anchor, active); }
  void Type(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
      TUtf8Char c = Utf8CharAt(text, i);
      char32_t code = static_cast<unsigned char>(text[i]);
      if (c.length > 1) {
        code = static_cast<unsigned char>(text[i]) & (0xFF >> (c.length + 1));
        for (std::size_t k = 1; k < c.length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
      }
      editor.ExecuteCommand(ecChar, code);
      i += c.length;
    }
  }
  void Do(TSynEditorCommand command, int times = 1) {
    for (int i = 0; i < times; ++i) editor.ExecuteCommand(command);
  }
  void Press(TKeyCode key, TShiftState shift = 0, char32_t character = 0) {
    editor.KeyDown(key, shift);
    if (character != 0) editor.KeyPress(character);
    editor.KeyUp(key, shift);
  }
  TBufferCoord CaretPos() const { return editor.CaretPos(); }
};

testing::AssertionResult At(const TSynEdit& editor, int ch, int line) {
  TBufferCoord caret = editor.CaretPos();
  if (caret == TBufferCoord{ch, line}) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "caret at (" << caret.Char << ", " << caret.Line << "), not (" << ch << ", "
                                     << line << ")";
}

// ---- positions, caret and selection ---------------------------------------------------------

TEST_F(EditorTest, HorizontalMovesFollowScrollPastEol) {
  SetLines({"abc", "def"});
  Caret(4, 1);
  Do(ecRight);
  EXPECT_TRUE(At(editor, 5, 1)) << "into virtual space by default";
  Caret(1, 2);
  Do(ecLeft);
  EXPECT_TRUE(At(editor, 1, 2)) << "no wrap to the line above";

  editor.SetOptions(editor.Options() & ~eoScrollPastEol);
  Caret(4, 1);
  Do(ecRight);
  EXPECT_TRUE(At(editor, 1, 2));
  Do(ecLeft);
  EXPECT_TRUE(At(editor, 4, 1));
  Caret(9, 1);
  EXPECT_TRUE(At(editor, 4, 1)) << "the caret rule limits to the line end";
}

TEST_F(EditorTest, TheCaretNeverStandsInsideAUtf8Character) {
  SetLines({"a\xc3\xa9z\xe4\xb8\xad!", "\xe2\x82\xac"});  // a é z 中 !
  Caret(1, 1);
  std::vector<int> rights;
  for (int i = 0; i < 5; ++i) {
    Do(ecRight);
    rights.push_back(CaretPos().Char);
  }
  EXPECT_EQ(rights, (std::vector<int>{2, 4, 5, 8, 9}));
  std::vector<int> lefts;
  for (int i = 0; i < 5; ++i) {
    Do(ecLeft);
    lefts.push_back(CaretPos().Char);
  }
  EXPECT_EQ(lefts, (std::vector<int>{8, 5, 4, 2, 1}));
  Caret(3, 1);
  EXPECT_TRUE(At(editor, 2, 1)) << "a position inside é goes to its start";
  Caret(8, 1);  // after 中, display column 6
  Do(ecDown);
  EXPECT_TRUE(At(editor, 8, 2)) << "virtual space after the euro sign keeps the column";
  Caret(1, 2);
  Do(ecRight);
  Do(ecUp);
  EXPECT_TRUE(At(editor, 2, 1));
}

TEST_F(EditorTest, DisplayColumnsCountTabsAndWideCharacters) {
  SetLines({"a\tb\xe4\xb8\xad" "c"});
  editor.SetTabWidth(4);
  struct TCase {
    int ch, column;
  };
  for (TCase c : {TCase{1, 1}, TCase{2, 2}, TCase{3, 5}, TCase{4, 6}, TCase{7, 8}, TCase{8, 9}, TCase{10, 11}})
    EXPECT_EQ(editor.BufferToDisplayPos({c.ch, 1}).Column, c.column) << c.ch;
  for (TCase c : {TCase{1, 1}, TCase{2, 2}, TCase{2, 3}, TCase{2, 4}, TCase{3, 5}, TCase{4, 6}, TCase{4, 7}, TCase{7, 8}})
    EXPECT_EQ(editor.DisplayToBufferPos({c.column, 1}).Char, c.ch) << c.column;
}

TEST_F(EditorTest, SelectionRulesAndSelectedTextInEveryMode) {
  SetLines({"abcdef", "gh", "ijklmn"});
  Select({3, 1}, {3, 3});
  EXPECT_TRUE(editor.HasSelection());
  EXPECT_EQ(editor.SelectedText(), "cdef\r\ngh\r\nij");
  editor.SetSelectionMode(Mode::smColumn);
  EXPECT_FALSE(editor.HasSelection()) << "a column selection of no width";
  Select({2, 1}, {4, 3});
  EXPECT_EQ(editor.SelectedText(), "bc\r\nh\r\njk");
  editor.SetSelectionMode(Mode::smLine);
  EXPECT_EQ(editor.SelectedText(), "abcdef\r\ngh\r\nijklmn") << "no break after the buffer's last line";
  Select({1, 1}, {1, 2});
  EXPECT_EQ(editor.SelectedText(), "abcdef\r\ngh\r\n");

  editor.SetSelectionMode(Mode::smNormal);
  Select({3, 2}, {9, 2});
  EXPECT_EQ(editor.BlockActive().Char, 3) << "a normal selection stays inside the line";
  editor.SelectAllText();
  EXPECT_EQ(editor.SelectedText(), "abcdef\r\ngh\r\nijklmn");
  EXPECT_TRUE(At(editor, 7, 3));
}

TEST_F(EditorTest, CharacterOffsetsCountLineBreaksAsTwo) {
  SetLines({"abc", "def"});
  editor.SetSelStartOffset(5);
  EXPECT_TRUE(At(editor, 1, 2));
  editor.SetSelStartOffset(2);
  editor.SetSelEndOffset(7);
  EXPECT_EQ(editor.SelectedText(), "c\r\nde");
  EXPECT_EQ(editor.SelStartOffset(), 2);
  editor.SetSelStartOffset(99);
  EXPECT_TRUE(At(editor, 1, 2)) << "beyond the text: the last line";
  EXPECT_EQ(editor.RowColToCharIndex({2, 2}), 6);
}

TEST_F(EditorTest, WordMotion) {
  SetLines({"foo bar_1 (baz)", "  next"});
  struct TCase {
    TSynEditorCommand command;
    TBufferCoord from, to;
  };
  const TCase cases[] = {
      {ecWordRight, {1, 1}, {5, 1}},   {ecWordRight, {5, 1}, {12, 1}}, {ecWordRight, {12, 1}, {16, 1}},
      {ecWordRight, {15, 1}, {3, 2}},  {ecWordLeft, {16, 1}, {12, 1}}, {ecWordLeft, {12, 1}, {5, 1}},
      {ecWordLeft, {3, 2}, {16, 1}},   {ecWordLeft, {1, 1}, {1, 1}},
  };
  for (const TCase& c : cases) {
    Caret(c.from.Char, c.from.Line);
    Do(c.command);
    EXPECT_EQ(CaretPos(), c.to) << EditorCommandToIdent(c.command) << " from " << c.from.Char << "," << c.from.Line;
  }
}

TEST_F(EditorTest, PagingScrollingAndHome) {
  Lines lines;
  for (int i = 1; i <= 100; ++i) lines.push_back("line " + std::to_string(i));
  SetLines(lines);
  editor.SetClientSize(640, 21 * 16);
  editor.SetOptions(editor.Options() | eoHalfPageScroll);
  Caret(1, 1);
  Do(ecPageDown);
  EXPECT_TRUE(At(editor, 1, 11));
  editor.SetOptions(editor.Options() & ~eoHalfPageScroll);
  Do(ecPageDown);
  EXPECT_TRUE(At(editor, 1, 32));
  EXPECT_EQ(editor.TopRow(), 32) << "the view scrolls by the page too";
  Do(ecPageBottom);
  EXPECT_TRUE(At(editor, 1, 52));
  Do(ecEditorBottom);
  EXPECT_TRUE(At(editor, 9, 100));
  EXPECT_EQ(editor.TopRow(), 80) << "the last page ends at the last line";
  Do(ecEditorTop);
  EXPECT_EQ(editor.TopRow(), 1);
  Do(ecScrollDown);
  EXPECT_EQ(editor.TopRow(), 2);
  EXPECT_TRUE(At(editor, 1, 2)) << "the caret is pulled back into view";

  SetLines({"    indented"});
  editor.SetOptions(editor.Options() | eoEnhanceHomeKey);
  Caret(9, 1);
  Do(ecLineStart);
  EXPECT_TRUE(At(editor, 5, 1));
  Do(ecLineStart);
  EXPECT_TRUE(At(editor, 1, 1));
  Do(ecSelLineEnd);
  EXPECT_EQ(editor.SelectedText(), "    indented");
}

TEST_F(EditorTest, SelectingMovesKeepTheAnchor) {
  SetLines({"abc", "def"});
  Caret(2, 1);
  Do(ecSelRight, 2);
  Do(ecSelDown);
  EXPECT_EQ(editor.BlockAnchor(), (TBufferCoord{2, 1}));
  EXPECT_EQ(editor.SelectedText(), "bc\r\ndef");
  Do(ecRight);
  EXPECT_FALSE(editor.HasSelection());
  editor.SetSelectionMode(Mode::smColumn);
  Caret(2, 1);
  Do(ecSelDown);
  EXPECT_TRUE(editor.HasSelection()) << "a column selection gets one column of width";
}

TEST_F(EditorTest, BookmarksAndBrackets) {
  SetLines({"if (a[1] > (b)) {", "  x;", "}"});
  Caret(4, 1);
  Do(ecMatchBracket);
  EXPECT_TRUE(At(editor, 15, 1));
  Do(ecMatchBracket);
  EXPECT_TRUE(At(editor, 4, 1));
  Caret(17, 1);
  Do(ecMatchBracket);
  EXPECT_TRUE(At(editor, 1, 3)) << "across lines";
  Caret(2, 2);
  Do(ecMatchBracket);
  EXPECT_TRUE(At(editor, 2, 2)) << "no bracket here";

  int placed = 0;
  editor.OnPlaceBookmark = [&](TSynEdit&, TSynEditMark&) { ++placed; };
  Caret(3, 2);
  Do(ecSetMarker0 + 3);
  Caret(1, 1);
  Do(ecGotoMarker0 + 3);
  EXPECT_TRUE(At(editor, 3, 2));
  Caret(1, 1);
  Do(ecLineBreak);
  Do(ecGotoMarker0 + 3);
  EXPECT_TRUE(At(editor, 3, 3)) << "the bookmark moved down with its line";
  Do(ecSetMarker0 + 3);
  TBufferCoord pos;
  EXPECT_FALSE(editor.GetBookmark(3, pos)) << "set again on the same line: removed";
  EXPECT_EQ(placed, 1);
}

// ---- keys ------------------------------------------------------------------------------------

TEST(EditorKeys, TheDefaultTableHas82EntriesWithTheDocumentedKeys) {
  TSynEditKeyStrokes strokes;
  strokes.ResetDefaults();
  EXPECT_EQ(strokes.Items.size(), 82u);
  struct TCase {
    TKeyCode key;
    TShiftState shift;
    TSynEditorCommand command;
  };
  const TCase cases[] = {
      {VK_UP, ssCtrl, ecScrollUp},          {VK_NEXT, ssCtrl | ssShift, ecSelPageBottom},
      {VK_HOME, ssCtrl, ecEditorTop},       {VK_BACK, ssCtrl, ecDeleteLastWord},
      {VK_BACK, ssAlt, ecUndo},             {VK_BACK, ssAlt | ssShift, ecRedo},
      {'M', ssCtrl, ecLineBreak},           {VK_INSERT, ssShift, ecPaste},
      {VK_DELETE, ssShift, ecCut},          {'7', ssCtrl | ssShift, ecSetMarker0 + 7},
      {'0', ssCtrl, ecGotoMarker0},         {'B', ssCtrl | ssShift, ecMatchBracket},
      {VK_TAB, ssShift, ecShiftTab},        {VK_F1, 0, ecContextHelp},
  };
  for (const TCase& c : cases) {
    int index = strokes.FindKeycode(c.key, c.shift);
    ASSERT_GE(index, 0) << c.key;
    EXPECT_EQ(strokes.Items[static_cast<std::size_t>(index)].Command, c.command) << c.key;
  }
  EXPECT_EQ(strokes.FindKeycode(VK_UP, ssCtrl | ssShift), -1);
  EXPECT_EQ(strokes.FindKeycode('C', ssCtrl | ssAlt), -1) << "shift states compare exactly";
  EXPECT_EQ(IdentToEditorCommand("ecSelPageBottom"), ecSelPageBottom);
  EXPECT_EQ(EditorCommandToIdent(ecSetMarker9), "ecSetMarker9");
  EXPECT_EQ(EditorCommandToIdent(ecSelGotoXY), "ecSelGotoXY");
}

TEST_F(EditorTest, ACommandKeySuppressesItsCharacterAndEventsComeInOrder) {
  SetLines({"abc"});
  std::vector<std::string> events;
  editor.OnKeyDown = [&](TSynEdit&, TKeyCode&, TShiftState) { events.push_back("keydown"); };
  editor.OnProcessCommand = [&](TSynEdit&, TSynEditorCommand& c, char32_t&, const void*) {
    events.push_back("process " + EditorCommandToIdent(c));
  };
  editor.OnCommandProcessed = [&](TSynEdit&, TSynEditorCommand& c, char32_t&, const void*) {
    events.push_back("processed " + EditorCommandToIdent(c));
  };
  Press('A', ssCtrl, 1);  // the character a Ctrl+A would produce
  EXPECT_EQ(events, (std::vector<std::string>{"keydown", "process ecSelectAll", "processed ecSelectAll"}));
  EXPECT_EQ(Text(), Lines{"abc"});
  EXPECT_EQ(editor.SelectedText(), "abc");

  events.clear();
  Press(VK_END);
  Press('X', ssShift, 'X');
  EXPECT_EQ(Text(), Lines{"abcX"}) << "a plain character after a command key is typed";

  editor.OnProcessCommand = [](TSynEdit&, TSynEditorCommand& c, char32_t&, const void*) {
    if (c == ecChar) c = ecNone;
  };
  Type("q");
  EXPECT_EQ(Text(), Lines{"abcX"}) << "a handler cancelled it";
}

TEST_F(EditorTest, AFirstKeyThatStartsNoTwoKeyStrokeStillLetsTheNextKeyStandAlone) {
  SetLines({"abc"});
  editor.Keystrokes.Add(ecEditorBottom, 'Q', ssCtrl, 'E', ssCtrl);
  EXPECT_EQ(editor.KeyToCommand('Q', ssCtrl), ecNone) << "remembered as a first key";
  EXPECT_EQ(editor.KeyToCommand('E', ssCtrl), ecEditorBottom);
  EXPECT_EQ(editor.KeyToCommand('Q', ssCtrl), ecNone);
  EXPECT_EQ(editor.KeyToCommand('A', ssCtrl), ecSelectAll);
  EXPECT_EQ(editor.KeyToCommand('E', ssCtrl), ecNone) << "the memory was cleared by the command";
}

TEST_F(EditorTest, StatusChangesGatherUnderThePaintLock) {
  SetLines({"abc", "def"});
  std::vector<TSynStatusChanges> reported;
  editor.OnStatusChange = [&](TSynEdit&, TSynStatusChanges changes) { reported.push_back(changes); };
  Do(ecSelDown);
  ASSERT_EQ(reported.size(), 1u) << "one report for the whole command";
  EXPECT_EQ(reported[0] & (scCaretY | scSelection), scCaretY | scSelection);
  reported.clear();
  editor.SetInsertMode(false);
  EXPECT_EQ(reported, std::vector<TSynStatusChanges>{scInsertMode}) << "outside a lock at once";
  reported.clear();
  Type("x");
  EXPECT_TRUE(reported.size() == 1u && (reported[0] & scModified));
}

TEST_F(EditorTest, DroppedFilesAreReportedTogetherWhileAccepted) {
  std::vector<std::vector<std::string>> drops;
  editor.OnDropFiles = [&](TSynEdit&, int, int, const std::vector<std::string>& files) { drops.push_back(files); };
  editor.DropFiles(10, 10, {"/a.html", "/b.css"});
  EXPECT_TRUE(drops.empty()) << "not accepted without eoDropFiles";
  editor.SetOptions(editor.Options() | eoDropFiles);
  editor.DropFiles(10, 10, {"/a.html", "/b.css"});
  EXPECT_EQ(drops, (std::vector<std::vector<std::string>>{{"/a.html", "/b.css"}}));
}

TEST_F(EditorTest, ReadOnlyChangesNothingButStillMoves) {
  SetLines({"abc"});
  Type("z");
  editor.SetReadOnly(true);
  Caret(2, 1);
  for (TSynEditorCommand command : {ecDeleteChar, ecDeleteLastChar, ecLineBreak, ecTab, ecDeleteLine, ecPaste, ecUndo})
    Do(command);
  Type("x");
  EXPECT_EQ(Text(), Lines{"zabc"});
  EXPECT_FALSE(editor.CanUndo());
  Do(ecRight);
  EXPECT_TRUE(At(editor, 3, 1));
}

// ---- typing and line breaks ------------------------------------------------------------------

TEST_F(EditorTest, TrailingBlanksAreStoredOnlyWhenSomethingFollows) {
  SetLines({"x"});
  Caret(2, 1);
  Type("a  ");
  EXPECT_EQ(Text(), Lines{"xa"});
  EXPECT_TRUE(At(editor, 5, 1));
  Type("b");
  EXPECT_EQ(Text(), Lines{"xa  b"});
}

TEST_F(EditorTest, TypingInVirtualSpaceOfAnEmptyLinePadsWithIndentation) {
  SetLines({""});
  editor.SetOptions(editor.Options() & ~eoTabsToSpaces);
  Caret(17, 1);
  Type("x");
  EXPECT_EQ(Text(), Lines{"\t\tx"});
  EXPECT_TRUE(At(editor, 4, 1));
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{""});
  Do(ecRedo);
  EXPECT_EQ(Text(), Lines{"\t\tx"});
}

TEST_F(EditorTest, OverwriteReplacesWholeCharacters) {
  SetLines({"a\xc3\xa9" "b"});
  Do(ecToggleMode);
  EXPECT_FALSE(editor.InsertMode());
  Caret(2, 1);
  Type("x");
  EXPECT_EQ(Text(), Lines{"axb"});
  Type("\xe4\xb8\xad");
  EXPECT_EQ(Text(), Lines{"ax\xe4\xb8\xad"});
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{"a\xc3\xa9" "b"});
}

TEST_F(EditorTest, LineBreaksIndentAsTheLineAbove) {
  editor.SetTabWidth(4);
  editor.SetOptions(editor.Options() & ~eoTabsToSpaces);
  SetLines({"    word"});
  Caret(9, 1);
  Do(ecLineBreak);
  EXPECT_EQ(Text(), (Lines{"    word", "    "}));
  EXPECT_TRUE(At(editor, 5, 2));

  SetLines({"    word"});
  Caret(7, 1);
  Do(ecLineBreak);
  EXPECT_EQ(Text(), (Lines{"    wo", "\trd"}));
  EXPECT_TRUE(At(editor, 2, 2));

  editor.SetTabWidth(8);
  SetLines({"\tx", ""});
  Caret(1, 2);
  Do(ecLineBreak);
  EXPECT_EQ(Text(), (Lines{"\tx", "", ""}));
  EXPECT_TRUE(At(editor, 9, 3));

  SetLines({"abc"});
  Caret(1, 1);
  Do(ecLineBreak);
  EXPECT_EQ(Text(), (Lines{"", "abc"}));
  EXPECT_TRUE(At(editor, 1, 2));
  Do(ecInsertLine);
  EXPECT_EQ(Text(), (Lines{"", "", "abc"}));
  EXPECT_TRUE(At(editor, 1, 2)) << "Ctrl+N leaves the caret";

  editor.Lines().Clear();
  Do(ecLineBreak);
  EXPECT_EQ(Text(), (Lines{"", ""})) << "an empty buffer gets its first line";
}

TEST_F(EditorTest, TabsWithAndWithoutSmartWidth) {
  editor.SetTabWidth(4);
  SetLines({"ab"});
  editor.SetOptions(editor.Options() & ~eoSmartTabs);
  Caret(3, 1);
  Do(ecTab);
  EXPECT_EQ(Text(), Lines{"ab"}) << "two spaces at the end are not stored";
  EXPECT_TRUE(At(editor, 5, 1));
  SetLines({"abc"});
  Caret(3, 1);
  Do(ecTab);
  EXPECT_EQ(Text(), Lines{"ab  c"});

  editor.SetOptions(editor.Options() | eoSmartTabs);
  SetLines({"abc  def", ""});
  Caret(1, 2);
  Do(ecTab);
  EXPECT_TRUE(At(editor, 6, 2));
  EXPECT_EQ(Text(), (Lines{"abc  def", ""}));
  Type("x");
  EXPECT_EQ(Text(), (Lines{"abc  def", "     x"}));

  SetLines({"abc  def", "ab"});
  editor.SetOptions(editor.Options() & ~eoTabsToSpaces);
  Caret(3, 2);
  Type("z");
  Caret(3, 2);
  Do(ecTab);
  EXPECT_EQ(Text(), (Lines{"abc  def", "ab\tz"})) << "text before the caret: one tab";
}

TEST_F(EditorTest, ShiftTabGoesBackToTheWordAboveOrTheTabStop) {
  editor.SetTabWidth(4);
  SetLines({"ab  cd", "      x"});
  Caret(7, 2);
  Do(ecShiftTab);
  EXPECT_EQ(Text(), (Lines{"ab  cd", "    x"}));
  EXPECT_TRUE(At(editor, 5, 2));
  Do(ecUndo);
  EXPECT_EQ(Text(), (Lines{"ab  cd", "      x"}));

  editor.SetOptions(editor.Options() & ~eoSmartTabs);
  SetLines({"      x"});
  Caret(7, 1);
  Do(ecShiftTab);
  EXPECT_EQ(Text(), Lines{"    x"});
}

// ---- deletions -------------------------------------------------------------------------------

TEST_F(EditorTest, BackspaceUnindentsJoinsAndTakesWholeCharacters) {
  SetLines({"    a", "        b"});
  Caret(9, 2);
  Do(ecDeleteLastChar);
  EXPECT_EQ(Text(), (Lines{"    a", "    b"}));
  EXPECT_TRUE(At(editor, 5, 2));

  SetLines({"one", "two"});
  Caret(1, 2);
  Do(ecDeleteLastChar);
  EXPECT_EQ(Text(), Lines{"onetwo"});
  EXPECT_TRUE(At(editor, 4, 1));
  ASSERT_NE(editor.UndoList().LastRecord(), nullptr);
  EXPECT_EQ(editor.UndoList().LastRecord()->SavedText, "\r\n");
  Do(ecUndo);
  EXPECT_EQ(Text(), (Lines{"one", "two"}));

  SetLines({"x\xe4\xb8\xad\xc3\xa9"});
  Caret(7, 1);
  Do(ecDeleteLastChar);
  EXPECT_EQ(Text(), Lines{"x\xe4\xb8\xad"});
  Do(ecDeleteLastChar);
  EXPECT_EQ(Text(), Lines{"x"});
  Caret(5, 1);
  Do(ecDeleteLastChar);
  EXPECT_TRUE(At(editor, 2, 1)) << "from virtual space to the line end";
}

TEST_F(EditorTest, DeleteCharWordLineAndEndOfLine) {
  SetLines({"\xc3\xa9tat foo", "next"});
  Caret(1, 1);
  Do(ecDeleteChar);
  EXPECT_EQ(Text(), (Lines{"tat foo", "next"}));
  Caret(9, 1);
  Do(ecDeleteChar);
  EXPECT_EQ(Text(), Lines{"tat foo next"}) << "joined after padding to the caret";
  Caret(1, 1);
  Do(ecDeleteWord);
  EXPECT_EQ(Text(), Lines{"foo next"});
  Caret(4, 1);
  Do(ecDeleteEOL);
  EXPECT_EQ(Text(), Lines{"foo"});
  Do(ecDeleteLastWord);
  EXPECT_EQ(Text(), Lines{""});

  SetLines({"a", "b", "c"});
  Caret(1, 2);
  Do(ecDeleteLine);
  EXPECT_EQ(Text(), (Lines{"a", "c"}));
  Caret(1, 2);
  Do(ecDeleteLine);
  EXPECT_EQ(Text(), (Lines{"a"}));
  Do(ecUndo);
  Do(ecUndo);
  EXPECT_EQ(Text(), (Lines{"a", "b", "c"}));
  SetLines({"only"});
  Do(ecDeleteLine);
  EXPECT_EQ(Text(), Lines{""});
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{"only"}) << "the only line comes back without an extra one";
}

// ---- undo and redo ---------------------------------------------------------------------------

TEST_F(EditorTest, ACaretMoveSeparatesUndoSteps) {
  SetLines({""});
  Type("abc");
  Do(ecLeft);
  Type("de");
  EXPECT_EQ(Text(), Lines{"abdec"});
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{"abc"});
  EXPECT_EQ(editor.UndoList().LastKind(), TChangeKind::ckGroupBreak);
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{""});
  Do(ecRedo);
  EXPECT_EQ(Text(), Lines{"abc"});
  Do(ecRedo);
  EXPECT_EQ(Text(), Lines{"abdec"});
  EXPECT_TRUE(At(editor, 5, 1));
}

TEST_F(EditorTest, EnterBetweenTypingMakesThreeSteps) {
  SetLines({""});
  Type("ab");
  Do(ecLineBreak);
  Type("cd");
  Do(ecUndo);
  EXPECT_EQ(Text(), (Lines{"ab", ""}));
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{"ab"});
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{""});
  EXPECT_FALSE(editor.CanUndo());
}

TEST_F(EditorTest, ModifiedFollowsTheSavedStateAndNewChangesDropRedo) {
  SetLines({"text"});
  EXPECT_FALSE(editor.Modified());
  Type("a");
  EXPECT_TRUE(editor.Modified());
  Do(ecUndo);
  EXPECT_FALSE(editor.Modified());
  EXPECT_TRUE(editor.CanRedo());
  Type("b");
  EXPECT_FALSE(editor.CanRedo());

  editor.SetModified(false);
  Type("c");
  EXPECT_TRUE(editor.Modified());
  Do(ecUndo);
  EXPECT_FALSE(editor.Modified()) << "back at the saved state";
  Do(ecUndo);
  EXPECT_TRUE(editor.Modified()) << "before the saved state";

  std::istringstream in("new\n");
  editor.Lines().ReadStream(in);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.CanRedo()) << "a load empties both lists";
}

TEST_F(EditorTest, MaxUndoKeepsTheNewestRecords) {
  SetLines({""});
  editor.SetMaxUndo(2);
  Type("abc");
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{"a"});
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_TRUE(editor.UndoList().Truncated() || editor.UndoList().Empty());
}

TEST_F(EditorTest, OnChangeFiresOncePerChangeAndOncePerBlock) {
  SetLines({"abc"});
  int changes = 0;
  editor.OnChange = [&](TSynEdit&) { ++changes; };
  Type("x");
  EXPECT_EQ(changes, 1);
  editor.SelectAllText();
  editor.SetSelectedText("one\ntwo");
  EXPECT_EQ(changes, 2) << "one block, one event";
  editor.Lines().ReplaceLine(0, "direct");
  EXPECT_EQ(changes, 2) << "direct changes to the lines write no records";
}

// Runs a script of commands, then undoes and redoes all of it: every undo must restore the
// text, caret and selection seen before the step, and every redo those seen after it.
TEST_F(EditorTest, UndoAndRedoRestoreTextCaretAndSelectionStepByStep) {
  struct TState {
    Lines text;
    TBufferCoord caret, anchor, active;
    bool operator==(const TState&) const = default;
  };
  auto state = [&] { return TState{Text(), CaretPos(), editor.BlockAnchor(), editor.BlockActive()}; };
  SetLines({"first line", "  second", "third"});
  editor.SetOptions(editor.Options() & ~eoGroupUndo);
  std::vector<TState> states{state()};
  auto step = [&](const std::function<void()>& action) {
    action();
    ASSERT_NE(Text(), states.back().text) << "every step of the script changes the text";
    states.push_back(state());
  };
  step([&] { Caret(6, 1); Type("X"); });
  step([&] { Do(ecLineBreak); });
  step([&] { Select({2, 2}, {4, 3}); Do(ecDeleteLastChar); });
  step([&] { Select({1, 1}, {3, 1}); Type("Q"); });
  step([&] { Caret(3, 2); Do(ecDeleteChar); });
  step([&] { Caret(1, 3); Do(ecDeleteLastChar); });
  step([&] { Caret(2, 1); Do(ecTab); });
  step([&] { Select({1, 1}, {3, 2}); Do(ecCut); });
  step([&] { Caret(1, 1); Do(ecPaste); });
  step([&] { Caret(1, 2); Do(ecDeleteLine); });

  // Only the text and caret are checked after undo: which end of a restored selection the
  // caret takes is the record's.
  for (std::size_t i = states.size() - 1; i > 0; --i) {
    ASSERT_TRUE(editor.CanUndo()) << i;
    Do(ecUndo);
    EXPECT_EQ(Text(), states[i - 1].text) << "undo of step " << i;
  }
  for (std::size_t i = 1; i < states.size(); ++i) {
    ASSERT_TRUE(editor.CanRedo()) << i;
    Do(ecRedo);
    EXPECT_EQ(Text(), states[i].text) << "redo of step " << i;
  }
  EXPECT_FALSE(editor.CanRedo());
}

// ---- clipboard -------------------------------------------------------------------------------

TEST_F(EditorTest, ClipboardRoundTripsKeepTheSelectionMode) {
  struct TCase {
    Mode mode;
    TBufferCoord anchor, active;
    std::string copied;
    Lines afterPasteAtStart;
  };
  const TCase cases[] = {
      {Mode::smNormal, {2, 1}, {3, 2}, "bc\r\nde", {"bc", "deabc", "def"}},
      {Mode::smLine, {1, 1}, {2, 1}, "abc\r\n", {"abc", "abc", "def"}},
      {Mode::smColumn, {2, 1}, {3, 2}, "b\r\ne", {"babc", "edef"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    SetLines({"abc", "def"});
    editor.SetSelectionMode(c.mode);
    Select(c.anchor, c.active);
    Do(ecCopy);
    EXPECT_EQ(clipboard.text, c.copied);
    EXPECT_EQ(clipboard.formats[kSynEditClipboardFormat], std::string(1, static_cast<char>(c.mode)) + c.copied + '\0');
    editor.SetSelectionMode(Mode::smNormal);
    Caret(1, 1);
    Do(ecPaste);
    EXPECT_EQ(Text(), c.afterPasteAtStart);
    Do(ecUndo);
    EXPECT_EQ(Text(), (Lines{"abc", "def"})) << "one undo step removes exactly the paste";
    Do(ecRedo);
    EXPECT_EQ(Text(), c.afterPasteAtStart) << "and one redo step puts it back";
  }
}

TEST_F(EditorTest, PastingPlainTextAndLineBlocks) {
  SetLines({"1", "2", "3", "4", "5", "6"});
  clipboard.formats.clear();
  clipboard.text = "a\nb";
  editor.SetSelectionMode(Mode::smColumn);
  Caret(2, 1);
  Do(ecPaste);
  EXPECT_EQ(Text(), (Lines{"1a", "2b", "3", "4", "5", "6"})) << "a lone LF ends a piece too";

  clipboard.SetContents("x\r\ny\r\n", {{kSynEditClipboardFormat, std::string(1, '\1') + "x\r\ny\r\n" + '\0'}});
  editor.SetSelectionMode(Mode::smNormal);
  Caret(1, 5);
  Do(ecPaste);
  EXPECT_EQ(Text(), (Lines{"1a", "2b", "3", "4", "x", "y", "5", "6"}));
  Do(ecCut);
  EXPECT_EQ(Text().size(), 8u) << "nothing selected, nothing cut";

  clipboard.failSet = true;
  Select({1, 1}, {2, 1});
  EXPECT_THROW(Do(ecCopy), ESynEditError);
  clipboard.failSet = false;
  clipboard.failGet = true;
  EXPECT_THROW(Do(ecPaste), ESynEditError);
  EXPECT_EQ(editor.UndoList().BlockDepth(), 0);
}

TEST_F(EditorTest, CutIsOneUndoableRemoval) {
  SetLines({"hello world"});
  Select({1, 1}, {7, 1});
  Do(ecCut);
  EXPECT_EQ(Text(), Lines{"world"});
  EXPECT_EQ(clipboard.text, "hello ");
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{"hello world"});
  EXPECT_EQ(editor.SelectedText(), "hello ") << "the removed text comes back selected";
}

// ---- other text commands ---------------------------------------------------------------------

TEST_F(EditorTest, SelectedTextWriteReplacesAndIsOneStep) {
  SetLines({"the word here"});
  Select({5, 1}, {9, 1});
  editor.SetSelectedText("12:00 1.1.2027");
  EXPECT_EQ(Text(), Lines{"the 12:00 1.1.2027 here"});
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{"the word here"});
  Caret(1, 1);
  editor.SetSelectedText("a\r\nb");
  EXPECT_EQ(Text(), (Lines{"a", "bthe word here"}));
  EXPECT_TRUE(At(editor, 2, 2));
  editor.SelectAllText();
  editor.RemoveSelection();
  EXPECT_EQ(Text(), Lines{""});
}

TEST_F(EditorTest, BlockIndentAndUnindent) {
  SetLines({"a", "b", "c"});
  Select({1, 1}, {1, 3});
  Do(ecBlockIndent);
  EXPECT_EQ(Text(), (Lines{"        a", "        b", "c"})) << "a last line touched at column 1 is left";
  Do(ecBlockUnindent);
  EXPECT_EQ(Text(), (Lines{"a", "b", "c"}));
  Do(ecUndo);
  EXPECT_EQ(Text(), (Lines{"        a", "        b", "c"}));
  Do(ecUndo);
  EXPECT_EQ(Text(), (Lines{"a", "b", "c"}));
}

TEST_F(EditorTest, CaseCommandsAndClearAll) {
  SetLines({"hello World"});
  Caret(3, 1);
  Do(ecUpperCase);
  EXPECT_EQ(Text(), Lines{"HELLO World"});
  Select({7, 1}, {12, 1});
  Do(ecToggleCaseBlock);
  EXPECT_EQ(Text(), Lines{"HELLO wORLD"});
  Do(ecUndo);
  EXPECT_EQ(Text(), Lines{"HELLO World"});
  EXPECT_EQ(editor.SelectedText(), "World");
  Do(ecClearAll);
  EXPECT_EQ(editor.Lines().Count(), 0);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.Modified());
}

TEST_F(EditorTest, NoEditLeavesInvalidUtf8Behind) {
  const std::string mixed = "a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80z";
  for (TSynEditorCommand command : {ecDeleteChar, ecDeleteLastChar}) {
    for (int start = 1; start <= static_cast<int>(mixed.size()) + 1; ++start) {
      SetLines({mixed});
      Caret(start, 1);
      for (int i = 0; i < 6; ++i) {
        Do(command);
        std::string line = Text().empty() ? "" : Text()[0];
        for (std::size_t at = 0; at < line.size(); at += Utf8CharAt(line, at).length)
          ASSERT_FALSE(Utf8CharAt(line, at).length == 1 && static_cast<unsigned char>(line[at]) >= 0x80)
              << EditorCommandToIdent(command) << " from " << start << " left a broken byte";
      }
    }
  }
}

}  // namespace
}  // namespace tarnwick
