#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <sstream>

#include "editor/SynEditTextBuffer.h"
#include "platform/FileErrors.h"
#include "support/TempDir.h"

namespace tarnwick {
namespace {

using test::ReadFile;
using test::TTempDir;
using test::WriteFile;
using Style = TSynEditLineBreakStyle;

std::vector<std::string> LinesOf(const TSynEditStringList& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i).Str());
  return lines;
}

// Records the notifications in the order they arrive.
struct TNotificationLog {
  std::vector<std::string> events;

  explicit TNotificationLog(TSynEditStringList& list) {
    list.OnUpdateBegin = [this](TSynEditStringList&) { events.push_back("begin"); };
    list.OnUpdateEnd = [this](TSynEditStringList&) { events.push_back("end"); };
    list.OnLinesCleared = [this](TSynEditStringList&) { events.push_back("cleared"); };
    auto lines = [this](const char* what) {
      return [this, what](TSynEditStringList&, int index, int count) {
        events.push_back(std::string(what) + " " + std::to_string(index) + "," + std::to_string(count));
      };
    };
    list.OnLinesAdded = lines("added");
    list.OnLinesRemoved = lines("removed");
    list.OnLinesReplaced = lines("replaced");
  }
  std::vector<std::string> Take() { return std::exchange(events, {}); }
};

TEST(TextBufferLoad, SplitsLinesAndTakesTheFilesLineBreak) {
  struct TCase {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
    Style style;
    std::string saved;
  };
  const TCase cases[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}, Style::lbCRLF, "a\r\nb\r\n"},
      {"LF", "a\nb\n", {"a", "b"}, Style::lbLF, "a\nb\n"},
      {"CR", "a\rb\r", {"a", "b"}, Style::lbCR, "a\rb\r"},
      {"LF CR is two breaks", "\n\r", {"", ""}, Style::lbCRLF, "\r\n\r\n"},
      {"CR CR LF", "a\r\r\nb", {"a", "", "b"}, Style::lbCRLF, "a\r\n\r\nb\r\n"},
      {"empty file", "", {}, Style::lbLF, ""},
      {"no break at all", "a", {"a"}, Style::lbLF, "a\n"},
      {"no final break", "a\nb", {"a", "b"}, Style::lbLF, "a\nb\n"},
      {"NUL inside a line", std::string("x\0y\nz\n", 6), {std::string("x\0y", 3), "z"}, Style::lbLF,
       std::string("x\0y\nz\n", 6)},
      {"invalid UTF-8 kept", "\xff\xc3(\xe2\x82\n", {"\xff\xc3(\xe2\x82"}, Style::lbLF, "\xff\xc3(\xe2\x82\n"},
  };
  TTempDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(dir / "in.txt", c.bytes);
    TSynEditStringList list;
    list.LoadFile(dir / "in.txt");
    EXPECT_EQ(LinesOf(list), c.lines);
    EXPECT_EQ(list.LineBreakStyle(), c.style);
    list.SaveFile(dir / "out.txt");
    EXPECT_EQ(ReadFile(dir / "out.txt"), c.saved);

    std::istringstream in(c.bytes);
    TSynEditStringList streamed;
    streamed.ReadStream(in);
    EXPECT_EQ(LinesOf(streamed), c.lines);
    std::ostringstream out;
    streamed.WriteStream(out);
    EXPECT_EQ(out.str(), c.saved);
  }
}

TEST(TextBufferLoad, WithoutTerminatingTheLastLineAFinalBreakIsAnEmptyLine) {
  TSynEditStringList list;
  list.SetTerminateLastLine(false);
  std::istringstream in("a\nb\n");
  list.ReadStream(in);
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"a", "b", ""}));
  std::ostringstream out;
  list.WriteStream(out);
  EXPECT_EQ(out.str(), "a\nb\n");
}

TEST(TextBufferLoad, LinesShareTheBytesOfTheFileAndAFailedLoadKeepsTheText) {
  TTempDir dir;
  WriteFile(dir / "page.html", "<p>\none\n");
  TSynEditStringList list;
  list.LoadFile(dir / "page.html");
  EXPECT_EQ(list.Get(0).data() + 4, list.Get(1).data()) << "one block for the whole file";
  EXPECT_EQ(list.LineRange(0), UnsetRange);
  EXPECT_EQ(list.LineFlags(0), LengthStale);

  try {
    list.LoadFile(dir / "missing.html");
    ADD_FAILURE() << "a missing file loaded";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + dir / "missing.html" + "\". No such file or directory");
  }
  EXPECT_THROW(list.LoadFile(dir.Path()), EFOpenError) << "a folder is no file";
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"<p>", "one"}));
}

