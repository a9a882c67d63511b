// vaskarel-merge run in process: the same bytes as the window's Load code file, Merge
// files and Save merged file; safe output with backups; folder runs; exit statuses.
#include "cli/merge_tool.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>
#include <sstream>

#include "fakes/captured_output.h"
#include "fakes/core_harness.h"
#include "fakes/fake_files.h"
#include "fakes/fake_platform.h"
#include "fakes/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    names.push_back(fs::relative(e.path(), dir).generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Fails the reading of one file.
class UnreadableFile : public FaultyFileSystem {
 public:
  std::string path;
  int ReadWholeFile(const std::string& p, std::string& out) override {
    if (p == path) return EACCES;
    return FaultyFileSystem::ReadWholeFile(p, out);
  }
};

// What the window writes: Load code file on dir/code (its header found beside it),
// Merge files, Save merged file to target.
std::string WindowResult(const fs::path& code, const fs::path& target) {
  CoreHarness window;
  TMainCore& core = window.core;
  window.openDialog.answers.push_back(code.string());
  window.saveDialog.answers.push_back(target.string());
  core.RunCommand([&] { core.LoadCodeFile(); });
  core.RunCommand([&] { core.MergeFiles(); });
  core.RunCommand([&] { core.SaveMergedFile(); });
  EXPECT_TRUE(window.boxes.errors.empty()) << window.boxes.errors[0].text;
  return ReadFile(target);
}

class MergeToolTest : public ::testing::Test {
 protected:
  // The name as the tool writes it, with the system's separators.
  std::string At(const std::string& name) const { return (dir_ / name).make_preferred().string(); }
  int Run(std::vector<std::string> args) {
    out_.bytes.clear();
    err_.str("");
    MergeToolOptions options;
    options.clock = &clock_;
    options.errIsTerminal = terminal_;
    options.elapsedSeconds = [this] { return seconds_ += 1.0; };
    return RunMergeTool(args, out_, err_, options);
  }

  TempDir tmp_{"vk_cli"};
  fs::path dir_ = tmp_.Path();
  CapturedOutput out_;
  std::ostringstream err_;
  FakeClock clock_;
  bool terminal_ = false;
  double seconds_ = 0;
};

TEST_F(MergeToolTest, SameBytesAsTheWindow) {
  const struct {
    const char* what;
    std::string code, header;
  } cases[] = {
      {"LF breaks become CR LF", "Say(DLG_TEXT[1]);\nSay(DLG_TEXT[0]);\n",
       "string DLG_TEXT[2] = {\n\"Yes\", \"No\",\n};\n"},
      {"lone CR, no final break", "a\rDLG_TEXT[0]\r\rb", "\"x\r\ny\""},
      {"NUL cuts both files", std::string("DLG_TEXT[0]\0DLG_TEXT[0]", 23),
       std::string("\"one\"\0\"two\"", 11)},
      {"escaped quotes shift", "DLG_TEXT[0]|DLG_TEXT[1]|DLG_TEXT[2]", "\"a\\\"b\\\"c\", \"d\""},
      {"odd quotes, text to the end", "DLG_TEXT[0] DLG_TEXT[1]", "\"a\" \"tail\n"},
      {"1 and 10 apart, odd forms left", "DLG_TEXT[1] DLG_TEXT[10] DLG_TEXT[01] dlg_text[2]",
       "\"0\"\"1\"\"2\"\"3\"\"4\"\"5\"\"6\"\"7\"\"8\"\"9\"\"10\""},
      {"reference inside a text", "DLG_TEXT[0]", "\"<DLG_TEXT[1]><DLG_TEXT[0]>\" \"later\""},
      {"empty code", "", "\"a\""},
      {"empty header", "DLG_TEXT[0]\n", ""},
      {"bytes above 127 pass", "\xe4\xf6 DLG_TEXT[0]\r\n", "\"\xfc\xdf\""},
  };
  int i = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path folder = dir_ / std::to_string(i++);
    WriteFile(folder / "dialog.c", c.code);
    WriteFile(folder / "dialog.h", c.header);
    const std::string window = WindowResult(folder / "dialog.c", folder / "window.c");

    ASSERT_EQ(Run({(folder / "dialog.c").string()}), kExitDone) << err_.str();
    EXPECT_EQ(out_.bytes, window);
    ASSERT_EQ(Run({(folder / "dialog.c").string(), "-o", (folder / "tool.c").string()}), kExitDone);
    EXPECT_EQ(ReadFile(folder / "tool.c"), window);
  }
  // And the window's result itself is right for the first case.
  EXPECT_EQ(ReadFile(dir_ / "0" / "tool.c"), "Say(\"No\");\r\nSay(\"Yes\");\r\n");
}

