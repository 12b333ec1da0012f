#include <gtest/gtest.h>

#include <sstream>

#include "editor/SynEdit.h"
#include "editor/SynEditWordWrap.h"
#include "editor/Utf8.h"
#include "platform/test/FixedCanvas.h"
#include "platform/test/MemoryClipboard.h"

namespace tarnwick {
namespace {

std::vector<int> Widths(const TSynWordWrapPlugin& wrap, const std::string& line) {
  std::vector<int> starts = wrap.CutRows(line);
  std::vector<int> widths;
  int total = 0;
  for (std::size_t at = 0; at < line.size();) {
    TUtf8Char c = Utf8CharAt(line, at);
    total += c.columns;
    at += c.length;
  }
  for (std::size_t i = 0; i < starts.size(); ++i) widths.push_back((i + 1 < starts.size() ? starts[i + 1] : total) - starts[i]);
  return widths;
}

TSynCharSet BlanksOnly() {
  TSynCharSet breaks;
  for (int c = 0; c <= 32; ++c) breaks.set(static_cast<std::size_t>(c));
  return breaks;
}

TEST(WordWrapRows, AreCutAtBreaksAfterTheMinimumAndCappedAt255) {
  TSynWordWrapPlugin hundred(100, 8, BlanksOnly());
  std::string letters(250, 'x');
  EXPECT_EQ(Widths(hundred, letters), (std::vector<int>{100, 100, 50}));
  std::string spaced = letters;
  spaced[89] = ' ';
  EXPECT_EQ(Widths(hundred, spaced)[0], 90) << "the first row ends after the space at column 90";
  std::string blanks = std::string(100, 'y') + "     z";
  EXPECT_EQ(Widths(hundred, blanks), (std::vector<int>{105, 1})) << "blanks stay at the end of the upper row";
  EXPECT_EQ(Widths(hundred, ""), (std::vector<int>{0}));

  TSynWordWrapPlugin wide(300, 8, BlanksOnly());
  EXPECT_EQ(wide.RowLimit(), 255);
  EXPECT_EQ(Widths(wide, std::string(600, 'x')), (std::vector<int>{255, 255, 90}));

  TSynWordWrapPlugin ten(10, 8, BlanksOnly());
  std::string cjk;
  for (int i = 0; i < 7; ++i) cjk += "\xe4\xb8\xad";  // 14 columns of wide characters
  EXPECT_EQ(Widths(ten, cjk), (std::vector<int>{10, 4})) << "a cut never splits a character";
  std::string odd = "a" + cjk;
  EXPECT_EQ(Widths(ten, odd)[0], 9);
}

class WrappedEditorTest : public testing::Test {
 protected:
  TFixedCanvas canvas;
  TMemoryClipboard clipboard;
  TSynEdit editor{canvas, clipboard};

  void SetUp() override {
    TSynGutter gutter = editor.Gutter();
    gutter.Visible = false;
    editor.SetGutter(gutter);
    editor.SetClientSize(2 + 10 * 8, 16 * 5);  // 10 columns, 5 rows
    std::istringstream in("0123456789abcdefghij0123\nshort\n");
    editor.Lines().ReadStream(in);
    editor.SetWordWrap(true);
  }
};

TEST_F(WrappedEditorTest, PositionsMapToRowsAndMovesGoByRows) {
  EXPECT_EQ(editor.DisplayRowCount(), 4);
  EXPECT_EQ(editor.DisplayPosition({13, 1}), (TDisplayCoord{3, 2}));
  EXPECT_EQ(editor.DisplayPosition({1, 2}), (TDisplayCoord{1, 4}));
  EXPECT_EQ(editor.DisplayToBufferPos({5, 3}), (TBufferCoord{25, 1}));
  editor.SetCaretPos({3, 1});
  editor.ExecuteCommand(ecDown);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{13, 1})) << "down one row inside the same line";
  editor.ExecuteCommand(ecDown);
  editor.ExecuteCommand(ecDown);
  EXPECT_EQ(editor.CaretPos(), (TBufferCoord{3, 2}));

  editor.Lines().ReplaceLine(1, "a much longer line now");
  EXPECT_EQ(editor.DisplayRowCount(), 6) << "rows follow the change";
  editor.SetWordWrap(false);
  EXPECT_EQ(editor.DisplayRowCount(), 2);
}

TEST_F(WrappedEditorTest, EachRowPaintsItsPartOfTheLine) {
  canvas.drawn.clear();
  editor.Paint(canvas, {0, 0, 2 + 10 * 8, 16 * 5});
  std::vector<std::string> rows(5);
  for (const auto& d : canvas.drawn)
    if (d.kind == TFixedCanvas::TDrawn::Text) rows[static_cast<std::size_t>(d.rect.top / 16)] += d.text;
  EXPECT_EQ(rows, (std::vector<std::string>{"0123456789", "abcdefghij", "0123", "short", ""}));
  for (const auto& d : canvas.drawn) {
    if (d.kind == TFixedCanvas::TDrawn::Text) {
      EXPECT_EQ(d.rect.left, 2) << "every row starts at the left edge";
    }
  }
}

}  // namespace
}  // namespace tarnwick
