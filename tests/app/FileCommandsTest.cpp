#include <QMenu>
#include <QTabWidget>

#include <sys/stat.h>

#include "app/MainWindowFixture.h"
#include "app/Misc.h"

namespace tarnwick {
namespace {

using test::ReadFile;

class FileCommandsTest : public test::MainWindowFixture {};

TEST_F(FileCommandsTest, NewStartsFromTheTemplateWhenItExists) {
  Start();
  window->Settings.StartupTemplate = MakeFile("template.html", "<html>\n</html>\n");
  window->New();
  EXPECT_EQ(Active().Text(), "<html>\r\n</html>");
  EXPECT_EQ(Active().Tag, 0);
  EXPECT_FALSE(Active().Modified());
  EXPECT_EQ(window->PathList.back(), ";");
  EXPECT_EQ(Active().Highlighter(), nullptr);

  for (std::string missing : {std::string(), dir / "gone.html", dir.Path()}) {
    window->Settings.StartupTemplate = missing;
    window->New();
    EXPECT_EQ(Active().Text(), "") << missing;
  }
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Captions(), (std::vector<std::string>(4, "Untitled")));
}

TEST_F(FileCommandsTest, OpenTakesTheDialogsFilesInOrderAndBringsAnOpenOneForward) {
  Start();
  std::string a = MakeFile("a.html", "a\n"), b = MakeFile("b.css", "b\n"), c = MakeFile("c.xml", "c\n");
  dialogs.ChooseFiles({a, b, c});
  window->actOpen->trigger();
  ASSERT_EQ(dialogs.fileDialogsShown.size(), 1u);
  const TFileDialog& shown = dialogs.fileDialogsShown[0];
  ASSERT_EQ(shown.filters.size(), 3u);
  EXPECT_EQ(shown.filterIndex, 2);
  EXPECT_EQ(shown.filters[0].label, "All Files (*.*)");
  EXPECT_EQ(shown.filters[1].patterns,
            "*.htm;*.html;*.shtml;*.shtm;*.stm;*.asp;*.aspx;*.css;*.htt;*.inc;*hta;*.htc;*.jsp;*.cfm;*.phtml;*.php;"
            "*.php2;*.php3;*.xml;*.xsl");
  EXPECT_EQ(shown.filters[2].label, "Text File (*.txt)");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"a.html", "b.css", "c.xml"}));
  EXPECT_EQ(window->ActiveIndex(), 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Editor(i).Tag, 1);
  EXPECT_EQ(window->Settings.File[0], c);
  EXPECT_EQ(window->opdMain.folder, dir.Path() + "/") << "the folder chosen is kept for the next showing";

  // Already open, also when named another way: only its page comes forward, without a reload.
  Editor(0).SetSelectedText("edited ");
  MakeFile("sub/x", "");
  OpenPath(dir / "sub/../a.html");
  EXPECT_EQ(window->DocumentCount(), 3);
  EXPECT_EQ(window->ActiveIndex(), 0);
  EXPECT_EQ(Active().Text(), "edited a");
  EXPECT_EQ(window->Settings.File[0], a);
  EXPECT_EQ(window->StatusPanelText(3).toStdString(), " " + a);

  // Letter case matters: another name is another file.
  std::string upper = MakeFile("A.html", "A\n");
  OpenPath(upper);
  EXPECT_EQ(window->DocumentCount(), 4);

  dialogs.CancelFileDialog();
  window->actOpen->trigger();
  EXPECT_EQ(window->DocumentCount(), 4);
}

TEST_F(FileCommandsTest, AFileThatCannotBeReadLeavesAnEmptyPageAndStopsTheRest) {
  Start();
  std::string good = MakeFile("good.html", "g\n"), folder = dir / "site";
  std::filesystem::create_directories(folder);
  dialogs.ChooseFiles({good, folder, MakeFile("after.css", "x\n")});
  window->actOpen->trigger();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Cannot open file \"" + folder + "\". Is a directory");
  EXPECT_EQ(dialogs.shown[0].type, TMsgDlgType::mtError);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"good.html", "site"}));
  EXPECT_EQ(Active().Tag, 0);
  EXPECT_EQ(Active().Text(), "");
  EXPECT_EQ(window->PathList[1], folder);
  EXPECT_EQ(window->Settings.File[0], good) << "the recent files are not changed by the failure";
  EXPECT_EQ(window->Settings.File[1], "");
}

