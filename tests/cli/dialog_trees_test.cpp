// vaskarel-merge on whole dialog trees laid out as the games ship them: headers in a
// language folder beside the code, or in a parallel text tree with declared array
// names; every result the bytes the window saves; problems and the exit status; the
// comparison of languages; line breaks and encodings of the result.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <regex>
#include <sstream>

#include "cli/merge_tool.h"
#include "fakes/captured_output.h"
#include "fakes/core_harness.h"
#include "fakes/dialog_trees.h"
#include "fakes/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class DialogTreesTest : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    out_.bytes.clear();
    err_.str("");
    MergeToolOptions options;
    options.clock = &clock_;
    return RunMergeTool(args, out_, err_, options);
  }
  size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
  // What the window saves for a code file after Load code file (with these header
  // folders), Merge files and Save merged file.
  std::string WindowResult(const std::string& code, const std::vector<std::string>& folders) {
    CoreHarness window;
    window.core.headerFolders = folders;
    window.openDialog.answers.push_back(code);
    window.saveDialog.answers.push_back(tmp_ / "window.c");
    window.core.RunCommand([&] { window.core.LoadCodeFile(); });
    window.core.RunCommand([&] { window.core.MergeFiles(); });
    window.core.RunCommand([&] { window.core.SaveMergedFile(); });
    EXPECT_TRUE(window.boxes.errors.empty());
    const std::string bytes = ReadFile(tmp_ / "window.c");
    fs::remove(tmp_ / "window.c");
    return bytes;
  }

  // Whether text holds part, paths compared as the system compares them.
  static bool Holds(const std::string& text, const std::string& part) {
    return ComparablePaths(text).find(ComparablePaths(part)) != std::string::npos;
  }
  // The lines of the output that end in [name].
  std::vector<std::string> Lines(const std::string& name) {
    std::vector<std::string> lines;
    std::istringstream in(out_.bytes);
    for (std::string line; std::getline(in, line);) {
      if (name.empty() || line.ends_with("[" + name + "]")) lines.push_back(line);
    }
    return lines;
  }

  TempDir tmp_{"vk_trees"};
  std::string root_ = tmp_.Path();
  CapturedOutput out_;
  std::ostringstream err_;
  FakeClock clock_;
};

TEST_F(DialogTreesTest, HeadersInALanguageFolder) {
  const DialogTree tree = BuildDialogTree(root_, TreeLayout::kLanguageFolders, 216, 4, 2);
  const std::string dialogs = root_ + "/PROGRAM/DIALOGS";

  EXPECT_EQ(Run({"--lang", "English", "-o", root_ + "/out", dialogs}), kExitProblemsFound);
  const std::string err = ComparablePaths(err_.str());
  for (const std::string& orphan : tree.orphans) {
    EXPECT_NE(err.find(ComparablePaths(root_ + "/" + orphan + ": no header found (looked in: " +
                                       dialogs + ", " + dialogs + "/English)")),
              std::string::npos)
        << err;
  }
  EXPECT_NE(err.find("216 pairs merged"), std::string::npos) << err;
  EXPECT_NE(err.find("0 left"), std::string::npos) << err;
  EXPECT_NE(err.find("2 without references skipped, 4 problems"), std::string::npos) << err;
  for (const std::string& code : tree.pairs) {
    SCOPED_TRACE(code);
    const std::string result = ReadFile(root_ + "/out/" + code.substr(code.find('/', 8) + 1));
    ASSERT_EQ(result, WindowResult(root_ + "/" + code, {"English"}));
    EXPECT_EQ(result.find("DLG_TEXT"), std::string::npos);
  }
  // Without the folder, or checked, the run is not clean either.
  EXPECT_EQ(Run({"-q", "-o", root_ + "/out2", dialogs}), kExitProblemsFound);
  EXPECT_EQ(Count(err_.str(), "no header found"), 220u);
  EXPECT_EQ(Run({"-q", "--check", "--lang", "english", dialogs}), kExitProblemsFound);
  EXPECT_EQ(Count(out_.bytes, "\n"), 4u) << out_.bytes;
}

