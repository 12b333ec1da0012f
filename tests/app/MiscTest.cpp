#include <gtest/gtest.h>
#include <unistd.h>

#include "app/Misc.h"
#include "support/TempDir.h"

namespace tarnwick {
namespace {

using test::TTempDir;
using test::WriteFile;

TEST(ResolveParamPath, LooksInTheCurrentFolderFirstThenBesideTheProgram) {
  TTempDir here, program;
  WriteFile(here / "local.html", "");
  WriteFile(program / "index.html", "");
  char saved[4096];
  ASSERT_NE(::getcwd(saved, sizeof saved), nullptr);
  ASSERT_EQ(::chdir(here.Path().c_str()), 0);

  struct TCase {
    std::string param, resolved;
  };
  const TCase cases[] = {
      {"local.html", here / "local.html"},
      {"index.html", program / "index.html"},
      {"missing.html", program / "missing.html"},
      {"sub/../local.html", here / "local.html"},
      {"./sub/page.css", here / "sub/page.css"},
      {"/abs//dir/./x.xml", "/abs/dir/x.xml"},
  };
  for (const TCase& c : cases) EXPECT_EQ(ResolveParamPath(c.param, program.Path() + "/"), c.resolved) << c.param;
  ASSERT_EQ(::chdir(saved), 0);
}

TEST(PathFunctions, SplitAtTheLastSlashAndTheFirstFullStop) {
  EXPECT_EQ(FileNameOfPath("/site/css/style.css"), "style.css");
  EXPECT_EQ(FileNameOfPath("style.css"), "style.css");
  EXPECT_EQ(FileNameOfPath("/site/"), "");
  EXPECT_EQ(FileNameOfPath(";"), ";") << "an untitled document's entry is its own name";
  EXPECT_EQ(FolderOfPath("/site/css/style.css"), "/site/css/");
  EXPECT_EQ(FolderOfPath("/x"), "/");
  EXPECT_THROW(FolderOfPath("style.css"), EPathError);
  EXPECT_EQ(TrimTrailingSlash("/site/"), "/site");
  EXPECT_EQ(TrimTrailingSlash("C:\\web\\"), "C:\\web");
  EXPECT_EQ(TrimTrailingSlash("/site"), "/site");
  EXPECT_EQ(TrimTrailingSlash(""), "");
  EXPECT_EQ(ToForwardSlashes("\\css\\img\\"), "/css/img/");
  EXPECT_EQ(FileNameSuffix("a.b.html"), "b.html");
  EXPECT_EQ(FileNameSuffix("Makefile"), "");
}

TEST(HighlighterKindForName, TheFirstMatchingRuleOnTheLowerCaseSuffixWins) {
  struct TCase {
    const char* name;
    THighlighterKind kind;
  };
  const TCase cases[] = {
      {"Index.HTML", THighlighterKind::Html},    {"page.backup.html", THighlighterKind::Html},
      {"default.aspx", THighlighterKind::Html},  {"x.php3", THighlighterKind::Html},
      {"x.shtml", THighlighterKind::Html},       {"login.jsp", THighlighterKind::Html},
      {"x.jspx", THighlighterKind::None},        {"feed.xml", THighlighterKind::Xml},
      {"FEED.XML", THighlighterKind::Xml},       {"style.css", THighlighterKind::Css},
      {"style.min.css", THighlighterKind::None}, {"data.xsl", THighlighterKind::None},
      {"notes.txt", THighlighterKind::None},     {"README", THighlighterKind::None},
      {"", THighlighterKind::None},              {"html.css", THighlighterKind::Css},
  };
  for (const TCase& c : cases) EXPECT_EQ(HighlighterKindForName(c.name), c.kind) << c.name;
}

}  // namespace
}  // namespace tarnwick