TEST_F(MergeToolTest, HeaderGivenOrFoundIgnoringCase) {
  WriteFile(dir_ / "a.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "A.H", "\"upper\"");
  WriteFile(dir_ / "other.h", "\"given\"");
  EXPECT_EQ(Run({At("a.c")}), kExitDone);
  EXPECT_EQ(out_.bytes, "\"upper\"");
  EXPECT_EQ(Run({At("a.c"), At("other.h")}), kExitDone);
  EXPECT_EQ(out_.bytes, "\"given\"");
}

TEST_F(MergeToolTest, ExistingOutputIsBackedUpNeverReplaced) {
  WriteFile(dir_ / "d.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "d.h", "\"new\"");
  WriteFile(dir_ / "out.c", "old");
  ASSERT_EQ(Run({At("d.c"), "-o", At("out.c")}), kExitDone);
  ASSERT_EQ(Run({At("d.c"), "-o", At("out.c")}), kExitDone);  // the same second
  EXPECT_EQ(ReadFile(dir_ / "out.c"), "\"new\"");
  EXPECT_EQ(ReadFile(dir_ / "out.c.2023-07-05-09-03-07"), "old");
  EXPECT_EQ(ReadFile(dir_ / "out.c.2023-07-05-09-03-07.1"), "\"new\"");
  // Merging a code file onto itself is refused unless asked for; then the original is
  // kept as its backup, as the window does.
  EXPECT_EQ(Run({At("d.c"), "-o", dir_.string()}), kExitFailure);
  EXPECT_NE(err_.str().find("give --in-place"), std::string::npos) << err_.str();
  EXPECT_EQ(ReadFile(dir_ / "d.c"), "DLG_TEXT[0]");
  EXPECT_EQ(Run({At("d.c"), "-o", At("d.h")}), kExitFailure);  // nor its header
  ASSERT_EQ(Run({At("d.c"), "-o", dir_.string(), "--in-place"}), kExitDone);
  EXPECT_EQ(ReadFile(dir_ / "d.c"), "\"new\"");
  EXPECT_EQ(ReadFile(dir_ / "d.c.2023-07-05-09-03-07"), "DLG_TEXT[0]");
  // A folder that does not exist yet, written as one, is created.
  ASSERT_EQ(Run({At("d.c"), "-o", At("new/sub/")}), kExitDone);
  EXPECT_EQ(ReadFile(dir_ / "new/sub/d.c"), "\"new\"");
}

