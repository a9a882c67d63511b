#include "platform/paths.h"

namespace platform {

bool IsPathDelimiter(char c) {
  return c == '/';
}

bool IsAbsolutePath(std::string_view path) {
  return !path.empty() && IsPathDelimiter(path.front());
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string path(folder);
  if (!IsPathDelimiter(path.back())) path += '/';
  return path.append(name);
}

std::string BaseName(std::string_view path) {
  size_t start = path.size();
  while (start > 0 && !IsPathDelimiter(path[start - 1])) --start;
  return std::string(path.substr(start));
}

std::vector<std::string> PathComponents(std::string_view path) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos < path.size()) {
    size_t end = pos;
    while (end < path.size() && !IsPathDelimiter(path[end])) ++end;
    if (end > pos) parts.emplace_back(path.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

std::string AbsolutePath(std::string_view path, std::string_view cwd) {
  const std::string full = IsAbsolutePath(path) ? std::string(path) : JoinPath(cwd, path);
  std::vector<std::string> parts;
  for (std::string& part : PathComponents(full)) {
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (part != ".") {
      parts.push_back(std::move(part));
    }
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  return out.empty() ? "/" : out;
}

}  // namespace platform
