// A file system for tests that works on the real disk but fails at a chosen step.
// Install it with platform::ScopedFileSystem:
//
//   FaultyFileSystem faulty;
//   faulty.writeLimit = 10;              // the 11th byte written fails with ENOSPC
//   platform::ScopedFileSystem scope(faulty);
#pragma once

#include <cerrno>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

class FaultyFileSystem : public platform::FileSystem {
 public:
  explicit FaultyFileSystem(platform::FileSystem& inner = platform::RealFiles()) : inner_(inner) {}

  // Failures: an errno value other than 0 makes the call fail with it.
  int createError = 0;  // CreateOrReplace, CreateNew
  int appendError = 0;  // OpenAppend
  // When set, appendError applies only to paths that start with it.
  std::string appendErrorPrefix;
  int readError = 0;    // ReadWholeFile, ReadAtMost
  int renameError = 0;  // RenameNoReplace, once renamesAllowed renames have gone through
  int renamesAllowed = 0;
  int forceDirectoriesError = 0;
  int removeError = 0;  // RemoveFile
  int syncError = 0;    // WritableFile::Sync, SyncFile, SyncFileSystem
  int closeError = 0;   // WritableFile::Close (the file is still closed)
  // Bytes that may be written in all, over every file opened through this object;
  // the write that goes beyond writes what still fits, then fails with writeError.
  std::optional<size_t> writeLimit;
  int writeError = ENOSPC;
  // StandardOutput fails with EBADF, as in a program started without one.
  bool noStandardOutput = false;
  // StandardOutput writes into standardOutput instead of the process's fd 1.
  bool captureStandardOutput = false;
  std::string standardOutput;

  // Calls seen.
  int createCalls = 0, appendCalls = 0, readCalls = 0, renameCalls = 0, standardOutputCalls = 0;
  int writeCalls = 0, syncCalls = 0;
  std::vector<std::string> syncedFileSystems;  // the paths SyncFileSystem was given
  // Files opened through this object and not yet closed.
  int openFiles = 0;
  size_t bytesWritten = 0;

  bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
  bool DirectoryExists(const std::string& path) override { return inner_.DirectoryExists(path); }
  int ForceDirectories(const std::string& path, unsigned mode) override {
    return forceDirectoriesError ? forceDirectoriesError : inner_.ForceDirectories(path, mode);
  }
  int RenameNoReplace(const std::string& from, const std::string& to) override {
    ++renameCalls;
    return renameError && renameCalls > renamesAllowed ? renameError
                                                       : inner_.RenameNoReplace(from, to);
  }
  int ReadWholeFile(const std::string& path, std::string& out) override {
    ++readCalls;
    if (readError) {
      out.clear();
      return readError;
    }
    return inner_.ReadWholeFile(path, out);
  }
  std::unique_ptr<platform::WritableFile> CreateOrReplace(const std::string& path,
                                                          int& err) override {
    ++createCalls;
    if (createError) return Fail(createError, err);
    return Wrap(inner_.CreateOrReplace(path, err));
  }
  std::unique_ptr<platform::WritableFile> OpenAppend(const std::string& path, int& err) override {
    ++appendCalls;
    if (appendError && path.starts_with(appendErrorPrefix)) return Fail(appendError, err);
    return Wrap(inner_.OpenAppend(path, err));
  }
  std::unique_ptr<platform::WritableFile> StandardOutput(int& err) override {
    ++standardOutputCalls;
    if (noStandardOutput) return Fail(EBADF, err);
    if (captureStandardOutput) {
      err = 0;
      return Wrap(std::make_unique<StringFile>(standardOutput));
    }
    return Wrap(inner_.StandardOutput(err));
  }
  int SyncParentDirectory(const std::string& path) override {
    return inner_.SyncParentDirectory(path);
  }
  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  int SetCurrentDirectory(const std::string& path) override {
    return inner_.SetCurrentDirectory(path);
  }
  std::optional<std::string> FindIgnoringCase(const std::string& path) override {
    return inner_.FindIgnoringCase(path);
  }
  int ListDirectory(const std::string& path, std::vector<platform::DirectoryEntry>& out) override {
    return inner_.ListDirectory(path, out);
  }
  int RemoveFile(const std::string& path) override {
    return removeError ? removeError : inner_.RemoveFile(path);
  }
  platform::EntryKind KindOf(const std::string& path, bool followLinks) override {
    return inner_.KindOf(path, followLinks);
  }
  int ReadLink(const std::string& path, std::string& target) override {
    return inner_.ReadLink(path, target);
  }
  int ReadAtMost(const std::string& path, size_t maxBytes, std::string& out) override {
    ++readCalls;
    if (readError) {
      out.clear();
      return readError;
    }
    return inner_.ReadAtMost(path, maxBytes, out);
  }
  std::unique_ptr<platform::WritableFile> CreateNew(const std::string& path, int& err) override {
    ++createCalls;
    if (createError) return Fail(createError, err);
    return Wrap(inner_.CreateNew(path, err));
  }
  std::unique_ptr<platform::WritableFile> OpenInPlace(const std::string& path, int& err) override {
    return Wrap(inner_.OpenInPlace(path, err));
  }
  int SyncFileSystem(const std::string& path) override {
    ++syncCalls;
    syncedFileSystems.push_back(path);
    return syncError ? syncError : inner_.SyncFileSystem(path);
  }
  int SyncFile(const std::string& path) override {
    ++syncCalls;
    return syncError ? syncError : inner_.SyncFile(path);
  }