TEST_F(FileCommandsTest, BinaryBytesSurviveAnOpenAndASave) {
  Start();
  std::string bytes("GIF89a\x00\x01\xff\xfe\n\x80\x00zz\n", 16);
  std::string path = MakeFile("image.gif", bytes);
  OpenPath(path);
  EXPECT_TRUE(dialogs.shown.empty());
  window->Save();
  EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(FileCommandsTest, SaveAsAsksItsOwnQuestionBeforeOverwriting) {
  Start();
  window->New();
  Type("hello");
  std::string existing = MakeFile("existing.html", "keep\n");

  dialogs.ChooseFiles({existing});
  dialogs.Answer(TModalResult::mrNo);
  window->actSave->trigger();
  ASSERT_EQ(dialogs.fileDialogsShown.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogsShown[0].title, "Save \"Untitled\" As");
  EXPECT_EQ(dialogs.fileDialogsShown[0].fileName, "Untitled");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "File " + existing + " already exists. Overwrite?");
  EXPECT_EQ(dialogs.shown[0].buttons, mbYes | mbNo);
  EXPECT_EQ(ReadFile(existing), "keep\n");
  EXPECT_EQ(window->PathList[0], ";");
  EXPECT_EQ(window->PageCaption(0), "Untitled");
  EXPECT_EQ(Active().Tag, 0);

  dialogs.ChooseFiles({existing});
  dialogs.Answer(TModalResult::mrYes);
  window->actSaveAs->trigger();
  EXPECT_EQ(ReadFile(existing), "hello\n");
  EXPECT_EQ(window->PageCaption(0), "existing.html");
  EXPECT_EQ(window->StatusPanelText(3).toStdString(), " " + existing);
  EXPECT_EQ(Active().Tag, 1);
  EXPECT_EQ(Active().Highlighter(), nullptr) << "Save As keeps the highlighter";
  EXPECT_EQ(window->Settings.File[0], "") << "nor does it add a recent file";

  // A name without an extension is saved exactly so, and the title shows the current caption.
  dialogs.ChooseFiles({dir / "README"});
  window->actSaveAs->trigger();
  EXPECT_EQ(dialogs.fileDialogsShown.back().title, "Save \"existing.html\" As");
  EXPECT_EQ(ReadFile(dir / "README"), "hello\n");
  EXPECT_EQ(window->PageCaption(0), "README");
}

TEST_F(FileCommandsTest, AFailedSaveKeepsTheStateAndTheOldFile) {
  Start();
  std::string path = MakeFile("ro/page.html", "old\n");
  OpenPath(path);
  Type("new ");
  // A read-only file in a read-only folder; as root nothing is read-only, so the folder is
  // swapped for a file of the same name to make the write fail the same way.
  std::filesystem::rename(dir / "ro", dir / "ro-moved");
  MakeFile("ro", "");
  window->actSave->trigger();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Cannot create file \"" + path + "\". Not a directory");
  EXPECT_EQ(Active().Tag, 2);
  EXPECT_EQ(window->PathList[0], path);
  EXPECT_EQ(ReadFile(dir / "ro-moved/page.html"), "old\n");
  EXPECT_TRUE(window->actSave->isEnabled());
}

TEST_F(FileCommandsTest, SaveAllSavesEveryPageAndAnUntitledOneThroughItsOwnDialog) {
  Start();
  std::string a = MakeFile("a.css", "a\n"), b = MakeFile("b.css", "b\n");
  OpenPath(a);
  window->New();
  Type("one");
  OpenPath(b);
  window->New();
  Type("two");
  window->SetActivePage(2);
  Editor(0).SetSelectedText("A");
  Editor(2).SetSelectedText("B");

  dialogs.CancelFileDialog();  // the first untitled page is skipped
  dialogs.ChooseFiles({dir / "two.txt"});
  window->actSaveAll->trigger();
  EXPECT_EQ(dialogs.fileDialogsShown.size(), 2u);
  EXPECT_EQ(dialogs.fileDialogsShown[1].title, "Save \"Untitled\" As");
  EXPECT_EQ(ReadFile(a), "Aa\n");
  EXPECT_EQ(ReadFile(b), "Bb\n");
  EXPECT_EQ(ReadFile(dir / "two.txt"), "two\n");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"a.css", "Untitled", "b.css", "two.txt"}));
  EXPECT_EQ(window->ActiveIndex(), 2) << "the active page does not change";
  EXPECT_FALSE(window->SavingAll);

  // Afterwards Save works on the active page again.
  Type("C");
  window->actSave->trigger();
  EXPECT_EQ(ReadFile(b), "BCb\n");
}

