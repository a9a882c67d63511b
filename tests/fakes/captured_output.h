// An output stream for tests: what is written is kept in `bytes`; with `error` set,
// every write fails with it (a closed pipe, a full disk).
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"

class CapturedOutput : public platform::WritableFile {
 public:
  std::string bytes;
  int error = 0;
  int Write(std::string_view b, size_t* written) override {
    if (error == 0) bytes.append(b);
    if (written) *written = error ? 0 : b.size();
    return error;
  }
  int Sync() override { return 0; }
  int Close() override { return 0; }
};
