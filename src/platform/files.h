// The file-system services the rest of the program uses. Every file operation of
// the program goes through the FileSystem returned by Files(), so tests can swap in
// a fake that fails at a chosen step. Names are UTF-8 or, where they are not valid
// UTF-8, bytes in the legacy code page; errors are errno values on every system
// (files_posix.cpp, files_win.cpp).
#pragma once

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/paths.h"

namespace platform {

// An open file for writing. Errors are errno values (0 means success).
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Writes all of bytes, looping on short writes; returns 0 or the errno of the
  // failing write call. `written` (when given) receives the number of bytes that
  // reached the file.
  virtual int Write(std::string_view bytes, size_t* written = nullptr) = 0;
  // Makes the written bytes durable (fsync).
  virtual int Sync() = 0;
  // Closes the file; later calls do nothing. The destructor closes too.
  virtual int Close() = 0;
  // Gives this file the permission bits of the file at path and, where the system
  // allows it, its owner. 0 or errno; a system without such bits does nothing.
  virtual int MatchPermissions(const std::string& path) {
    (void)path;
    return 0;
  }
};

// What a name stands for on disk.
enum class EntryKind {
  None,     // nothing (or nothing that can be looked at)
  Regular,  // an ordinary file
  Directory,
  Link,     // a symbolic link (only when links are not followed)
  Device,   // a character or block device: /dev/null, a terminal, NUL
  Special,  // a FIFO or a socket
};

// One entry of a directory listing.
struct DirectoryEntry {
  // A symbolic link counts as what it points to, except that a link to a directory is
  // Other, so that a walk down a tree never loops.
  enum class Kind { File, Directory, Other };
  std::string name;
  Kind kind = Kind::Other;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when path names an existing entry that is not a directory.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Creates the directory and every missing parent, each with the permission bits mode
  // (less the process's umask; ignored on Windows). Folders that exist keep theirs.
  // 0 or errno.
  virtual int ForceDirectories(const std::string& path, unsigned mode) = 0;
  // Renames from to to; never replaces an existing `to` (EEXIST), also under a race.
  virtual int RenameNoReplace(const std::string& from, const std::string& to) = 0;
  // Reads every byte of a file. 0 or errno (ENOENT, EISDIR, EACCES, ...).
  virtual int ReadWholeFile(const std::string& path, std::string& out) = 0;
  // Reads a file as a text pane takes it: the bytes before its first NUL, where reading
  // stops. EFBIG (out empty) once more than maxBytes bytes come before any NUL, so a
  // huge file or an endless device is never read whole. 0 or errno.
  virtual int ReadTextUpToNul(const std::string& path, size_t maxBytes, std::string& out);
  // Creates a file or truncates an existing one, for writing. null and err set on failure.
  virtual std::unique_ptr<WritableFile> CreateOrReplace(const std::string& path, int& err) = 0;
  // Opens a file for appending (O_APPEND), creating it when missing.
  virtual std::unique_ptr<WritableFile> OpenAppend(const std::string& path, int& err) = 0;
  // The process's standard output; closing the returned object never closes it.
  // null and err set when the process has no usable standard output.
  virtual std::unique_ptr<WritableFile> StandardOutput(int& err) = 0;
  // Syncs the directory that holds path, so a rename or a new entry there is durable.
  virtual int SyncParentDirectory(const std::string& path) = 0;
  virtual std::string CurrentDirectory() = 0;
  virtual int SetCurrentDirectory(const std::string& path) = 0;
  // When path exists as written, returns it. Otherwise looks it up component by
  // component ignoring letter case and returns the name as it stands on disk, or
  // nullopt when no such entry exists.
  virtual std::optional<std::string> FindIgnoringCase(const std::string& path) = 0;
  // The entries of a directory without "." and "..", sorted by name. 0 or errno.
  virtual int ListDirectory(const std::string& path, std::vector<DirectoryEntry>& out) = 0;
  // Deletes a file, never a directory (EISDIR). 0 or errno.
  virtual int RemoveFile(const std::string& path) = 0;

  // What path stands for; a final symbolic link is followed when followLinks is set.
  virtual EntryKind KindOf(const std::string& path, bool followLinks) = 0;
  // Where the symbolic link at path points, as the link holds it. 0 or errno.
  virtual int ReadLink(const std::string& path, std::string& target) = 0;
  // Reads every byte of a file, at most maxBytes of them: EFBIG (out empty) beyond.
  virtual int ReadAtMost(const std::string& path, size_t maxBytes, std::string& out) = 0;
  // Creates a new file for writing, the program's alone: EEXIST when the name is taken,
  // by a symbolic link too, which is never followed.
  virtual std::unique_ptr<WritableFile> CreateNew(const std::string& path, int& err) = 0;
  // Opens an existing file, device, FIFO or socket for writing as it is: nothing is
  // created or truncated, and a FIFO without a reader fails (ENXIO) instead of waiting.
  virtual std::unique_ptr<WritableFile> OpenInPlace(const std::string& path, int& err) = 0;
  // Makes everything written to the file system that holds path durable at once.
  // ENOTSUP where the system cannot; then each file is synced with SyncFile.
  virtual int SyncFileSystem(const std::string& path) = 0;
  // SyncFileSystem for each file system that holds one of the folders, once each; the
  // first error, ENOTSUP included, ends it.
  virtual int SyncFileSystems(const std::vector<std::string>& folders);
  // Makes the bytes of the file at path durable. 0 or errno.
  virtual int SyncFile(const std::string& path) = 0;
};

// The modes of new folders: open to whom the umask allows, or the user's alone (the
// XDG state folder, which others may not even list).
inline constexpr unsigned kSharedFolderMode = 0777;
inline constexpr unsigned kPrivateFolderMode = 0700;

// What an errno value means, in words ("Permission denied").
inline std::string ErrnoMessage(int err) {
  return std::generic_category().message(err);
}

// The file system in force: the real one unless a test installed another.
FileSystem& Files();
// The real file system, whatever is installed.
FileSystem& RealFiles();

// Sorts directory entries by the bytes of their names, as ListDirectory gives them.
void SortByName(std::vector<DirectoryEntry>& entries);

// Installs a file system for the lifetime of the object (tests).
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& fs);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

// A text read as a pane takes it, from ReadWholeFile; a file system may read less.
inline int FileSystem::ReadTextUpToNul(const std::string& path, size_t maxBytes, std::string& out) {
  const int err = ReadWholeFile(path, out);
  if (err != 0) return err;
  const size_t nul = out.find('\0');
  if (nul != std::string::npos) out.erase(nul);
  if (out.size() <= maxBytes) return 0;
  out.clear();
  return EFBIG;
}

// Where nothing tells two file systems apart, each distinct folder counts as one.
inline int FileSystem::SyncFileSystems(const std::vector<std::string>& folders) {
  std::vector<std::string> done;
  for (const std::string& folder : folders) {
    if (std::find(done.begin(), done.end(), folder) != done.end()) continue;
    if (const int err = SyncFileSystem(folder); err != 0) return err;
    done.push_back(folder);
  }
  return 0;
}

}  // namespace platform
