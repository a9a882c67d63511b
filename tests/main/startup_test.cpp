// The program paths and the start-up sequence: temporary folders stand in for the
// program's directory, and the executable's path is handed in.
#include "main/startup.h"
#include "main/program_files.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <map>

#include "startup_harness.h"

namespace {

using namespace startup_test;
using startup::kPosixRules;
using startup::kWindowsRules;
using startup::PathRules;
using Lines = std::vector<std::string>;

TEST(ProgramPathRules, NameDirectoryExtensionAndLogFolder) {
  struct Case {
    const char* path;
    const PathRules& rules;
    const char *name, *dir, *withIni, *logFolder;
  };
  const Case cases[] = {
      {"/opt/x.d/run", kPosixRules, "run", "/opt/x.d/", "/opt/x.d/run.ini", "/opt/x.d"},
      {"run", kPosixRules, "run", "", "run.ini", ""},
      {"/run.log", kPosixRules, "run.log", "/", "/run.ini", "/"},  // the root stays
      {"//run", kPosixRules, "run", "//", "//run.ini", "//"},
      // Windows: only the last extension is replaced; the drive colon ends a name.
      {"D:\\Logs\\a.b.exe", kWindowsRules, "a.b.exe", "D:\\Logs\\", "D:\\Logs\\a.b.ini",
       "D:\\Logs"},
      {"C:\\Merge.EXE", kWindowsRules, "Merge.EXE", "C:\\", "C:\\Merge.ini", "C:\\"},
      {"C:run", kWindowsRules, "run", "C:", "C:run.ini", "C:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(startup::ExecutableName(c.path, c.rules), c.name);
    EXPECT_EQ(startup::DirectoryPart(c.path, c.rules), c.dir);
    EXPECT_EQ(startup::ChangeFileExt(c.path, ".ini", c.rules), c.withIni);
    EXPECT_EQ(startup::LogFolderOf(c.path, c.rules), c.logFolder);
  }
}

TEST(ProgramPathRules, DerivedPaths) {
  struct Case {
    const char* exePath;
    const PathRules& rules;
    const char *dir, *config, *doc, *log;
  };
  const Case cases[] = {
      {"/opt/Tools/vaskarel", kPosixRules, "/opt/Tools/", "/opt/Tools/vaskarel.ini",
       "/opt/Tools/vaskarel.txt", "/opt/Tools/vaskarel.log"},
      // Runs of slashes shrink; executables here have no extension, so a dot stays.
      {"/opt//Tools/A.b", kPosixRules, "/opt/Tools/", "/opt/Tools/A.b.ini", "/opt/Tools/A.b.txt",
       "/opt/Tools/A.b.log"},
      {"C:\\Tools\\Merge.EXE", kWindowsRules, "C:\\Tools\\", "C:\\Tools\\Merge.ini",
       "C:\\Tools\\Merge.txt", "C:\\Tools\\Merge.log"},
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

#ifndef _WIN32  // the XDG folders of an installed program are a Linux layout
TEST(ProgramPathRules, XdgSearchFoldersFollowTheEnvironment) {
  using Vars = std::map<std::string, std::string>;
  struct Case {
    const char* what;
    Vars vars;
    Lines config;
    const char* state;
  };
  const Case cases[] = {
      {"defaults below the home folder",
       {{"HOME", "/home/me"}},
       {"/home/me/.config", "/etc/xdg"},
       "/home/me/.local/state"},
      {"every variable set; relative and empty entries are skipped",
       {{"HOME", "/home/me"},
        {"XDG_CONFIG_HOME", "/cfg"},
        {"XDG_CONFIG_DIRS", "/a:rel::/b/"},
        {"XDG_STATE_HOME", "/st"}},
       {"/cfg", "/a", "/b/"},
       "/st"},
      {"relative values count as unset",
       {{"HOME", "/h"},
        {"XDG_CONFIG_HOME", "cfg"},
        {"XDG_CONFIG_DIRS", ""},
        {"XDG_STATE_HOME", "st"}},
       {"/h/.config", "/etc/xdg"},
       "/h/.local/state"},
      {"no home folder", {}, {"/etc/xdg"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeEnvironment env;
    env.variables = c.vars;
    startup::SearchFolders f = startup::XdgSearchFolders(env, "/usr/bin/", "../share");
    EXPECT_EQ(f.config, c.config);
    EXPECT_EQ(f.data, "/usr/share");
    EXPECT_EQ(f.state, c.state);
  }
}
#endif

class StartUp : public ::testing::Test {
 protected:
  TempDir tmp{"vk_startup"};
  StartupHarness h;
  TMainCore& core = h.core;
  std::string dir = tmp.Path() + platform::PathDelimiter();  // the program's directory
  std::string exe = dir + "vaskarel";
  const std::string startDir = Cwd();

  void WriteConfig(const std::string& text) { WriteFile(dir + "vaskarel.ini", text); }
  static std::string Cwd() { return std::filesystem::current_path().string(); }
  std::string LineAt(size_t i) const {
    Lines lines = h.LogLines();
    return i < lines.size() ? lines[i] : "<none>";
  }
};

TEST_F(StartUp, WithoutConfigurationFile) {
  core.FormCreate(exe);

  EXPECT_EQ(h.LogLines(),
            (Lines{kStartLine, " Error: Configuration file " + dir + "vaskarel.ini not found!"}));
  EXPECT_EQ(core.logFile, "");
  EXPECT_EQ(h.dokuView.Text(), "");
  EXPECT_EQ(Cwd(), startDir);
  EXPECT_TRUE(h.boxes.errors.empty());
  EXPECT_TRUE(core.initialised);
  EXPECT_EQ(h.pagesShown, std::vector<int>{0});
  EXPECT_EQ(h.hintInstalls, 1);
  EXPECT_EQ(h.openDialog.InitialDir(), dir);
  EXPECT_EQ(h.saveDialog.InitialDir(), dir);
  // The start-up block goes to standard output, and so does every later line.
  core.Log(" later");
  EXPECT_EQ(h.files.standardOutput, core.m4Log.GetWholeText());
}

TEST_F(StartUp, WithoutConfigurationFileAndWithoutStandardOutput) {
  h.files.noStandardOutput = true;
  core.FormCreate(exe);

  ASSERT_EQ(h.boxes.errors.size(), 1u);
  EXPECT_EQ(h.boxes.errors[0].caption, "vaskarel");
  EXPECT_EQ(h.boxes.errors[0].text, "I/O error 103.\nstandard output: Bad file descriptor");
  EXPECT_EQ(h.hintInstalls, 1);  // installed just before the block
  EXPECT_FALSE(core.initialised);
  // No mirror: a later line stays in the pane and raises no further box.
  core.Log(" later");
  EXPECT_EQ(h.LogLines().size(), 3u);
  EXPECT_EQ(h.boxes.errors.size(), 1u);
}

TEST_F(StartUp, ConfigurationWithoutSectionStartAndEarlierRunsInTheLog) {
  WriteConfig("[Other]\nLogFile=/nowhere/x.log\nConfigFile=/nowhere/x.ini\n");
  WriteFile(dir + "vaskarel.log", "earlier run\r\n");
  core.FormCreate(exe);

  EXPECT_EQ(h.LogLines(),
            (Lines{kStartLine, " Read primary configuration file: ", "    " + dir + "vaskarel.ini",
                   " Log file is : ", "    " + dir + "vaskarel.log", " Read documentation file :",
                   "    " + dir + "vaskarel.txt", "       Warning: documentation file not found",
                   " Initialisation finished", ""}));
  EXPECT_EQ(Cwd(), tmp.Path());
  EXPECT_TRUE(core.initialised);
  const std::string block = core.m4Log.GetWholeText();
  EXPECT_EQ(ReadFile(dir + "vaskarel.log"), "earlier run\r\n" + block);
  core.Log(" next");
  EXPECT_EQ(ReadFile(dir + "vaskarel.log"), "earlier run\r\n" + block + " next\r\n");
  EXPECT_TRUE(h.files.standardOutput.empty());
}

TEST_F(StartUp, ExecutableNameWithADot) {
  WriteFile(dir + "a.b.ini", "[Start]\n");
  WriteFile(dir + "a.b.txt", "Guide\nline 2\n");
#ifdef _WIN32
  core.FormCreate(dir + "a.b.exe");  // the extension gives way to the file's own
#else
  core.FormCreate(dir + "a.b");
#endif

  EXPECT_EQ(core.applicationTitle, "a");
  EXPECT_EQ(core.configFile, dir + "a.b.ini");
  EXPECT_EQ(core.docFile, dir + "a.b.txt");
  EXPECT_EQ(core.logFile, dir + "a.b.log");
  EXPECT_EQ(h.dokuView.Text(), "Guide\r\nline 2\r\n");
  EXPECT_EQ(ReadFile(dir + "a.b.log"), core.m4Log.GetWholeText());
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
    StartupHarness run;
    WriteConfig("[Start]\nLogFile=" + c.value + "\n");
    run.core.FormCreate(exe);
    EXPECT_TRUE(run.boxes.errors.empty());
    EXPECT_EQ(run.core.logFile, c.expected);
    EXPECT_EQ(run.LogLines().at(4), "    " + c.expected);
    EXPECT_EQ(ReadFile(c.expected), run.core.m4Log.GetWholeText());
  }
}

TEST_F(StartUp, SecondaryConfiguration) {
  // Relative names are looked up from the directory the program was started in.
  const std::string start = tmp / "start";
  const std::string capitals = platform::JoinPath(tmp / "Cfg", "Second.ini");
  const std::string sub = platform::JoinPath("sub", "");  // "sub/", "sub\\" on Windows
  WriteFile(capitals, "[Start]\nLogFile=/must/not/be/read.log\n");
  WriteFile(platform::JoinPath(start, "Second.ini"), "");
  WriteFile(platform::JoinPath(start, sub + "Third.ini"), "");
  WriteFile(dir + "vaskarel.txt", "doc");
  const std::string defined = " Secondary configuration file is defined :";
  struct Case {
    std::string name, programDir, configFile, cwd, message;
  };
  const Case cases[] = {
      {capitals, platform::JoinPath(tmp / "Cfg", ""), capitals, tmp / "Cfg", defined},
      // A bare name leaves an empty program directory; changing to it fails silently.
      {"Second.ini", "", "Second.ini", start, defined},
      {sub + "Third.ini", sub, sub + "Third.ini", platform::JoinPath(start, "sub"), defined},
      {tmp / "none.ini", dir, dir + "vaskarel.ini", tmp.Path(),
       " Error: Secondary configuration file not found :"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartupHarness run;
    std::filesystem::current_path(start);
    WriteConfig("[Start]\nConfigFile=" + c.name + "\n");
    run.core.FormCreate(exe);

    EXPECT_TRUE(run.boxes.errors.empty());
    EXPECT_EQ(run.core.programDir, c.programDir);
    EXPECT_EQ(run.core.configFile, c.configFile);
    EXPECT_EQ(Cwd(), c.cwd);
    Lines lines = run.LogLines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[5], c.message);
    EXPECT_EQ(lines[6], "    " + c.name);
    // The log file, the documentation and the dialogs stay with the executable.
    EXPECT_EQ(run.core.logFile, dir + "vaskarel.log");
    EXPECT_EQ(run.dokuView.Text(), "doc");
    EXPECT_EQ(run.openDialog.InitialDir(), dir);
  }
}

TEST_F(StartUp, PathsAreLoggedAsTheyAreOnDisk) {
  const std::string prog = platform::JoinPath(tmp / "Prog", "");
  WriteFile(prog + "Vaskarel.INI", "[Start]\n");
  WriteFile(prog + "Vaskarel.TXT", "the guide");
  core.FormCreate(prog + "vaskarel");

  EXPECT_EQ(core.configFile, prog + "Vaskarel.INI");
  EXPECT_EQ(LineAt(2), "    " + prog + "Vaskarel.INI");
  EXPECT_EQ(LineAt(4), "    " + prog + "vaskarel.log");
  EXPECT_EQ(LineAt(6), "    " + prog + "Vaskarel.TXT");
  EXPECT_EQ(h.dokuView.Text(), "the guide");
}

#ifndef _WIN32
// An installed program: nothing beside /usr/bin/vaskarel but what the test puts there.
class InstalledStartUp : public StartUp {
 protected:
  const TempDir& xdg = h.xdg;
  const std::string exe = xdg / "usr/bin/vaskarel";
  const std::string userIni = xdg / "home/.config/vaskarel/vaskarel.ini";
  const std::string systemIni = xdg / "etc/xdg/vaskarel/vaskarel.ini";
  const std::string defaultIni = xdg / "usr/share/vaskarel/vaskarel.ini";
  const std::string besideIni = xdg / "usr/bin/vaskarel.ini";
  const std::string stateLog = xdg / "home/.local/state/vaskarel/vaskarel.log";

  void SetUp() override {
    WriteFile(defaultIni, "[Start]\n");
    WriteFile(xdg / "usr/share/vaskarel/vaskarel.txt", "installed guide");
    std::filesystem::create_directories(xdg / "usr/bin");
  }
};

TEST_F(InstalledStartUp, ConfigurationBesideFirstThenUserThenSystemThenInstalledDefaults) {
  for (const std::string& ini : {besideIni, userIni, systemIni}) WriteFile(ini, "[Start]\n");
  for (const std::string& expected : {besideIni, userIni, systemIni, defaultIni}) {
    SCOPED_TRACE(expected);
    StartupHarness run;
    run.env.variables = h.env.variables;
    run.core.FormCreate(exe);
    EXPECT_EQ(run.core.configFile, expected);
    EXPECT_EQ(run.LogLines().at(2), "    " + expected);
    std::filesystem::remove(expected);
  }
}

TEST_F(InstalledStartUp, UnwritableProgramFolderLogsIntoTheStateFolder) {
  // The folder of the executable refuses new files, as /usr/bin does for a user.
  h.files.appendError = EACCES;
  h.files.appendErrorPrefix = xdg / "usr/";
  core.FormCreate(exe);

  EXPECT_TRUE(h.boxes.errors.empty());
  EXPECT_TRUE(core.initialised);
  EXPECT_EQ(h.LogLines(),
            (Lines{kStartLine, " Read primary configuration file: ", "    " + defaultIni,
                   " Log file is : ", "    " + stateLog,
                   " Read documentation file :", "    " + (xdg / "usr/share/vaskarel/vaskarel.txt"),
                   " Initialisation finished", ""}));
  EXPECT_EQ(ReadFile(stateLog), core.m4Log.GetWholeText());
  EXPECT_EQ(h.dokuView.Text(), "installed guide");
  // Its file dialogs open where it was started, which stays the current directory.
  EXPECT_EQ(h.openDialog.InitialDir(), startDir + "/");
  EXPECT_EQ(Cwd(), startDir);
}

// The folders the log is put into: new state folders the user's alone, an existing one
// as it is, and the folder of a configured log file open as the umask allows.
TEST_F(InstalledStartUp, NewStateFoldersAreTheUsersAlone) {
  const auto mode = [](const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
  };
  const std::string state = xdg / "home/.local/state/vaskarel";
  std::filesystem::create_directories(xdg / "home");
  const mode_t mask = ::umask(022);
  const auto startUp = [&] {
    StartupHarness run;
    run.env.variables = h.env.variables;
    run.files.appendError = EACCES;  // the program folder refuses the log, as /usr/bin does
    run.files.appendErrorPrefix = xdg / "usr/";
    run.core.FormCreate(exe);
    EXPECT_TRUE(run.boxes.errors.empty());
  };
  startUp();
  for (const std::string folder :
       {"home/.local", "home/.local/state", "home/.local/state/vaskarel"}) {
    SCOPED_TRACE(folder);
    EXPECT_EQ(mode(xdg / folder), 0700);
  }
  EXPECT_EQ(mode(xdg / "home"), 0755);

  std::filesystem::remove_all(state);
  EXPECT_EQ(::mkdir(state.c_str(), 0750), 0);
  startUp();
  EXPECT_EQ(mode(state), 0750);

  WriteFile(userIni, "[Start]\nLogFile=logs/run.log\n");
  startUp();
  EXPECT_EQ(mode(xdg / "home/.config/vaskarel/logs"), 0755);
  ::umask(mask);
}

TEST_F(InstalledStartUp, WritableProgramFolderKeepsTheLogBesideTheExecutable) {
  WriteFile(userIni, "[Start]\nLogFile=logs/run.log\n");
  core.FormCreate(exe);
  // A relative LogFile is taken from the folder of the configuration file.
  EXPECT_EQ(core.logFile, xdg / "home/.config/vaskarel/logs/run.log");

  StartupHarness second;
  second.env.variables = h.env.variables;
  WriteFile(userIni, "[Start]\n");
  second.core.FormCreate(exe);
  EXPECT_EQ(second.core.logFile, xdg / "usr/bin/vaskarel.log");
  EXPECT_TRUE(second.boxes.errors.empty());
}
#endif

#ifndef _WIN32
TEST_F(StartUp, ALogFileThatIsAFifoWithoutReaderDoesNotHoldStartUp) {
  ASSERT_EQ(mkfifo((tmp / "log.fifo").c_str(), 0600), 0);
  WriteConfig("[Start]\nLogFile=" + (tmp / "log.fifo") + "\n");
  core.FormCreate(exe);  // returns: opening the FIFO does not wait for a reader
  ASSERT_EQ(h.boxes.errors.size(), 1u);
  EXPECT_EQ(h.boxes.errors[0].text,
            "I/O error 103.\n" + (tmp / "log.fifo") + ": No such device or address");
  EXPECT_FALSE(core.initialised);
}
#endif

TEST_F(StartUp, UncreatableLogFolderEndsStartUp) {
  WriteFile(tmp / "blocker", "a file, not a folder");
  WriteConfig("[Start]\nLogFile=" + (tmp / "blocker/sub/run.log") + "\n");
  core.FormCreate(exe);

  ASSERT_EQ(h.boxes.errors.size(), 1u);
  EXPECT_EQ(h.boxes.errors[0].caption, "vaskarel");
  EXPECT_EQ(h.boxes.errors[0].text,
            "Unable to create directory.\n" + (tmp / "blocker/sub") + ": Not a directory");
  EXPECT_EQ(
      h.LogLines(),
      (Lines{kStartLine, " Read primary configuration file: ", "    " + dir + "vaskarel.ini"}));
  EXPECT_EQ(h.hintInstalls, 0);
  EXPECT_FALSE(core.initialised);
  EXPECT_EQ(Cwd(), startDir);
  // No mirror: a later line neither reaches a file nor raises a box.
  core.Log(" later");
  EXPECT_EQ(h.boxes.errors.size(), 1u);
}

}  // namespace
