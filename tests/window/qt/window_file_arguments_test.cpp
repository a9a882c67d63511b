// The real window started with file arguments: a code file named relative to the folder
// the program was started in loads with its header and writes the log lines Ctrl+L
// writes for it; a missing one gives the error box and leaves a window that works.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "window_harness.h"

namespace gui_test {
namespace {

class WindowFileArguments : public WindowTest {
 protected:
  // Started from the folder of a sample pair, as a shell or a file manager starts it.
  void SetUp() override {
    WriteFile(scripts / "dialog.c", code);
    WriteFile(scripts / "dialog.h", header);
    std::filesystem::current_path(scripts.Path());
    Start();
  }

  // The lines of the log file below the first `skip`.
  std::vector<std::string> LogFileLines(size_t skip) const {
    std::vector<std::string> lines;
    const std::string text = ReadFile(LogPath());
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    return {lines.begin() + static_cast<long>(std::min(skip, lines.size())), lines.end()};
  }

  const std::string sample = std::string(VK_TEST_DATA_DIR) + "/sample/";
  const std::string code = ReadFile(sample + "dialog.c");
  const std::string header = ReadFile(sample + "dialog.h");
  TempDir scripts{"vk_gui_scripts"};
};

TEST_F(WindowFileArguments, ACodeFileLoadsWithItsHeaderAsCtrlLLoadsIt) {
  ASSERT_FALSE(code.empty());
  const size_t startUp = LogFileLines(0).size();
  form->OpenFileArguments({"dialog.c"});
  EXPECT_TRUE(boxes.errors.empty());
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->Core().m4CodeFile.GetWholeText(), code);
  EXPECT_EQ(form->Core().m4HeaderFile.GetWholeText(), header);
  const std::vector<std::string> named = LogFileLines(startUp);
  ASSERT_EQ(named.size(), 4u);
  EXPECT_EQ(named[1], "    " + (scripts / "dialog.c"));

  openDialog.answers.push_back(scripts / "dialog.c");
  Key(Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(LogFileLines(startUp + named.size()), named);
}

TEST_F(WindowFileArguments, AMissingFileGivesTheErrorBoxAndAWindowThatWorks) {
  const size_t startUp = LogFileLines(0).size();
  form->OpenFileArguments({"missing.c"});
  ASSERT_EQ(boxes.errors.size(), 1u);
  EXPECT_EQ(boxes.errors[0].text, "Cannot open file " + (scripts / "missing.c") + ".");
  EXPECT_EQ(form->Core().m4CodeFile.GetWholeText(), "");
  EXPECT_EQ(LogFileLines(startUp), std::vector<std::string>{});

  openDialog.answers.push_back(scripts / "dialog.c");
  Key(Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(form->Core().m4CodeFile.GetWholeText(), code);
  EXPECT_EQ(LogFileLines(startUp).size(), 4u);
}

}  // namespace
}  // namespace gui_test
