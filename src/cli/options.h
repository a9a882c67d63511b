// vaskarel-merge's command line: what it asks for, and its help text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/finding_kinds.h"

enum class LineBreaks { CrLf, Lf, Keep };
enum class OutputEncoding { Keep, Utf8 };
enum class FindingFormat { Text, Sarif };

struct MergeSettings {
  bool check = false, quiet = false, help = false, version = false;
  bool inPlace = false;  // a result may replace one of its own inputs
  std::optional<std::string> output;
  std::vector<std::string> operands;
  // Header folders in the order given: --lang NAME as NAME, taken from each code file's
  // folder; --headers DIR made absolute from the current directory.
  std::vector<std::string> headerFolders;
  LineBreaks lineBreaks = LineBreaks::CrLf;
  OutputEncoding encoding = OutputEncoding::Keep;
  std::optional<int> codePage;  // --codepage: the legacy code page of inputs not in UTF-8
  // The kinds of findings looked for and shown: --only's, or those on by default, less
  // --ignore's.
  FindingKindSet findings = FindingKindSet::Defaults();
  bool each = false;  // every finding on its own line, none grouped
  FindingFormat format = FindingFormat::Text;
};

// Parses the arguments (without the program name); cwd makes --headers absolute.
// Returns an error text for a wrong command line.
std::optional<std::string> ParseMergeArguments(const std::vector<std::string>& args,
                                               const std::string& cwd, MergeSettings& settings);

// The largest file the tool reads: larger ones are refused without reading them whole.
inline constexpr size_t kMaxInputBytes = size_t{256} << 20;

// The text --help prints, the names of the findings included.
std::string MergeToolUsage();
