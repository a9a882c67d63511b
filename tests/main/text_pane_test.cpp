// Text panes on the in-memory view: the text-view contract, line-break normalising,
// appending, trimming a full pane, and loading and saving through the file layer.
#include "main/text_pane.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <thread>
#include <vector>

#include "_4str32/exceptions.h"
#include "fakes/fake_files.h"
#include "fakes/temp_dir.h"
#include "main/memory_text_view.h"
#include "main/text_view_contract.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace std::string_literals;

// The text-view contract on the in-memory view.
struct MemoryViews {
  static std::unique_ptr<TextView> Make(size_t capacity) {
    return std::make_unique<MemoryTextView>(capacity);
  }
  static void Settle(TextView&) {}
  static void EditInPlace(TextView& view) {
    auto& memory = static_cast<MemoryTextView&>(view);
    memory.UserEdit(memory.Text());
  }
};
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, TextViewContract, MemoryViews);

namespace {

std::vector<std::string> Lines(const TextPane& pane) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < pane.LineCount(); ++i) lines.push_back(pane.LineAt(i));
  return lines;
}

// A pane on an in-memory view that counts its change notifications.
struct CountedPane {
  explicit CountedPane(size_t capacity = kDefaultTextCapacity) : view(capacity) {
    pane.SetOnChange([this] { ++changes; });
  }
  MemoryTextView view;
  TextPane pane{view};
  int changes = 0;
};

TEST(TextPane, AddLineAppendsAfterABreakOrPutsOneBeforeTheLine) {
  CountedPane p;
  p.pane.AddLine("first");
  EXPECT_EQ(p.pane.GetWholeText(), "first\r\n");
  for (const char* line : {"second", "", "fourth"}) p.pane.AddLine(line);
  EXPECT_EQ(p.pane.LineCount(), 4u);
  EXPECT_EQ(Lines(p.pane), (std::vector<std::string>{"first", "second", "", "fourth"}));
  EXPECT_EQ(p.changes, 4);

  // The last line has no break yet: the break goes before the new line.
  p.pane.SetWholeText("open");
  p.pane.AddLine("next");
  EXPECT_EQ(p.pane.GetWholeText(), "open\r\nnext");
  p.pane.AddLine("a\0hidden"s);
  EXPECT_EQ(p.pane.GetWholeText(), "open\r\nnext\r\na");
}

TEST(TextPane, AddLineWithInnerBreaksAddsSeveralLinesInOneChange) {
  CountedPane p;
  p.pane.AddLine("start");
  p.changes = 0;
  std::string lastLineSeen;
  p.pane.SetOnChange([&] {
    ++p.changes;
    lastLineSeen = p.pane.LineAt(p.pane.LineCount() - 1);
  });
  p.pane.AddLine("upper\r\nlower");
  EXPECT_EQ(p.changes, 1);
  EXPECT_EQ(lastLineSeen, "lower");
  p.pane.AddLine("lone\nfeed");  // a lone LF is a break like any other
  EXPECT_EQ(p.pane.GetWholeText(), "start\r\nupper\r\nlower\r\nlone\r\nfeed\r\n");
  EXPECT_EQ(p.pane.LineCount(), 5u);
}

TEST(TextPane, FullPaneDropsItsOldestLinesForANewOne) {
  CountedPane p(40);
  std::string lastSeen;
  p.pane.SetOnChange([&] {
    ++p.changes;
    lastSeen = p.pane.LineAt(p.pane.LineCount() - 1);
  });
  for (int i = 0; i < 30; ++i) {
    SCOPED_TRACE(i);
    const std::string line = "line " + std::to_string(i);
    p.pane.AddLine(line);
    EXPECT_EQ(p.changes, i + 1);  // one change per line, trimming or not
    EXPECT_EQ(lastSeen, line);
    const std::string text = p.pane.GetWholeText();
    EXPECT_LE(text.size(), 40u);
    EXPECT_EQ(text.rfind("line ", 0), 0u) << text;  // whole lines only
  }
  EXPECT_EQ(p.pane.LineAt(p.pane.LineCount() - 2), "line 28");
  // A last line without its break goes whole, too.
  p.pane.SetWholeText(std::string(39, 'x'));
  p.pane.AddLine("next");
  EXPECT_EQ(p.pane.GetWholeText(), "next\r\n");
}

