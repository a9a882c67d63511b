// The program paths and the start-up sequence: temporary folders stand in for the
// program's directory, and the executable's path is handed in.
#include "main/startup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "startup_harness.h"

namespace {

using namespace startup_test;
using startup::kHostRules;
using startup::kWindowsRules;
using startup::PathRules;
using Lines = std::vector<std::string>;

// ---------------------------------------------------------------------------------
// Path rules

TEST(ProgramPathRules, NameDirectoryAndExtension) {
  struct Case {
    const char* path;
    const PathRules& rules;
    const char *name, *dir, *withIni;
  };
  const Case cases[] = {
      {"/opt/tools/vaskarel", kHostRules, "vaskarel", "/opt/tools/", "/opt/tools/vaskarel.ini"},
      // The dot of a folder is not an extension.
      {"/opt/x.d/run", kHostRules, "run", "/opt/x.d/", "/opt/x.d/run.ini"},
      {"vaskarel", kHostRules, "vaskarel", "", "vaskarel.ini"},
      {"/vaskarel", kHostRules, "vaskarel", "/", "/vaskarel.ini"},
      // Windows: the last extension alone is replaced; the drive colon ends a name too.
      {"C:\\Tools\\a.b.exe", kWindowsRules, "a.b.exe", "C:\\Tools\\", "C:\\Tools\\a.b.ini"},
      {"C:Merge.EXE", kWindowsRules, "Merge.EXE", "C:", "C:Merge.ini"},
      {"C:\\x.d\\run", kWindowsRules, "run", "C:\\x.d\\", "C:\\x.d\\run.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(startup::ExecutableName(c.path, c.rules), c.name);
    EXPECT_EQ(startup::DirectoryPart(c.path, c.rules), c.dir);
    EXPECT_EQ(startup::ChangeFileExt(c.path, ".ini", c.rules), c.withIni);
  }
}

TEST(ProgramPathRules, ProgramFileNameKeepsEveryDotWhereExecutablesHaveNoExtension) {
  EXPECT_EQ(startup::ProgramFileName("a.b", ".ini"), "a.b.ini");
  EXPECT_EQ(startup::ProgramFileName("vaskarel", ".log"), "vaskarel.log");
  EXPECT_EQ(startup::ProgramFileName("a.b.exe", ".ini", kWindowsRules), "a.b.ini");
  EXPECT_EQ(startup::ProgramFileName("Merge", ".txt", kWindowsRules), "Merge.txt");
}

TEST(ProgramPathRules, LogFolderKeepsRoots) {
  struct Case {
    const char* logFile;
    const PathRules& rules;
    const char* folder;
  };
  const Case cases[] = {
      {"/var/log/vaskarel/run.log", kHostRules, "/var/log/vaskarel"},
      {"/run.log", kHostRules, "/"},    // the root stays
      {"//run.log", kHostRules, "//"},  // a separator behind a separator stays
      {"run.log", kHostRules, ""},
      {"D:\\Logs\\Merge\\run.log", kWindowsRules, "D:\\Logs\\Merge"},
      {"C:\\run.log", kWindowsRules, "C:\\"},
      {"C:run.log", kWindowsRules, "C:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logFile);
    EXPECT_EQ(startup::LogFolderOf(c.logFile, c.rules), c.folder);
  }
}

TEST(ProgramPathRules, RelativeLogFileIsTakenFromTheProgramDirectory) {
  EXPECT_EQ(startup::ResolveLogFile("", "/p/"), "");
  EXPECT_EQ(startup::ResolveLogFile("/var/run.log", "/p/"), "/var/run.log");
  EXPECT_EQ(startup::ResolveLogFile("run.log", "/p/"), "/p/run.log");
  EXPECT_EQ(startup::ResolveLogFile("logs/run.log", "/p/"), "/p/logs/run.log");
}

TEST(ProgramPathRules, DerivedPaths) {
  struct Case {
    const char* exePath;
    const PathRules& rules;
    const char *dir, *config, *doc, *log;
  };
  const Case cases[] = {
      {"/opt/Tools/vaskarel", kHostRules, "/opt/Tools/", "/opt/tools/vaskarel.ini",
       "/opt/tools/vaskarel.txt", "/opt/Tools/vaskarel.log"},
      // Runs of slashes in the directory shrink; a name with a dot keeps it.
      {"/opt//Tools/A.b", kHostRules, "/opt/Tools/", "/opt/tools/a.b.ini", "/opt/tools/a.b.txt",
       "/opt/Tools/A.b.log"},
      {"C:\\Tools\\Merge.EXE", kWindowsRules, "C:\\Tools\\", "c:\\tools\\merge.ini",
       "c:\\tools\\merge.txt", "C:\\Tools\\Merge.log"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exePath);
    startup::ProgramPaths p = startup::DeriveProgramPaths(c.exePath, c.rules);
    EXPECT_EQ(p.programDir, c.dir);
    EXPECT_EQ(p.configFile, c.config);
    EXPECT_EQ(p.docFile, c.doc);
    EXPECT_EQ(p.defaultLogFile, c.log);
  }
}

// ---------------------------------------------------------------------------------
// Start-up sequence

class StartUp : public ::testing::Test {
 protected:
  TempFolder tmp;
  CoreHarness h;
  TMainCore& core = h.core;
  // The program's directory as the executable's path gives it.
  std::string dir = tmp.Path() + "/";
  std::string exe = dir + "vaskarel";

  void WriteConfig(const std::string& text) { WriteFile(dir + "vaskarel.ini", text); }
  std::string Cwd() const { return std::filesystem::current_path().string(); }
};

TEST_F(StartUp, WithoutConfigurationFile) {
  const std::string startDir = Cwd();
  core.FormCreate(exe);

  const std::string config = Lower(dir) + "vaskarel.ini";
  EXPECT_EQ(h.LogLines(),
            (Lines{kStartLine, " Error: Configuration file " + config + " not found!"}));
  EXPECT_EQ(core.configFile, config);
  EXPECT_EQ(core.logFile, "");
  EXPECT_EQ(h.dokuView.Text(), "");
  EXPECT_EQ(Cwd(), startDir);
  // The start-up block goes to standard output, and so does every later line.
  EXPECT_EQ(h.files.standardOutput, core.m4Log.GetWholeText());
  core.Log(" later");
  EXPECT_EQ(h.files.standardOutput, core.m4Log.GetWholeText());
  EXPECT_TRUE(h.boxes.errors.empty());
  EXPECT_TRUE(core.initialised);
  EXPECT_EQ(h.pagesShown, std::vector<int>{0});
  EXPECT_EQ(h.hintInstalls, 1);
  EXPECT_EQ(h.openDialog.InitialDir(), dir);
  EXPECT_EQ(h.saveDialog.InitialDir(), dir);
}

TEST_F(StartUp, WithoutConfigurationFileAndWithoutStandardOutputEndsAtTheBlock) {
  h.files.noStandardOutput = true;
  core.FormCreate(exe);

  ASSERT_EQ(h.boxes.errors.size(), 1u);
  EXPECT_EQ(h.boxes.errors[0].caption, "vaskarel");
  EXPECT_EQ(h.boxes.errors[0].text, "I/O error 103.");
  EXPECT_EQ(h.LogLines().size(), 2u);
  EXPECT_EQ(h.hintInstalls, 1);  // step 8 came before the failure
  EXPECT_FALSE(core.initialised);
  // The mirror is not connected: later lines stay in the pane, with no further box.
  core.Log(" later");
  EXPECT_EQ(h.LogLines().size(), 3u);
  EXPECT_EQ(h.boxes.errors.size(), 1u);
}

TEST_F(StartUp, ConfigurationWithoutSectionStart) {
  WriteConfig("[Other]\nLogFile=/nowhere/x.log\nConfigFile=/nowhere/x.ini\n");
  WriteFile(dir + "vaskarel.txt", "Guide\nline 2\n");
  core.FormCreate(exe);

  EXPECT_EQ(
      h.LogLines(),
      (Lines{kStartLine, " Read primary configuration file: ", "    " + Lower(dir) + "vaskarel.ini",
             " Log file is : ", "    " + dir + "vaskarel.log", " Read documentation file :",
             "    " + Lower(dir) + "vaskarel.txt", " Initialisation finished", ""}));
  EXPECT_EQ(h.dokuView.Text(), "Guide\r\nline 2\r\n");
  EXPECT_EQ(ReadFile(dir + "vaskarel.log"), core.m4Log.GetWholeText());
  EXPECT_EQ(Cwd(), tmp.Path());
  EXPECT_TRUE(core.initialised);
  EXPECT_FALSE(core.configChanged);
  EXPECT_TRUE(h.files.standardOutput.empty());
}

TEST_F(StartUp, MissingDocumentationIsAWarning) {
  WriteConfig("[Start]\n");
  core.FormCreate(exe);
  std::vector<std::string> lines = h.LogLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], "       Warning: documentation file not found");
  EXPECT_EQ(h.dokuView.Text(), "");
  EXPECT_TRUE(core.initialised);
}

TEST_F(StartUp, ExecutableNameWithADot) {
  exe = dir + "a.b";
  WriteFile(dir + "a.b.ini", "[Start]\n");
  WriteFile(dir + "a.b.txt", "doc");
  core.FormCreate(exe);

  EXPECT_EQ(core.applicationTitle, "a");
  EXPECT_EQ(core.configFile, Lower(dir) + "a.b.ini");
  EXPECT_EQ(core.docFile, Lower(dir) + "a.b.txt");
  EXPECT_EQ(core.logFile, dir + "a.b.log");
  EXPECT_EQ(h.dokuView.Text(), "doc");
  EXPECT_EQ(ReadFile(dir + "a.b.log"), core.m4Log.GetWholeText());
}

TEST_F(StartUp, EarlierRunsStayInTheLogFileAndLaterLinesFollow) {
  WriteConfig("[Start]\n");
  WriteFile(dir + "vaskarel.log", "earlier run\r\n");
  core.FormCreate(exe);
  const std::string block = core.m4Log.GetWholeText();
  EXPECT_EQ(ReadFile(dir + "vaskarel.log"), "earlier run\r\n" + block);

  core.Log(" Load code file :");
  EXPECT_EQ(ReadFile(dir + "vaskarel.log"), "earlier run\r\n" + block + " Load code file :\r\n");
}

TEST_F(StartUp, LogFileFolderIsCreatedWithItsParents) {
  struct Case {
    std::string value, expected;
  };
  const Case cases[] = {
      {tmp / "logs/a/b/run.log", tmp / "logs/a/b/run.log"},
      // Relative values are taken from the program directory.
      {"rel/deep/run.log", dir + "rel/deep/run.log"},
      {"bare.log", dir + "bare.log"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    CoreHarness run;
    WriteConfig("[Start]\nLogFile=" + c.value + "\n");
    run.core.FormCreate(exe);
    EXPECT_TRUE(run.boxes.errors.empty());
    EXPECT_EQ(run.core.logFile, c.expected);
    std::vector<std::string> lines = run.LogLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[4], "    " + c.expected);
    EXPECT_EQ(ReadFile(c.expected), run.core.m4Log.GetWholeText());
  }
}

TEST_F(StartUp, RelativeLogFileStaysPutWhenTheDirectoryChanges) {
  WriteFile(tmp / "Cfg/Second.ini", "");
  WriteConfig("[Start]\nLogFile=logs/run.log\nConfigFile=" + (tmp / "Cfg/Second.ini") + "\n");
  core.FormCreate(exe);
  ASSERT_EQ(Cwd(), tmp / "Cfg");
  core.Log(" after");
  EXPECT_EQ(ReadFile(dir + "logs/run.log"), core.m4Log.GetWholeText());
  EXPECT_FALSE(std::filesystem::exists(tmp / "Cfg/logs"));
}

TEST_F(StartUp, SecondaryConfigurationWithCapitals) {
  const std::string second = tmp / "Cfg/Second.ini";
  WriteFile(second, "[Start]\nLogFile=/must/not/be/read.log\n");
  WriteFile(dir + "vaskarel.txt", "doc");
  WriteConfig("[Start]\nConfigFile=" + second + "\n");
  core.FormCreate(exe);

  EXPECT_EQ(core.programDir, tmp / "Cfg/");
  EXPECT_EQ(core.configFile, second);
  EXPECT_EQ(Cwd(), tmp / "Cfg");
  EXPECT_EQ(core.logFile, dir + "vaskarel.log");
  EXPECT_EQ(core.docFile, Lower(dir) + "vaskarel.txt");
  EXPECT_EQ(h.dokuView.Text(), "doc");
  EXPECT_EQ(h.openDialog.InitialDir(), dir);
  std::vector<std::string> lines = h.LogLines();
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[5], " Secondary configuration file is defined :");
  EXPECT_EQ(lines[6], "    " + second);
}

