// Where the program's files are on Windows: beside the executable, and the log in
// %LOCALAPPDATA%\vaskarel\ where the program's folder cannot be written.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"
#include "main/program_files.h"

namespace {

TEST(WindowsProgramFiles, TheLogGoesToTheLocalAppDataFolderWhereTheProgramsCannotBeWritten) {
  TempDir folder("vk_files");
  FakeEnvironment env;
  env.variables = {
      {"APPDATA", folder / "Roaming"}, {"LOCALAPPDATA", folder / "Local"}, {"HOME", "C:\\ignored"}};
  const startup::SearchFolders folders = startup::HostSearchFolders(env, folder.Path());
  ASSERT_EQ(folders.config.size(), 1u);
  EXPECT_EQ(folders.config[0], folder / "Roaming");
  EXPECT_EQ(folders.state, folder / "Local");
  EXPECT_TRUE(folders.data.empty());

  // A program folder that can be written keeps the log beside the program.
  WriteFile(folder / "Tools\\vaskarel.exe", "");
  const startup::ProgramFiles writable =
      startup::FindProgramFiles(folder / "Tools\\vaskarel.exe", folders);
  EXPECT_EQ(startup::DefaultLogFile(writable), folder / "Tools\\vaskarel.log");
  // One that cannot (here: it is not there at all) sends it to the local folder.
  const startup::ProgramFiles locked =
      startup::FindProgramFiles(folder / "Program Files\\Vaskarel\\vaskarel.exe", folders);
  EXPECT_EQ(startup::DefaultLogFile(locked), folder / "Local\\vaskarel\\vaskarel.log");

  // Relative or unset variables are not folders.
  env.variables = {{"APPDATA", "Roaming"}};
  const startup::SearchFolders none = startup::WindowsSearchFolders(env);
  EXPECT_TRUE(none.config.empty());
  EXPECT_TRUE(none.state.empty());
}

}  // namespace