TEST_F(DialogTreesTest, HeadersInAParallelTextTreeWithTheirOwnArrayNames) {
  const DialogTree tree = BuildDialogTree(root_, TreeLayout::kTextTree, 476, 0, 0);
  const std::string code = root_ + "/Program/DIALOGS/russian";
  const std::string text = root_ + "/LANGUAGE/English/Program/Text/Dialogs";

  CurrentDirectoryGuard back;
  fs::current_path(root_);
  EXPECT_EQ(Run({"--headers", "LANGUAGE/English/Program/Text/Dialogs", "-o", "out", code}),
            kExitDone)
      << err_.str();
  EXPECT_NE(err_.str().find("476 pairs merged"), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find(", 0 left, "), std::string::npos) << err_.str();
  for (size_t i = 0; i < tree.pairs.size(); i += 25) {
    const std::string& c = tree.pairs[i];
    SCOPED_TRACE(c);
    const std::string result = ReadFile(root_ + "/out/" + c.substr(c.find("russian/") + 8));
    EXPECT_EQ(result, WindowResult(root_ + "/" + c, {text}));
    EXPECT_EQ(result.find("DLG_TEXT"), std::string::npos);
  }
  EXPECT_EQ(Run({"-q", "-o", "out2", code}), kExitProblemsFound);
  EXPECT_EQ(Run({"-q", "--check", "--headers", text, code}), kExitDone) << out_.bytes;
}

TEST_F(DialogTreesTest, ComparesTheLanguagesOfEachScript) {
  // French lost text 2 of 8; the texts keep their endings, numbers and lengths.
  const std::vector<std::string> english = {"Hello!",   "Who are you?",   "A ship.", "10 gold.",
                                            "Go away!", "The harbour...", "Yes.",    "No!"};
  auto header = [](const std::vector<std::string>& texts) {
    std::string h = "string DLG_TEXT[" + std::to_string(texts.size()) + "] = {\n";
    for (const std::string& t : texts) h += "\"" + t + "\",\n";
    return h + "};\n";
  };
  std::vector<std::string> french = {"Salut!",     "Qui es-tu?", "10 or.", "Va-t'en!",
                                     "Le port...", "Oui.",       "Non!"};
  std::string code;
  for (int n = 0; n < 8; ++n) code += "Say(DLG_TEXT[" + std::to_string(n) + "]);\n";
  WriteFile(root_ + "/D/a.c", code);
  WriteFile(root_ + "/D/English/a.h", header(english));
  WriteFile(root_ + "/D/French/a.h", header(french));
  WriteFile(root_ + "/D/b.c", "DLG_TEXT[0]");
  WriteFile(root_ + "/D/English/b.h", "\"x\"");

  EXPECT_EQ(Run({"--check", "--lang", "English", "--lang", "French", root_ + "/D"}),
            kExitProblemsFound);
  const std::string out = ComparablePaths(out_.bytes);
  EXPECT_NE(out.find(ComparablePaths(root_ + "/D/French/a.h:4:1: error: 7 dialog texts, " + root_ +
                                     "/D/English/a.h has 8; the texts look shifted from dialog "
                                     "text 2 on [shifted-texts]\n")),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(ComparablePaths(root_ +
                                     "/D/a.c:8:5: error: DLG_TEXT[7] has no dialog text and is "
                                     "left as it is; " +
                                     root_ + "/D/French/a.h has 7 dialog texts [missing-text]\n")),
            std::string::npos)
      << out;
  EXPECT_NE(out.find(ComparablePaths(
                root_ + "/D/b.c:1:1: warning: no header in French [no-language-header]\n")),
            std::string::npos)
      << out;
}

