// Paths as text, by the host's conventions: joining, splitting, making absolute. No
// file is touched here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Whether c ends a folder name in a path ('/' here; '/' and '\\' on Windows).
bool IsPathDelimiter(char c);
// Whether the path starts at a root ("/..." here; "C:\...", "\\server\..." on Windows).
bool IsAbsolutePath(std::string_view path);
// folder + delimiter + name; name alone when folder is empty.
std::string JoinPath(std::string_view folder, std::string_view name);
// The last component ("a/b.c" -> "b.c").
std::string BaseName(std::string_view path);
// The components between delimiters, empty ones left out ("/a//b/" -> a, b).
std::vector<std::string> PathComponents(std::string_view path);
// The absolute form of path, taken from folder cwd when relative, with "." and ".."
// resolved by name.
std::string AbsolutePath(std::string_view path, std::string_view cwd);

}  // namespace platform