class TextPaneFileTest : public ::testing::Test {
 protected:
  std::string At(const std::string& name) const { return (dir_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    WriteFile(At(name), bytes);
  }
  std::string Read(const std::string& name) const { return ReadFile(At(name)); }

  TempDir tmp_{"vk_pane"};
  fs::path dir_ = tmp_.Path();
  CountedPane p;
};

TEST_F(TextPaneFileTest, LoadNormalisesAndSaveWritesTheExactBytes) {
  const struct {
    std::string file, pane;
    size_t lines;
  } cases[] = {
      {"one\ntwo\n", "one\r\ntwo\r\n", 2},
      {"left\rright", "left\r\nright", 2},
      {"no break at the end", "no break at the end", 1},
      {"before\0after\r\n"s, "before", 1},
      {"\xE4\xF6\xFC\xA0", "\xE4\xF6\xFC\xA0", 1},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.file));
    Write("in.c", c.file);
    p.pane.LoadText(At("in.c"));
    EXPECT_EQ(p.pane.GetWholeText(), c.pane);
    EXPECT_EQ(p.pane.LineCount(), c.lines);
    p.pane.SaveText(At("out.c"));
    EXPECT_EQ(Read("out.c"), c.pane);
  }
}

TEST_F(TextPaneFileTest, LoadNotifiesOnceAndOnlyForANewText) {
  Write("a.h", "x\ny");
  p.pane.LoadText(At("a.h"));
  p.pane.LoadText(At("a.h"));
  EXPECT_EQ(p.changes, 1);
}

TEST_F(TextPaneFileTest, LoadFailuresLeaveThePaneAsItWas) {
  p.pane.SetWholeText("kept");
  const std::string missing = At("missing.c");
  try {
    p.pane.LoadText(missing);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
  }
  EXPECT_THROW(p.pane.LoadText(dir_.string()), EFOpenError);  // a directory

  FaultyFileSystem faulty;
  faulty.readError = EACCES;
  platform::ScopedFileSystem scope(faulty);
  Write("locked.c", "text");
  EXPECT_THROW(p.pane.LoadText(At("locked.c")), EFOpenError);

  CountedPane small(4);
  small.pane.SetWholeText("old");
  faulty.readError = 0;
  Write("big.c", "12345");
  EXPECT_THROW(small.pane.LoadText(At("big.c")), EMemoCapacity);
  EXPECT_EQ(small.pane.GetWholeText(), "old");
  EXPECT_EQ(p.pane.GetWholeText(), "kept");
  EXPECT_EQ(p.changes, 1);
}

#ifndef _WIN32
TEST_F(TextPaneFileTest, LoadOfAnEndlessStreamStopsAtTheCapacity) {
  // A pipe that never ends and holds no NUL: the load is refused once the pane is
  // full, instead of reading until the memory runs out.
  const std::string fifo = At("endless");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::signal(SIGPIPE, SIG_IGN);
  std::thread writer([&] {
    const int fd = open(fifo.c_str(), O_WRONLY);
    const std::string chunk(65536, 'x');
    while (fd >= 0 && write(fd, chunk.data(), chunk.size()) > 0) {
    }
    if (fd >= 0) close(fd);
  });
  CountedPane small(1 << 20);
  small.pane.SetWholeText("old");
  EXPECT_THROW(small.pane.LoadText(fifo), EMemoCapacity);
  writer.join();
  EXPECT_EQ(small.pane.GetWholeText(), "old");
}
#endif

TEST_F(TextPaneFileTest, SaveFailuresAreReportedNeverSilent) {
  p.pane.SetWholeText("merged text\r\n");
  const std::string target = At("no/such/folder/out.c");
  try {
    p.pane.SaveText(target);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + target);
  }

  const struct {
    const char* what;
    std::function<void(FaultyFileSystem&)> fault;
  } cases[] = {
      {"short write", [](FaultyFileSystem& f) { f.writeLimit = 5; }},
      {"failed sync", [](FaultyFileSystem& f) { f.syncError = EIO; }},
      {"failed close", [](FaultyFileSystem& f) { f.closeError = EIO; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FaultyFileSystem faulty;
    c.fault(faulty);
    platform::ScopedFileSystem scope(faulty);
    try {
      p.pane.SaveText(At("out.c"));
      FAIL();
    } catch (const EWriteError& e) {
      EXPECT_STREQ(e.what(), "Stream write error");
    }
    EXPECT_EQ(p.pane.GetWholeText(), "merged text\r\n");
  }
}

TEST_F(TextPaneFileTest, SaveSyncsAndAnEmptyPaneGivesAnEmptyFile) {
  FaultyFileSystem faulty;
  platform::ScopedFileSystem scope(faulty);
  Write("out.c", "previous content");
  p.pane.SaveText(At("out.c"));
  EXPECT_EQ(faulty.syncCalls, 1);
  EXPECT_EQ(fs::file_size(At("out.c")), 0u);
}

}  // namespace