TEST_F(DialogTreesTest, TheLaterGamesTreeInThreeLanguagesGivesOnlyItsFaults) {
  TranslatedTreeFaults faults;
  faults.innerQuotes = {2, 7, 11};
  faults.lostToken = 5;
  faults.brokenUtf8 = 9;
  faults.untranslated = 13;
  const size_t kPairs = 150;
  const TranslatedTree tree = BuildTranslatedTree(root_, TreeLayout::kTextTree, kPairs, faults);
  CurrentDirectoryGuard back;
  fs::current_path(root_);
  std::vector<std::string> args = {"--check", "-q"};
  for (const char* language : {"English", "Italian", "French"}) {
    args.insert(args.end(),
                {"--headers", "LANGUAGE/" + std::string(language) + "/Program/Text/Dialogs"});
  }
  args.push_back("Program/DIALOGS/russian");
  auto run = [&](std::vector<std::string> extra) {
    extra.insert(extra.begin(), args.begin(), args.end());
    return Run(extra);
  };

  EXPECT_EQ(run({}), kExitProblemsFound);
#ifdef _WIN32
  const char* const kDrive = "([A-Za-z]:)?";  // absolute names begin with one
#else
  const char* const kDrive = "";
#endif
  const std::regex form(std::string("^") + kDrive +
                        R"([^:]+:[0-9]+:[0-9]+: (warning|error): .* \[[a-z0-9-]+\]$)");
  for (const std::string& line : Lines("")) EXPECT_TRUE(std::regex_match(line, form)) << line;
  // The encodings: one line for each folder of legacy headers, every other pair in it.
  const std::vector<std::string> encodings = Lines("mixed-encoding");
  ASSERT_EQ(encodings.size(), 2u) << out_.bytes;
  for (size_t l : {1, 2}) {
    EXPECT_EQ(Count(ComparablePaths(out_.bytes),
                    ComparablePaths(std::to_string(kPairs - 1) + " files of " +
                                    tree.headerFolders[l] + ": not UTF-8")),
              1u)
        << out_.bytes;
  }
  EXPECT_NE(out_.bytes.find("--encoding=utf-8"), std::string::npos);
  // Each shifted Italian header: one error at the line of the quoted word.
  const std::vector<std::string> shifted = Lines("shifted-texts");
  ASSERT_EQ(shifted.size(), 3u) << out_.bytes;
  for (size_t k = 0; k < 3; ++k) {
    const std::string& header = tree.headers[1][faults.innerQuotes[k]];
    EXPECT_TRUE(Holds(shifted[k], header + ":3:1: error: ")) << shifted[k];
    EXPECT_TRUE(
        shifted[k].ends_with("the texts look shifted from dialog text 1 on [shifted-texts]"))
        << shifted[k];
  }
  // What the shift does to those headers besides; the lost token; the broken code file.
  EXPECT_EQ(Lines("array-size").size(), 3u);
  EXPECT_EQ(Lines("unused-text").size(), 3u);
  ASSERT_EQ(Lines("tokens").size(), 1u);
  EXPECT_TRUE(
      Holds(Lines("tokens")[0], tree.headers[2][5] + ":2:2: error: dialog text 0 lacks #sgender#"));
  ASSERT_EQ(Lines("broken-utf8").size(), 1u);
  EXPECT_TRUE(Holds(Lines("broken-utf8")[0], tree.codes[9] + ":1:"));
  EXPECT_EQ(Lines("").size(), 13u) << out_.bytes;

  EXPECT_EQ(run({"--only=shifted-texts"}), kExitProblemsFound);
  EXPECT_EQ(Lines(""), shifted);
  EXPECT_EQ(run({"--only", "untranslated"}), kExitProblemsFound);
  ASSERT_EQ(Lines("").size(), 1u) << out_.bytes;
  EXPECT_TRUE(
      Holds(out_.bytes, tree.headers[2][13] + ":3:2: warning: dialog text 1 is the same as in "))
      << out_.bytes;
  EXPECT_EQ(run({"--each", "--only=mixed-encoding"}), kExitProblemsFound);
  EXPECT_EQ(Lines("mixed-encoding").size(), 2 * (kPairs - 1));
  EXPECT_EQ(run({"--ignore=mixed-encoding,shifted-texts,array-size", "--ignore=unused-text,tokens",
                 "--ignore=broken-utf8"}),
            kExitDone)
      << out_.bytes;
  EXPECT_EQ(out_.bytes, "");
}