TEST_F(MergeToolTest, FailedWriteLeavesNothingHalfWritten) {
  WriteFile(dir_ / "d.c", std::string(1000, 'x') + "DLG_TEXT[0]");
  WriteFile(dir_ / "d.h", "\"t\"");
  WriteFile(dir_ / "out.c", "old");
  const std::vector<std::string> before = Entries(dir_);
  const struct {
    const char* what;
    void (*fault)(FaultyFileSystem&);
    const char* reason;
  } cases[] = {
      {"disk full", [](FaultyFileSystem& f) { f.writeLimit = 100; }, "No space left on device"},
      {"sync fails", [](FaultyFileSystem& f) { f.syncError = EIO; }, "Input/output error"},
      {"cannot create", [](FaultyFileSystem& f) { f.createError = EACCES; }, "Permission denied"},
      {"no backup", [](FaultyFileSystem& f) { f.renameError = EPERM; }, "backup"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FaultyFileSystem faulty;
    c.fault(faulty);
    platform::ScopedFileSystem scope(faulty);
    EXPECT_EQ(Run({"-q", At("d.c"), "-o", At("out.c")}), kExitFailure);
    EXPECT_NE(err_.str().find(At("out.c")), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find(c.reason), std::string::npos) << err_.str();
    const std::string err = err_.str();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(ReadFile(dir_ / "out.c"), "old");
    EXPECT_EQ(Entries(dir_), before);  // no temporary file, no backup
  }
  // A new file that cannot take its name had no old file to keep.
  FaultyFileSystem faulty;
  faulty.renameError = EIO;
  platform::ScopedFileSystem scope(faulty);
  EXPECT_EQ(Run({"-q", At("d.c"), "-o", At("fresh.c")}), kExitFailure);
  EXPECT_EQ(err_.str(),
            "vaskarel-merge: " + At("fresh.c") + ": cannot create: Input/output error\n");
  EXPECT_EQ(Entries(dir_), before);
}

TEST_F(MergeToolTest, RefusesAResultThatTextsMultiply) {
  // Each text holds the next one twice: 2^40 copies of the last.
  std::string header;
  for (int n = 0; n < 40; ++n) {
    header += "\"DLG_TEXT[" + std::to_string(n + 1) + "]DLG_TEXT[" + std::to_string(n + 1) + "]\"";
  }
  WriteFile(dir_ / "d.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "d.h", header + "\"end\"");
  EXPECT_EQ(Run({"-q", At("d.c"), "-o", At("out.c")}), kExitFailure);
  EXPECT_NE(err_.str().find("larger than 1 GiB"), std::string::npos) << err_.str();
  EXPECT_FALSE(fs::exists(dir_ / "out.c"));
}

TEST_F(MergeToolTest, AnyNameValidAsATargetWorks) {
  // The new file's name is short whatever the target's: a 250-byte name is saved.
  WriteFile(dir_ / "d.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "d.h", "\"t\"");
  const std::string name = std::string(248, 'n') + ".c";
  ASSERT_EQ(Run({"-q", At("d.c"), "-o", At(name)}), kExitDone) << err_.str();
  EXPECT_EQ(ReadFile(dir_ / name), "\"t\"");
}

TEST_F(MergeToolTest, InputsAreReadNoFurtherThanTheLimit) {
  // 300 MiB of zero bytes that take no room on disk: the merge reads up to the first
  // NUL, the check up to the limit, and neither reads the file whole.
  WriteFile(dir_ / "d.h", "\"t\"");
  WriteFile(dir_ / "huge.c", "");
  fs::resize_file(dir_ / "huge.c", 300u << 20);
  EXPECT_EQ(Run({"-q", At("huge.c"), At("d.h")}), kExitDone) << err_.str();
  EXPECT_EQ(out_.bytes, "");
  EXPECT_EQ(Run({"-q", "--check", At("huge.c"), At("d.h")}), kExitFailure);
  EXPECT_EQ(err_.str(), "vaskarel-merge: " + At("huge.c") +
                            ": larger than the input limit of 256 MiB; not read\n");
}

TEST_F(MergeToolTest, FolderRunMergesPairsAndGoesOnPastFailures) {
  WriteFile(dir_ / "in/a.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "in/a.h", "\"A\"");
  WriteFile(dir_ / "in/sub/deep/B.C", "DLG_TEXT[1]\n");
  WriteFile(dir_ / "in/sub/deep/b.h", "\"x\" \"B\"");
  WriteFile(dir_ / "in/lone.c", "no header");
  WriteFile(dir_ / "in/bad.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "in/bad.h", "\"unreadable\"");
  WriteFile(dir_ / "in/notes.txt", "DLG_TEXT[0]");
  WriteFile(dir_ / "in/x.c/c.c", "DLG_TEXT[0]");  // a folder named like a code file
  WriteFile(dir_ / "in/x.c/c.h", "\"C\"");
  UnreadableFile faulty;
  faulty.path = At("in/bad.h");
  platform::ScopedFileSystem scope(faulty);

  EXPECT_EQ(Run({"-o", At("out"), At("in")}), kExitFailure);
  EXPECT_EQ(ReadFile(dir_ / "out/a.c"), "\"A\"");
  EXPECT_EQ(ReadFile(dir_ / "out/sub/deep/B.C"), "\"B\"\r\n");
  EXPECT_EQ(ReadFile(dir_ / "out/x.c/c.c"), "\"C\"");
  EXPECT_EQ(Entries(dir_ / "out"),
            (std::vector<std::string>{"a.c", "sub", "sub/deep", "sub/deep/B.C", "x.c", "x.c/c.c"}));
  const std::string err = err_.str();
  EXPECT_EQ(err.find("lone.c"), std::string::npos) << err;  // no dialog: skipped quietly
  EXPECT_NE(err.find(At("in/bad.h") + ": cannot read: Permission denied"), std::string::npos);
  EXPECT_NE(err.find("vaskarel-merge: 3 pairs merged, 4 texts, 3 references replaced, 0 left, "
                     "11 bytes written, 1 without references skipped, 1 problem\n"),
            std::string::npos)
      << err;
}

TEST_F(MergeToolTest, FolderRunPutsNothingInPlaceThatMayNotBeOnTheDisk) {
  WriteFile(dir_ / "in/a.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "in/a.h", "\"A\"");
  WriteFile(dir_ / "in/sub/b.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "in/sub/b.h", "\"B\"");
  WriteFile(dir_ / "out/a.c", "old");
  FaultyFileSystem faulty;
  faulty.syncError = EIO;
  {
    platform::ScopedFileSystem scope(faulty);
    EXPECT_EQ(Run({"-q", "-o", At("out"), At("in")}), kExitFailure);
  }
  EXPECT_NE(err_.str().find("could not be made durable: Input/output error; no output was "
                            "replaced"),
            std::string::npos)
      << err_.str();
  EXPECT_EQ(Entries(dir_ / "out"), (std::vector<std::string>{"a.c", "sub"}));
  EXPECT_EQ(ReadFile(dir_ / "out/a.c"), "old");
  // Without the fault every result takes its place, the old one kept as its backup.
  ASSERT_EQ(Run({"-q", "-o", At("out"), At("in")}), kExitDone) << err_.str();
  EXPECT_EQ(Entries(dir_ / "out"),
            (std::vector<std::string>{"a.c", "a.c.2023-07-05-09-03-07", "sub", "sub/b.c"}));
}

#ifndef _WIN32  // making a symbolic link takes a right of its own on Windows
TEST_F(MergeToolTest, FolderRunMakesTheFileSystemBehindALinkedOutputDurable) {
  WriteFile(dir_ / "in/a.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "in/a.h", "\"A\"");
  WriteFile(dir_ / "elsewhere/a.c", "old");
  fs::create_directories(dir_ / "out");
  fs::create_symlink(dir_ / "elsewhere/a.c", dir_ / "out/a.c");
  FaultyFileSystem recording;
  {
    platform::ScopedFileSystem scope(recording);
    ASSERT_EQ(Run({"-q", "-o", At("out"), At("in")}), kExitDone) << err_.str();
  }
  EXPECT_EQ(ReadFile(dir_ / "elsewhere/a.c"), "\"A\"");
  const std::vector<std::string>& synced = recording.syncedFileSystems;
  EXPECT_NE(std::find(synced.begin(), synced.end(), At("elsewhere")), synced.end())
      << ::testing::PrintToString(synced);
}
#endif

TEST_F(MergeToolTest, FolderRunIntoItsOwnTreeSkipsTheResults) {
  WriteFile(dir_ / "a.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "a.h", "\"A\"");
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(Run({"-o", At("out"), dir_.string()}), kExitDone) << err_.str();
    EXPECT_EQ(err_.str().find("skipped"), std::string::npos) << err_.str();
  }
  EXPECT_EQ(ReadFile(dir_ / "out/a.c"), "\"A\"");
}

