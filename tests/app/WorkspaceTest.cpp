#include <QComboBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

#include "app/Misc.h"
#include "highlight/SynHighlighterCSS.h"
#include "highlight/SynHighlighterHtml.h"
#include "highlight/SynHighlighterXML.h"
#include "app/MainWindowFixture.h"

namespace tarnwick {
namespace {

using test::ReadFile;

class WorkspaceTest : public test::MainWindowFixture {};

TEST_F(WorkspaceTest, TheHighlighterFollowsTheSuffixAfterTheFirstFullStop) {
  Start();
  const std::pair<const char*, const char*> cases[] = {
      {"Index.HTML", "HTML"}, {"page.backup.html", "HTML"}, {"default.aspx", "HTML"}, {"x.php3", "HTML"},
      {"x.shtml", "HTML"},    {"x.jsp", "HTML"},            {"feed.xml", "XML"},      {"style.css", "CSS"},
      {"style.min.css", "None"}, {"data.xsl", "None"},      {"notes.txt", "None"},    {"Makefile", "None"},
  };
  for (const auto& [name, expected] : cases) {
    OpenPath(MakeFile(name, "x"));
    EXPECT_EQ(window->TBXComboBoxItem2->currentText().toStdString(), expected) << name;
    TSynCustomHighlighter* highlighter = Active().Highlighter();
    const char* shown = highlighter == window->synHTML.get()  ? "HTML"
                        : highlighter == window->synCSS.get() ? "CSS"
                        : highlighter == window->synXML.get() ? "XML"
                                                              : "None";
    EXPECT_STREQ(shown, expected) << name;
    EXPECT_EQ(window->findChild<TAction*>(QStringLiteral("actSH") + expected)->isChecked(), true) << name;
  }
  window->New();
  EXPECT_EQ(Active().Highlighter(), nullptr) << "an untitled page";
  EXPECT_EQ(window->TBXComboBoxItem2->currentText(), "None");
}

TEST_F(WorkspaceTest, APageCarriesEveryEditorSettingAndTheLookOfItsBorder) {
  Start();
  window->Settings.Font = "DejaVu Sans Mono";
  window->Settings.FontSize = 12;
  window->Settings.TabWidth = 3;
  window->Settings.VisRightMar = true;
  window->Settings.RightMarWidth = 72;
  window->Settings.UseTabChar = true;
  window->Settings.SmartTabs = false;
  window->Settings.AutoIndent = true;
  window->Settings.HalfPageScroll = true;
  window->New();
  TSynEdit& editor = Active();
  EXPECT_TRUE(editor.WantTabs);
  EXPECT_EQ(editor.Gutter().Width, 17);
  EXPECT_TRUE(editor.Gutter().Visible);
  EXPECT_FALSE(editor.Gutter().ShowLineNumbers);
  EXPECT_EQ(editor.SearchEngine, window->sesMain.get());
  EXPECT_EQ(editor.Font(), (TFontSpec{"DejaVu Sans Mono", 12, 0}));
  EXPECT_EQ(editor.TabWidth(), 3);
  EXPECT_EQ(editor.RightEdge, 72);
  TSynEditorOptions options = editor.Options();
  EXPECT_TRUE(options & eoDropFiles);
  EXPECT_FALSE(options & eoTabsToSpaces) << "tab characters are wanted";
  EXPECT_FALSE(options & eoSmartTabs);
  EXPECT_TRUE(options & eoAutoIndent);
  EXPECT_TRUE(options & eoHalfPageScroll);
  EXPECT_FALSE(editor.WordWrap());

  window->Settings.VisRightMar = false;
  window->ApplyEditorSettings(editor);
  EXPECT_EQ(editor.RightEdge, 0);

  // Sunken edge around the editor, a 2-pixel gap at the page's right and bottom edges.
  Idle();
  QWidget* page = window->PageList[0];
  auto* border = page->findChild<QFrame*>("TALControlBorder");
  ASSERT_NE(border, nullptr);
  EXPECT_EQ(border->frameShadow(), QFrame::Sunken);
  EXPECT_EQ(ActiveWidget().frameShape(), QFrame::NoFrame);
  EXPECT_EQ(page->width() - border->geometry().right() - 1, 2);
  EXPECT_EQ(page->height() - border->geometry().bottom() - 1, 2);
}

TEST_F(WorkspaceTest, ClosingAPageActivatesTheLastOneAndTheEmptyWorkspaceShowsThePlainPanel) {
  Start();
  for (const char* name : {"a.html", "b.css", "c.xml"}) OpenPath(MakeFile(name, name));
  window->SetActivePage(1);
  window->CloseActiveDocument();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"a.html", "c.xml"}));
  EXPECT_EQ(window->ActiveIndex(), 1) << "the last page, which here is also the neighbour";
  OpenPath(MakeFile("d.txt", "d"));
  window->SetActivePage(0);
  window->CloseActiveDocument();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"c.xml", "d.txt"}));
  EXPECT_EQ(window->ActiveIndex(), 1) << "the last page, not the neighbour of the closed one";
  EXPECT_EQ(window->StatusPanelText(3).toStdString(), " " + (dir / "d.txt"));
  EXPECT_EQ(window->TBXComboBoxItem2->currentText(), "None");
  window->CloseActiveDocument();
  EXPECT_EQ(window->ActiveIndex(), 0);
  EXPECT_EQ(window->TBXComboBoxItem2->currentText(), "XML") << "the refresh shows the page now active";
  EXPECT_EQ(window->PathList, std::vector<std::string>{dir / "c.xml"});
  ASSERT_EQ(window->EditorList.size(), 1u);
  EXPECT_EQ(window->EditorList[0]->Editor().Text(), "c.xml");

  window->CloseActiveDocument();
  Idle();
  EXPECT_EQ(window->DocumentCount(), 0);
  EXPECT_TRUE(window->panNoDocsOpen->isVisible());
  for (int panel : {0, 1, 3}) EXPECT_EQ(window->StatusPanelText(panel), "") << panel;
  EXPECT_FALSE(window->TBXComboBoxItem2->isEnabled());
  EXPECT_FALSE(window->lblHighlighting->isEnabled());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WorkspaceTest, TheStatusBarShowsTheCaretAndThePathOfTheActiveDocument) {
  Start();
  window->New();
  EXPECT_EQ(window->StatusPanelText(3), " Untitled");
  EXPECT_EQ(window->StatusPanelText(0), "Ln: 1");
  Type("ab");
  Key(Qt::Key_Return);
  Type("c");
  EXPECT_EQ(window->StatusPanelText(0), "Ln: 2") << "a key's release shows the caret";
  EXPECT_EQ(window->StatusPanelText(1), "Col: 2");

  std::string path = MakeFile("site/index.html", "<p>one</p>\n<p>two</p>\n");
  OpenPath(path);
  EXPECT_EQ(window->StatusPanelText(3).toStdString(), " " + path);
  EXPECT_EQ(window->StatusPanelText(0), "Ln: 1");
  // A click in the text shows where it put the caret.
  TSynEdit& editor = Active();
  auto [x, y] = editor.ClientPoint(editor.DisplayPosition({4, 2}));
  QTest::mouseClick(ActiveWidget().viewport(), Qt::LeftButton, {}, QPoint(x + 1, y + editor.LineHeight() / 2));
  EXPECT_EQ(window->StatusPanelText(0), "Ln: 2");
  EXPECT_EQ(window->StatusPanelText(1), "Col: 4");

  // Changing pages as the mouse does updates every panel and the highlighting controls.
  window->pcMain->tabBar()->setCurrentIndex(0);
  EXPECT_EQ(window->StatusPanelText(3), " Untitled");
  EXPECT_EQ(window->StatusPanelText(0), "Ln: 2");
  EXPECT_EQ(window->StatusPanelText(1), "Col: 2");
  EXPECT_EQ(window->TBXComboBoxItem2->currentText(), "None");
  EXPECT_TRUE(window->actSHNone->isChecked());
  window->pcMain->tabBar()->setCurrentIndex(1);
  EXPECT_EQ(window->TBXComboBoxItem2->currentText(), "HTML");
  EXPECT_TRUE(window->actSHHTML->isChecked());
  EXPECT_FALSE(window->actSHNone->isChecked());
}