 private:
  class StringFile : public platform::WritableFile {
   public:
    explicit StringFile(std::string& out) : out_(out) {}
    int Write(std::string_view bytes, size_t* written) override {
      out_.append(bytes);
      if (written) *written = bytes.size();
      return 0;
    }
    int Sync() override { return 0; }
    int Close() override { return 0; }

   private:
    std::string& out_;
  };

  class FaultyFile : public platform::WritableFile {
   public:
    FaultyFile(FaultyFileSystem& owner, std::unique_ptr<platform::WritableFile> inner)
        : owner_(owner), inner_(std::move(inner)) {
      ++owner_.openFiles;
    }
    ~FaultyFile() override { Close(); }
    int Write(std::string_view bytes, size_t* written) override {
      ++owner_.writeCalls;
      size_t allowed = bytes.size();
      if (owner_.writeLimit) {
        size_t left =
            *owner_.writeLimit > owner_.bytesWritten ? *owner_.writeLimit - owner_.bytesWritten : 0;
        if (left < allowed) allowed = left;
      }
      size_t done = 0;
      int err = inner_->Write(bytes.substr(0, allowed), &done);
      owner_.bytesWritten += done;
      if (written) *written = done;
      if (err == 0 && allowed < bytes.size()) err = owner_.writeError;
      return err;
    }
    int Sync() override {
      ++owner_.syncCalls;
      return owner_.syncError ? owner_.syncError : inner_->Sync();
    }
    int Close() override {
      int err = inner_->Close();
      if (closed_) return err;
      closed_ = true;
      --owner_.openFiles;
      return owner_.closeError ? owner_.closeError : err;
    }
    int MatchPermissions(const std::string& path) override {
      return inner_->MatchPermissions(path);
    }

   private:
    FaultyFileSystem& owner_;
    std::unique_ptr<platform::WritableFile> inner_;
    bool closed_ = false;
  };

  static std::unique_ptr<platform::WritableFile> Fail(int error, int& err) {
    err = error;
    return nullptr;
  }
  std::unique_ptr<platform::WritableFile> Wrap(std::unique_ptr<platform::WritableFile> file) {
    if (!file) return nullptr;
    return std::make_unique<FaultyFile>(*this, std::move(file));
  }

  platform::FileSystem& inner_;
};
