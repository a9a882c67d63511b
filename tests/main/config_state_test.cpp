// The configuration-changed flag, reading and writing the configuration, and Exit.
#include <gtest/gtest.h>

#include "startup_harness.h"

namespace {

using namespace startup_test;
using Lines = std::vector<std::string>;

// A program started with a configuration file and a log file in a temporary folder.
class ConfigState : public ::testing::Test {
 protected:
  TempDir tmp{"vk_startup"};
  StartupHarness h;
  TMainCore& core = h.core;
  const std::string config = tmp / "vaskarel.ini";
  const std::string configText = "[Start]\n; left as it is\n";
  const std::string shownConfig = "    " + tmp / "vaskarel.ini";
  size_t startLines = 0;

  void SetUp() override {
    WriteFile(config, configText);
    core.FormCreate(tmp / "vaskarel");
    ASSERT_TRUE(core.initialised);
    startLines = h.LogLines().size();
  }
  // The lines added since start-up.
  Lines NewLines() const {
    Lines all = h.LogLines();
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(startLines), all.end());
  }
};

TEST_F(ConfigState, ARunOfEditsIsReportedOnceUntilReadOrWrite) {
  for (int i = 0; i < 10; ++i) core.OnConfigChange();  // ten typed characters
  EXPECT_EQ(NewLines(), Lines{"    Configuration changed ..."});
  core.WriteConfig();
  EXPECT_FALSE(core.configChanged);
  core.OnConfigChange();
  core.OnConfigChange();
  core.ReadConfig();
  EXPECT_FALSE(core.configChanged);
  EXPECT_EQ(
      NewLines(),
      (Lines{"    Configuration changed ...", "       Write configuration file ...", shownConfig,
             "    Configuration changed ...", " Read configuration file ...", shownConfig}));
  EXPECT_EQ(ReadFile(config), configText);
}

TEST_F(ConfigState, ExitWithoutEditsAsksNothing) {
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
    core.OnConfigChange();
    startLines = h.LogLines().size();
    const std::string logBefore = ReadFile(tmp / "vaskarel.log");
    h.boxes.answerYes = yes;

    core.Exit();

    ASSERT_EQ(h.boxes.questions.size(), 1u);
    EXPECT_EQ(h.boxes.questions[0].caption, "Confirm");
    EXPECT_EQ(h.boxes.questions[0].text,
              "The configuration was changed.\rSave changed configuration?");
    EXPECT_EQ(h.terminations, 1);
    EXPECT_EQ(ReadFile(config), configText);
    const Lines written = yes ? Lines{"       Write configuration file ...", shownConfig} : Lines{};
    EXPECT_EQ(NewLines(), written);
    std::string mirrored;
    for (const std::string& line : written) mirrored += line + "\r\n";
    EXPECT_EQ(ReadFile(tmp / "vaskarel.log"), logBefore + mirrored);
    EXPECT_EQ(core.configChanged, !yes);
  }
}

TEST(ConfigStateAfterFailedStartUp, EditsAreNeverReportedAndExitNeverAsks) {
  TempDir tmp{"vk_startup"};
  StartupHarness h;
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
  // A full log pane makes room for new lines; only a line longer than the whole pane
  // fails, as "       Write configuration file ..." does here.
  StartupHarness h(/*logCapacity=*/30);
  h.core.initialised = true;
  h.core.configChanged = true;

  h.core.RunCommand([&] { h.core.Exit(); });
  EXPECT_EQ(h.boxes.questions.size(), 1u);
  ASSERT_EQ(h.boxes.errors.size(), 1u);
  EXPECT_EQ(h.boxes.errors[0].text, "Text exceeds memo capacity.");
  EXPECT_EQ(h.terminations, 1);
}

}  // namespace
