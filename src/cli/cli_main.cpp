// The vaskarel-merge executable: hands the process's arguments and streams to the tool.
#include <cerrno>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/merge_tool.h"
#include "platform/files.h"
#include "platform/process.h"

namespace {

// Stands for a standard output the process was started without: every write fails.
class MissingOutput : public platform::WritableFile {
 public:
  explicit MissingOutput(int err) : err_(err) {}
  int Write(std::string_view, size_t* written) override {
    if (written) *written = 0;
    return err_;
  }
  int Sync() override { return err_; }
  int Close() override { return 0; }

 private:
  int err_;
};

}  // namespace

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  const std::vector<std::string> args = platform::CommandLineArguments(argc, argv);
  int err = 0;
  std::unique_ptr<platform::WritableFile> out = platform::Files().StandardOutput(err);
  if (!out) out = std::make_unique<MissingOutput>(err ? err : EBADF);
  MergeToolOptions options;
  options.errIsTerminal = platform::StandardErrorIsTerminal();
  return RunMergeTool(args, *out, std::cerr, options);
}