TEST_F(MergeToolTest, FolderThatCannotBeCreatedIsNamed) {
  WriteFile(dir_ / "in/s/a.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "in/s/a.h", "\"A\"");
  WriteFile(dir_ / "in/t.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "in/t.h", "\"T\"");
  WriteFile(dir_ / "out/s", "a file in the way");
  EXPECT_EQ(Run({"-o", At("out"), At("in")}), kExitFailure);
  EXPECT_NE(err_.str().find(At("out/s") + ": cannot create folder: Not a directory"),
            std::string::npos)
      << err_.str();
  EXPECT_EQ(ReadFile(dir_ / "out/t.c"), "\"T\"");
}

TEST_F(MergeToolTest, ProgressOnlyOnATerminal) {
  for (int i = 0; i < 5; ++i) {
    WriteFile(dir_ / "in" / ("f" + std::to_string(i) + ".c"), "DLG_TEXT[0]");
    WriteFile(dir_ / "in" / ("f" + std::to_string(i) + ".h"), "\"t\"");
  }
  ASSERT_EQ(Run({"-o", At("out"), At("in")}), kExitDone);
  EXPECT_EQ(err_.str().find('\r'), std::string::npos);
  terminal_ = true;
  seconds_ = 0;
  ASSERT_EQ(Run({"-o", At("out"), At("in")}), kExitDone);
  // Each look at the clock is a second later: 5 s for 4 files, so 1 s for the last.
  EXPECT_NE(err_.str().find("] 4/5 files, 0:01 left"), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find("[##############################] 5/5 files"), std::string::npos);
  // The bar is wiped before the summary.
  EXPECT_NE(err_.str().find("\r\x1b[Kvaskarel-merge: 5 pairs merged"), std::string::npos);
}

