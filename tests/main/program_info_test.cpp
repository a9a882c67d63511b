// The window program's answers to --help and --version.
#include "main/program_info.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(WindowCommandLine, HelpAndVersionAreAnsweredEverythingElseIgnored) {
  const std::string version = std::string("vaskarel ") + ProgramVersion() + "\n";
  EXPECT_EQ(WindowCommandLineAnswer({"--version"}), version);
  EXPECT_EQ(WindowCommandLineAnswer({"x.c", "--version", "--help"}), version);  // first wins
  for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"-style", "fusion", "--help"}}) {
    SCOPED_TRACE(args.back());
    std::optional<std::string> help = WindowCommandLineAnswer(args);
    ASSERT_TRUE(help);
    EXPECT_TRUE(
        help->starts_with("Usage: vaskarel [FILE...]\n       vaskarel --help | --version\n"));
    EXPECT_NE(help->find("$XDG_STATE_HOME/vaskarel/vaskarel.log"), std::string::npos);
  }
  for (const Args& args :
       {Args{}, Args{"dialog.c"}, Args{"--verbose", "-v"}, Args{"--", "--help"}}) {
    EXPECT_EQ(WindowCommandLineAnswer(args), std::nullopt);
  }
  EXPECT_STRNE(ProgramVersion(), "unknown");
}

}  // namespace
