#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/ConfirmReplace.h"
#include "app/Find.h"
#include "app/GotoLine.h"
#include "app/MainWindowFixture.h"
#include "app/Replace.h"

namespace tarnwick {
namespace {

class SearchTest : public test::MainWindowFixture {
 protected:
  void OpenText(const std::string& text) { OpenPath(MakeFile("doc.txt", text)); }

  void Find(const char* text, bool up = false, bool matchCase = false) {
    TfrmFind& find = *window->frmFind;
    window->actFind->trigger();
    find.edtTextToFind->setText(text);
    (up ? find.rbDirectionUp : find.rbDirectionDown)->setChecked(true);
    find.cbxCaseSen->setChecked(matchCase);
    find.btnAction->click();
    Idle();
  }

  void Replace(const char* text, const char* with) {
    TfrmReplace& replace = *window->frmReplace;
    window->actReplace->trigger();
    replace.edtTextToFind->setText(text);
    replace.edtReplaceText->setText(with);
    replace.btnAction->click();
    Idle();
  }

  // The next Confirm Replace window is answered with this button; its question and place are kept.
  void Confirm(const char* button) {
    WhenModal([this, button](QWidget& modal) {
      auto& confirm = dynamic_cast<TfrmConfirmReplace&>(modal);
      questions.push_back(confirm.lblReplaceText->text().toStdString());
      TSynEdit& editor = Active();
      auto [x, y] = editor.ClientPoint(editor.DisplayPosition(editor.SelectionBegin()));
      QPoint match = ActiveWidget().viewport()->mapToGlobal(QPoint(x, y));
      places.push_back({confirm.geometry(), QRect(match, QSize(1, editor.LineHeight()))});
      confirm.findChild<QPushButton*>(button)->click();
    });
  }

  std::vector<std::string> questions;
  std::vector<std::pair<QRect, QRect>> places;  // the window, and the match's first pixel column
};

TEST_F(SearchTest, TheFindWindowSearchesEitherWayAndFindNextRepeatsIt) {
  Start();
  EXPECT_EQ(window->frmFind->windowTitle(), "Find Text");
  OpenText("one Two\ntwo one\nTWO\n");
  Active().SetCaretPos({1, 2});
  Find("two", true);
  EXPECT_TRUE(window->frmFind->isVisible()) << "the window stays open and does not block";
  EXPECT_FALSE(window->frmFind->isModal());
  EXPECT_EQ(Active().SelectionBegin(), (TBufferCoord{5, 1}));
  EXPECT_EQ(window->LastFindText, "two");
  EXPECT_EQ(window->LastFindOptions, optBackwards);

  Active().SetCaretPos({1, 2});
  Find("two", false, true);
  EXPECT_EQ(Active().SelectionBegin(), (TBufferCoord{1, 2}));
  window->frmFind->btnAction->click();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Search string \"two\" not found."}) << "TWO does not match the case";
  EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtInformation);

  window->frmFind->close();
  Active().SetCaretPos({1, 1});
  Key(Qt::Key_F3);
  EXPECT_EQ(Active().SelectionBegin(), (TBufferCoord{1, 2})) << "F3 repeats the case-sensitive search";
}

TEST_F(SearchTest, FindNextWaitsForAFindAndANotFoundTextStillBecomesIt) {
  Start();
  OpenText("alpha\n");
  EXPECT_FALSE(window->actFindNext->isEnabled());
  window->frmFind->show();
  window->frmFind->edtTextToFind->clear();
  window->frmFind->btnAction->click();
  EXPECT_EQ(Texts(), std::vector<std::string>{"You have not entered any text to find."});
  EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
  Idle();
  EXPECT_FALSE(window->actFindNext->isEnabled());

  Find("omega");
  EXPECT_EQ(Texts().back(), "Search string \"omega\" not found.");
  EXPECT_TRUE(window->actFindNext->isEnabled());
  window->actFindNext->trigger();
  EXPECT_EQ(Texts().size(), 3u);
}

TEST_F(SearchTest, TheOpenFindWindowDoesNothingOnceTheLastDocumentIsClosed) {
  Start();
  OpenText("text\n");
  Find("text");
  window->CloseAll();
  window->frmFind->btnAction->click();
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(window->LastFindText, "text");
}

TEST_F(SearchTest, ReplaceAsksForEachMatchAfterTheCaretOnly) {
  Start();
  OpenText("cat cat\ncat\ncat cat\n");
  Active().SetCaretPos({4, 1});
  Confirm("Yes");
  Confirm("No");
  Confirm("Yes to All");
  Replace("cat", "dog");
  EXPECT_FALSE(window->frmReplace->isVisible()) << "the window closes when the replacing starts";
  EXPECT_EQ(Active().Text(), "cat dog\r\ncat\r\ndog dog");
  EXPECT_EQ(questions, std::vector<std::string>(3, "Replace this occurence of \"cat\"?"));
  EXPECT_EQ(unansweredModals, 0);
  EXPECT_EQ(window->LastFindText, "") << "a replace is not what Find Next repeats";

  // Cancel stops at once and keeps what was replaced.
  Active().SetCaretPos({1, 1});
  Confirm("Yes");
  Confirm("Cancel");
  Replace("dog", "cow");
  EXPECT_EQ(Active().Text(), "cat cow\r\ncat\r\ndog dog");
  window->actUndo->trigger();
  EXPECT_EQ(Active().Text(), "cat dog\r\ncat\r\ndog dog");
}

