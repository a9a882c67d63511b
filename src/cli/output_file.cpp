// Writing a result file safely, with the backup of the file it replaces.
#include "cli/output_file.h"

#include <cerrno>
#include <system_error>

#include "_4str32/exceptions.h"
#include "main/source_files.h"
#include "platform/files.h"
#include "platform/process.h"

namespace {

std::string Reason(int err) {
  return std::generic_category().message(err);
}

// A free name beside the target, hidden, naming this process so that two runs never
// share one.
std::string TemporaryNameFor(const std::string& target) {
  static unsigned counter = 0;
  const std::string name = platform::BaseName(target);
  const std::string folder = target.substr(0, target.size() - name.size());
  const std::string stem = folder + "." + name + "." + std::to_string(platform::ProcessId()) + "-";
  std::string temp;
  do {
    temp = stem + std::to_string(counter++) + ".tmp";
  } while (platform::Files().FileExists(temp));
  return temp;
}

OutputResult Failed(std::string error) {
  OutputResult r;
  r.error = std::move(error);
  return r;
}

}  // namespace

OutputResult WriteFileSafely(const std::string& target, std::string_view bytes,
                             platform::Clock& clock, bool syncFolder) {
  platform::FileSystem& files = platform::Files();
  const std::string temp = TemporaryNameFor(target);
  int err = 0;
  std::unique_ptr<platform::WritableFile> file = files.CreateOrReplace(temp, err);
  if (!file) return Failed(target + ": cannot create: " + Reason(err));
  err = file->Write(bytes);
  if (err == 0) err = file->Sync();
  const int closeErr = file->Close();
  if (err == 0) err = closeErr;
  if (err != 0) {
    files.RemoveFile(temp);
    return Failed(target + ": cannot write: " + Reason(err));
  }

  OutputResult result;
  if (files.FileExists(target)) {
    try {
      result.backup = MakeBackup(target, clock.Now());
    } catch (const Exception& e) {
      files.RemoveFile(temp);
      return Failed(e.Message());  // it names the target
    }
  }
  err = files.RenameNoReplace(temp, target);
  if (err != 0) {
    files.RemoveFile(temp);
    std::string error = target + ": cannot create: " + Reason(err);
    if (!result.backup.empty()) error += "; the old file is kept as " + result.backup;
    return Failed(error);
  }
  // The rename and the backup are durable only once the folder is.
  err = syncFolder ? files.SyncParentDirectory(target) : 0;
  if (err != 0 && err != EINVAL && err != ENOTSUP) {
    return Failed(target + ": written, but its folder could not be synced: " + Reason(err));
  }
  result.ok = true;
  return result;
}
