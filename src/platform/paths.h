// File-name rules of the host: which characters end a folder name, what makes a path
// absolute, how a name is joined to a folder. Pure text rules; the Windows rules take
// both slashes, drive letters ("C:\", "C:name") and UNC roots ("\\server\share\").
//
//   FolderOf("C:\\Scripts\\dialog.c", kWindowsPaths)   "C:\\Scripts"
//   FolderOf("C:\\dialog.c", kWindowsPaths)            "C:\\"
//   BaseName("scripts/Dialog.C")                       "Dialog.C"
//   JoinPath("out", "a.c")                             "out/a.c" ("out\\a.c" on Windows)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct PathStyle {
  char separator;               // put between a folder and a name
  std::string_view delimiters;  // every character that ends a folder name
  bool drives;                  // "C:" starts a path, and names a drive's current folder
};

inline constexpr PathStyle kPosixPaths{'/', "/", false};
inline constexpr PathStyle kWindowsPaths{'\\', "\\/", true};
#ifdef _WIN32
inline constexpr PathStyle kHostPaths = kWindowsPaths;
#else
inline constexpr PathStyle kHostPaths = kPosixPaths;
#endif

char PathDelimiter();  // '/' here, '\\' on Windows
bool IsPathDelimiter(char c, const PathStyle& style = kHostPaths);

// The length of the root at the start of path: "/" (1), "C:" (2), "C:\" (3), "\" (1),
// "\\server\share\" (its whole length); 0 for a relative path.
size_t RootLength(std::string_view path, const PathStyle& style = kHostPaths);

// True when the path does not depend on the current folder, or names a drive of its
// own ("C:name", which a folder put in front of it would break).
bool IsAbsolutePath(std::string_view path, const PathStyle& style = kHostPaths);

// The folder part of a path without its trailing delimiter ("/a/b.c" -> "/a", "b.c" ->
// ""); a root keeps its delimiter ("/b.c" -> "/", "C:\b.c" -> "C:\", "C:b.c" -> "C:").
std::string FolderOf(std::string_view path, const PathStyle& style = kHostPaths);

// The last name of a path ("a/b.c" -> "b.c", "C:b.c" -> "b.c").
std::string BaseName(std::string_view path, const PathStyle& style = kHostPaths);

// The names between delimiters after the root, empty ones left out ("/a//b/" -> a, b;
// "C:\a\b" -> a, b).
std::vector<std::string> PathComponents(std::string_view path, const PathStyle& style = kHostPaths);

// name behind folder, with one separator between them where folder ends in none.
std::string JoinPath(std::string_view folder, std::string_view name,
                     const PathStyle& style = kHostPaths);

// path made absolute from cwd, "." and ".." resolved by name and delimiters made single
// separators, for telling whether two names mean the same entry. On Windows, a path
// on another drive than cwd keeps its own drive.
std::string AbsolutePath(std::string_view path, std::string_view cwd,
                         const PathStyle& style = kHostPaths);

// A Windows name the system gives in its verbatim form, made an ordinary one:
// "\\?\C:\a" -> "C:\a", "\\?\UNC\server\share\a" -> "\\server\share\a".
std::string WithoutVerbatimPrefix(std::string_view path);

}  // namespace platform