TEST(TextBufferText, JoinsWithCRLFAndCutsAtEveryBreakAndTheFirstNul) {
  TSynEditStringList list;
  std::istringstream in("a\nb\n");
  list.ReadStream(in);
  EXPECT_EQ(list.Text(), "a\r\nb");

  list.SetText(std::string("x\0y", 3));
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"x"}));
  list.SetText("1\r\n2\n3\r4\r\n");
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"1", "2", "3", "4"}));
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Text(), "");
}

TEST(TextBufferSave, EmptyBuffersAndEmptyLines) {
  TTempDir dir;
  TSynEditStringList list;
  list.SaveFile(dir / "empty.txt");
  EXPECT_EQ(ReadFile(dir / "empty.txt"), "");
  list.Add("");
  list.SetLineBreakStyle(Style::lbCRLF);
  list.SaveFile(dir / "one.txt");
  EXPECT_EQ(ReadFile(dir / "one.txt"), "\r\n");
}

TEST(TextBufferSave, LinesLongerThanTheWriteBufferSaveWhole) {
  TTempDir dir;
  TSynEditStringList list;
  std::string longLine(40000, 'x');
  list.Add("short");
  list.Add(longLine);
  list.Add(std::string(16383, 'y'));
  list.Add("end");
  list.SaveFile(dir / "long.txt");
  EXPECT_EQ(ReadFile(dir / "long.txt"), "short\n" + longLine + "\n" + std::string(16383, 'y') + "\nend\n");
}

TEST(TextBufferSave, ReplacesTheFileKeepingItsModeAndFollowingLinks) {
  TTempDir dir;
  WriteFile(dir / "real.html", "old\n");
  ::chmod((dir / "real.html").c_str(), 0640);
  std::filesystem::create_symlink("real.html", dir / "link.html");
  TSynEditStringList list;
  list.Add("new");
  list.SaveFile(dir / "link.html");

  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.html")) << "the link stays a link";
  EXPECT_EQ(ReadFile(dir / "real.html"), "new\n");
  struct stat info {};
  ::stat((dir / "real.html").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2) << "no temporary file left";
}

TEST(TextBufferSave, AFailedSaveRaisesAndLeavesTheOldFileExactlyAsItWas) {
  TTempDir dir;
  std::string target = dir / "page.html";
  WriteFile(target, "the old text\n");
  TSynEditStringList list;
  for (int i = 0; i < 2000; ++i) list.Add("a line of the new text that will not fit");

  // The file size limit stands in for a full disk: writing stops part way through.
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 20000;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &small);
  std::string message;
  try {
    list.SaveFile(target);
  } catch (const EFCreateError& e) {
    message = e.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_EQ(message, "Cannot create file \"" + target + "\". File too large");
  EXPECT_EQ(ReadFile(target), "the old text\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary file left";

  try {
    list.SaveFile(dir / "no/such/folder/page.html");
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot create file \"" + dir / "no/such/folder/page.html" + "\". No such file or directory");
  }
}

TEST(TextBufferSave, AFolderThatTakesNoNewFileStillLetsAWritableFileBeSaved) {
  TTempDir dir;
  std::string folder = dir / "locked";
  std::filesystem::create_directory(folder);
  WriteFile(folder + "/page.html", "old\n");
  // An immutable folder refuses new entries even to root; its files stay writable.
  if (std::system(("chattr +i " + folder + " 2>/dev/null").c_str()) != 0) GTEST_SKIP() << "no chattr here";
  TSynEditStringList list;
  list.Add("new");
  std::string error;
  try {
    list.SaveFile(folder + "/page.html");
  } catch (const EFCreateError& e) {
    error = e.what();
  }
  std::string content = ReadFile(folder + "/page.html");
  std::system(("chattr -i " + folder).c_str());
  EXPECT_EQ(error, "");
  EXPECT_EQ(content, "new\n");
}

