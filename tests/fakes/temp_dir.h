// Files for tests on the real disk: a fresh folder that goes with everything in it,
// whole files written and read as bytes, and the current directory put back.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

// A fresh folder below the system's temporary directory, removed with everything in
// it when the object goes. Its name starts with prefix; kLowerCase gives a name
// without capital letters (for code that looks for files under a lower-cased path).
class TempDir {
 public:
  enum Letters { kAnyCase, kLowerCase };

  explicit TempDir(const std::string& prefix = "vk_test", Letters letters = kAnyCase) {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    static std::mt19937_64 random{std::random_device{}()};
    const char* digits = letters == kLowerCase
                             ? "0123456789abcdefghijklmnopqrstuvwxyz"
                             : "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";
    const size_t count = letters == kLowerCase ? 36 : 50;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = prefix + "_";
      for (int i = 0; i < 8; ++i) name += digits[random() % count];
      if (std::filesystem::create_directory(base / name)) {
        path_ = (base / name).string();
        return;
      }
    }
    throw std::runtime_error("no fresh folder below " + base.string());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  // A path below the folder ("sub/x.ini" -> "<folder>/sub/x.ini").
  std::string operator/(const std::string& relative) const {
    return (std::filesystem::path(path_) / relative).string();
  }

 private:
  std::string path_;
};

// Writes bytes to path, creating its folders.
inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path parent = path.parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  std::ofstream(path, std::ios::binary) << bytes;
}

// The bytes of the file at path; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Text naming paths, as the tests compare it: on Windows, where "\\" and "/" both end
// a folder name and letter case does not count, every "\\" becomes "/" and every ASCII
// letter lower case; elsewhere the text as it is.
inline std::string ComparablePaths(std::string text) {
#ifdef _WIN32
  for (char& c : text) {
    if (c == '\\') c = '/';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
#endif
  return text;
}

// Puts the process's current directory back when it goes.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(std::filesystem::current_path()) {}
  ~CurrentDirectoryGuard() {
    std::error_code ec;
    std::filesystem::current_path(saved_, ec);
  }
  CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
  CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

 private:
  std::filesystem::path saved_;
};