TEST_F(FileCommandsTest, RecentFilesMoveToTheFrontAndReopenShowsThem) {
  const std::pair<const char*, std::array<const char*, 5>> cases[] = {
      {"1", {"1", "2", "3", "4", "5"}}, {"2", {"2", "1", "3", "4", "5"}}, {"3", {"3", "1", "2", "4", "5"}},
      {"4", {"4", "1", "2", "3", "5"}}, {"5", {"5", "1", "2", "3", "4"}}, {"new", {"new", "1", "2", "3", "4"}},
  };
  for (const auto& [path, expected] : cases) {
    std::array<std::string, 5> files{"1", "2", "3", "4", "5"};
    AddToRecentFiles(files, path);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(files[i], expected[i]) << path << " " << i;
  }

  Start();
  std::array<std::string, 5> paths;
  for (int i = 4; i >= 0; --i) {
    paths[i] = MakeFile("f" + std::to_string(i) + " & co.html", "x\n");
    OpenPath(paths[i]);
  }
  window->CloseAll();
  window->mnuReopen->popup({0, 0});
  window->mnuReopen->hide();
  EXPECT_EQ(window->actReopen[0]->text().toStdString(), "&1  " + dir / "f0 && co.html");
  for (TAction* action : window->actReopen) EXPECT_TRUE(action->isVisible());

  window->actReopen[2]->trigger();
  EXPECT_EQ(Captions(), std::vector<std::string>{"f2 & co.html"});
  EXPECT_EQ(window->pcMain->tabText(0), "f2 && co.html") << "the tab shows the \"&\" itself";
  EXPECT_EQ(window->Settings.File[0], paths[2]);
  EXPECT_EQ(window->Settings.File[1], paths[0]);
  EXPECT_EQ(window->Settings.File[2], paths[1]);
  EXPECT_EQ(window->Settings.File[3], paths[3]);
  EXPECT_EQ(window->Settings.File[4], paths[4]);

  // A vanished entry fails as an unreadable file does, and stays in the list.
  std::filesystem::remove(paths[4]);
  window->RefreshReopenItems();
  window->actReopen[4]->trigger();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Cannot open file \"" + paths[4] + "\". No such file or directory"});
  EXPECT_EQ(window->Settings.File[4], paths[4]);

  window->Settings.File[3].clear();
  window->RefreshReopenItems();
  EXPECT_FALSE(window->actReopen[3]->isVisible());
}

class CommandLineTest : public test::MainWindowFixture {};

TEST_F(CommandLineTest, BareNamesAreFoundBesideTheProgramAndEachFileOpensOnce) {
  system.programFolder = dir / "program/";
  std::string beside = MakeFile("program/index.html", "<p>\n");
  std::string other = MakeFile("docs/site.css", "a {}\n");
  Start({"index.html", other, "nothing-here.html", other});
  EXPECT_EQ(Captions(), (std::vector<std::string>{"index.html", "site.css"}));
  EXPECT_EQ(window->PathList[0], beside);
  EXPECT_EQ(window->ActiveIndex(), 1);
  EXPECT_TRUE(dialogs.shown.empty()) << "a name that is no file is skipped silently";
}

TEST_F(CommandLineTest, NamesThatExistNowhereOpenNothingEvenWithANewPageAtStartup) {
  newPageStartup = true;
  Start({dir / "a.html", "b.html"});
  EXPECT_EQ(window->DocumentCount(), 0);
  EXPECT_TRUE(window->panNoDocsOpen->isVisible());
}

TEST_F(CommandLineTest, WithoutArgumentsANewPageOpensWhenSet) {
  newPageStartup = true;
  Start();
  EXPECT_EQ(Captions(), std::vector<std::string>{"Untitled"});
}

TEST_F(CommandLineTest, AFolderIsReportedAndTheArgumentsAfterItAreNotOpened) {
  std::filesystem::create_directories(dir / "folder");
  Start({dir / "folder", MakeFile("later.html", "x\n")});
  EXPECT_EQ(Texts(), std::vector<std::string>{"Cannot open file \"" + (dir / "folder") + "\". Is a directory"});
  EXPECT_EQ(Captions(), std::vector<std::string>{"folder"});
}

}  // namespace
}  // namespace tarnwick
