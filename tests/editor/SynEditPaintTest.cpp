#include <gtest/gtest.h>

#include <sstream>

#include "editor/EditorTestText.h"
#include "editor/SynEdit.h"
#include "highlight/SynHighlighterHtml.h"
#include "platform/test/FixedCanvas.h"
#include "platform/test/MemoryClipboard.h"

namespace tarnwick {
namespace {

using TDrawn = TFixedCanvas::TDrawn;

class PaintTest : public testing::Test {
 protected:
  TFixedCanvas canvas;
  TMemoryClipboard clipboard;
  TSynEdit editor{canvas, clipboard};

  void SetUp() override {
    TSynGutter gutter = editor.Gutter();
    gutter.Width = 17;  // as the shell sets it
    editor.SetGutter(gutter);
    editor.SetClientSize(8 * 40 + 19, 16 * 10);
  }
  void SetLines(const std::vector<std::string>& lines) { test::LoadLines(editor, lines); }
  std::vector<TDrawn> PaintAll() {
    canvas.drawn.clear();
    editor.Paint(canvas, {0, 0, 8 * 40 + 19, 16 * 10});
    return canvas.drawn;
  }
  std::vector<TDrawn> Texts(int row) {
    std::vector<TDrawn> texts;
    for (const TDrawn& d : canvas.drawn)
      if (d.kind == TDrawn::Text && d.rect.left >= editor.GutterRealWidth() && d.rect.top == (row - 1) * 16)
        texts.push_back(d);
    return texts;
  }
  std::string RowText(int row) {
    std::string text;
    for (const TDrawn& d : Texts(row)) text += d.text;
    return text;
  }
};

TEST_F(PaintTest, GutterWidthsFollowTheLineNumbers) {
  canvas.charWidth = 7;
  editor.SetFont(editor.Font());
  EXPECT_EQ(editor.GutterRealWidth(), 17);
  TSynGutter gutter = editor.Gutter();
  gutter.ShowLineNumbers = true;
  editor.SetGutter(gutter);
  EXPECT_EQ(editor.GutterRealWidth(), 48);
  gutter.Visible = false;
  editor.SetGutter(gutter);
  EXPECT_EQ(editor.GutterRealWidth(), 0);
}

TEST_F(PaintTest, AnAutoSizedGutterGrowsWithTheLineCountAndBookmarksShow) {
  TSynGutter gutter = editor.Gutter();
  gutter.ShowLineNumbers = true;
  gutter.AutoSize = true;
  gutter.DigitCount = 2;
  editor.SetGutter(gutter);
  SetLines({"a"});
  EXPECT_EQ(editor.GutterRealWidth(), 16 + 2 + 2 * 8 + 2);
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "x\n";
  editor.Lines().SetText(text);
  EXPECT_EQ(editor.GutterRealWidth(), 16 + 2 + 4 * 8 + 2) << "four digits for a thousand lines";

  editor.SetCaretPos({1, 3});
  editor.ExecuteCommand(ecSetMarker0 + 5);
  PaintAll();
  bool mark = false;
  for (const TDrawn& d : canvas.drawn) mark = mark || (d.kind == TDrawn::Text && d.text == "5" && d.rect.top >= 32 && d.rect.top < 48);
  EXPECT_TRUE(mark) << "the bookmark's digit on its row";

  editor.SetExtraLineSpacing(4);
  EXPECT_EQ(editor.LineHeight(), 20);
}

TEST_F(PaintTest, LineNumbersStandRightAlignedInTheGutter) {
  SetLines({"a", "b"});
  TSynGutter gutter = editor.Gutter();
  gutter.ShowLineNumbers = true;
  editor.SetGutter(gutter);
  PaintAll();
  std::vector<std::string> numbers;
  for (const TDrawn& d : canvas.drawn)
    if (d.kind == TDrawn::Text && d.rect.right <= editor.GutterRealWidth()) {
      numbers.push_back(d.text);
      EXPECT_EQ(d.rect.right, editor.GutterRealWidth() - gutter.RightOffset - 2);
      EXPECT_EQ(d.font.size, 8) << "the gutter's own font";
    }
  EXPECT_EQ(numbers, (std::vector<std::string>{"   1", "   2"}));
  gutter.LeadingZeros = true;
  gutter.ZeroStart = true;
  editor.SetGutter(gutter);
  PaintAll();
  bool zero = false;
  for (const TDrawn& d : canvas.drawn) zero = zero || (d.kind == TDrawn::Text && d.text == "0000");
  EXPECT_TRUE(zero);
}

TEST_F(PaintTest, TheRightEdgeStandsAfterItsColumn) {
  SetLines({"x"});
  editor.SetMaxScrollWidth(200);
  editor.SetClientSize(8 * 100 + 19, 160);
  editor.RightEdge = 80;
  canvas.drawn.clear();
  editor.Paint(canvas, {0, 0, 8 * 100 + 19, 160});
  int expected = 80 * 8 + editor.GutterRealWidth() + 2;
  bool found = false;
  for (const TDrawn& d : canvas.drawn)
    if (d.kind == TDrawn::Line && d.color == clSilver) found = d.rect.left == expected && d.rect.right == expected;
  EXPECT_TRUE(found) << "on the left edge of column 81";
  editor.RightEdge = 0;
  canvas.drawn.clear();
  editor.Paint(canvas, {0, 0, 8 * 100 + 19, 160});
  for (const TDrawn& d : canvas.drawn) EXPECT_FALSE(d.kind == TDrawn::Line && d.color == clSilver);
}

TEST_F(PaintTest, HiddenCharactersBecomeVisibleMarks) {
  editor.SetTabWidth(4);
  SetLines({"\ta b"});
  PaintAll();
  EXPECT_EQ(RowText(1), "    a b") << "tab cells are drawn as spaces";
  editor.SetOptions(editor.Options() | eoShowSpecialChars);
  PaintAll();
  std::string row = RowText(1);
  EXPECT_EQ(row, "  \xC2\xBB a\xC2\xB7" "b\xC2\xB6") << "one double angle in the tab's cells, dots, a pilcrow";
}

TEST_F(PaintTest, DisplayPositionsCountTabCells) {
  SetLines({"\tab"});
  editor.SetTabWidth(8);
  EXPECT_EQ(editor.DisplayPosition({3, 1}).Column, 10);
  auto [x, y] = editor.ClientPoint({10, 1});
  EXPECT_EQ(x, 9 * 8 + editor.GutterRealWidth() + 2);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(editor.PointToDisplay(x + 1, 5), (TDisplayCoord{10, 1}));
  EXPECT_EQ(editor.PointToDisplay(x + 6, 20), (TDisplayCoord{11, 2})) << "the nearer cell boundary";
}

TEST_F(PaintTest, TokensAreDrawnInTheirAttributesColours) {
  TSynHTMLSyn html;
  SetLines({"<b>bold</b>", "plain"});
  editor.SetHighlighter(&html);
  PaintAll();
  std::vector<TDrawn> texts = Texts(1);
  ASSERT_FALSE(texts.empty());
  bool keyword = false;
  for (const TDrawn& d : texts)
    if (d.text == "b" || d.text == "/b") {
      keyword = true;
      EXPECT_EQ(d.color, html.KeyAttri->Foreground());
      EXPECT_EQ(d.font.style, fsBold);
    }
  EXPECT_TRUE(keyword);
  EXPECT_EQ(RowText(1), "<b>bold</b>");
  EXPECT_EQ(RowText(2), "plain");
  editor.SetHighlighter(nullptr);  // the highlighter goes before the editor
}

TEST_F(PaintTest, TheSelectionIsDrawnInItsColoursAndContinuesToTheRowsEnd) {
  SetLines({"abcdef", "gh"});
  editor.SetCaretAndSelection({2, 2}, {3, 1}, {2, 2});
  PaintAll();
  bool selectedText = false, selectedRest = false;
  int textLeft = editor.GutterRealWidth() + 2;
  for (const TDrawn& d : canvas.drawn) {
    if (d.kind == TDrawn::Text && d.text == "cdef") selectedText = d.color == clHighlightText;
    if (d.kind == TDrawn::Fill && d.color == clHighlight && d.rect.top == 0 && d.rect.left == textLeft + 6 * 8) selectedRest = true;
  }
  EXPECT_TRUE(selectedText);
  EXPECT_TRUE(selectedRest) << "the selection goes on after the first line's text";
  EXPECT_EQ(RowText(2), "gh");

  editor.HideSelection = true;
  editor.Focused = false;
  PaintAll();
  for (const TDrawn& d : canvas.drawn) EXPECT_NE(d.color, clHighlight);
}

TEST_F(PaintTest, CaretShapesHintsAndCursors) {
  SetLines({"abc", "def", "ghi"});
  editor.SetCaretPos({2, 2});
  int x = editor.GutterRealWidth() + 2 + 8;
  EXPECT_EQ(editor.CaretRect(), (TRect{x - 1, 16, x + 1, 30})) << "a 2-pixel line one pixel left of the cell";
  editor.SetInsertMode(false);
  EXPECT_EQ(editor.CaretRect(), (TRect{x, 16, x + 8, 30}));
  editor.OverwriteCaret = TSynEditCaretType::ctHalfBlock;
  EXPECT_EQ(editor.CaretRect(), (TRect{x, 23, x + 8, 30}));
  editor.OverwriteCaret = TSynEditCaretType::ctHorizontalLine;
  EXPECT_EQ(editor.CaretRect(), (TRect{x, 30, x + 8, 32}));

  EXPECT_EQ(editor.ScrollHintText(7), "Top Line: 7");
  editor.ScrollHintFormat = TSynScrollHintFormat::shfTopToBottom;
  EXPECT_EQ(editor.ScrollHintText(2), "2 - 3");

  editor.SetCaretAndSelection({3, 1}, {1, 1}, {3, 1});
  EXPECT_EQ(editor.MouseCursorAt(5, 5), TSynMouseCursor::crDefault) << "over the gutter";
  EXPECT_EQ(editor.MouseCursorAt(x + 2, 5), TSynMouseCursor::crArrow) << "over a selection that can be dragged";
  EXPECT_EQ(editor.MouseCursorAt(x + 2, 20), TSynMouseCursor::crIBeam);
}

TEST_F(PaintTest, RowsBelowTheTextAreFilledAndScrollBarsScale) {
  SetLines({"one"});
  PaintAll();
  int filledBelow = 0;
  for (const TDrawn& d : canvas.drawn)
    if (d.kind == TDrawn::Fill && d.rect.top >= 16 && d.color == clWindow) ++filledBelow;
  EXPECT_EQ(filledBelow, 9);

  std::string many;
  for (int i = 0; i < 100000; ++i) many += "x\n";
  std::istringstream in(many);
  editor.Lines().ReadStream(in);
  TScrollBarInfo vertical = editor.VerticalScrollInfo();
  EXPECT_EQ(vertical.max, 32767);
  EXPECT_EQ(editor.HorizontalScrollInfo().max, 1024) << "the scroll width with eoScrollPastEol";
}

}  // namespace
}  // namespace tarnwick

