// The configuration-changed flag, reading and writing the configuration, and Exit.
#include <gtest/gtest.h>

#include "startup_harness.h"

namespace {

using namespace startup_test;
using Lines = std::vector<std::string>;

const char kQuestion[] = "The configuration was changed.\rSave changed configuration?";

// A program started with a configuration file and a log file in a temporary folder.
class ConfigState : public ::testing::Test {
 protected:
  TempFolder tmp;
  CoreHarness h;
  TMainCore& core = h.core;
  std::string config = tmp / "vaskarel.ini";
  std::string logFile = tmp / "vaskarel.log";
  const std::string configText = "[Start]\n; left as it is\n";

  void SetUp() override {
    WriteFile(config, configText);
    core.FormCreate(tmp / "vaskarel");
    ASSERT_TRUE(core.initialised);
    ASSERT_TRUE(h.boxes.errors.empty());
  }
  // The log lines added after start-up.
  Lines NewLines() const {
    Lines all = h.LogLines();
    return Lines(all.begin() + static_cast<long>(startLines_), all.end());
  }
  size_t startLines_ = 0;
  void MarkStart() { startLines_ = h.LogLines().size(); }
};

TEST_F(ConfigState, ARunOfEditsIsReportedOnce) {
  MarkStart();
  for (int i = 0; i < 10; ++i) core.OnConfigChange();  // ten typed characters
  EXPECT_EQ(NewLines(), Lines{"    Configuration changed ..."});
  EXPECT_TRUE(core.configChanged);
}

TEST_F(ConfigState, ReadAndWriteLogAndStartANewRunOfEdits) {
  const std::string shown = "    " + Lower(tmp.Path()) + "/vaskarel.ini";
  MarkStart();
  core.OnConfigChange();
  core.WriteConfig();
  EXPECT_FALSE(core.configChanged);
  core.OnConfigChange();
  core.OnConfigChange();
  core.ReadConfig();
  EXPECT_FALSE(core.configChanged);
  EXPECT_EQ(NewLines(),
            (Lines{"    Configuration changed ...", "       Write configuration file ...", shown,
                   "    Configuration changed ...", " Read configuration file ...", shown}));
  EXPECT_EQ(ReadFile(config), configText);
}

TEST_F(ConfigState, ExitWithoutEditsAsksNothing) {
  MarkStart();
  core.Exit();
  EXPECT_TRUE(h.boxes.questions.empty());
  EXPECT_TRUE(NewLines().empty());
  EXPECT_EQ(h.terminations, 1);
}

TEST_F(ConfigState, ExitAfterEditsAsksAndEndsWhateverTheAnswer) {
  for (bool yes : {true, false}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    h.boxes.questions.clear();
    h.terminations = 0;
    core.configChanged = false;
    core.OnConfigChange();
    MarkStart();
    const std::string logBefore = ReadFile(logFile);
    h.boxes.answerYes = yes;

    core.Exit();

    ASSERT_EQ(h.boxes.questions.size(), 1u);
    EXPECT_EQ(h.boxes.questions[0].caption, "Confirm");
    EXPECT_EQ(h.boxes.questions[0].text, kQuestion);
    EXPECT_EQ(h.terminations, 1);
    EXPECT_EQ(ReadFile(config), configText);
    if (yes) {
      const Lines written{"       Write configuration file ...",
                          "    " + Lower(tmp.Path()) + "/vaskarel.ini"};
      EXPECT_EQ(NewLines(), written);
      EXPECT_EQ(ReadFile(logFile), logBefore + written[0] + "\r\n" + written[1] + "\r\n");
      EXPECT_FALSE(core.configChanged);
    } else {
      EXPECT_TRUE(NewLines().empty());
      EXPECT_EQ(ReadFile(logFile), logBefore);
    }
  }
}

TEST(ConfigStateAfterFailedStartUp, EditsAreNeverReportedAndExitNeverAsks) {
  TempFolder tmp;
  CoreHarness h;
  h.files.noStandardOutput = true;  // no configuration file, no standard output
  h.core.FormCreate(tmp / "vaskarel");
  ASSERT_FALSE(h.core.initialised);
  const size_t lines = h.LogLines().size();

  h.core.OnConfigChange();
  h.core.Exit();
  EXPECT_FALSE(h.core.configChanged);
  EXPECT_EQ(h.LogLines().size(), lines);
  EXPECT_TRUE(h.boxes.questions.empty());
  EXPECT_EQ(h.terminations, 1);
}

TEST(ConfigStateExit, EndsTheProgramEvenWhenTheLogCannotTakeTheLines) {
  TempFolder tmp;
  CoreHarness h(/*logCapacity=*/400);
  h.core.FormCreate(tmp / "vaskarel");
  ASSERT_TRUE(h.core.initialised);
  h.core.OnConfigChange();
  // Leave too little room for "       Write configuration file ...".
  h.core.Log(std::string(400 - h.logView.Size() - 20, 'x'));

  h.core.RunCommand([&] { h.core.Exit(); });
  EXPECT_EQ(h.boxes.questions.size(), 1u);
  ASSERT_EQ(h.boxes.errors.size(), 1u);
  EXPECT_EQ(h.boxes.errors[0].text, "Text exceeds memo capacity.");
  EXPECT_EQ(h.terminations, 1);
}

}  // namespace
