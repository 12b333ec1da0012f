#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/About.h"
#include "app/MainWindowFixture.h"
#include "highlight/SynHighlighterCSS.h"
#include "highlight/SynHighlighterHtml.h"
#include "highlight/SynHighlighterXML.h"

namespace tarnwick {
namespace {

using test::ReadFile;

class CommandTableTest : public test::MainWindowFixture {
 protected:
  std::vector<std::string> Enabled() {
    Idle();
    std::vector<std::string> names;
    for (TAction* action : window->findChildren<TAction*>())
      if (action->isEnabled() && !action->objectName().startsWith("actReopen"))
        names.push_back(action->objectName().toStdString());
    std::sort(names.begin(), names.end());
    return names;
  }

  static QStringList Entries(const QList<QAction*>& actions) {
    QStringList entries;
    for (QAction* action : actions) entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return entries;
  }
};

TEST_F(CommandTableTest, CommandsCarryTheirCaptionsShortcutsAndPictures) {
  Start();
  struct TExpected {
    TAction* action;
    const char* caption;
    const char* shortcut;
    const char* hint;
    bool picture;
  };
  const TExpected expected[] = {
      {window->actNew, "&New", "Ctrl+N", "New", true},
      {window->actClose, "&Close", "Ctrl+F4", "Close", false},
      {window->actSaveAll, "Sa&ve All", "Ctrl+Shift+S", "Save All", true},
      {window->actRedo, "&Redo", "Ctrl+Shift+Z", "Redo", true},
      {window->actDelete, "De&lete", "Del", "", true},
      {window->actTimeDate, "Time/&Date", "F5", "", false},
      {window->actShowLineNumbers, "Show &Line Numbers", "", "", true},
      {window->actFAQ, "View Online &FAQ", "", "", true},
  };
  for (const TExpected& e : expected) {
    EXPECT_EQ(e.action->text(), e.caption);
    EXPECT_EQ(e.action->shortcut().toString(), e.shortcut) << e.caption;
    EXPECT_EQ(e.action->toolTip(), QString(e.hint).isEmpty() ? e.action->toolTip() : e.hint) << e.caption;
    EXPECT_EQ(!e.action->icon().isNull(), e.picture) << e.caption;
  }
  EXPECT_EQ(window->actUndo->Category(), "Edit");
  QPixmap normal = window->actSave->icon().pixmap(16, QIcon::Normal);
  QPixmap disabled = window->actSave->icon().pixmap(16, QIcon::Disabled);
  EXPECT_EQ(normal.size(), QSize(16, 16));
  EXPECT_NE(normal.toImage(), disabled.toImage()) << "a disabled picture has a look of its own";

  // Check marks at start.
  EXPECT_TRUE(window->actShowGutter->isChecked());
  EXPECT_TRUE(window->actToolbarMain->isChecked());
  EXPECT_TRUE(window->actToolbarHighlighting->isChecked());
  for (TAction* off : {window->actShowLineNumbers, window->actShowHiddenChars, window->actWordWrap, window->actSHNone,
                       window->actSHHTML, window->actSHCSS, window->actSHXML})
    EXPECT_FALSE(off->isChecked()) << off->objectName().toStdString();
}

TEST_F(CommandTableTest, MenusToolbarsAndTheContextMenuListTheCommandsInOrder) {
  Start();
  QList<QAction*> menus = window->menuBar()->actions();
  ASSERT_EQ(menus.size(), 5);
  EXPECT_EQ(Entries(menus[0]->menu()->actions()),
            QStringList({"&New", "&Open...", "&Reopen", "&Close", "C&lose All", "-", "&Save", "Save &As...", "Sa&ve All",
                         "-", "-", "E&xit"}));
  EXPECT_EQ(Entries(menus[1]->menu()->actions()),
            QStringList({"&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "De&lete", "-", "&Find...", "Find Next",
                         "R&eplace...", "Go To...", "-", "Select &All", "Time/&Date"}));
  EXPECT_EQ(Entries(menus[2]->menu()->actions()),
            QStringList({"&Toolbars", "-", "Show &Line Numbers", "Show &Gutter", "Show &Hidden Chars", "-",
                         "&Syntax Highlighting", "-", "&Word Wrap"}));
  EXPECT_EQ(Entries(menus[2]->menu()->actions()[6]->menu()->actions()), QStringList({"&None", "&HTML", "&CSS", "&XML"}));
  EXPECT_EQ(Entries(menus[3]->menu()->actions()), QStringList({"General &Options...", "&Editor Options..."}));
  EXPECT_EQ(Entries(menus[4]->menu()->actions()), QStringList({"View Online &FAQ", "&About..."}));
  EXPECT_EQ(Entries(window->popEditor->actions()), QStringList({"&Close", "-", "Cu&t", "&Copy", "&Paste", "De&lete"}));
  window->New();
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(20, 20), ActiveWidget().viewport()->mapToGlobal(QPoint(20, 20)));
  QApplication::sendEvent(ActiveWidget().viewport(), &rightClick);
  EXPECT_TRUE(window->popEditor->isVisible()) << "a right click in a document opens it";
  window->popEditor->hide();

