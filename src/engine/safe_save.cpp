#include "engine/safe_save.h"

#include <cerrno>
#include <memory>
#include <random>

#include "_4str32/exceptions.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

// How many numbered alternatives a backup may take when its plain name is taken.
constexpr int kMaxBackupNumber = 99;

}  // namespace

std::string BackupNameFor(const std::string& target, const platform::DateTime& t) {
  return target + "." + platform::BackupStamp(t);
}

std::string MakeBackup(const std::string& target, const platform::DateTime& t) {
  platform::FileSystem& files = platform::Files();
  const std::string base = BackupNameFor(target, t);
  // A second save within the same second finds the plain name taken; the rename never
  // replaces an existing backup, so each older version keeps a name of its own.
  for (int number = 0; number <= kMaxBackupNumber; ++number) {
    const std::string name = number == 0 ? base : base + "." + std::to_string(number);
    const int err = files.RenameNoReplace(target, name);
    if (err == 0) return name;
    if (err != EEXIST) {
      throw Exception("Cannot make a backup of " + target + ": " + platform::ErrnoMessage(err));
    }
  }
  throw Exception("Cannot make a backup of " + target + ": every backup name from " + base +
                  " to " + base + "." + std::to_string(kMaxBackupNumber) + " is taken");
}

namespace {

// How many links a target may lead through before it counts as a loop.
constexpr int kMaxLinks = 40;

// The file a target finally stands for: the target itself, or, through its symbolic
// links, what they lead to (each relative link taken from its own folder).
// Returns 0, ELOOP, or ENOENT with `file` the place a dangling link leads to.
int FollowLinks(const std::string& target, std::string& file) {
  platform::FileSystem& files = platform::Files();
  file = target;
  for (int hops = 0; files.KindOf(file, false) == platform::EntryKind::Link; ++hops) {
    if (hops == kMaxLinks) return ELOOP;
    std::string to;
    if (const int err = files.ReadLink(file, to); err != 0) return err;
    file = platform::IsAbsolutePath(to) ? to : platform::JoinPath(platform::FolderOf(file), to);
  }
  return file != target && files.KindOf(file, false) == platform::EntryKind::None ? ENOENT : 0;
}

// A new name beside `file`, short whatever the file's name, with a random part.
std::string TemporaryNameBeside(const std::string& file) {
  static std::mt19937_64 random{std::random_device{}()};
  static const char kHex[] = "0123456789abcdef";
  std::string name = ".vk";
  for (uint64_t bits = random(), i = 0; i < 10; ++i, bits >>= 4) name += kHex[bits & 15];
  return platform::JoinPath(platform::FolderOf(file), name + ".tmp");
}

SaveResult Failed(SaveResult::Failure failure, int error, std::string file) {
  SaveResult result;
  result.failure = failure;
  result.error = error;
  result.file = std::move(file);
  return result;
}

// Writes all of bytes into an open file; `sync` makes them durable. 0 or errno.
int WriteAll(platform::WritableFile& out, std::string_view bytes, bool sync) {
  size_t written = 0;
  int err = out.Write(bytes, &written);
  if (err == 0 && written != bytes.size()) err = EIO;
  if (err == 0 && sync) err = out.Sync();
  const int closed = out.Close();
  return err != 0 ? err : closed;
}

}  // namespace