TEST_F(WorkspaceTest, TheSaveStateMovesFromOpenedToChangedToSaved) {
  Start();
  window->New();
  EXPECT_EQ(Active().Tag, 0);
  Type("x");
  EXPECT_EQ(Active().Tag, 0) << "a new document never becomes 'changed'";
  EXPECT_TRUE(Active().Modified());

  std::string path = MakeFile("page.html", "old\n");
  OpenPath(path);
  EXPECT_EQ(Active().Tag, 1);
  Type("N");
  EXPECT_EQ(Active().Tag, 2);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Active().Tag, 2) << "an undo is a change too";
  Type("ew ");
  window->Save();
  EXPECT_EQ(Active().Tag, 1);
  EXPECT_EQ(ReadFile(path), "ew old\n");
}

TEST_F(WorkspaceTest, ClosingAsksOnlyForUnsavedWork) {
  Start();
  window->New();
  window->CloseActiveDocument();
  EXPECT_TRUE(dialogs.shown.empty()) << "an untitled page never typed into";

  OpenPath(MakeFile("keep.css", "a {}\n"));
  window->CloseActiveDocument();
  EXPECT_TRUE(dialogs.shown.empty()) << "an opened file that was not changed";

  OpenPath(MakeFile("keep.css", "a {}\n"));
  Type("b");
  dialogs.Answer(TModalResult::mrCancel);
  window->CloseActiveDocument();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Save changes to keep.css?");
  EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtConfirmation);
  EXPECT_EQ(dialogs.shown[0].buttons, mbYes | mbNo | mbCancel);
  EXPECT_TRUE(window->CloseCancelled);
  EXPECT_EQ(window->DocumentCount(), 1);

  dialogs.Answer(TModalResult::mrYes);
  window->CloseActiveDocument();
  EXPECT_EQ(window->DocumentCount(), 0);
  EXPECT_EQ(ReadFile(dir / "keep.css"), "ba {}\n") << "Yes saves a changed file under its path";

  window->New();
  Type("draft");
  dialogs.Answer(TModalResult::mrNo);
  window->CloseActiveDocument();
  EXPECT_EQ(Texts().back(), "Save changes to Untitled?");
  EXPECT_EQ(window->DocumentCount(), 0);
}