  QStringList main;
  for (QAction* action : window->tbMain->actions()) {
    auto* button = qobject_cast<QToolButton*>(window->tbMain->widgetForAction(action));
    main << (action->isSeparator() ? QStringLiteral("-") : button != nullptr && button->defaultAction() != nullptr
                                                               ? button->defaultAction()->text()
                                                               : action->text());
  }
  EXPECT_EQ(main, QStringList({"&New", "&Open...", "&Save", "Sa&ve All", "-", "Cu&t", "&Copy", "&Paste", "-", "&Undo",
                               "&Redo", "-", "Close Main"}));
  EXPECT_EQ(window->btnOpen->popupMode(), QToolButton::MenuButtonPopup);
  EXPECT_EQ(window->btnOpen->menu()->actions().size(), 5);
  EXPECT_EQ(window->lblHighlighting->text(), " Highlighting:");
  EXPECT_EQ(window->TBXComboBoxItem2->toolTip(), "Syntax Highlighting");
  EXPECT_FALSE(window->TBXComboBoxItem2->isEditable());
  EXPECT_EQ(window->TBXComboBoxItem2->count(), 4);
}

TEST_F(CommandTableTest, EnableRulesFollowTheActiveDocument) {
  Start();
  const std::vector<std::string> always = {"actAbout", "actEdtOptions", "actExit", "actFAQ", "actGeneralOptions",
                                           "actNew", "actOpen", "actToolbarHighlighting", "actToolbarMain"};
  EXPECT_EQ(Enabled(), always);
  EXPECT_FALSE(window->TBXComboBoxItem2->isEnabled());

  OpenPath(MakeFile("page.html", "<p>\n"));
  std::vector<std::string> opened = {"actAbout", "actClose", "actCloseAll", "actDelete", "actEdtOptions", "actExit",
                                     "actFAQ", "actFind", "actGeneralOptions", "actGotoLine", "actNew", "actOpen",
                                     "actReplace", "actSHCSS", "actSHHTML", "actSHNone", "actSHXML", "actSaveAll",
                                     "actSaveAs", "actSelectAll", "actShowGutter", "actShowHiddenChars",
                                     "actShowLineNumbers", "actTimeDate", "actToolbarHighlighting", "actToolbarMain",
                                     "actWordWrap"};
  EXPECT_EQ(Enabled(), opened)
      << "Save waits for a change; nothing to undo, cut, copy or paste; Find Next waits for a Find";
  EXPECT_TRUE(window->TBXComboBoxItem2->isEnabled());

  Type("x");
  Key(Qt::Key_Left, Qt::ShiftModifier);
  clipboard.text = "clip";
  std::vector<std::string> changed = Enabled();
  for (const char* name : {"actSave", "actUndo", "actCut", "actCopy", "actPaste"})
    EXPECT_NE(std::find(changed.begin(), changed.end(), name), changed.end()) << name;
  EXPECT_FALSE(window->actRedo->isEnabled());
  window->actUndo->trigger();
  Idle();
  EXPECT_TRUE(window->actRedo->isEnabled());

  window->New();
  Idle();
  EXPECT_TRUE(window->actSave->isEnabled()) << "an untitled page can be saved at once";
  dialogs.Answer(TModalResult::mrNo);
  window->CloseAll();
  EXPECT_EQ(Enabled(), always);
}

TEST_F(CommandTableTest, ACommandAskedJustBeforeItRunsDoesNothingWhenItHasBecomeDisabled) {
  Start();
  std::string path = MakeFile("page.html", "on disk\n");
  OpenPath(path);
  Type("x");
  Key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(window->actSave->isEnabled());
  Active().Tag = 1;  // saved behind the idle check's back
  window->actSave->trigger();
  EXPECT_EQ(ReadFile(path), "on disk\n");
  EXPECT_FALSE(window->actSave->isEnabled());
}

TEST_F(CommandTableTest, ShortcutsRunTheCommandsBeforeTheEditorSeesTheKey) {
  Start();
  window->New();
  Type("abc");
  Key(Qt::Key_F5);
  EXPECT_EQ(Active().Text(), "abc14:05:09 10/12/2026") << "F5 means nothing to the editor; it is Time/Date";
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(Active().HasSelection());
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard.text, "abc14:05:09 10/12/2026");
  Key(Qt::Key_Delete);
  EXPECT_EQ(Active().Text(), "");
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Active().Text(), "abc14:05:09 10/12/2026");
  Key(Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(window->DocumentCount(), 2);
  Key(Qt::Key_F4, Qt::ControlModifier);
  EXPECT_EQ(window->DocumentCount(), 1);

  // A disabled command lets its key through: with nothing selected Cut is disabled, and the
  // editor's own Ctrl+X does nothing either.
  Key(Qt::Key_End);
  Key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Active().Text(), "abc14:05:09 10/12/2026");
}

