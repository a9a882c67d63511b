// vaskarel-merge's command line: arguments cut at NUL bytes, parsed as the program
// parses them. A wrong command line gets a message; a right one only what was given.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/options.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args{""};
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  MergeSettings settings;
  const std::optional<std::string> error = ParseMergeArguments(args, "/work/folder", settings);
  if (error) {
    fuzz::Require(!error->empty(), "a wrong command line gets a message");
    return 0;
  }
  for (const std::string& operand : settings.operands) {
    fuzz::Require(std::find(args.begin(), args.end(), operand) != args.end(),
                  "an operand is one of the arguments", operand);
  }
  fuzz::Require(!settings.output || !settings.output->empty(), "an output is named");
  fuzz::Require(!settings.codePage || *settings.codePage == 874 ||
                    (*settings.codePage >= 1250 && *settings.codePage <= 1258),
                "a code page the tool knows");
  return 0;
}