TEST_F(MergeToolTest, ExitStatusesAndMessages) {
  WriteFile(dir_ / "ok.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "ok.h", "\"t\"");
  WriteFile(dir_ / "bad.c", "DLG_TEXT[1]");
  WriteFile(dir_ / "bad.h", "\"t\"");
  WriteFile(dir_ / "lone.c", "DLG_TEXT[0]");
  WriteFile(dir_ / "helper.c", "int x[2];");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;  // expected in the error stream
    const char* out;  // expected in the output
  } cases[] = {
      {{"--help"}, kExitDone, "", "Usage: vaskarel-merge"},
      {{"--version"}, kExitDone, "", "vaskarel-merge "},
      {{}, kExitFailure, "no code file given\nTry 'vaskarel-merge --help'", ""},
      {{"--frobnicate", At("ok.c")}, kExitFailure, "unknown option '--frobnicate'", ""},
      {{At("ok.c"), "-o"}, kExitFailure, "option -o needs", ""},
      {{"-o", "a", "-o", "b", At("ok.c")}, kExitFailure, "more than once", ""},
      {{dir_.string()}, kExitFailure, "need -o OUTDIR", ""},
      {{At("missing.c")}, kExitFailure, "missing.c: cannot read: No such file or directory", ""},
      {{At("lone.c")},
       kExitProblemsFound,
       "lone.c: no header found (looked in: " + dir_.string() + ")",
       ""},
      {{At("helper.c")},
       kExitDone,
       "0 pairs merged, 0 texts, 0 references replaced, 0 left, "
       "0 bytes written, 1 without references skipped, 0 problems",
       ""},
      {{At("ok.c"), At("missing.h")}, kExitFailure, "missing.h: cannot read", ""},
      {{"-o", At("ok.h"), dir_.string()}, kExitFailure, "is a file, not a folder", ""},
      {{"--check", At("ok.c")},
       kExitDone,
       "1 pair checked, 1 text, 1 reference replaced, 0 left, 0 problems",
       ""},
      {{"--check", At("bad.c")},
       kExitProblemsFound,
       "2 problems\nvaskarel-merge: missing-text: 1 error\nvaskarel-merge: unused-text: 1 "
       "warning\n",
       "bad.c:1:1: error: DLG_TEXT[1] has no dialog text"},
      {{"--check", "-q", At("ok.c"), At("bad.c"), At("lone.c")},
       kExitProblemsFound,
       "",
       "bad.h:1:1"},
      // Only the findings shown count; the names are checked, the known ones listed.
      {{"--check", "--ignore=missing-text", "--ignore", "unused-text", At("bad.c")},
       kExitDone,
       "0 problems\n",
       ""},
      {{"--check", "--only=unused-text,no-header", At("ok.c"), At("bad.c"), At("lone.c")},
       kExitProblemsFound,
       "2 problems\nvaskarel-merge: unused-text: 1 warning\nvaskarel-merge: no-header: 1 error\n",
       "lone.c:1:1: error: no header found"},
      {{"--only=unused-text,shifted", At("ok.c")},
       kExitFailure,
       "--only: unknown finding 'shifted'; the findings are nul-byte, odd-quotes,",
       ""},
      {{"--ignore=", At("ok.c")}, kExitFailure, "--ignore: unknown finding ''", ""},
      {{"--format=sarif", At("ok.c")}, kExitFailure, "--format=sarif goes with --check", ""},
      {{"--check", "--format=xml", At("ok.c")}, kExitFailure, "--format takes text or sarif", ""},
      {{"--ignore=no-header", At("lone.c")}, kExitDone, "0 problems", ""},
      {{"-q", At("ok.c")}, kExitDone, "", "\"t\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
    EXPECT_EQ(Run(c.args), c.status) << err_.str();
    EXPECT_NE(err_.str().find(c.err), std::string::npos) << err_.str();
    EXPECT_NE(out_.bytes.find(c.out), std::string::npos) << out_.bytes;
    if (c.err.empty()) {
      EXPECT_EQ(err_.str(), "");
    }
  }
  EXPECT_FALSE(fs::exists(dir_ / "ok.c.2023-07-05-09-03-07"));  // --check wrote nothing

  out_.error = EPIPE;
  EXPECT_EQ(Run({At("ok.c")}), kExitFailure);
  EXPECT_NE(err_.str().find("standard output: cannot write: Broken pipe"), std::string::npos);
}

}  // namespace