TEST(TextBufferExpansion, TabsFillToTheNextStopForEveryKindOfWidth) {
  struct TCase {
    int width;
    std::string text, expanded;
    int columns;
  };
  const TCase cases[] = {
      {1, "a\tb", "a b", 3},
      {1, "\t\t", "  ", 2},
      {4, "a\tb", "a\t\t\tb", 5},
      {4, "abcd\tb", "abcd\t\t\t\tb", 9},
      {8, "\tx", "\t\t\t\t\t\t\t\tx", 9},
      {8, "1234567\t|", "1234567\t|", 9},
      {3, "a\tb\tc", "a\t\tb\t\tc", 7},
      {3, "\t\t", "\t\t\t\t\t\t", 6},
      {5, "ab\t", "ab\t\t\t", 5},
      {4, "\xc3\xa9\tx", "\xc3\xa9\t\t\tx", 5},        // a two-byte character is one column
      {4, "\xe4\xb8\xad\tx", "\xe4\xb8\xad\t\tx", 5},  // a wide character is two
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + ": " + c.text);
    TSynEditStringList list;
    list.SetTabWidth(c.width);
    list.Add(c.text);
    EXPECT_EQ(list.ExpandedText(0).Str(), c.expanded);
    EXPECT_EQ(list.LineFlags(0), TabsFound);
    EXPECT_EQ(list.ExpandedTextLength(0), c.columns);
  }
}

TEST(TextBufferExpansion, ColumnsCountCharactersNotBytes) {
  struct TCase {
    const char* what;
    std::string text;
    int columns;
  };
  const TCase cases[] = {
      {"ASCII", "abc", 3},
      {"two-byte", "K\xc3\xb6ln", 4},
      {"three-byte", "\xe2\x82\xac" "5", 2},
      {"wide", "\xe4\xb8\xad\xe6\x96\x87", 4},
      {"four-byte wide", "\xf0\x9f\x98\x80", 2},
      {"invalid byte", "a\xff" "b", 3},
      {"truncated sequence", "a\xe2\x82", 3},
      {"overlong form", "\xc0\xaf", 2},
      {"surrogate", "\xed\xa0\x80", 3},
  };
  for (const TCase& c : cases) {
    TSynEditStringList list;
    list.Add(c.text);
    EXPECT_EQ(list.ExpandedTextLength(0), c.columns) << c.what;
    EXPECT_EQ(list.LineFlags(0), NoTabsFound) << c.what;
    EXPECT_TRUE(list.ExpandedText(0).SharesBytesWith(list.Get(0))) << c.what << ": no copy without tabs";
  }
}

TEST(TextBufferExpansion, TheCacheFollowsReplacementsAndTabWidthChanges) {
  TSynEditStringList list;
  list.Add("\tx");
  list.Add("plain");
  list.InsertEmptyLines(2, 1);
  EXPECT_EQ(list.LineFlags(2), 0) << "an empty inserted line is not stale";
  EXPECT_EQ(list.ExpandedTextLength(2), 0);
  EXPECT_EQ(list.ExpandedTextLength(0), 9);
  EXPECT_EQ(list.ExpandedTextLength(1), 5);
  list.SetTabWidth(2);
  EXPECT_EQ(list.LineFlags(0), TabsFound | LengthStale);
  EXPECT_EQ(list.LineFlags(1), LengthStale) << "NoTabsFound is cleared by a new width";
  EXPECT_EQ(list.ExpandedTextLength(0), 3);
  list.ReplaceLine(0, "ab");
  EXPECT_EQ(list.LineFlags(0), LengthStale);
  EXPECT_EQ(list.ExpandedTextLength(0), 2);
  list.SetTabWidth(0);
  EXPECT_EQ(list.TabWidth(), 1) << "a width below 1 is taken as 1";
}

TEST(TextBufferLongestLine, FindsTheFirstLongestAndFollowsAnExchange) {
  TSynEditStringList list;
  EXPECT_EQ(list.MaxExpandedLength(), 0);
  list.Add("");
  EXPECT_EQ(list.MaxExpandedLength(), 0);
  EXPECT_EQ(list.LongestLineIndex(), -1) << "nothing longer than 0";
  list.Add("abc");
  list.Add("\tz");  // 9 columns
  list.Add("123456789");
  EXPECT_EQ(list.MaxExpandedLength(), 9);
  EXPECT_EQ(list.LongestLineIndex(), 2);
  list.Exchange(2, 0);
  EXPECT_EQ(list.LongestLineIndex(), 0);
  EXPECT_EQ(list.MaxExpandedLength(), 9);
  list.ReplaceLine(3, "x");
  EXPECT_EQ(list.LongestLineIndex(), -1);
  list.SetTabWidth(4);
  EXPECT_EQ(list.MaxExpandedLength(), 5);
  EXPECT_EQ(list.LongestLineIndex(), 0);
}

