// The window with HeaderFolders set: Ctrl+L on a code file whose header lies in a
// language folder loads and logs that header, Ctrl+M and Ctrl+S save the merged
// bytes; without a header anywhere, the log says that the header pane keeps its text.
#include "window_harness.h"

namespace gui_test {
namespace {

class WindowHeaderFolders : public WindowTest {
 protected:
  void SetUp() override { Start("LogFile=" + LogPath() + "\r\nHeaderFolders=Text; English"); }
};

TEST_F(WindowHeaderFolders, LoadsTheHeaderFromALanguageFolder) {
  const std::string code = folder / "PROGRAM/DIALOGS/Alan Milds_dialog.c";
  const std::string header = folder / "PROGRAM/DIALOGS/ENGLISH/alan milds_dialog.h";
  WriteFile(code, "Say(DLG_TEXT_A[1]);\nSay(DLG_TEXT[0]);\n");
  WriteFile(header, "string DLG_TEXT_A [2] = {\n\"Ahoy!\",\n\"Who goes there?\"\n};\n");
  openDialog.answers.push_back(code);
  Key(Qt::Key_L, Qt::ControlModifier);
  const std::string loaded =
      " Load code file :\r\n    " + code +
      "\r\n Assume that corresponding header file is also to be loaded :\r\n    " + header + "\r\n";
  EXPECT_EQ(Log().substr(Log().size() - loaded.size()), loaded);

  Key(Qt::Key_M, Qt::ControlModifier);
  saveDialog.answers.push_back(code);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(ReadFile(code), "Say(\"Who goes there?\");\r\nSay(\"Ahoy!\");\r\n");
  EXPECT_TRUE(boxes.errors.empty());

  // Another code file with no header anywhere: the header pane keeps the last one,
  // and the log says so.
  const std::string lone = folder / "PROGRAM/DIALOGS/lone.c";
  WriteFile(lone, "Say(DLG_TEXT[0]);\n");
  openDialog.answers.push_back(lone);
  Key(Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(form->Core().m4HeaderFile.GetWholeText(),
            "string DLG_TEXT_A [2] = {\r\n\"Ahoy!\",\r\n\"Who goes there?\"\r\n};\r\n");
  const std::string kept = "    " + lone +
                           "\r\n No corresponding header file found; the header pane keeps its "
                           "text\r\n";
  EXPECT_EQ(Log().substr(Log().size() - kept.size()), kept);
  EXPECT_EQ(ReadFile(LogPath()), Log());
}

}  // namespace
}  // namespace gui_test
