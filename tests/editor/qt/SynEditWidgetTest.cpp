#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QMimeData>
#include <QUrl>
#include <QWheelEvent>

#include <sstream>

#include "editor/qt/SynEditWidget.h"
#include "highlight/SynHighlighterHtml.h"
#include "platform/qt/QtClipboard.h"

namespace tarnwick {
namespace {

class EditorWidgetTest : public testing::Test {
 protected:
  TQtClipboard clipboard;
  TSynEditWidget widget{clipboard};

  void SetUp() override {
    widget.resize(500, 300);
    widget.show();
    widget.activateWindow();
    widget.setFocus();
    QApplication::processEvents();
  }
  void SetLines(TSynEditWidget& target, const std::string& text) {
    std::istringstream in(text);
    target.Editor().Lines().ReadStream(in);
  }
  std::string Text(TSynEditWidget& target) { return target.Editor().Lines().Text(); }
  QPoint PointOf(TSynEditWidget& target, int ch, int line) {
    auto [x, y] = target.Editor().ClientPoint(target.Editor().DisplayPosition({ch, line}));
    return {x + 1, y + target.Editor().LineHeight() / 2};
  }
};

TEST_F(EditorWidgetTest, TypedKeysAndCharactersReachTheEditor) {
  widget.Editor().WantTabs = true;
  QTest::keyClicks(widget.viewport(), "ab");
  QTest::keyClick(widget.viewport(), Qt::Key_Return);
  QTest::keyClicks(widget.viewport(), "c");
  QKeyEvent accented(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("\xc3\xa9"));
  QApplication::sendEvent(widget.viewport(), &accented);
  QTest::keyClick(widget.viewport(), Qt::Key_Tab);
  EXPECT_EQ(widget.Editor().CaretPos(), (TBufferCoord{9, 2})) << "Tab reaches the editor while it wants tabs";
  QTest::keyClick(widget.viewport(), Qt::Key_Backspace);
  QTest::keyClick(widget.viewport(), Qt::Key_Backspace);
  EXPECT_EQ(Text(widget), "ab\r\nc") << "back to the text, then the whole \xc3\xa9";
  QTest::keyClick(widget.viewport(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(widget.Editor().SelectedText(), "ab\r\nc") << "Ctrl+A selects all and types no character";
  QTest::keyClick(widget.viewport(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(widget), "ab\r\nc\xc3\xa9");
}

TEST_F(EditorWidgetTest, ClicksPlaceTheCaretAndDragsSelect) {
  SetLines(widget, "first line\nsecond line\n");
  QTest::mouseClick(widget.viewport(), Qt::LeftButton, Qt::NoModifier, PointOf(widget, 3, 2));
  EXPECT_EQ(widget.Editor().CaretPos(), (TBufferCoord{3, 2}));
  QTest::mousePress(widget.viewport(), Qt::LeftButton, Qt::NoModifier, PointOf(widget, 1, 1));
  QTest::mouseMove(widget.viewport(), PointOf(widget, 6, 1));
  QMouseEvent move(QEvent::MouseMove, PointOf(widget, 6, 1), widget.viewport()->mapToGlobal(PointOf(widget, 6, 1)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget.viewport(), &move);
  QTest::mouseRelease(widget.viewport(), Qt::LeftButton, Qt::NoModifier, PointOf(widget, 6, 1));
  EXPECT_EQ(widget.Editor().SelectedText(), "first");
  QTest::mouseDClick(widget.viewport(), Qt::LeftButton, Qt::NoModifier, PointOf(widget, 9, 2));
  EXPECT_EQ(widget.Editor().SelectedText(), "line");
}

TEST_F(EditorWidgetTest, TheWheelScrollsAndTheBarsFollow) {
  std::string text;
  for (int i = 1; i <= 200; ++i) text += "line " + std::to_string(i) + "\n";
  SetLines(widget, text);
  widget.Editor().SetCaretPos({1, 1});
  QPoint at(50, 50);
  QWheelEvent down(at, widget.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget.viewport(), &down);
  EXPECT_EQ(widget.Editor().TopRow(), 1 + QApplication::wheelScrollLines());
  EXPECT_EQ(widget.verticalScrollBar()->value(), widget.Editor().TopRow());
  widget.verticalScrollBar()->setValue(50);
  EXPECT_EQ(widget.Editor().TopRow(), 50);
}

TEST_F(EditorWidgetTest, CopyAndPasteBetweenTwoEditorsKeepsAColumnBlock) {
  TSynEditWidget other{clipboard};
  SetLines(widget, "abc\ndef\n");
  SetLines(other, "12\n34\n");
  widget.Editor().SetSelectionMode(TSynSelectionMode::smColumn);
  widget.Editor().SetCaretAndSelection({3, 2}, {2, 1}, {3, 2});
  QTest::keyClick(widget.viewport(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "b\ne") << "LF on the system clipboard";
  other.Editor().SetCaretPos({2, 1});
  other.Editor().ExecuteCommand(ecPaste);
  EXPECT_EQ(Text(other), "1b2\r\n3e4") << "pasted as a column";
}

TEST_F(EditorWidgetTest, SelectedTextDropsIntoAnotherEditorAndFilesAreReported) {
  TSynEditWidget other{clipboard};
  other.resize(300, 200);
  other.show();
  SetLines(widget, "drag me\n");
  SetLines(other, "here\n");
  widget.Editor().SetCaretAndSelection({5, 1}, {1, 1}, {5, 1});
  QMimeData text;
  text.setText("drag");
  text.setData("application/x-tarnwick-editor-drag", QByteArray::number(reinterpret_cast<quintptr>(&widget)));
  QDragEnterEvent enter(PointOf(other, 5, 1), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(other.viewport(), &enter);
  QDropEvent drop(PointOf(other, 5, 1), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(other.viewport(), &drop);
  EXPECT_EQ(Text(other), "heredrag") << "copied from another editor by default";

  std::vector<std::string> dropped;
  other.Editor().SetOptions(other.Editor().Options() | eoDropFiles);
  other.Editor().OnDropFiles = [&](TSynEdit&, int, int, const std::vector<std::string>& files) { dropped = files; };
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile("/tmp/a.html"), QUrl::fromLocalFile("/tmp/b.css")});
  QDragEnterEvent fileEnter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(other.viewport(), &fileEnter);
  QDropEvent fileDrop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(other.viewport(), &fileDrop);
  EXPECT_EQ(dropped, (std::vector<std::string>{"/tmp/a.html", "/tmp/b.css"}));
}

TEST_F(EditorWidgetTest, PaintsAHighlightedDocument) {
  TSynHTMLSyn html;
  SetLines(widget, "<!DOCTYPE html>\n<p class=\"x\">Caf&eacute; &amp; more</p>\n<!-- note -->\n");
  widget.Editor().SetHighlighter(&html);
  QImage image = widget.viewport()->grab().toImage();
  ASSERT_FALSE(image.isNull());
  bool coloured = false;
  for (int y = 0; y < image.height() && !coloured; ++y)
    for (int x = 0; x < image.width() && !coloured; ++x) {
      QColor c = image.pixelColor(x, y);
      coloured = c.red() > 100 && c.blue() > 150 && c.green() < 80;  // the tag names' violet
    }
  EXPECT_TRUE(coloured);
  widget.Editor().SetHighlighter(nullptr);  // the highlighter goes before the editor
}

}  // namespace
}  // namespace tarnwick