TEST_F(StartUp, SecondaryConfigurationByRelativeNames) {
  // Relative names are looked up from the directory the program was started in.
  const std::string start = tmp / "start";
  WriteFile(start + "/Second.ini", "");
  WriteFile(start + "/sub/Third.ini", "");
  struct Case {
    std::string name, programDir, cwd;
  };
  const Case cases[] = {
      // A bare name leaves an empty program directory; changing to it fails silently.
      {"Second.ini", "", start},
      {"sub/Third.ini", "sub/", start + "/sub"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CoreHarness run;
    std::filesystem::current_path(start);
    WriteConfig("[Start]\nConfigFile=" + c.name + "\n");
    run.core.FormCreate(exe);
    EXPECT_TRUE(run.boxes.errors.empty());
    EXPECT_EQ(run.core.programDir, c.programDir);
    EXPECT_EQ(run.core.configFile, c.name);
    EXPECT_EQ(Cwd(), c.cwd);
    EXPECT_EQ(run.core.logFile, dir + "vaskarel.log");
    EXPECT_TRUE(run.core.initialised);
  }
}

TEST_F(StartUp, MissingSecondaryConfiguration) {
  WriteConfig("[Start]\nConfigFile=" + (tmp / "none.ini") + "\n");
  core.FormCreate(exe);
  std::vector<std::string> lines = h.LogLines();
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[5], " Error: Secondary configuration file not found :");
  EXPECT_EQ(lines[6], "    " + (tmp / "none.ini"));
  EXPECT_EQ(core.programDir, dir);
  EXPECT_EQ(core.configFile, Lower(dir) + "vaskarel.ini");
  EXPECT_EQ(Cwd(), tmp.Path());
}