TEST_F(SearchTest, ReplacingATextWithItselfAsksNothing) {
  Start();
  OpenText("same same\n");
  Replace("same", "same");
  EXPECT_EQ(unansweredModals, 0);
  EXPECT_TRUE(dialogs.shown.empty()) << "there were matches, so nothing is reported";
  EXPECT_EQ(Active().Tag, 1);
  Active().SetCaretPos({1, 1});
  Replace("gone", "gone");
  EXPECT_EQ(Texts(), std::vector<std::string>{"Search string \"gone\" not found."});
}

TEST_F(SearchTest, TheConfirmWindowStandsBelowAMatchAndAboveOneInTheLowerThird) {
  Start();
  std::string text;
  for (int i = 1; i <= 30; ++i) text += i == 2 || i == 30 ? "find me\n" : "line\n";
  OpenText(text);
  Active().SetCaretPos({1, 1});
  Confirm("No");
  Confirm("No");
  Replace("find", "x");
  ASSERT_EQ(places.size(), 2u);
  QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
  const auto& [below, upper] = places[0];
  EXPECT_EQ(below.top(), upper.bottom() + 1 + 4) << "four pixels below the match line";
  EXPECT_EQ(below.left(), upper.left());
  const auto& [above, lower] = places[1];
  ASSERT_GT(lower.bottom() + 1, area.top() + area.height() * 2 / 3) << "the last line lies in the lower third";
  EXPECT_EQ(above.bottom() + 1 + 4, lower.top()) << "four pixels above the match line";
  EXPECT_EQ(window->frmConfirmReplace->size(), QSize(329, 85));
}

TEST_F(SearchTest, TheConfirmWindowStaysInsideTheMainWindowOrIsCentredOnANarrowOne) {
  Start();
  OpenText(std::string(70, ' ') + "edge\n");
  Confirm("No");
  Replace("edge", "x");
  ASSERT_EQ(places.size(), 1u);
  QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
  EXPECT_EQ(places[0].first.right() + 1, area.left() + area.width()) << "kept inside the right edge";
  int width = places[0].first.width();

  window->setMinimumSize(0, 0);
  window->resize(300, 400);
  Idle();
  Active().SetCaretPos({1, 1});
  Confirm("No");
  Replace("edge", "x");
  ASSERT_EQ(places.size(), 2u);
  area = QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
  EXPECT_EQ(places[1].first.left(), area.left() - (width - 300) / 2);
}

TEST_F(SearchTest, GoToLineTakesANumberInRangeAndKeepsItsWindowOpenOtherwise) {
  Start();
  std::string ten;
  for (int i = 1; i <= 10; ++i) ten += "line " + std::to_string(i) + "\n";
  OpenText(ten);
  Active().SetCaretAndSelection({3, 7}, {1, 7}, {3, 7});
  TfrmGotoLine& go = *window->frmGotoLine;
  std::vector<std::string> seen;
  auto enter = [&](const char* typed) {
    WhenModal([&, typed](QWidget&) {
      seen.push_back(go.edtLineNumber->text().toStdString());
      go.edtLineNumber->setText(typed);
      go.btnOK->click();
      if (go.isVisible()) go.btnCancel->click();
    });
    window->actGotoLine->trigger();
  };
  const std::pair<const char*, const char*> refused[] = {
      {"12", "Line number out of range."},       {"0", "Line number out of range."},
      {"abc", "Input must be a valid number."},  {"-999991", "Input must be a valid number."},
      {"", "Input must be a valid number."},     {"5x", "Input must be a valid number."},
  };
  for (const auto& [typed, message] : refused) {
    dialogs.shown.clear();
    enter(typed);
    EXPECT_EQ(Texts(), std::vector<std::string>{message}) << typed;
    EXPECT_EQ(Active().CaretPos(), (TBufferCoord{3, 7})) << typed;
  }
  EXPECT_EQ(seen.front(), "7") << "the box starts at the caret line";

  dialogs.shown.clear();
  enter(" 5");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Active().CaretPos(), (TBufferCoord{1, 5}));
  EXPECT_FALSE(Active().HasSelection());
  EXPECT_EQ(window->focusWidget(), &ActiveWidget());
  EXPECT_FALSE(go.isVisible());
}

TEST_F(SearchTest, EscapeClosesGoToLineFromItsBox) {
  Start();
  OpenText("a\nb\n");
  WhenModal([this](QWidget& modal) {
    QTest::keyClick(window->frmGotoLine->edtLineNumber, Qt::Key_Escape);
    EXPECT_FALSE(modal.isVisible());
  });
  window->actGotoLine->trigger();
  EXPECT_EQ(unansweredModals, 0);
  EXPECT_EQ(Active().CaretPos(), (TBufferCoord{1, 1}));
}

}  // namespace
}  // namespace tarnwick
