#include <cerrno>
#include <memory>
#include <string>
#include <string_view>

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
    case EDQUOT:
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

void AppendTextToFile(const std::string& fileName, std::string_view text) {
  platform::FileSystem& files = platform::Files();
  int err = 0;
  // O_APPEND: each write lands at the end of the file as it is at that moment, so
  // several programs appending to one log never overwrite each other.
  std::unique_ptr<platform::WritableFile> file =
      fileName.empty() ? files.StandardOutput(err) : files.OpenAppend(fileName, err);
  if (!file) throw EInOutError(kCannotOpen);

  // One Write call for the whole text (it loops only on a short write), so a line
  // appended by another program never lands inside this text.
  int writeErr = text.empty() ? 0 : file->Write(text);
  // A close that fails (a deferred write error of a network file system) means the
  // text may not have reached the file: reported like a failed write.
  const int closeErr = file->Close();
  if (writeErr == 0) writeErr = closeErr;
  if (writeErr != 0) throw EInOutError(WriteErrorCode(writeErr));
}