TEST(TextBufferNotifications, ComeInsideTheBracketExceptForRemoveLines) {
  TSynEditStringList list;
  TNotificationLog log(list);
  using Events = std::vector<std::string>;

  list.Add("a");
  EXPECT_EQ(log.Take(), (Events{"begin", "added 0,1", "end"}));
  list.Insert(0, "b");
  EXPECT_EQ(log.Take(), (Events{"begin", "added 0,1", "end"}));
  list.ReplaceLine(1, "c");
  EXPECT_EQ(log.Take(), (Events{"begin", "replaced 1,1", "end"}));
  list.ReplaceLine(2, "d");
  EXPECT_EQ(log.Take(), (Events{"begin", "added 2,1", "end"})) << "at Count it adds";
  list.InsertEmptyLines(1, 3);
  EXPECT_EQ(log.Take(), (Events{"begin", "added 1,3", "end"}));
  EXPECT_EQ(list.AllocatedLines(), 6);
  list.InsertEmptyLines(6, 0);
  EXPECT_EQ(log.Take(), Events{});
  list.RemoveLines(4, 10);
  EXPECT_EQ(log.Take(), (Events{"begin", "end", "removed 4,2"})) << "cut at the end";
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"b", "", "", ""}));
  list.RemoveLines(4, 1);
  list.RemoveLines(0, 0);
  EXPECT_EQ(log.Take(), Events{});
  list.Delete(0);
  EXPECT_EQ(log.Take(), (Events{"begin", "removed 0,1", "end"}));
  list.Exchange(0, 1);
  list.SetLineRange(0, 7);
  EXPECT_EQ(log.Take(), (Events{"begin", "end", "begin", "end"}));

  list.OpenUpdate();
  list.Add("x");
  list.OpenUpdate();
  list.Delete(0);
  list.CloseUpdate();
  list.CloseUpdate();
  EXPECT_EQ(log.Take(), (Events{"begin", "added 3,1", "removed 0,1", "end"}));

  TSynEditStringList other;
  other.Add("1");
  other.Add("2");
  list.CopyLinesFrom(other);
  EXPECT_EQ(log.Take(), (Events{"begin", "cleared", "added 0,2", "end"}));
  list.AppendLines(TSynEditStringList());
  EXPECT_EQ(log.Take(), Events{});
  list.Clear();
  list.Clear();
  EXPECT_EQ(log.Take(), (Events{"begin", "cleared", "end"}));

  std::istringstream in("l1\nl2\n");
  list.ReadStream(in);
  EXPECT_EQ(log.Take(), (Events{"begin", "added 0,1", "added 1,1", "end"}));
  list.SetText("t");
  EXPECT_EQ(log.Take(), (Events{"begin", "cleared", "added 0,1", "end"}));
}

TEST(TextBufferErrors, BadIndexesRaiseAndChangeNothing) {
  TSynEditStringList list;
  list.Add("a");
  list.Add("b");
  TNotificationLog log(list);
  auto expectIndexError = [&](const std::function<void()>& call, int index) {
    try {
      call();
      ADD_FAILURE() << "no error for index " << index;
    } catch (const ESynEditStringList& e) {
      EXPECT_EQ(std::string(e.what()), "Invalid stringlist index " + std::to_string(index));
    }
  };
  expectIndexError([&] { list.Insert(3, "x"); }, 3);
  expectIndexError([&] { list.Insert(-1, "x"); }, -1);
  expectIndexError([&] { list.ReplaceLine(3, "x"); }, 3);
  expectIndexError([&] { list.Delete(2); }, 2);
  expectIndexError([&] { list.InsertEmptyLines(5, 0); }, 5);
  expectIndexError([&] { list.RemoveLines(3, 1); }, 3);
  expectIndexError([&] { list.Exchange(0, 2); }, 2);
  expectIndexError([&] { list.SetLineData(2, &list); }, 2);
  expectIndexError([&] { list.SetLineRange(-1, 0); }, -1);
  EXPECT_EQ(log.Take(), std::vector<std::string>{});
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"a", "b"}));

  EXPECT_EQ(list.Get(-1).Str(), "");
  EXPECT_EQ(list.Get(2).Str(), "");
  EXPECT_EQ(list.GetLineData(9), nullptr);
  EXPECT_EQ(list.LineRange(9), 0);
  EXPECT_EQ(list.ExpandedTextLength(9), 0);

  try {
    list.SetAllocatedLines(1);
    ADD_FAILURE() << "capacity below count";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "Stringlist capacity cannot be smaller than count");
  }
  EXPECT_EQ(list.AllocatedLines(), 16);
  list.SetAllocatedLines(2);
  EXPECT_EQ(list.AllocatedLines(), 2);
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"a", "b"}));
}