TEST_F(DialogTreesTest, LanguageFoldersInThreeLanguagesGiveOnlyTheirFaults) {
  TranslatedTreeFaults faults;
  faults.innerQuotes = {6};
  faults.lostToken = 3;
  const TranslatedTree tree = BuildTranslatedTree(root_, TreeLayout::kLanguageFolders, 60, faults);
  EXPECT_EQ(Run({"--check", "--lang", "English", "--lang", "Italian", "--lang", "French",
                 root_ + "/PROGRAM/DIALOGS"}),
            kExitProblemsFound);
  const std::string out = ComparablePaths(out_.bytes);
  EXPECT_EQ(Lines("").size(), 4u) << out;
  for (const std::string kind : {"shifted-texts", "array-size", "unused-text", "tokens"}) {
    SCOPED_TRACE(kind);
    ASSERT_EQ(Lines(kind).size(), 1u);
    const std::string& header = kind == "tokens" ? tree.headers[2][3] : tree.headers[1][6];
    EXPECT_TRUE(Holds(Lines(kind)[0], header + ":"));
  }
}

#ifndef _WIN32
TEST_F(DialogTreesTest, AFifoNamedLikeAHeaderHoldsNoRun) {
  WriteFile(root_ + "/D/a.c", "DLG_TEXT[0]");
  fs::create_directories(root_ + "/D/English");
  ASSERT_EQ(mkfifo((root_ + "/D/a.h").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((root_ + "/D/English/a.h").c_str(), 0600), 0);
  for (const char* mode : {"--check", "--quiet"}) {
    SCOPED_TRACE(mode);
    EXPECT_EQ(Run({mode, "--lang", "English", "-o", root_ + "/out", root_ + "/D"}),
              kExitProblemsFound);
    EXPECT_NE((out_.bytes + err_.str())
                  .find(mode == std::string("--check") ? "a.c:1:1: error: no header found"
                                                       : "a.c: no header found"),
              std::string::npos);
  }
}
#endif

TEST_F(DialogTreesTest, LineBreaksAndEncodingOfTheResult) {
  WriteFile(root_ + "/a.c", "x = DLG_TEXT[0];\r\ny = DLG_TEXT[1];\n");
  WriteFile(root_ + "/a.h", "\"caf\xE9\", \"two\nlines\"");  // Windows-1252
  const struct {
    std::vector<std::string> options;
    std::string merged;
  } cases[] = {
      {{}, "x = \"caf\xE9\";\r\ny = \"two\r\nlines\";\r\n"},
      {{"--eol=lf"}, "x = \"caf\xE9\";\ny = \"two\nlines\";\n"},
      {{"--eol", "keep"}, "x = \"caf\xE9\";\r\ny = \"two\nlines\";\n"},
      {{"--encoding=utf-8", "--codepage=1252"},
       "x = \"caf\xC3\xA9\";\r\ny = \"two\r\nlines\";\r\n"},
      {{"--encoding=utf-8", "--codepage", "1251"},
       "x = \"caf\xD0\xB9\";\r\ny = \"two\r\nlines\";\r\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.options;
    args.push_back(root_ + "/a.c");
    SCOPED_TRACE(testing::PrintToString(c.options));
    EXPECT_EQ(Run(args), kExitDone) << err_.str();
    EXPECT_EQ(out_.bytes, c.merged);
  }
  EXPECT_EQ(Run({"--eol=cr", root_ + "/a.c"}), kExitFailure);
  EXPECT_EQ(Run({"--codepage=437", root_ + "/a.c"}), kExitFailure);
}

}  // namespace
