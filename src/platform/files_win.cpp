// The Windows file system behind Files(): the wide Win32 file API, with the share
// modes the program relies on. A file being read may be read by others but not
// written; a file being created or replaced is the program's alone; the log file
// being appended to may be read by others.
#include <windows.h>
#undef SetCurrentDirectory  // the method of FileSystem, not the Win32 macro

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/files.h"
#include "platform/wide_win.h"

namespace platform {
namespace {

using win::LastErrno;
using win::Wide;

DWORD Attributes(const std::string& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Wide(path).c_str());
}

bool IsDirectory(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows reports a file standing where a folder of the path should be as a missing
// path; the program reports it as POSIX does, as ENOTDIR.
int OpenError(const std::string& path) {
  const int err = LastErrno();
  if (err != ENOENT) return err;
  for (std::string folder = FolderOf(path); !folder.empty(); folder = FolderOf(folder)) {
    const DWORD attributes = Attributes(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES) return IsDirectory(attributes) ? ENOENT : ENOTDIR;
    if (folder.size() <= RootLength(folder)) break;
  }
  return ENOENT;
}

// A handle opened for writing; `owned` is false for standard output, which is never
// closed.
class HandleFile final : public WritableFile {
 public:
  HandleFile(HANDLE handle, bool owned) : handle_(handle), owned_(owned) {}
  ~HandleFile() override { Close(); }

  int Write(std::string_view bytes, size_t* written) override {
    size_t done = 0;
    int err = handle_ == INVALID_HANDLE_VALUE ? EBADF : 0;
    while (err == 0 && done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
      DWORD n = 0;
      if (!WriteFile(handle_, bytes.data() + done, chunk, &n, nullptr)) {
        err = LastErrno();
      } else if (n == 0) {
        err = EIO;
      }
      done += n;
    }
    if (written) *written = done;
    return err;
  }

  int Sync() override {
    if (handle_ == INVALID_HANDLE_VALUE) return EBADF;
    return FlushFileBuffers(handle_) ? 0 : LastErrno();
  }

  int Close() override {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE || !owned_) return 0;
    return CloseHandle(handle) ? 0 : LastErrno();
  }

 private:
  HANDLE handle_;
  bool owned_;
};

std::unique_ptr<WritableFile> OpenForWriting(const std::string& path, DWORD access, DWORD share,
                                             DWORD disposition, int& err) {
  err = 0;
  if (path.empty()) {
    err = ENOENT;
    return nullptr;
  }
  if (IsDirectory(Attributes(path))) {
    err = EISDIR;
    return nullptr;
  }
  HANDLE handle = CreateFileW(Wide(path).c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    err = OpenError(path);
    return nullptr;
  }
  return std::make_unique<HandleFile>(handle, true);
}

// Reads a file into out, as the POSIX side does: stopping at the first NUL when
// stopAtNul, EFBIG once more than maxBytes bytes are kept.
int ReadFileBytes(const std::string& path, size_t maxBytes, bool stopAtNul, std::string& out) {
  out.clear();
  if (path.empty()) return ENOENT;
  if (IsDirectory(Attributes(path))) return EISDIR;
  // Others may go on reading it, but none may write it meanwhile: a file that another
  // program has open for writing cannot be opened.
  HANDLE handle = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return OpenError(path);
  LARGE_INTEGER size;
  if (GetFileType(handle) == FILE_TYPE_DISK && GetFileSizeEx(handle, &size) && size.QuadPart > 0) {
    out.reserve(std::min(static_cast<size_t>(size.QuadPart), maxBytes));
  }
  int err = 0;
  std::vector<char> buffer(65536);
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(handle, buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr)) {
      const DWORD error = GetLastError();
      if (error != ERROR_BROKEN_PIPE && error != ERROR_HANDLE_EOF) err = win::ErrnoFrom(error);
      break;
    }
    if (n == 0) break;
    size_t keep = n;
    const void* nul = stopAtNul ? std::memchr(buffer.data(), '\0', keep) : nullptr;
    if (nul) keep = static_cast<size_t>(static_cast<const char*>(nul) - buffer.data());
    if (keep > maxBytes - out.size()) {
      err = EFBIG;
      break;
    }
    out.append(buffer.data(), keep);
    if (nul) break;
  }
  CloseHandle(handle);
  if (err != 0) out.clear();
  return err;
}

class WindowsFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !IsDirectory(attributes);
  }

  bool DirectoryExists(const std::string& path) override { return IsDirectory(Attributes(path)); }

  // Windows folders have no permission bits: a new one takes the access rules of its
  // parent.
  int ForceDirectories(const std::string& path, unsigned) override {
    if (path.empty()) return ENOENT;
    // Create every folder below the root, from the outermost in.
    for (size_t i = RootLength(path) + 1; i <= path.size(); ++i) {
      if (i < path.size() && !IsPathDelimiter(path[i])) continue;
      if (IsPathDelimiter(path[i - 1])) continue;  // doubled or trailing delimiter
      const std::string prefix = path.substr(0, i);
      if (CreateDirectoryW(Wide(prefix).c_str(), nullptr)) continue;
      const int err = LastErrno();
      const DWORD attributes = Attributes(prefix);
      if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!IsDirectory(attributes)) return ENOTDIR;
        continue;  // already there
      }
      return err;
    }
    return 0;
  }

  int RenameNoReplace(const std::string& from, const std::string& to) override {
    if (from.empty() || to.empty()) return ENOENT;
    // Without MOVEFILE_REPLACE_EXISTING the move fails when `to` exists.
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), 0) ? 0 : LastErrno();
  }

  int ReadWholeFile(const std::string& path, std::string& out) override {
    return ReadFileBytes(path, SIZE_MAX, false, out);
  }

  int ReadTextUpToNul(const std::string& path, size_t maxBytes, std::string& out) override {
    return ReadFileBytes(path, maxBytes, true, out);
  }

  std::unique_ptr<WritableFile> CreateOrReplace(const std::string& path, int& err) override {
    return OpenForWriting(path, GENERIC_WRITE, 0, CREATE_ALWAYS, err);
  }

  std::unique_ptr<WritableFile> OpenAppend(const std::string& path, int& err) override {
    // Append-only access: every write lands at the end of the file as it is then.
    return OpenForWriting(path, FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ, OPEN_ALWAYS, err);
  }

  std::unique_ptr<WritableFile> StandardOutput(int& err) override {
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        GetFileType(handle) == FILE_TYPE_UNKNOWN) {
      err = EBADF;
      return nullptr;
    }
    err = 0;
    return std::make_unique<HandleFile>(handle, false);
  }

  // NTFS keeps its folder entries in its journal; Windows offers no way to flush a
  // folder, and FlushFileBuffers of the file has made the data durable.
  int SyncParentDirectory(const std::string&) override { return 0; }

  std::string CurrentDirectory() override {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return std::string();
    std::wstring buffer(n, L'\0');
    const DWORD used = GetCurrentDirectoryW(n, buffer.data());
    buffer.resize(used < n ? used : 0);
    return win::Utf8(buffer);
  }

  int SetCurrentDirectory(const std::string& path) override {
    if (path.empty()) return ENOENT;
    return ::SetCurrentDirectoryW(Wide(path).c_str()) ? 0 : LastErrno();
  }

  // Windows compares names ignoring letter case itself; the last name is given as it
  // stands on disk.
  std::optional<std::string> FindIgnoringCase(const std::string& path) override {
    if (Attributes(path) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    const std::string name = BaseName(path);
    if (name.empty() || name == "." || name == ".." ||
        path.find_first_of("*?") != std::string::npos) {
      return path;
    }
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileExW(Wide(path).c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return path;
    FindClose(find);
    return path.substr(0, path.size() - name.size()) + win::Utf8(found.cFileName);
  }

  int ListDirectory(const std::string& path, std::vector<DirectoryEntry>& out) override {
    out.clear();
    const std::string pattern = JoinPath(path.empty() ? "." : path, "*");
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileExW(Wide(pattern).c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND ? 0 : win::ErrnoFrom(error);
    }
    do {
      const std::wstring_view name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      DirectoryEntry entry;
      entry.name = win::Utf8(name);
      const bool link = found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A link to a folder is not followed, so that a walk down a tree never loops.
        entry.kind = link ? DirectoryEntry::Kind::Other : DirectoryEntry::Kind::Directory;
      } else {
        entry.kind = DirectoryEntry::Kind::File;
      }
      out.push_back(std::move(entry));
    } while (FindNextFileW(find, &found));
    const DWORD error = GetLastError();
    FindClose(find);
    if (error != ERROR_NO_MORE_FILES) {
      out.clear();
      return win::ErrnoFrom(error);
    }
    SortByName(out);
    return 0;
  }

  int RemoveFile(const std::string& path) override {
    if (path.empty()) return ENOENT;
    if (IsDirectory(Attributes(path))) return EISDIR;
    return DeleteFileW(Wide(path).c_str()) ? 0 : LastErrno();
  }

  EntryKind KindOf(const std::string& path, bool followLinks) override {
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::None;
    if (!followLinks && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return EntryKind::Link;
    // What the name finally stands for: a handle tells devices (NUL, CON) and pipes
    // from files, through any links.
    HANDLE handle =
        CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return EntryKind::None;
    EntryKind kind = EntryKind::Special;
    BY_HANDLE_FILE_INFORMATION info;
    switch (GetFileType(handle)) {
      case FILE_TYPE_CHAR:
        kind = EntryKind::Device;
        break;
      case FILE_TYPE_DISK:
        kind = GetFileInformationByHandle(handle, &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                   ? EntryKind::Directory
                   : EntryKind::Regular;
        break;
      default:
        break;
    }
    CloseHandle(handle);
    return kind;
  }

  // The full name of what the link finally leads to.
  int ReadLink(const std::string& path, std::string& target) override {
    HANDLE handle =
        CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastErrno();
    std::wstring name(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()), 0);
    if (n >= name.size()) {
      name.resize(n + 1);
      n = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()), 0);
    }
    const int err = n == 0 ? LastErrno() : 0;
    CloseHandle(handle);
    if (err != 0) return err;
    name.resize(n);
    target = WithoutVerbatimPrefix(win::Utf8(name));
    return 0;
  }

  int ReadAtMost(const std::string& path, size_t maxBytes, std::string& out) override {
    return ReadFileBytes(path, maxBytes, false, out);
  }

  std::unique_ptr<WritableFile> CreateNew(const std::string& path, int& err) override {
    return OpenForWriting(path, GENERIC_WRITE, 0, CREATE_NEW, err);
  }

  std::unique_ptr<WritableFile> OpenInPlace(const std::string& path, int& err) override {
    return OpenForWriting(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                          err);
  }

  // Windows flushes a volume only for administrators; each file is flushed instead.
  int SyncFileSystem(const std::string&) override { return ENOTSUP; }

  int SyncFile(const std::string& path) override {
    int err = 0;
    std::unique_ptr<WritableFile> file =
        OpenForWriting(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, err);
    if (!file) return err;
    err = file->Sync();
    const int closed = file->Close();
    return err != 0 ? err : closed;
  }
};

}  // namespace

FileSystem& RealFiles() {
  static WindowsFileSystem real;
  return real;
}

}  // namespace platform
