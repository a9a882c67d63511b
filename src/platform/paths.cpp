// File-name rules of the host.
#include "platform/paths.h"

namespace platform {
namespace {

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasDrive(std::string_view path, const PathStyle& style) {
  return style.drives && path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':';
}

// Where the delimiter at or after pos is, or the end of path.
size_t NextDelimiter(std::string_view path, size_t pos, const PathStyle& style) {
  const size_t found = path.find_first_of(style.delimiters, pos);
  return found == std::string_view::npos ? path.size() : found;
}

}  // namespace

char PathDelimiter() {
  return kHostPaths.separator;
}

bool IsPathDelimiter(char c, const PathStyle& style) {
  return style.delimiters.find(c) != std::string_view::npos;
}

size_t RootLength(std::string_view path, const PathStyle& style) {
  if (path.empty()) return 0;
  if (HasDrive(path, style)) return path.size() > 2 && IsPathDelimiter(path[2], style) ? 3 : 2;
  if (!IsPathDelimiter(path[0], style)) return 0;
  if (!style.drives || path.size() < 3 || !IsPathDelimiter(path[1], style) ||
      IsPathDelimiter(path[2], style)) {
    return 1;
  }
  // "\\server\share\": the server and the share name make the root.
  const size_t server = NextDelimiter(path, 2, style);
  if (server == path.size()) return path.size();
  const size_t share = NextDelimiter(path, server + 1, style);
  return share == path.size() ? path.size() : share + 1;
}

bool IsAbsolutePath(std::string_view path, const PathStyle& style) {
  return RootLength(path, style) > 0;
}

std::string FolderOf(std::string_view path, const PathStyle& style) {
  const size_t root = RootLength(path, style);
  const size_t last = path.find_last_of(style.delimiters);
  if (last == std::string_view::npos || last < root) return std::string(path.substr(0, root));
  size_t end = last;
  while (end > root && IsPathDelimiter(path[end - 1], style)) --end;
  return std::string(path.substr(0, end > root ? end : root));
}

std::string BaseName(std::string_view path, const PathStyle& style) {
  const size_t last = path.find_last_of(style.delimiters);
  size_t start = last == std::string_view::npos ? 0 : last + 1;
  if (HasDrive(path, style) && start < 2) start = 2;
  return std::string(path.substr(start));
}

std::vector<std::string> PathComponents(std::string_view path, const PathStyle& style) {
  std::vector<std::string> parts;
  const std::string_view rest = path.substr(RootLength(path, style));
  for (size_t pos = 0; pos < rest.size();) {
    const size_t end = NextDelimiter(rest, pos, style);
    if (end > pos) parts.emplace_back(rest.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

std::string JoinPath(std::string_view folder, std::string_view name, const PathStyle& style) {
  std::string joined(folder);
  if (!folder.empty() && !IsPathDelimiter(folder.back(), style) &&
      !(HasDrive(folder, style) && folder.size() == 2)) {
    joined += style.separator;
  }
  return joined += name;
}

std::string AbsolutePath(std::string_view path, std::string_view cwd, const PathStyle& style) {
  std::string full;
  if (!IsAbsolutePath(path, style)) {
    full = JoinPath(cwd, path, style);
  } else if (HasDrive(path, style) && RootLength(path, style) == 2) {
    // "C:name": from the current folder when that is on the same drive.
    const bool sameDrive = HasDrive(cwd, style) && (cwd[0] | 0x20) == (path[0] | 0x20);
    full = sameDrive
               ? JoinPath(cwd, path.substr(2), style)
               : std::string(path.substr(0, 2)) + style.separator + std::string(path.substr(2));
  } else if (style.drives && RootLength(path, style) == 1 && HasDrive(cwd, style)) {
    full = std::string(cwd.substr(0, 2)) + std::string(path);  // the root of cwd's drive
  } else {
    full = path;
  }
  const size_t root = RootLength(full, style);
  std::string out = full.substr(0, root);
  for (char& c : out) {
    if (IsPathDelimiter(c, style)) c = style.separator;
  }
  std::vector<std::string_view> parts;
  const std::string_view rest = std::string_view(full).substr(root);
  for (size_t pos = 0; pos <= rest.size();) {
    const size_t end = NextDelimiter(rest, pos, style);
    const std::string_view part = rest.substr(pos, end - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = end + 1;
  }
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += style.separator;
    out += parts[i];
  }
  return out;
}

std::string WithoutVerbatimPrefix(std::string_view path) {
  constexpr std::string_view kVerbatim = "\\\\?\\", kUnc = "\\\\?\\UNC\\";
  if (path.substr(0, kUnc.size()) == kUnc) return "\\\\" + std::string(path.substr(kUnc.size()));
  if (path.substr(0, kVerbatim.size()) == kVerbatim)
    return std::string(path.substr(kVerbatim.size()));
  return std::string(path);
}

}  // namespace platform
