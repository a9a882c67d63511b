// The file system in force, and what every system's file system shares.
#include "platform/files.h"

#include <algorithm>
#include <atomic>

namespace platform {
namespace {

std::atomic<FileSystem*> installed{nullptr};

}  // namespace

FileSystem& Files() {
  FileSystem* fs = installed.load();
  return fs ? *fs : RealFiles();
}

ScopedFileSystem::ScopedFileSystem(FileSystem& fs) : previous_(installed.exchange(&fs)) {}

ScopedFileSystem::~ScopedFileSystem() {
  installed.store(previous_);
}

void SortByName(std::vector<DirectoryEntry>& entries) {
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
}

}  // namespace platform