TEST(TextBufferStorage, GrowsBySixteenThenByAQuarterAndKeepsRecordsInOrderAroundTheGap) {
  TSynEditStringList list;
  std::vector<int> capacities;
  for (int i = 0; i < 100; ++i) {
    if (list.Count() == list.AllocatedLines()) capacities.push_back(list.AllocatedLines());
    list.Add(std::to_string(i));
  }
  EXPECT_EQ(capacities, (std::vector<int>{0, 16, 32, 48, 64, 80}));
  EXPECT_EQ(list.AllocatedLines(), 100);

  // Edits at scattered places move the gap about; the lines must stay in order.
  std::vector<std::string> model = LinesOf(list);
  for (int step = 0; step < 300; ++step) {
    int at = (step * 37) % (list.Count() + 1);
    if (step % 3 == 2 && at < list.Count()) {
      list.Delete(at);
      model.erase(model.begin() + at);
    } else {
      list.Insert(at, "n" + std::to_string(step));
      model.insert(model.begin() + at, "n" + std::to_string(step));
    }
  }
  EXPECT_EQ(LinesOf(list), model);

  TSynEditStringList appended;
  appended.Add("first");
  appended.AppendLines(list);
  EXPECT_EQ(appended.AllocatedLines(), (1 + list.Count() + 15) / 16 * 16);
  EXPECT_EQ(appended.Get(1).Str(), model[0]);
  EXPECT_TRUE(appended.Get(1).SharesBytesWith(list.Get(0))) << "appended lines share their text";
  EXPECT_EQ(appended.LineFlags(1), LengthStale);
}

TEST(TextBufferStorage, ALargeFileLoadsEditsAndSavesBackByteForByte) {
  TTempDir dir;
  std::string bytes;
  for (int i = 0; i < 150000; ++i) bytes += "<li class=\"n" + std::to_string(i) + "\">\titem</li>\r\n";
  WriteFile(dir / "big.html", bytes);
  TSynEditStringList list;
  list.LoadFile(dir / "big.html");
  ASSERT_EQ(list.Count(), 150000);
  EXPECT_EQ(list.LineBreakStyle(), Style::lbCRLF);
  for (int at : {149999, 0, 75000, 1}) {
    list.Insert(at, "inserted");
    list.Delete(at);
  }
  list.SaveFile(dir / "copy.html");
  EXPECT_TRUE(ReadFile(dir / "copy.html") == bytes);
  EXPECT_EQ(list.ExpandedText(7).Str(), "<li class=\"n7\">\titem</li>");
  EXPECT_EQ(list.ExpandedText(70).Str(), "<li class=\"n70\">\t\t\t\t\t\t\t\titem</li>");
}

TEST(TextBufferStorage, LineDataAndRangesTravelWithTheirLines) {
  TSynEditStringList list;
  int one = 1, two = 2;
  list.Add("a");
  list.Add("b");
  list.Add("c");
  list.SetLineData(1, &one);
  list.SetLineData(2, &two);
  list.SetLineRange(1, 42);
  list.Insert(0, "z");
  EXPECT_EQ(list.GetLineData(2), &one);
  EXPECT_EQ(list.LineRange(2), 42);
  list.Exchange(2, 3);
  EXPECT_EQ(list.GetLineData(2), &two);
  EXPECT_EQ(list.GetLineData(3), &one);
  EXPECT_EQ(list.LineRange(3), 42);
  list.Delete(2);
  EXPECT_EQ(list.GetLineData(2), &one);
  EXPECT_EQ(list.GetLineData(3), nullptr);
  list.ReplaceLine(2, "b2");
  EXPECT_EQ(list.GetLineData(2), &one) << "a replaced line keeps its data and range";
  EXPECT_EQ(list.LineRange(2), 42);

  TSynEditStringList copy;
  copy.CopyLinesFrom(list);
  EXPECT_EQ(copy.GetLineData(2), &one);
  EXPECT_EQ(copy.LineRange(2), UnsetRange);
}

TEST(TextBufferStorage, HandedOutTextOutlivesTheLine) {
  TSynEditStringList list;
  list.SetText("keep me\nother");
  TLineText held = list.Get(0);
  list.Clear();
  EXPECT_EQ(held.Str(), "keep me");
}

}  // namespace
}  // namespace tarnwick