TEST_F(CommandTableTest, DeleteIsTheEditorsDeleteAndEveryChangeCanBeUndone) {
  Start();
  struct TCase {
    const char* text;
    TBufferCoord caret;
    const char* expected;
    bool changes;
  };
  const TCase cases[] = {
      {"abc\ndef", {2, 1}, "ac\r\ndef", true},     // the character after the caret
      {"abc\ndef", {4, 1}, "abcdef", true},        // a line's end joins the next line
      {"abc\n\ndef", {1, 2}, "abc\r\ndef", true},  // an empty line that is not the last goes
      {"abc\ndef", {4, 2}, "abc\r\ndef", false},   // the end of the text: nothing
      {"abc\n", {1, 2}, "abc\r\n", false},         // the empty last line: nothing
      {"h\xc3\xa9llo", {2, 1}, "hllo", true},      // a whole character
  };
  for (const TCase& c : cases) {
    OpenPath(MakeFile("delete.txt", std::string(c.text) + "\n"));
    std::string before = Active().Text();
    Active().SetCaretPos(c.caret);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Active().Text(), c.expected) << c.text;
    EXPECT_EQ(Active().Tag, c.changes ? 2 : 1) << c.text;
    if (c.changes) {
      window->actUndo->trigger();
      EXPECT_EQ(Active().Text(), before) << c.text;
      dialogs.Answer(TModalResult::mrNo);
    }
    window->CloseAll();
  }
  EXPECT_EQ(window->DocumentCount(), 0);

  OpenPath(MakeFile("sel.txt", "one two three\n"));
  Active().SetCaretAndSelection({8, 1}, {5, 1}, {8, 1});
  Key(Qt::Key_Delete);
  EXPECT_EQ(Active().Text(), "one  three");
}

TEST_F(CommandTableTest, TimeAndDateReplaceTheSelection) {
  Start();
  OpenPath(MakeFile("t.txt", "at noon today\n"));
  Active().SetCaretAndSelection({8, 1}, {4, 1}, {8, 1});
  window->actTimeDate->trigger();
  EXPECT_EQ(Active().Text(), "at 14:05:09 10/12/2026 today");
}

TEST_F(CommandTableTest, TheGutterAndLineNumberTogglesKeepEachOtherSensible) {
  Start();
  window->New();
  window->New();
  Idle();
  window->actShowLineNumbers->trigger();
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(Editor(i).Gutter().ShowLineNumbers) << i;
  window->actShowGutter->trigger();
  EXPECT_FALSE(window->actShowLineNumbers->isChecked()) << "no line numbers without a gutter";
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(Editor(i).Gutter().Visible) << i;
    EXPECT_FALSE(Editor(i).Gutter().ShowLineNumbers) << i;
  }
  window->actShowLineNumbers->trigger();
  EXPECT_TRUE(window->actShowGutter->isChecked()) << "line numbers bring the gutter back";
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(Editor(i).Gutter().Visible && Editor(i).Gutter().ShowLineNumbers) << i;
  window->New();
  EXPECT_TRUE(Active().Gutter().Visible && Active().Gutter().ShowLineNumbers) << "a new page follows the marks";
}