namespace tarnwick {
namespace {

class DragTest : public testing::Test {
 protected:
  TFixedCanvas canvas;
  TMemoryClipboard clipboard;
  TSynEdit editor{canvas, clipboard};
  TSynEdit other{canvas, clipboard};

  void SetUp() override {
    for (TSynEdit* e : {&editor, &other}) {
      TSynGutter gutter = e->Gutter();
      gutter.Visible = false;
      e->SetGutter(gutter);
      e->SetClientSize(2 + 40 * 8, 16 * 10);
    }
  }
  static void Load(TSynEdit& e, const std::string& text) {
    std::istringstream in(text);
    e.Lines().ReadStream(in);
  }
  static int X(int ch) { return 2 + (ch - 1) * 8; }
};

TEST_F(DragTest, APressInsideTheSelectionKeepsItAndAClickWithoutDragCollapses) {
  Load(editor, "hello world\n");
  editor.SetCaretAndSelection({6, 1}, {1, 1}, {6, 1});
  editor.MouseDown(X(3), 4, 0, false);
  EXPECT_TRUE(editor.DragPending());
  EXPECT_EQ(editor.SelectedText(), "hello");
  editor.MouseUp();
  EXPECT_FALSE(editor.HasSelection());
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{3, 1}));
}

TEST_F(DragTest, DropsMoveOrCopyAndUndoInOneStep) {
  Load(editor, "one two three\n");
  editor.SetCaretAndSelection({4, 1}, {1, 1}, {4, 1});  // "one"
  EXPECT_FALSE(editor.DropSelectionFrom(editor, X(2), 4, false)) << "inside the selection: nothing";
  EXPECT_TRUE(editor.DropSelectionFrom(editor, X(14), 4, false));
  EXPECT_EQ(editor.Lines().Text(), " two threeone");
  EXPECT_EQ(editor.SelectedText(), "one");
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "one two three");

  Load(other, "X\n");
  editor.SetCaretAndSelection({8, 1}, {5, 1}, {8, 1});  // "two"
  EXPECT_TRUE(other.DropSelectionFrom(editor, X(2), 4, true));
  EXPECT_EQ(other.Lines().Text(), "Xtwo") << "copied from another editor";
  EXPECT_EQ(editor.Lines().Text(), "one two three");
  EXPECT_TRUE(other.DropSelectionFrom(editor, X(1), 4, false));
  EXPECT_EQ(other.Lines().Text(), "twoXtwo");
  EXPECT_EQ(editor.Lines().Text(), "one  three") << "moved: the source lost its selection";
}

}  // namespace
}  // namespace tarnwick