PreparedSave PrepareSave(const std::string& target, std::string_view bytes, bool sync) {
  platform::FileSystem& files = platform::Files();
  PreparedSave save;
  save.target = target;
  int err = 0;
  // A device, FIFO or socket, also behind links that name no path (/dev/stdout leads
  // to /proc/self/fd/1, and that to "pipe:[...]"), is written into as it is: no backup
  // and no rename, which would put a file in its place.
  const platform::EntryKind finally = files.KindOf(target, true);
  if (finally == platform::EntryKind::Device || finally == platform::EntryKind::Special) {
    save.result.file = target;
    std::unique_ptr<platform::WritableFile> out = files.OpenInPlace(target, err);
    if (!out) {
      save.result = Failed(SaveResult::Failure::Create, err, target);
    } else if ((err = WriteAll(*out, bytes, false)) != 0) {
      save.result = Failed(SaveResult::Failure::Write, err, target);
    }
    return save;
  }
  std::string file;
  if ((err = FollowLinks(target, file)) != 0) {
    save.result = Failed(
        err == ENOENT ? SaveResult::Failure::DanglingLink : SaveResult::Failure::Create, err, file);
    save.result.detail = file;
    return save;
  }
  save.result.file = file;
  if (finally == platform::EntryKind::Directory) {
    save.result = Failed(SaveResult::Failure::NotAFile, EISDIR, file);
    return save;
  }
  const bool replaces = finally == platform::EntryKind::Regular;
  std::unique_ptr<platform::WritableFile> out;
  // A random name that is taken (by anything, a link too) is never opened: another one.
  for (int attempt = 0; attempt < 100; ++attempt) {
    save.temporary = TemporaryNameBeside(file);
    out = files.CreateNew(save.temporary, err);
    if (out || err != EEXIST) break;
  }
  if (!out) {
    save.temporary.clear();
    save.result = Failed(SaveResult::Failure::Create, err, file);
    return save;
  }
  // The replaced file's permission bits and owner, where the system allows it.
  if (replaces) (void)out->MatchPermissions(file);
  if ((err = WriteAll(*out, bytes, sync)) != 0) {
    AbandonSave(save);
    save.result = Failed(SaveResult::Failure::Write, err, file);
  }
  return save;
}

void AbandonSave(PreparedSave& save) {
  if (!save.temporary.empty()) platform::Files().RemoveFile(save.temporary);
  save.temporary.clear();
}

SaveResult CommitSave(PreparedSave& save, const platform::DateTime& when, bool syncFolder) {
  if (!save.result.ok() || save.temporary.empty()) return save.result;
  platform::FileSystem& files = platform::Files();
  SaveResult& result = save.result;
  const std::string& file = result.file;
  // The old content must survive under its backup name before the new takes its place.
  if (files.KindOf(file, false) != platform::EntryKind::None) {
    try {
      result.backup = MakeBackup(file, when);
    } catch (const Exception& e) {
      AbandonSave(save);
      result.failure = SaveResult::Failure::Backup;
      result.detail = e.Message();
      return result;
    }
  }
  if (const int err = files.RenameNoReplace(save.temporary, file); err != 0) {
    AbandonSave(save);
    result.failure = SaveResult::Failure::Replace;
    result.error = err;
    return result;
  }
  save.temporary.clear();
  // The renames are durable only once the folder is.
  const int err = syncFolder ? files.SyncParentDirectory(file) : 0;
  if (err != 0 && err != EINVAL && err != ENOTSUP) {
    result.failure = SaveResult::Failure::FolderSync;
    result.error = err;
  }
  return result;
}

SaveResult SaveFileSafely(const std::string& target, std::string_view bytes,
                          const platform::DateTime& when) {
  PreparedSave save = PrepareSave(target, bytes, true);
  return CommitSave(save, when, true);
}

std::string SaveFailureLine(const std::string& target, const SaveResult& r) {
  using F = SaveResult::Failure;
  switch (r.failure) {
    case F::None:
      return {};
    case F::Create:
      return target + ": cannot create: " + platform::ErrnoMessage(r.error);
    case F::Write:
      return target + ": cannot write: " + platform::ErrnoMessage(r.error) + "; it is unchanged";
    case F::Backup:
      return r.detail;
    case F::Replace:
      return target + ": cannot create: " + platform::ErrnoMessage(r.error) +
             (r.backup.empty() ? "" : "; the old file is kept as " + r.backup);
    case F::DanglingLink:
      return target + ": is a link to " + r.detail + ", which does not exist";
    case F::NotAFile:
      return target + ": is a folder";
    case F::FolderSync:
      return target +
             ": written, but its folder could not be synced: " + platform::ErrnoMessage(r.error);
  }
  return {};
}
