// The merge command on in-memory panes with a fixed clock: its log lines, the merged
// pane, and a result over the pane's capacity.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/merge.h"
#include "fakes/core_harness.h"

namespace {

// Texts 0 .. count-1, each referring twice to the next.
std::vector<std::string> Doubling(size_t count) {
  std::vector<std::string> texts;
  for (size_t n = 0; n < count; ++n) {
    const std::string next = DialogTextReference(n + 1);
    texts.push_back(next + next);
  }
  return texts;
}

// The merge command on in-memory panes with a fixed clock.
class MergeFilesTest : public ::testing::Test {
 protected:
  std::vector<std::string> LogLines() const { return h_.LogLines(); }
  void Merge(const std::string& code, const std::string& header) {
    core_.m4CodeFile.SetWholeText(code);
    core_.m4HeaderFile.SetWholeText(header);
    core_.RunCommand([&] { core_.MergeFiles(); });
  }

  static constexpr const char* kStart = "05.07.2023 09:03:07 Start merging files ...";
  static constexpr const char* kFinish = "05.07.2023 09:03:07 Merge files finished";
  CoreHarness h_{kDefaultTextCapacity, /*mergedCapacity=*/64};
  TMainCore& core_ = h_.core;
  FakeFileDialog& open_ = h_.openDialog;
  FakeMessageBoxes& boxes_ = h_.boxes;
};

TEST_F(MergeFilesTest, YesAndNoGiveTheExactLogAndMergedText) {
  open_.SetFileName("/scripts/dialog.c");
  Merge("if (a) Say(DLG_TEXT[1]); else Say(DLG_TEXT[0]);\r\n", "\"Yes\", \"No\"\r\n");
  EXPECT_EQ(LogLines(),
            (std::vector<std::string>{kStart, "    /scripts/dialog.c", "DLG_TEXT[0] \"Yes\"",
                                      "DLG_TEXT[1] \"No\"", kFinish}));
  EXPECT_EQ(core_.m4MergedFile.GetWholeText(), "if (a) Say(\"No\"); else Say(\"Yes\");\r\n");
  EXPECT_TRUE(boxes_.errors.empty());

  // Again on unchanged panes: the same text and a further set of log lines.
  core_.RunCommand([&] { core_.MergeFiles(); });
  EXPECT_EQ(core_.m4MergedFile.GetWholeText(), "if (a) Say(\"No\"); else Say(\"Yes\");\r\n");
  EXPECT_EQ(core_.m4Log.LineCount(), 10u);
}

TEST_F(MergeFilesTest, LogLinesForEmptyAndMultiLineTexts) {
  const struct {
    const char* what;
    std::string code, header;
    std::vector<std::string> log;
    std::string merged;
  } cases[] = {
      {"no file chosen, no texts",
       "DLG_TEXT[0]\n",
       "none",
       {kStart, "    ", kFinish},
       "DLG_TEXT[0]\r\n"},
      {"empty code",
       "",
       "\"A\"\"\"",
       {kStart, "    ", "DLG_TEXT[0] \"A\"", "DLG_TEXT[1] \"\"", kFinish},
       ""},
      {"a text over two lines",
       "x=DLG_TEXT[0]",
       "\"one\ntwo\"",
       {kStart, "    ", "DLG_TEXT[0] \"one", "two\"", kFinish},
       "x=\"one\r\ntwo\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    core_.m4Log.ClearText();
    Merge(c.code, c.header);
    EXPECT_EQ(LogLines(), c.log);
    EXPECT_EQ(core_.m4MergedFile.GetWholeText(), c.merged);
  }
}

TEST_F(MergeFilesTest, AResultOverTheCapacityFailsBeforeItIsBuilt) {
  core_.m4MergedFile.SetWholeText("previous");
  // 30 texts each referring twice to the next: gigabytes, refused from its length.
  std::string header;
  for (const std::string& text : Doubling(30)) header += "\"" + text + "\",";
  Merge("DLG_TEXT[0]", header);
  ASSERT_EQ(boxes_.errors.size(), 1u);
  EXPECT_EQ(boxes_.errors[0].text, "Text exceeds memo capacity.");
  std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 2 + 30u);
  EXPECT_EQ(log[31], "DLG_TEXT[29] \"DLG_TEXT[30]DLG_TEXT[30]\"");
  EXPECT_EQ(core_.m4MergedFile.GetWholeText(), "previous");

  // The capacity of the merged pane (64 bytes) is the limit, byte for byte.
  for (size_t size : {size_t{64}, size_t{65}}) {
    SCOPED_TRACE(size);
    boxes_.errors.clear();
    core_.m4Log.ClearText();
    Merge("DLG_TEXT[0]" + std::string(size - 3, '.'), "\"x\"");
    EXPECT_EQ(boxes_.errors.size(), size == 64 ? 0u : 1u);
    EXPECT_EQ(LogLines().back(), size == 64 ? kFinish : "DLG_TEXT[0] \"x\"");
  }
}

}  // namespace