TEST_F(WorkspaceTest, YesThenACancelledOrFailedSaveKeepsThePageAndStopsCloseAll) {
  Start();
  OpenPath(MakeFile("first.html", "1"));
  window->New();
  Type("precious");

  // Yes, then Save As is cancelled: the page and its text stay, Close All stops there.
  dialogs.Answer(TModalResult::mrYes);
  dialogs.CancelFileDialog();
  window->actCloseAll->trigger();
  EXPECT_EQ(dialogs.fileDialogsShown.size(), 1u);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"first.html", "Untitled"}));
  EXPECT_EQ(Active().Text(), "precious");
  EXPECT_TRUE(window->CloseCancelled);

  // Yes, then the file cannot be created: the error names it, the page stays.
  MakeFile("plain", "");
  dialogs.Answer(TModalResult::mrYes);
  dialogs.ChooseFiles({dir / "plain/draft.html"});
  window->actCloseAll->trigger();
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[2].text, "Cannot create file \"" + (dir / "plain/draft.html") + "\". Not a directory");
  EXPECT_EQ(window->DocumentCount(), 2);
  EXPECT_EQ(Active().Text(), "precious");
  EXPECT_EQ(window->PathList[1], ";");
  EXPECT_EQ(window->PageCaption(1), "Untitled");

  // The main window's close stops the same way and stays open.
  dialogs.Answer(TModalResult::mrYes);
  dialogs.CancelFileDialog();
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->Closing);
  EXPECT_EQ(window->DocumentCount(), 2);
}

TEST_F(WorkspaceTest, ClosingTheWindowAsksFromTheLastPageAndCancelKeepsWhatIsLeft) {
  Start();
  OpenPath(MakeFile("one.html", "1"));
  Type("a");
  OpenPath(MakeFile("two.html", "2"));
  Type("b");
  dialogs.Answer(TModalResult::mrNo);
  dialogs.Answer(TModalResult::mrCancel);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(Texts(), (std::vector<std::string>{"Save changes to two.html?", "Save changes to one.html?"}));
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(Captions(), std::vector<std::string>{"one.html"});
  EXPECT_EQ(ReadFile(dir / "two.html"), "2");

  dialogs.Answer(TModalResult::mrNo);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(window->DocumentCount(), 0);
}

TEST_F(WorkspaceTest, DroppedFilesOpenInOrderAndAnOpenOneComesForward) {
  Start();
  std::string a = MakeFile("a.css", "a"), b = MakeFile("b.xml", "b");
  OpenPath(a);
  window->New();
  Active().DropFiles(5, 5, {b, a});
  Idle();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"a.css", "Untitled", "b.xml"}));
  EXPECT_EQ(window->ActiveIndex(), 0) << "the file already open comes forward";
  EXPECT_EQ(window->Settings.File[0], a);
  EXPECT_EQ(window->Settings.File[1], b);
}

TEST_F(WorkspaceTest, TwoFilesOfOneNameGetTwoPagesAndTheFilePanelTellsThemApart) {
  Start();
  std::string first = MakeFile("one/index.html", "1"), second = MakeFile("two/index.html", "2");
  OpenPath(first);
  OpenPath(second);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"index.html", "index.html"}));
  EXPECT_EQ(window->StatusPanelText(3).toStdString(), " " + second);
  window->pcMain->tabBar()->setCurrentIndex(0);
  EXPECT_EQ(window->StatusPanelText(3).toStdString(), " " + first);
}

}  // namespace
}  // namespace tarnwick
