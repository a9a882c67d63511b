#include <cerrno>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "_4str32/_4str32.h"
#include "platform/files.h"

namespace {

// Every failure to open or create the file reports this code, whatever the cause.
constexpr int kCannotOpen = 103;

// The code an I/O error carries for a failed write. The codes of the message table are
// those of the original platform, so an errno with a counterpart there is reported
// under that code: a full disk or quota as 101 "Disk full", a refusal as 5 "File access
// denied", too many open files as 4. EIO has the value 5 here, which would read as
// "File access denied"; it is reported as 1117, the original platform's code for a
// device I/O error ("I/O error 1117"). Every other errno passes through unchanged.
int WriteErrorCode(int err) {
  switch (err) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return 101;
    case EACCES:
    case EPERM:
      return 5;
    case EMFILE:
    case ENFILE:
      return 4;
    case EIO:
      return 1117;
    default:
      return err;
  }
}

}  // namespace

AppendingFile::AppendingFile(std::string fileName) : fileName_(std::move(fileName)) {}

AppendingFile::~AppendingFile() {
  if (file_) file_->Close();
}

void AppendingFile::Append(std::string_view text) {
  if (!file_) {
    platform::FileSystem& files = platform::Files();
    int err = 0;
    // O_APPEND: each write lands at the end of the file as it is at that moment, so
    // several programs appending to one log never overwrite each other.
    file_ = fileName_.empty() ? files.StandardOutput(err) : files.OpenAppend(fileName_, err);
    if (!file_) Fail(kCannotOpen, err);
  }
  // One Write call for the whole text (it loops only on a short write), so a line
  // appended by another program never lands inside this text.
  const int err = text.empty() ? 0 : file_->Write(text);
  if (err != 0) Fail(WriteErrorCode(err), err);
}

void AppendingFile::Close() {
  if (!file_) return;
  const int err = file_->Close();
  file_.reset();
  if (err != 0) Fail(WriteErrorCode(err), err);
}

void AppendingFile::Fail(int code, int err) {
  if (file_) file_->Close();
  file_.reset();
  const std::string name = fileName_.empty() ? "standard output" : fileName_;
  const std::string reason = err != 0 ? std::generic_category().message(err) : "unknown cause";
  throw EInOutError(code, name + ": " + reason);
}

void AppendTextToFile(const std::string& fileName, std::string_view text) {
  AppendingFile file(fileName);
  file.Append(text);
  // A close that fails means the text may not have reached the file: reported like
  // a failed write.
  file.Close();
}
