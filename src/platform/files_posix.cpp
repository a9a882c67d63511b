// The POSIX file system behind Files(): the file services of Linux and other POSIX systems.
#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/encoding.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace platform {
namespace {

// A file descriptor opened for writing; `owned` is false for standard output, which
// is never closed.
class FdFile final : public WritableFile {
 public:
  FdFile(int fd, bool owned) : fd_(fd), owned_(owned) {}
  ~FdFile() override { Close(); }

  int Write(std::string_view bytes, size_t* written) override {
    size_t done = 0;
    int err = 0;
    if (fd_ < 0) {
      err = EBADF;
    }
    while (err == 0 && done < bytes.size()) {
      ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        err = errno;
      } else if (n == 0) {
        err = EIO;  // a regular write never returns 0 for a non-empty buffer
      } else {
        done += static_cast<size_t>(n);
      }
    }
    if (written) *written = done;
    return err;
  }

  int Sync() override {
    if (fd_ < 0) return EBADF;
    return ::fsync(fd_) == 0 ? 0 : errno;
  }

  int Close() override {
    int fd = fd_;
    fd_ = -1;
    if (fd < 0 || !owned_) return 0;
    // The descriptor is gone after close even when it reports EINTR; never retry.
    return ::close(fd) == 0 ? 0 : errno;
  }

  int MatchPermissions(const std::string& path) override {
    struct stat st;
    if (fd_ < 0) return EBADF;
    if (::stat(path.c_str(), &st) != 0) return errno;
    // The owner only where this process may give it (root); the bits in any case.
    if (::fchown(fd_, st.st_uid, st.st_gid) != 0 && errno != EPERM) return errno;
    return ::fchmod(fd_, st.st_mode & 07777) == 0 ? 0 : errno;
  }

 private:
  int fd_;
  bool owned_;
};

bool StatPath(const std::string& path, struct stat& st) {
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool EntryExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

std::unique_ptr<WritableFile> OpenForWriting(const std::string& path, int flags, int& err) {
  err = 0;
  if (path.empty()) {
    err = ENOENT;
    return nullptr;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_WRONLY | O_CLOEXEC | O_NOCTTY, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    err = errno;
    return nullptr;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    err = EISDIR;
    return nullptr;
  }
  // Opened without waiting for a FIFO's reader; written as any file, waiting for room.
  if (flags & O_NONBLOCK) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return std::make_unique<FdFile>(fd, true);
}

// The entries of a directory ("" is the current directory), sorted by byte value so
// that a lookup that matches several names always picks the same one.
std::vector<std::string> SortedEntries(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return names;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  return names;
}

// Reads a file into out, stopping at its first NUL when stopAtNul (the NUL and what
// follows are left out); EFBIG once more than maxBytes bytes are kept, so that neither a
// huge file nor an endless device (a character device, a pipe) exhausts the memory.
int ReadFile(const std::string& path, size_t maxBytes, bool stopAtNul, std::string& out) {
  out.clear();
  if (path.empty()) return ENOENT;
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return errno;
  int err = 0;
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    err = errno;
  } else if (S_ISDIR(st.st_mode)) {
    err = EISDIR;
  } else {
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
      out.reserve(std::min(static_cast<size_t>(st.st_size), maxBytes));
    }
    char buffer[65536];
    for (;;) {
      ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0) {
        if (errno == EINTR) continue;
        err = errno;
        break;
      }
      if (n == 0) break;
      size_t keep = static_cast<size_t>(n);
      const void* nul = stopAtNul ? std::memchr(buffer, '\0', keep) : nullptr;
      if (nul) keep = static_cast<size_t>(static_cast<const char*>(nul) - buffer);
      if (keep > maxBytes - out.size()) {
        err = EFBIG;
        break;
      }
      out.append(buffer, keep);
      if (nul) break;
    }
  }
  ::close(fd);
  if (err != 0) out.clear();
  return err;
}

class PosixFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    struct stat st;
    return StatPath(path, st) && !S_ISDIR(st.st_mode);
  }

  bool DirectoryExists(const std::string& path) override {
    struct stat st;
    return StatPath(path, st) && S_ISDIR(st.st_mode);
  }

  int ForceDirectories(const std::string& path, unsigned mode) override {
    if (path.empty()) return ENOENT;
    // Create every prefix that ends before a delimiter, then the whole path.
    for (size_t i = 1; i <= path.size(); ++i) {
      if (i < path.size() && path[i] != '/') continue;
      if (path[i - 1] == '/') continue;  // "//" or a trailing delimiter
      std::string prefix = path.substr(0, i);
      if (::mkdir(prefix.c_str(), static_cast<mode_t>(mode)) == 0) continue;
      int err = errno;
      struct stat st;
      if (::stat(prefix.c_str(), &st) == 0) {
        if (!S_ISDIR(st.st_mode)) return ENOTDIR;
        continue;  // already there (EEXIST, or EACCES on a parent we may not write)
      }
      return err;
    }
    return 0;
  }

  int RenameNoReplace(const std::string& from, const std::string& to) override {
    if (from.empty() || to.empty()) return ENOENT;
    if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) ==
        0) {
      return 0;
    }
    int err = errno;
    if (err != EINVAL && err != ENOSYS) return err;
    // The kernel or the file system lacks the flag: link fails when `to` exists, so
    // it never replaces either.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    if (::unlink(from.c_str()) != 0) {
      err = errno;
      ::unlink(to.c_str());
      return err;
    }
    return 0;
  }

  int ReadWholeFile(const std::string& path, std::string& out) override {
    return ReadFile(path, SIZE_MAX, false, out);
  }

  int ReadTextUpToNul(const std::string& path, size_t maxBytes, std::string& out) override {
    return ReadFile(path, maxBytes, true, out);
  }

  std::unique_ptr<WritableFile> CreateOrReplace(const std::string& path, int& err) override {
    return OpenForWriting(path, O_CREAT | O_TRUNC, err);
  }

  std::unique_ptr<WritableFile> OpenAppend(const std::string& path, int& err) override {
    // A FIFO without a reader fails at once instead of holding the program.
    return OpenForWriting(path, O_CREAT | O_APPEND | O_NONBLOCK, err);
  }

  std::unique_ptr<WritableFile> StandardOutput(int& err) override {
    int flags = ::fcntl(STDOUT_FILENO, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY) {
      err = EBADF;
      return nullptr;
    }
    err = 0;
    return std::make_unique<FdFile>(STDOUT_FILENO, false);
  }

  int SyncParentDirectory(const std::string& path) override {
    std::string dir = FolderOf(path);
    if (dir.empty()) dir = ".";
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return err;
  }

  std::string CurrentDirectory() override {
    std::vector<char> buffer(4096);
    for (;;) {
      if (::getcwd(buffer.data(), buffer.size())) return buffer.data();
      if (errno != ERANGE) return std::string();
      buffer.resize(buffer.size() * 2);
    }
  }

  int SetCurrentDirectory(const std::string& path) override {
    if (path.empty()) return ENOENT;
    return ::chdir(path.c_str()) == 0 ? 0 : errno;
  }

  std::optional<std::string> FindIgnoringCase(const std::string& path) override {
    if (path.empty()) return std::nullopt;
    if (EntryExists(path)) return path;
    // Walk the components; `found` is the part resolved so far, as it stands on disk.
    std::string found;
    size_t pos = 0;
    if (path[0] == '/') {
      found = "/";
      pos = 1;
    }
    while (pos <= path.size()) {
      size_t end = path.find('/', pos);
      if (end == std::string::npos) end = path.size();
      std::string component = path.substr(pos, end - pos);
      bool last = end == path.size();
      if (!component.empty()) {
        std::string next = found + component;
        if (component != "." && component != ".." && !EntryExists(next)) {
          std::string wanted = LowerCaseAnsi(component);
          bool matched = false;
          // On the way to the last component only a directory can lead on.
          for (const std::string& name : SortedEntries(found)) {
            if (LowerCaseAnsi(name) == wanted && (last || DirectoryExists(found + name))) {
              next = found + name;
              matched = true;
              break;
            }
          }
          if (!matched) return std::nullopt;
        }
        found = next;
        if (!last) found += '/';
      } else if (!last && !found.empty() && found.back() != '/') {
        found += '/';
      }
      pos = end + 1;
    }
    if (path.back() == '/' && (found.empty() || found.back() != '/')) found += '/';
    return found;
  }

  int ListDirectory(const std::string& path, std::vector<DirectoryEntry>& out) override {
    namespace fs = std::filesystem;
    out.clear();
    std::error_code ec;
    fs::directory_iterator it(path.empty() ? fs::path(".") : fs::path(path), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
      DirectoryEntry entry;
      entry.name = it->path().filename().string();
      std::error_code statEc;
      fs::file_status link = it->symlink_status(statEc);
      fs::file_status target = it->status(statEc);
      if (fs::is_directory(target)) {
        entry.kind =
            fs::is_symlink(link) ? DirectoryEntry::Kind::Other : DirectoryEntry::Kind::Directory;
      } else if (fs::is_regular_file(target)) {
        entry.kind = DirectoryEntry::Kind::File;
      }
      out.push_back(std::move(entry));
    }
    if (ec) {
      out.clear();
      return ec.value();
    }
    SortByName(out);
    return 0;
  }

  EntryKind KindOf(const std::string& path, bool followLinks) override {
    struct stat st;
    if (path.empty() ||
        (followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) != 0) {
      return EntryKind::None;
    }
    if (S_ISREG(st.st_mode)) return EntryKind::Regular;
    if (S_ISDIR(st.st_mode)) return EntryKind::Directory;
    if (S_ISLNK(st.st_mode)) return EntryKind::Link;
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return EntryKind::Device;
    return EntryKind::Special;
  }

  int ReadLink(const std::string& path, std::string& target) override {
    std::vector<char> buffer(256);
    for (;;) {
      const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
      if (n < 0) return errno;
      if (static_cast<size_t>(n) < buffer.size()) {
        target.assign(buffer.data(), static_cast<size_t>(n));
        return 0;
      }
      buffer.resize(buffer.size() * 2);
    }
  }

  int ReadAtMost(const std::string& path, size_t maxBytes, std::string& out) override {
    return ReadFile(path, maxBytes, false, out);
  }

  std::unique_ptr<WritableFile> CreateNew(const std::string& path, int& err) override {
    return OpenForWriting(path, O_CREAT | O_EXCL | O_NOFOLLOW, err);
  }

  std::unique_ptr<WritableFile> OpenInPlace(const std::string& path, int& err) override {
    return OpenForWriting(path, O_NONBLOCK, err);
  }

  int SyncFileSystem(const std::string& path) override {
    const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    const int err = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    return err;
  }

  int SyncFileSystems(const std::vector<std::string>& folders) override {
    std::vector<dev_t> done;
    for (const std::string& folder : folders) {
      struct stat st;
      if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0) return errno;
      if (std::find(done.begin(), done.end(), st.st_dev) != done.end()) continue;
      if (const int err = SyncFileSystem(folder); err != 0) return err;
      done.push_back(st.st_dev);
    }
    return 0;
  }

  int SyncFile(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return errno;
    int err = ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
  }

  int RemoveFile(const std::string& path) override {
    struct stat st;
    if (!path.empty() && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return EISDIR;
    if (path.empty()) return ENOENT;
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
  }
};

}  // namespace

FileSystem& RealFiles() {
  static PosixFileSystem real;
  return real;
}

}  // namespace platform
