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

}  // namespace
}  // namespace tarnwick