TEST_F(CommandTableTest, WordWrapAndHiddenCharsReachEveryOpenPageButNotANewOne) {
  Start();
  window->New();
  window->New();
  Idle();
  window->actWordWrap->trigger();
  window->actShowHiddenChars->trigger();
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(Editor(i).WordWrap()) << i;
    EXPECT_TRUE(Editor(i).Options() & eoShowSpecialChars) << i;
  }
  window->New();
  Idle();
  EXPECT_FALSE(Active().WordWrap());
  EXPECT_FALSE(Active().Options() & eoShowSpecialChars);
  window->actWordWrap->trigger();
  EXPECT_FALSE(Active().WordWrap()) << "the first use only clears the mark";
  window->actWordWrap->trigger();
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Editor(i).WordWrap()) << i;
}

TEST_F(CommandTableTest, AHighlighterChoiceChangesOnlyTheActivePage) {
  Start();
  OpenPath(MakeFile("a.html", "<p>\n"));
  OpenPath(MakeFile("b.html", "<p>\n"));
  window->TBXComboBoxItem2->setCurrentIndex(2);
  emit window->TBXComboBoxItem2->activated(2);
  EXPECT_EQ(Editor(1).Highlighter(), window->synCSS.get());
  EXPECT_TRUE(window->actSHCSS->isChecked());
  EXPECT_EQ(Editor(0).Highlighter(), window->synHTML.get());

  window->SetActivePage(0);
  window->pcMainChange();
  EXPECT_EQ(window->TBXComboBoxItem2->currentText(), "HTML");
  EXPECT_TRUE(window->actSHHTML->isChecked());
  window->actSHXML->trigger();
  EXPECT_EQ(Editor(0).Highlighter(), window->synXML.get());
  EXPECT_EQ(window->TBXComboBoxItem2->currentText(), "XML");
  window->actSHXML->trigger();
  EXPECT_TRUE(window->actSHXML->isChecked()) << "a marked radio command keeps its mark";
  window->actSHNone->trigger();
  EXPECT_EQ(Editor(0).Highlighter(), nullptr);
  EXPECT_FALSE(window->actSHXML->isChecked());
}

TEST_F(CommandTableTest, ToolbarsHideAndShowWithTheirCommandsAndTheirOwnCloseButtons) {
  Start();
  window->actToolbarMain->trigger();
  EXPECT_FALSE(window->tbMain->isVisible());
  EXPECT_FALSE(window->actToolbarMain->isChecked());
  window->actToolbarMain->trigger();
  EXPECT_TRUE(window->tbMain->isVisible());

  window->tbHighlighting->findChild<QAction*>("close")->trigger();
  EXPECT_FALSE(window->tbHighlighting->isVisible());
  EXPECT_FALSE(window->actToolbarHighlighting->isChecked());
  window->actToolbarHighlighting->trigger();
  EXPECT_TRUE(window->tbHighlighting->isVisible());
  EXPECT_TRUE(window->actToolbarHighlighting->isChecked());
}

TEST_F(CommandTableTest, HelpOpensTheShippedPageAndAbout) {
  Start();
  window->actFAQ->trigger();
  EXPECT_EQ(Texts(), std::vector<std::string>{"The help page \"" + system.programFolder + "faq.html\" is missing."});
  system.programFolder = dir / "";
  MakeFile("faq.html", "<html>\n");
  window->actFAQ->trigger();
  EXPECT_EQ(system.openedWithDefaultProgram, std::vector<std::string>{dir / "faq.html"});

  bool shown = false;
  QTimer::singleShot(0, window->frmAbout, [&] {
    shown = window->frmAbout->isVisible();
    EXPECT_EQ(window->frmAbout->windowTitle(), "About Tarnwick");
    EXPECT_EQ(window->frmAbout->findChild<QLabel*>("lblVersion")->text(), kVersionLine);
    window->frmAbout->findChild<QPushButton*>()->click();
  });
  window->actAbout->trigger();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(window->frmAbout->isVisible());
}

}  // namespace
}  // namespace tarnwick