TEST_F(StartUp, LowerCasedPathsInTheLogAreFoundInAFolderWithCapitals) {
  const std::string prog = tmp / "Prog/";
  WriteFile(prog + "vaskarel.ini", "[Start]\n");
  WriteFile(prog + "Vaskarel.TXT", "the guide");
  core.FormCreate(prog + "vaskarel");

  std::vector<std::string> lines = h.LogLines();
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[2], "    " + Lower(prog) + "vaskarel.ini");
  EXPECT_EQ(lines[6], "    " + Lower(prog) + "vaskarel.txt");
  EXPECT_EQ(lines[4], "    " + prog + "vaskarel.log");  // the log file keeps its case
  EXPECT_EQ(h.dokuView.Text(), "the guide");
  EXPECT_EQ(ReadFile(prog + "vaskarel.log"), core.m4Log.GetWholeText());
}

TEST_F(StartUp, UncreatableLogFolderEndsStartUp) {
  WriteFile(tmp / "blocker", "a file, not a folder");
  WriteConfig("[Start]\nLogFile=" + (tmp / "blocker/sub/run.log") + "\n");
  const std::string startDir = Cwd();
  core.FormCreate(exe);

  ASSERT_EQ(h.boxes.errors.size(), 1u);
  EXPECT_EQ(h.boxes.errors[0].caption, "vaskarel");
  EXPECT_EQ(h.boxes.errors[0].text, "Unable to create directory.");
  EXPECT_EQ(h.LogLines(), (Lines{kStartLine, " Read primary configuration file: ",
                                 "    " + Lower(dir) + "vaskarel.ini"}));
  EXPECT_EQ(h.hintInstalls, 0);
  EXPECT_FALSE(core.initialised);
  EXPECT_EQ(Cwd(), startDir);
  // No mirror: a later line neither reaches a file nor raises a box.
  core.Log(" later");
  EXPECT_EQ(h.boxes.errors.size(), 1u);
  EXPECT_EQ(h.LogLines().size(), 4u);
}

}  // namespace
